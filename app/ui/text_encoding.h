#pragma once
// How the window shows workspace bytes and turns edited text back into bytes.
// A line of valid UTF-8 is shown as UTF-8, any other line as GB18030. Bytes
// that are not valid GB18030 are shown as the code points U+DC80..U+DCFF and
// written back as the same bytes, so no line is ever changed by being shown.

#include <string>
#include <string_view>

#include <QString>

namespace tarvosen::ui {

enum class LineEncoding { Utf8, Gb18030 };

bool IsValidUtf8(std::string_view bytes);

// The encoding a line of bytes is shown in.
LineEncoding EncodingOf(std::string_view bytes);

// The text of a line of bytes as the editor shows it.
QString DecodeLine(std::string_view bytes);

// The bytes of a line of text; the stand-ins for undecodable bytes become
// those bytes again.
std::string EncodeLine(const QString& text, LineEncoding encoding);

}  // namespace tarvosen::ui
