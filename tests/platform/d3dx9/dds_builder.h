// Builds small DDS files in memory for the loader tests and fuzz seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace ddsfile {

struct Header {
    uint32_t width = 4;
    uint32_t height = 4;
    uint32_t mipCount = 1;
    uint32_t flags = 0x1007 | 0x20000;  // caps, height, width, pixel format, mip count
    uint32_t depth = 0;
    uint32_t pixelFlags = 0x4;  // fourCC
    uint32_t fourCC = 0;
    uint32_t bitCount = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // r, g, b, a
    uint32_t caps2 = 0;
    uint32_t headerSize = 124;
    uint32_t pixelFormatSize = 32;
};

constexpr uint32_t FourCC(const char (&s)[5]) {
    return uint32_t(uint8_t(s[0])) | uint32_t(uint8_t(s[1])) << 8 | uint32_t(uint8_t(s[2])) << 16 |
           uint32_t(uint8_t(s[3])) << 24;
}

inline void Put(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}

inline std::vector<uint8_t> Build(const Header& h, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> out(128, 0);
    std::memcpy(out.data(), "DDS ", 4);
    Put(out, 4, h.headerSize);
    Put(out, 8, h.flags);
    Put(out, 12, h.height);
    Put(out, 16, h.width);
    Put(out, 24, h.depth);
    Put(out, 28, h.mipCount);
    Put(out, 76, h.pixelFormatSize);
    Put(out, 80, h.pixelFlags);
    Put(out, 84, h.fourCC);
    Put(out, 88, h.bitCount);
    for (int i = 0; i < 4; ++i) Put(out, 92 + 4 * i, h.masks[i]);
    Put(out, 108, 0x1000);
    Put(out, 112, h.caps2);
    // resize + memcpy rather than insert: GCC 12 at -O3 reports a false
    // array-bounds error on the inlined insert.
    out.resize(128 + payload.size());
    if (!payload.empty()) std::memcpy(out.data() + 128, payload.data(), payload.size());
    return out;
}

// 32-bit A8R8G8B8 header.
inline Header Argb32(uint32_t width, uint32_t height, uint32_t mips) {
    Header h;
    h.width = width;
    h.height = height;
    h.mipCount = mips;
    h.pixelFlags = 0x41;  // RGB + alpha pixels
    h.bitCount = 32;
    h.masks[0] = 0x00FF0000;
    h.masks[1] = 0x0000FF00;
    h.masks[2] = 0x000000FF;
    h.masks[3] = 0xFF000000;
    return h;
}

// Payload of `count` 32-bit pixels numbered from `first`, alpha 0xFF.
inline std::vector<uint8_t> NumberedPixels(uint32_t count, uint32_t first) {
    std::vector<uint8_t> out;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t v = 0xFF000000u | (first + i);
        for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
    }
    return out;
}

}  // namespace ddsfile
