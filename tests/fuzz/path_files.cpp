// Fuzz target for the camera and mesh path files: every input goes through
// both parsers (the files carry no type tag), and a path that loads is then
// evaluated at a few local times, inside, at and beyond its duration and
// before its start.
#include <cstring>
#include <vector>

#include "resources/path_files.h"
#include "scene/mesh_path_animation.h"
#include "scene/camera.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > UINT32_MAX) return 0;
    const float times[] = {0.0f, 0.37f, 1.0f, 5.0f, 1e6f, -2.5f};
    CameraPath cameraPath;
    if (ParseCameraPath(data, uint32_t(size), cameraPath)) {
        for (bool loop : {false, true}) {
            cameraPath.loop = loop;
            for (float t : times) {
                D3DXVECTOR3 eye, target;
                Evaluate(&cameraPath, t, &eye, &target);
            }
        }
    }
    MeshPath meshPath;
    if (ParseMeshPath(data, uint32_t(size), meshPath)) {
        for (bool loop : {false, true}) {
            meshPath.loop = loop;
            for (float t : times) {
                D3DXMATRIX world;
                Evaluate(meshPath, &world, t);
            }
        }
    }
    return 0;
}

namespace {

// A path file: header, then `records` key records of `floatsPerKey` floats
// after each key's index (6 for camera keys, 10 for mesh keys).
std::vector<uint8_t> PathFile(uint32_t segments, uint32_t records, float duration, int floatsPerKey) {
    std::vector<uint8_t> out;
    auto put = [&out](const void* value) {
        const uint8_t* bytes = static_cast<const uint8_t*>(value);
        for (int i = 0; i < 4; ++i) out.push_back(bytes[i]);
    };
    uint32_t words[2] = {0x12345678, 0};
    put(&words[0]);
    put(&words[1]);
    put(&segments);
    put(&duration);
    for (uint32_t k = 0; k < records; ++k) {
        put(&k);
        for (int i = 0; i < floatsPerKey; ++i) {
            float v = float(k * floatsPerKey + i);
            put(&v);
        }
    }
    return out;
}

}  // namespace

extern "C" void FuzzSeeds(std::vector<std::vector<uint8_t>>& seeds) {
    for (int floatsPerKey : {6, 10}) {
        seeds.push_back(PathFile(2, 3, 10.0f, floatsPerKey));
        seeds.push_back(PathFile(0, 1, 1.0f, floatsPerKey));
        seeds.push_back(PathFile(0xFFFFFFFF, 0, 4.0f, floatsPerKey));
        seeds.push_back(PathFile(5, 6, -1.0f, floatsPerKey));
    }
}
