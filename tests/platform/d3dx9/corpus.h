// Reading the shared corpus of real DDS and X files from the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corpus {

inline std::filesystem::path Dir(const char* kind) { return std::filesystem::path(DEMO_SHARED_DIR) / "corpus" / kind; }

inline bool Available(const char* kind) { return std::filesystem::is_directory(Dir(kind)); }

inline std::vector<uint8_t> Read(const char* kind, const std::string& name) {
    std::ifstream in(Dir(kind) / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace corpus
