// The asset groups of the content folder, one generator function each. Each
// adds its files (and previews) to the set; groups are independent of one
// another and may run in any order.
#pragma once

#include <string>

#include "tools/contentgen/asset_set.h"

namespace gen {

void GenerateIsland(AssetSet& out);    // fy_faen_assSmall.X, island.jpg, islandNormal.jpg, shadowmap.tga
void GenerateSea(AssetSet& out);       // ocean.X, waves2.dds
void GenerateYacht(AssetSet& out);     // yachtAll2.x
void GenerateSky(AssetSet& out);       // skydome.X, Sky02.jpg, clouds1.tga, cubemap.dds
void GenerateHatching(AssetSet& out);  // Hatch0..5.dds, hatch0.jpg, hatch1.jpg
void GenerateEarth(AssetSet& out);     // sphere.x, cylinder.X, creditsPlane.x and the earth and star textures
void GeneratePaths(AssetSet& out);     // HandDraw.cp, HatchToNormal.cp, Shatter.cp, meshtest.cp
// Word pictures, title cards, paper backgrounds, the loading picture and the
// credits, lettered with the font file `font`.
void GenerateLettering(AssetSet& out, const std::string& font);

}  // namespace gen
