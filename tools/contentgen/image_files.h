// Encoders for the picture files the demo loads: JPEG, PNG and TGA through
// stb_image_write (all in memory, no time stamps, same bytes every run), and
// DirectDraw Surface files with full mip chains, plain A8R8G8B8 or DXT1/DXT5
// block-compressed, as 2D textures or cube maps.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/contentgen/image.h"

namespace gen {

std::vector<uint8_t> EncodePng(const Image& image, bool alpha);
std::vector<uint8_t> EncodeJpeg(const Image& image, int quality = 92);
std::vector<uint8_t> EncodeTga(const Image& image, bool alpha);

enum class DdsFormat { A8R8G8B8, Dxt1, Dxt5 };

// Box-filtered chain from `base` down to 1 x 1 (the base first).
std::vector<Image> MipChain(const Image& base);
// `levels` holds level 0 first, each half the size of the one before, down to 1 x 1.
std::vector<uint8_t> EncodeDds(const std::vector<Image>& levels, DdsFormat format);
// Faces in Direct3D order +X, -X, +Y, -Y, +Z, -Z, each a full chain.
std::vector<uint8_t> EncodeDdsCube(const std::array<std::vector<Image>, 6>& faces, DdsFormat format);

}  // namespace gen
