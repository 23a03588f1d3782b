// A small software rasteriser for previews: perspective camera (left-handed,
// like the demo's), near-plane clipping, depth buffer, perspective-correct
// texture coordinates, bilinear texturing and one directional light.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/contentgen/image.h"
#include "tools/contentgen/mesh.h"

namespace gen {

struct RasterView {
    Vec3 eye, target;
    float fovY = 0.7854f;
    Vec3 light = Normalize({0.4f, 0.8f, -0.45f});  // towards the light
};

struct RasterItem {
    const Mesh* mesh = nullptr;
    bool unlit = false;              // texture colour as it is (sky)
    const Image* texture = nullptr;  // overrides the materials' textures when set
    Rgba tint{1, 1, 1, 1};
};

// Renders the items into a picture of the given size (drawn at twice the
// size and halved). `textures` maps material texture names to pictures.
Image Rasterise(const std::vector<RasterItem>& items, const RasterView& view, int width, int height,
                const std::map<std::string, Image>& textures, Rgba background);

}  // namespace gen
