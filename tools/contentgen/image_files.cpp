#include "tools/contentgen/image_files.h"

#include <algorithm>
#include <cstring>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#include <stb_dxt.h>
#pragma GCC diagnostic pop

namespace gen {
namespace {

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> Channels(const Image& image, bool alpha) {
    std::vector<uint8_t> rgba = image.ToRgba8();
    if (alpha) return rgba;
    std::vector<uint8_t> rgb(size_t(image.Width()) * image.Height() * 3);
    for (size_t i = 0, n = rgb.size() / 3; i < n; ++i) std::memcpy(&rgb[i * 3], &rgba[i * 4], 3);
    return rgb;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

// The 128-byte header: magic, DDS_HEADER with its DDS_PIXELFORMAT.
void PutHeader(std::vector<uint8_t>& out, int width, int height, int levels, DdsFormat format, bool cube) {
    const uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000, kMipCount = 0x20000,
                   kLinearSize = 0x80000;
    bool compressed = format != DdsFormat::A8R8G8B8;
    uint32_t blockBytes = format == DdsFormat::Dxt1 ? 8 : 16;
    uint32_t pitchOrSize = compressed
                               ? uint32_t(std::max(1, (width + 3) / 4) * std::max(1, (height + 3) / 4)) * blockBytes
                               : uint32_t(width) * 4;
    Put32(out, 0x20534444);  // "DDS "
    Put32(out, 124);
    Put32(out, kCaps | kHeight | kWidth | kPixelFormat | kMipCount | (compressed ? kLinearSize : kPitch));
    Put32(out, uint32_t(height));
    Put32(out, uint32_t(width));
    Put32(out, pitchOrSize);
    Put32(out, 0);  // depth
    Put32(out, uint32_t(levels));
    for (int i = 0; i < 11; ++i) Put32(out, 0);
    Put32(out, 32);  // pixel format size
    if (compressed) {
        Put32(out, 0x4);                                                  // DDPF_FOURCC
        Put32(out, format == DdsFormat::Dxt1 ? 0x31545844 : 0x35545844);  // "DXT1" / "DXT5"
        for (int i = 0; i < 5; ++i) Put32(out, 0);
    } else {
        Put32(out, 0x41);  // DDPF_RGB | DDPF_ALPHAPIXELS
        Put32(out, 0);
        Put32(out, 32);
        Put32(out, 0x00FF0000);
        Put32(out, 0x0000FF00);
        Put32(out, 0x000000FF);
        Put32(out, 0xFF000000);
    }
    uint32_t caps = 0x1000 | 0x400000 | 0x8;  // TEXTURE | MIPMAP | COMPLEX
    Put32(out, caps);
    Put32(out, cube ? 0x200 | 0xFC00 : 0);  // CUBEMAP | all six faces
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
}

void PutLevel(std::vector<uint8_t>& out, const Image& level, DdsFormat format) {
    std::vector<uint8_t> rgba = level.ToRgba8();
    int w = level.Width(), h = level.Height();
    if (format == DdsFormat::A8R8G8B8) {
        for (size_t i = 0; i < rgba.size(); i += 4) {
            out.push_back(rgba[i + 2]);
            out.push_back(rgba[i + 1]);
            out.push_back(rgba[i + 0]);
            out.push_back(rgba[i + 3]);
        }
        return;
    }
    bool alpha = format == DdsFormat::Dxt5;
    for (int by = 0; by < std::max(1, (h + 3) / 4); ++by)
        for (int bx = 0; bx < std::max(1, (w + 3) / 4); ++bx) {
            uint8_t block[64];
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    int sx = std::min(bx * 4 + x, w - 1), sy = std::min(by * 4 + y, h - 1);
                    std::memcpy(&block[(y * 4 + x) * 4], &rgba[(size_t(sy) * w + sx) * 4], 4);
                }
            uint8_t packed[16];
            stb_compress_dxt_block(packed, block, alpha ? 1 : 0, STB_DXT_HIGHQUAL);
            out.insert(out.end(), packed, packed + (alpha ? 16 : 8));
        }
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image, bool alpha) {
    std::vector<uint8_t> out, px = Channels(image, alpha);
    int comp = alpha ? 4 : 3;
    stbi_write_png_to_func(Append, &out, image.Width(), image.Height(), comp, px.data(), image.Width() * comp);
    return out;
}

std::vector<uint8_t> EncodeJpeg(const Image& image, int quality) {
    std::vector<uint8_t> out, px = Channels(image, false);
    stbi_write_jpg_to_func(Append, &out, image.Width(), image.Height(), 3, px.data(), quality);
    return out;
}

std::vector<uint8_t> EncodeTga(const Image& image, bool alpha) {
    std::vector<uint8_t> out, px = Channels(image, alpha);
    stbi_write_tga_with_rle = 0;
    stbi_write_tga_to_func(Append, &out, image.Width(), image.Height(), alpha ? 4 : 3, px.data());
    return out;
}

std::vector<Image> MipChain(const Image& base) {
    std::vector<Image> chain{base};
    while (chain.back().Width() > 1 || chain.back().Height() > 1) chain.push_back(chain.back().Halved());
    return chain;
}

std::vector<uint8_t> EncodeDds(const std::vector<Image>& levels, DdsFormat format) {
    std::vector<uint8_t> out;
    PutHeader(out, levels[0].Width(), levels[0].Height(), int(levels.size()), format, false);
    for (const Image& level : levels) PutLevel(out, level, format);
    return out;
}

std::vector<uint8_t> EncodeDdsCube(const std::array<std::vector<Image>, 6>& faces, DdsFormat format) {
    std::vector<uint8_t> out;
    PutHeader(out, faces[0][0].Width(), faces[0][0].Height(), int(faces[0].size()), format, true);
    for (const auto& face : faces)
        for (const Image& level : face) PutLevel(out, level, format);
    return out;
}

}  // namespace gen
