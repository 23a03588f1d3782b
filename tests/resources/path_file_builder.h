// A camera or mesh path file written field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

class PathFile {
public:
    PathFile(uint32_t word0, uint32_t word1, uint32_t segments, float duration) {
        U32(word0).U32(word1).U32(segments).F(duration);
    }
    PathFile& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    PathFile& F(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    PathFile& Floats(std::initializer_list<float> values) {
        for (float v : values) F(v);
        return *this;
    }
    std::vector<uint8_t> bytes;
};
