#include "tests/support/test_files.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "resources_test_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::string file = path + "/" + name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

uint32_t RawPack::DataOffset(size_t i) const {
    uint32_t offset = 36 + 64 * uint32_t(entries.size());
    for (size_t k = 0; k < i; ++k) offset += uint32_t(entries[k].data.size());
    return offset;
}

std::vector<uint8_t> RawPack::Bytes() const {
    std::vector<uint8_t> out;
    for (int i = 0; i < 3; ++i) Put32(out, reservedWord);
    Put32(out, count.value_or(uint32_t(entries.size())));
    Put32(out, mode);
    Put32(out, key);
    for (int i = 0; i < 3; ++i) Put32(out, reservedWord);

    const uint8_t shift = uint8_t(key & 0xFF);
    auto scramble = [&](uint8_t plain) { return mode == 1 ? uint8_t(plain + shift) : uint8_t(plain - shift); };
    for (size_t i = 0; i < entries.size(); ++i) {
        const RawEntry& entry = entries[i];
        std::vector<uint8_t> plain(entry.name.begin(), entry.name.end());
        plain.resize(50, 0);
        plain.push_back(entry.reservedByte);
        plain.push_back(entry.reservedByte);
        Put32(plain, entry.size.value_or(uint32_t(entry.data.size())));
        Put32(plain, entry.offset.value_or(DataOffset(i)));
        for (int k = 0; k < 4; ++k) plain.push_back(entry.reservedByte);
        for (uint8_t b : plain) out.push_back(scramble(b));
    }
    for (const RawEntry& entry : entries)
        for (uint8_t b : entry.data) out.push_back(scramble(b));
    return out;
}
