// Picture files made in memory for the loader tests.
#pragma once

#include <cstdint>
#include <vector>

#include <stb_image_write.h>

// A PNG of `width` x `height` RGBA bytes, top row first; empty if encoding fails.
inline std::vector<uint8_t> PngFile(int width, int height, const uint8_t* rgba) {
    std::vector<uint8_t> png;
    auto store = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<uint8_t>*>(context);
        out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    if (!stbi_write_png_to_func(store, &png, width, height, 4, rgba, width * 4)) png.clear();
    return png;
}
