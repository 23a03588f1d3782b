#include "resources/resource_pack.h"

#include <cstdio>
#include <cstring>

#include "resources/pack_format.h"

namespace {

// Reads n bytes and undoes the shift on each. False when the file ends first.
bool ReadUnscrambled(std::FILE* file, const PackHeader& header, uint8_t* out, size_t n) {
    if (std::fread(out, 1, n, file) != n) return false;
    for (size_t i = 0; i < n; ++i) out[i] = PackUnscramble(out[i], header);
    return true;
}

// Positions the file at the entry's data when all of it lies inside the file.
bool SeekToEntry(std::FILE* file, const ResourcePack::Entry& entry) {
    if (fseeko(file, 0, SEEK_END) != 0) return false;
    off_t length = ftello(file);
    if (length < 0 || uint64_t(entry.offset) + entry.size > uint64_t(length)) return false;
    return fseeko(file, off_t(entry.offset), SEEK_SET) == 0;
}

}  // namespace

ResourcePack::ResourcePack() { Reset(); }

ResourcePack::~ResourcePack() { Reset(); }

bool ResourcePack::Open() { return Open("data.pak"); }

bool ResourcePack::Open(const char* packPath) {
    Reset();
    if (!packPath || std::strlen(packPath) >= sizeof(path)) return false;
    std::strcpy(path, packPath);
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;

    uint8_t raw[kPackHeaderSize] = {};
    if (std::fread(raw, 1, sizeof(raw), file) < sizeof(raw)) std::clearerr(file);
    header = DecodePackHeader(raw);

    // Entries are allocated one by one as their bytes arrive, so a count that
    // promises more than the file holds costs nothing: the directory simply
    // ends with the last complete entry.
    for (uint32_t i = 0; i < header.count; ++i) {
        uint8_t plain[kPackEntrySize];
        if (!ReadUnscrambled(file, header, plain, sizeof(plain))) break;
        PackDirectoryRecord record = DecodePackEntry(plain);
        Entry* entry = new Entry;
        std::memcpy(entry->name, record.name, sizeof(entry->name));
        entry->size = record.size;
        entry->offset = record.offset;
        entry->next = directory;
        directory = entry;
    }
    std::fclose(file);
    return true;
}

const ResourcePack::Entry* ResourcePack::Find(const char* name) const {
    // Equal byte for byte up to and including the terminator; a name of 50
    // characters or more cannot be stored, and an entry without a terminator
    // matches nothing.
    size_t length = strnlen(name, sizeof(Entry::name));
    if (length >= sizeof(Entry::name)) return nullptr;
    for (const Entry* entry = directory; entry; entry = entry->next)
        if (std::memcmp(entry->name, name, length + 1) == 0) return entry;
    return nullptr;
}

uint8_t* ResourcePack::ReadEntry(const char* name, uint32_t* size) {
    if (path[0] == '\0' || !name || name[0] == '\0') return nullptr;
    const Entry* entry = Find(name);
    if (!entry) return nullptr;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;

    uint8_t* data = nullptr;
    if (SeekToEntry(file, *entry)) {
        data = new uint8_t[entry->size];
        if (!ReadUnscrambled(file, header, data, entry->size)) {
            delete[] data;
            data = nullptr;
        }
    }
    std::fclose(file);
    if (data && size) *size = entry->size;
    return data;
}

void ResourcePack::Reset() {
    path[0] = '\0';
    header = PackHeader{};
    while (directory) {
        Entry* next = directory->next;
        delete directory;
        directory = next;
    }
}
