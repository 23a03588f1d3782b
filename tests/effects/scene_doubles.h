// For scene tests on the recording device: the seven scene meshes as
// recording doubles (the island with one subset, the others with two), and
// the names the recording gives device objects.
#pragma once

#include <array>
#include <string>

#include "platform/d3d9/d3d9_platform.h"
#include "resources/mesh_record.h"
#include "scene/mesh_object.h"
#include "shell/demo_state.h"
#include "tests/support/fakes.h"

struct FakeSceneMeshes {
    std::array<FakeMesh, 7> meshes;

    // Puts them in g_demoState.meshes (which the effect fixture clears).
    void Install() {
        for (size_t i = 0; i < meshes.size(); ++i) {
            MeshRecord record;
            record.mesh = &meshes[i];
            record.materialCount = i == 0 ? 1 : 2;
            g_demoState.meshes.emplace_back(record);
        }
    }
    void ClearDrawn() {
        for (FakeMesh& mesh : meshes) mesh.subsetsDrawn.clear();
    }
};

// The recording's name of a device object ("PixelShader#12", "Texture#3"),
// read back by binding it once (one more call in the log).
inline std::string RecordedName(IDirect3DDevice9* device, IDirect3DPixelShader9* shader) {
    device->SetPixelShader(shader);
    const std::string& line = D3D9_RecordedCalls(device).back();
    return line.substr(15, line.size() - 16);  // inside "SetPixelShader(...)"
}
inline std::string RecordedName(IDirect3DDevice9* device, IDirect3DBaseTexture9* texture) {
    device->SetTexture(15, texture);
    const std::string& line = D3D9_RecordedCalls(device).back();
    return line.substr(15, line.size() - 16);  // inside "SetTexture(15, ...)"
}
