#pragma once
// Reads a text file line by line without holding it in memory. Lines end at
// LF; a CR before the LF is dropped. The line number of the last line read is
// kept for messages.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace tarvosen {

class LineReader {
public:
    // Throws FileError when the file cannot be opened.
    explicit LineReader(const std::filesystem::path& path);

    // Reads the next line into `line`; false at the end of the file.
    bool next(std::string& line);

    std::size_t lineNumber() const { return lineNumber_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::ifstream in_;
    std::size_t lineNumber_ = 0;
};

}  // namespace tarvosen
