// Picture files other than DDS (through stb_image) and box-filtered mip chains.
#include <algorithm>
#include <climits>
#include <memory>

#include <stb_image.h>

#include "platform/d3dx9/image.h"

namespace d3dx {

namespace {

// One channel (shift 0, 8, 16 or 24) averaged over a source rectangle.
uint32_t AverageChannel(const ImageLevel& src, uint32_t x0, uint32_t x1, uint32_t y0, uint32_t y1, int shift) {
    uint32_t sum = 0;
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x) sum += (src.pixels[size_t{y} * src.width + x] >> shift) & 0xff;
    uint32_t count = (x1 - x0) * (y1 - y0);
    return (sum + count / 2) / count;
}

// A level of even width and height: each texel is the rounded mean of a 2x2
// square, the same value AverageChannel gives, four channels at a time (two
// channels per word, in 16-bit lanes that a sum of four bytes cannot fill).
void HalveEvenLevel(const ImageLevel& src, ImageLevel* dst) {
    constexpr uint32_t kLanes = 0x00FF00FFu, kRound = 0x00020002u;
    for (uint32_t y = 0; y < dst->height; ++y) {
        const uint32_t* top = &src.pixels[size_t{2 * y} * src.width];
        const uint32_t* bottom = top + src.width;
        uint32_t* out = &dst->pixels[size_t{y} * dst->width];
        for (uint32_t x = 0; x < dst->width; ++x) {
            const uint32_t a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
            const uint32_t low = (a & kLanes) + (b & kLanes) + (c & kLanes) + (d & kLanes) + kRound;
            const uint32_t high =
                (a >> 8 & kLanes) + (b >> 8 & kLanes) + (c >> 8 & kLanes) + (d >> 8 & kLanes) + kRound;
            out[x] = (low >> 2 & kLanes) | (high >> 2 & kLanes) << 8;
        }
    }
}

// Each destination texel averages the source texels its area covers; for
// odd sizes the last texel takes the remaining column or row as well.
ImageLevel Downsample(const ImageLevel& src) {
    ImageLevel dst;
    dst.width = std::max(1u, src.width / 2);
    dst.height = std::max(1u, src.height / 2);
    dst.pixels.resize(size_t{dst.width} * dst.height);
    if (src.width % 2 == 0 && src.height % 2 == 0) {
        HalveEvenLevel(src, &dst);
        return dst;
    }
    for (uint32_t y = 0; y < dst.height; ++y) {
        uint32_t y0 = y * src.height / dst.height;
        uint32_t y1 = std::max(y0 + 1, (y + 1) * src.height / dst.height);
        for (uint32_t x = 0; x < dst.width; ++x) {
            uint32_t x0 = x * src.width / dst.width;
            uint32_t x1 = std::max(x0 + 1, (x + 1) * src.width / dst.width);
            uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) pixel |= AverageChannel(src, x0, x1, y0, y1, shift) << shift;
            dst.pixels[size_t{y} * dst.width + x] = pixel;
        }
    }
    return dst;
}

// stb_image (2.27) writes past a Huffman table's list of code lengths when a
// JPEG's DHT segment declares more than 256 codes in one table. Such files
// are refused before it sees them. Every FF C4 pair of a JPEG is taken for a
// DHT segment and read as stb reads one (tables while the segment's length
// lasts, bytes past the end reading as 0): a valid file has FF C4 nowhere
// else that could declare so many codes.
bool JpegHuffmanTablesFit(const uint8_t* data, size_t size) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8) return true;
    auto byte = [&](size_t at) -> uint32_t { return at < size ? data[at] : 0; };
    for (size_t marker = 2; marker + 1 < size; ++marker) {
        if (data[marker] != 0xFF || data[marker + 1] != 0xC4) continue;
        int64_t left = int64_t(byte(marker + 2) << 8 | byte(marker + 3)) - 2;
        size_t table = marker + 4;
        while (left > 0 && table < size) {
            uint32_t codes = 0;
            for (size_t i = 1; i <= 16; ++i) codes += byte(table + i);
            if (codes > 256) return false;
            table += 17 + codes;
            left -= 17 + int64_t(codes);
        }
    }
    return true;
}

}  // namespace

void GenerateMipChain(DecodedImage* image) {
    if (image->levels.empty()) return;
    image->levels.resize(1);
    uint32_t count = FullMipCount(image->levels[0].width, image->levels[0].height);
    image->levels.reserve(count);
    for (uint32_t level = 1; level < count; ++level) image->levels.push_back(Downsample(image->levels.back()));
    image->levelCount = count;
}

bool DecodeImageFile(const uint8_t* data, size_t size, DecodedImage* image, std::string* error, bool keepBlocks) {
    if (IsDds(data, size)) return DecodeDds(data, size, image, error, keepBlocks);
    if (size == 0 || size > INT_MAX) {
        if (error) *error = "picture: empty or oversized file";
        return false;
    }
    if (!JpegHuffmanTablesFit(data, size)) {
        if (error) *error = "picture: a JPEG Huffman table declares more than 256 codes";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, static_cast<int>(size), &width, &height, &channels)) {
        if (error) *error = "picture: unrecognised format";
        return false;
    }
    if (width <= 0 || height <= 0 || static_cast<uint32_t>(width) > kMaxImageEdge ||
        static_cast<uint32_t>(height) > kMaxImageEdge || uint64_t(width) * uint64_t(height) > kMaxPictureTexels) {
        if (error) *error = "picture: size out of range";
        return false;
    }
    std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4), stbi_image_free);
    if (!rgba) {
        if (error) *error = std::string("picture: ") + stbi_failure_reason();
        return false;
    }
    ImageLevel top;
    top.width = static_cast<uint32_t>(width);
    top.height = static_cast<uint32_t>(height);
    top.pixels.resize(size_t{top.width} * top.height);
    const stbi_uc* p = rgba.get();
    for (uint32_t& pixel : top.pixels) {
        pixel = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        p += 4;
    }
    image->cube = false;
    image->blockFourCC = 0;
    image->levelCount = 1;
    image->levels.clear();
    image->levels.push_back(std::move(top));
    GenerateMipChain(image);
    return true;
}

}  // namespace d3dx
