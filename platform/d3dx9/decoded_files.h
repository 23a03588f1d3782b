// The files decoded ahead of their loaders (D3DX_DecodeAhead), matched by
// their bytes: a 64-bit hash and the size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/d3dx9/image.h"
#include "platform/d3dx9/xfile.h"

namespace d3dx {

// What decoding one file gave: a picture or a mesh, or the failure.
struct DecodedFile {
    bool ok = false;
    bool isMesh = false;  // an X file: `mesh` holds it, otherwise `image`
    DecodedImage image;
    XMeshData mesh;
};

// For a loader about to decode `data` itself: the file's decoded result when
// it was decoded ahead (waiting while that is under way), or null, after
// which the file counts as taken and is not decoded ahead any more. Always
// null, at no cost, while nothing is decoded ahead.
std::unique_ptr<DecodedFile> TakeDecodedFile(const uint8_t* data, size_t size);

}  // namespace d3dx
