// Byte layout of the resource pack, shared by the reader and the pack tool.
//
//   offset 0   PackHeader, 36 bytes, stored plain
//   offset 36  count directory entries of 64 bytes each, stored scrambled
//   anywhere   each entry's data, stored scrambled, at its absolute offset
//
// A directory entry, once unscrambled: name (50 bytes, NUL-terminated, at
// most 49 characters), 2 reserved bytes, size (u32), offset (u32), 4 reserved
// bytes. Numbers are little-endian.
//
// Scrambling is a one-byte additive shift by the lowest byte of the header's
// key: with mode 1 the stored byte is plain + key, with any other mode it is
// plain - key (all modulo 256).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "resources/byte_order.h"
#include "resources/resource_pack.h"

constexpr size_t kPackHeaderSize = 36;
constexpr size_t kPackEntrySize = 64;
constexpr size_t kPackNameSize = 50;

struct PackDirectoryRecord {
    char name[kPackNameSize] = {};
    uint8_t reserved0[2] = {0, 0};
    uint32_t size = 0;
    uint32_t offset = 0;
    uint32_t reserved1 = 0;
};

inline uint8_t PackUnscramble(uint8_t stored, const PackHeader& header) {
    uint8_t key = uint8_t(header.key);
    return header.mode == 1 ? uint8_t(stored - key) : uint8_t(stored + key);
}

inline uint8_t PackScramble(uint8_t plain, const PackHeader& header) {
    uint8_t key = uint8_t(header.key);
    return header.mode == 1 ? uint8_t(plain + key) : uint8_t(plain - key);
}

PackHeader DecodePackHeader(const uint8_t bytes[kPackHeaderSize]);
void EncodePackHeader(const PackHeader& header, uint8_t bytes[kPackHeaderSize]);

// Plain (unscrambled) entry bytes to and from a record.
PackDirectoryRecord DecodePackEntry(const uint8_t bytes[kPackEntrySize]);
void EncodePackEntry(const PackDirectoryRecord& record, uint8_t bytes[kPackEntrySize]);

// Why a name cannot be stored so that the reader finds it (empty, longer than
// 49 characters, holding a '/' or a NUL), or an empty string when it can.
std::string PackNameProblem(std::string_view name);
// `name` in double quotes for a one-line message: bytes outside printable
// ASCII (and the quote and backslash) written as \xNN.
std::string PackNameShown(std::string_view name);
