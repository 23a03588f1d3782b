// Camera paths and mesh paths: a 16-byte header (two opaque words, the number
// of segments N and the duration) followed by N + 1 key records.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/d3dx9/d3dx9math.h"

struct CameraKey {
    uint32_t index = 0;
    float time = 0;
    D3DXVECTOR3 eye;
    D3DXVECTOR3 target;
};

struct MeshKey {
    uint32_t index = 0;
    float time = 0;
    D3DXVECTOR3 translation;
    D3DXVECTOR3 scale;
    D3DXQUATERNION rotation;  // w negated on load
};

struct CameraPath {
    uint32_t word0 = 0;
    uint32_t word1 = 0;
    float duration = 0;
    std::vector<CameraKey> keys;
    bool loop = false;
    // False for a path that must not be evaluated (no keys or duration <= 0).
    bool Usable() const { return !keys.empty() && duration > 0; }
};

struct MeshPath {
    uint32_t word0 = 0;
    uint32_t word1 = 0;
    float duration = 0;
    std::vector<MeshKey> keys;
    bool loop = false;
    bool Usable() const { return !keys.empty() && duration > 0; }
};

// Parse a path file's bytes into `path`. False when there are no bytes or the
// bytes are shorter than the header or the announced records; `path` is then
// left as a new, empty path.
bool ParseCameraPath(const uint8_t* bytes, uint32_t size, CameraPath& path);
bool ParseMeshPath(const uint8_t* bytes, uint32_t size, MeshPath& path);
