// Helpers for the resource tests: a temporary folder, and a pack written byte
// by byte from a description, independently of the pack code under test, so
// that every field (reserved bytes, counts, offsets, unterminated names) can
// be set to anything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path; }
    // Writes a file into the folder and returns its full path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string path;
};

std::vector<uint8_t> Bytes(const std::string& text);
std::vector<uint8_t> ReadFileBytes(const std::string& path);

struct RawEntry {
    RawEntry(std::string name_, std::vector<uint8_t> data_ = {}) : name(std::move(name_)), data(std::move(data_)) {}

    std::string name;  // the name field's bytes, cut to 50 and padded with NULs
    std::vector<uint8_t> data;
    std::optional<uint32_t> size;    // stored size; by default the data's length
    std::optional<uint32_t> offset;  // stored offset; by default where the data is placed
    uint8_t reservedByte = 0;        // fill of the entry's six reserved bytes
};

struct RawPack {
    uint32_t mode = 0;
    uint32_t key = 0;
    std::optional<uint32_t> count;  // header count; by default the number of entries
    uint32_t reservedWord = 0;      // fill of the six reserved header words
    std::vector<RawEntry> entries;

    // Header, directory, then each entry's data in entry order.
    std::vector<uint8_t> Bytes() const;
    // Where Bytes() places entry i's data.
    uint32_t DataOffset(size_t i) const;
};
