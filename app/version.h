#pragma once
// The program's version, shown by --version, the about box and the status bar.

namespace tarvosen {

inline constexpr const char* kVersionText = "Version 4.7(Build 012)";
inline constexpr const char* kStatusVersionText = "KVQ  Version 4.7 (Build 012)";

}  // namespace tarvosen
