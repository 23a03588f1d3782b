// The contact sheet: every texture of a generator run as a labelled
// thumbnail, and every mesh rendered with its material textures by a small
// software rasteriser, laid out on one picture.
#pragma once

#include <string>

#include "tools/contentgen/asset_set.h"
#include "tools/contentgen/image.h"

namespace gen {

// Labels are set in the font file `font`.
Image ContactSheet(const AssetSet& assets, const std::string& font);

}  // namespace gen
