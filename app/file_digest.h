#pragma once
// SHA-256 of bytes and files, and the record of the files a workspace was
// loaded from, so that a result can name what it was built from.

#include <filesystem>
#include <string>
#include <string_view>

namespace tarvosen {

// The SHA-256 of the bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// A file the workspace was built from: its name (without folders) and the
// SHA-256 of its bytes as they were read.
struct SourceFile {
    std::string name;
    std::string sha256;
};

}  // namespace tarvosen
