// A scene mesh of the build's pack, loaded through D3DX's X-file loader on a
// recording device and copied out to plain arrays.
#pragma once

#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"

namespace content_test {

struct LoadedMesh {
    bool loaded = false;
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR2> uvs;
    std::vector<DWORD> indices;     // three a face
    std::vector<DWORD> attributes;  // one a face

    D3DXVECTOR3 FaceNormal(size_t face) const;  // Cross(b - a, c - a), unnormalised
    D3DXVECTOR3 FaceCentre(size_t face) const;
    void Bounds(D3DXVECTOR3& lo, D3DXVECTOR3& hi) const;
};

LoadedMesh LoadMesh(IDirect3DDevice9* device, const std::string& name);

}  // namespace content_test
