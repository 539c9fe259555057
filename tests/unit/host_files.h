// The project's own files, and files read and written on the host, for the
// tests that work on media and golden reports.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace setup32 {

inline const std::filesystem::path kProjectRoot = SETUP32_SOURCE_DIR;
inline const std::filesystem::path kMedia = kProjectRoot / "tests" / "media";

// The whole file, or "" when it cannot be read.
inline std::string ReadHostFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Writes `bytes` as the whole file, making its folders first.
inline void WriteHostFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace setup32
