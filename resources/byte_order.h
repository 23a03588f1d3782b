// Little-endian fields of the pack and path files.
#pragma once

#include <cstdint>
#include <cstring>

inline uint32_t ReadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void WriteLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

inline float ReadLEFloat(const uint8_t* p) {
    uint32_t bits = ReadLE32(p);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}
