#pragma once
// The program's version: the one place it is written. --version of both
// programs, the about box, the splash, the status bar and the CMake project
// version (read from the two macros below) all take it from here.

#define TARVOSEN_VERSION_NUMBER "4.7"
#define TARVOSEN_BUILD_NUMBER "012"

namespace tarvosen {

inline constexpr const char* kVersionNumber = TARVOSEN_VERSION_NUMBER;
inline constexpr const char* kBuildNumber = TARVOSEN_BUILD_NUMBER;
// As the about box and --version show it.
inline constexpr const char* kVersionText =
    "Version " TARVOSEN_VERSION_NUMBER "(Build " TARVOSEN_BUILD_NUMBER ")";

}  // namespace tarvosen
