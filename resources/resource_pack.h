// Reader of the resource pack "data.pak": a plain 36-byte header, a directory
// of 64-byte entries and the entries' data, all but the header scrambled with
// a one-byte additive key.
#pragma once

#include <cstdint>

struct PackHeader {
    uint32_t reserved0[3] = {0, 0, 0};
    uint32_t count = 0;
    uint32_t mode = 0;  // 1: stored = plain + key; otherwise stored = plain - key
    uint32_t key = 0;   // only the lowest byte is used
    uint32_t reserved1[3] = {0, 0, 0};
};
static_assert(sizeof(PackHeader) == 36);

class ResourcePack {
public:
    ResourcePack();
    ~ResourcePack();
    ResourcePack(const ResourcePack&) = delete;
    ResourcePack& operator=(const ResourcePack&) = delete;

    // Reads the directory of "data.pak" in the working directory (or of the
    // path given). False, with an empty directory, when it cannot be opened.
    // A directory cut short by the end of the file ends with its last
    // complete entry.
    bool Open();
    bool Open(const char* path);
    // A new buffer (free with delete[]) with the entry's unscrambled bytes, or
    // null when the name is empty or unknown, the pack cannot be read, or the
    // entry's data runs past the end of the file. An entry of size 0 gives an
    // empty, non-null buffer. The size is written only on success.
    uint8_t* ReadEntry(const char* name, uint32_t* size);
    void Reset();

    struct Entry {
        char name[50];
        uint32_t size;
        uint32_t offset;
        Entry* next;
    };
    const PackHeader& Header() const { return header; }
    const Entry* Directory() const { return directory; }

private:
    const Entry* Find(const char* name) const;

    char path[300];
    PackHeader header;
    Entry* directory = nullptr;  // last directory entry first
};
