#include "app/line_reader.h"

#include <cerrno>
#include <cstring>

#include "app/errors.h"

namespace tarvosen {

LineReader::LineReader(const std::filesystem::path& path) : path_(path), in_(path, std::ios::binary) {
    if (!in_)
        throw FileError("Cannot open file \"" + path.string() + "\": " + std::strerror(errno));
}

bool LineReader::next(std::string& line) {
    if (!std::getline(in_, line)) {
        if (in_.bad()) throw FileError("Cannot read file \"" + path_.string() + "\"");
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNumber_;
    return true;
}

}  // namespace tarvosen
