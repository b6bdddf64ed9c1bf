#pragma once
// Whether a file's bytes are text the editor can show: no NUL byte, and each
// line valid UTF-8, valid GB18030 (the two encodings the editor decodes) or
// free of control bytes (single-byte text, shown with stand-ins for the bytes
// the editor cannot decode).

#include <optional>
#include <string>
#include <string_view>

#include "i18n/message_catalogue.h"

namespace tarvosen {

// Why `bytes` are not text ("it holds a NUL byte (line 1, byte 9)", "its line
// 3 (from byte 120) holds control bytes and is neither UTF-8 nor GB18030
// text"), or
// nothing when they are, in the language of `texts`. Lines end at LF; a CR or
// Ctrl-Z is text.
std::optional<std::string> WhyNotText(std::string_view bytes, const MessageTexts& texts = {});

// True when `line` is valid UTF-8 / valid GB18030 (one-, two- and four-byte
// sequences).
bool IsValidUtf8(std::string_view line);
bool IsValidGb18030(std::string_view line);

}  // namespace tarvosen
