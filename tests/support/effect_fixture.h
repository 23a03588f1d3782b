// The set-up every scene test shares (SceneWorld) as a GoogleTest fixture,
// with readers of what the device holds. A scene test starts in three lines:
//
//   class HandDrawTest : public EffectFixture {};
//   TEST_F(HandDrawTest, ...) {
//       Mirel::HandDrawEffect effect(&g_demoState);
//       effect.Init();
//       StartAt(effect, 10.5);  Frame(effect, 11.0);
//   }
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/fakes.h"
#include "tests/support/scene_world.h"

// Registers and matrices as numbers in test messages.
inline void PrintTo(const D3DXVECTOR4& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ", " << v.z << ", " << v.w << ")";
}
inline void PrintTo(const D3DXMATRIX& m, std::ostream* os) {
    for (int row = 0; row < 4; ++row)
        *os << (row ? " " : "[") << m.m[row][0] << ", " << m.m[row][1] << ", " << m.m[row][2] << ", " << m.m[row][3]
            << (row < 3 ? ";" : "]");
}

// The device as one DrawSubset of a ProbeMesh found it: what the shaders
// of that draw read.
struct SeenDraw {
    std::string mesh;
    DWORD subset = 0;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    std::array<IDirect3DBaseTexture9*, 9> textures{};  // stages 0-8
    std::array<D3DXVECTOR4, 14> vertex{};              // c0-c13
    std::array<D3DXVECTOR4, 2> pixel{};                // c0-c1
    DWORD cull = 0, blend = 0, source = 0, destination = 0;
    int callsBefore = 0;  // calls the recording device had logged

    // Vertex registers reg..reg+3 as the matrix that SetMatrixConstant was given.
    D3DXMATRIX Matrix(UINT reg) const;
};

// A mesh double that notes the device in `log` at every subset it draws.
struct ProbeMesh : FakeMesh {
    ProbeMesh(std::string name_, std::vector<SeenDraw>& log_, IDirect3DDevice9* device_)
        : name(std::move(name_)), log(log_), device(device_) {}
    HRESULT DrawSubset(DWORD attribId) override;
    std::string name;
    std::vector<SeenDraw>& log;
    IDirect3DDevice9* device;
};

class EffectFixture : public ::testing::Test, public SceneWorld {
protected:
    explicit EffectFixture(D3D9Backend backend = D3D9Backend::Recording, UINT width = 64, UINT height = 48)
        : SceneWorld(backend, width, height) {}
    void SetUp() override { ASSERT_TRUE(gpu) << gpu.Error(); }

    // Calls logged by the recording device since the last ClearCalls.
    const std::vector<std::string>& Calls() const;
    void ClearCalls();
    // Index of the first logged call starting with `prefix` at or after `from`; -1 when none.
    int FindCall(const std::string& prefix, int from = 0) const;

    // What the device holds now.
    IDirect3DPixelShader9* BoundPixelShader() const;
    DWORD RenderState(D3DRENDERSTATETYPE state) const { return gpu.RenderState(state); }
    DWORD SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const { return gpu.SamplerState(stage, type); }
    std::vector<float> PixelRegister(UINT reg) const;
    std::vector<float> VertexRegister(UINT reg) const;
    // Whether render target 0 is level 0 of the screen texture.
    bool ScreenIsTarget() const;
    // The pixel of a world point on the target, through the camera.
    std::pair<int, int> OnScreen(const D3DXVECTOR3& point) const;

    // The seven scene meshes as probes noting every draw in `seen`: island
    // (one subset), sea, boat, sky, earth, card, cylinder (two subsets each),
    // each placed and turned apart so that no two share a world.
    void ProbeSceneMeshes();
    // The meshes drawn, in order: one name for each run of subsets of one mesh.
    std::vector<std::string> DrawnMeshes() const;
    std::vector<SeenDraw> seen;
    std::vector<std::unique_ptr<ProbeMesh>> probes;

    // The draw's shaders, and its textures by name on the stages from `first` on.
    void ExpectShaders(const SeenDraw& draw, const char* vertexShader, const char* pixelShader) const;
    void ExpectTextures(const SeenDraw& draw, DWORD first, const std::vector<const char*>& names) const;
    // "Textures//Hatch0.dds" to "Textures//Hatch5.dds".
    static std::vector<const char*> HatchTextures() {
        return {"Textures//Hatch0.dds", "Textures//Hatch1.dds", "Textures//Hatch2.dds",
                "Textures//Hatch3.dds", "Textures//Hatch4.dds", "Textures//Hatch5.dds"};
    }

    // Resources by name, as the scenes fetch them.
    IDirect3DBaseTexture9* Texture(const char* name) const;
    IDirect3DVertexShader9* VertexShader(const char* name) const;
    IDirect3DPixelShader9* PixelShader(const char* name) const;
    // world x the camera's view-projection.
    static D3DXMATRIX Times(const D3DXMATRIX& world, const D3DXMATRIX& viewProjection);
    // The camera's eye as SetEyeConstant sends it.
    static D3DXVECTOR4 Eye();

    // The camera flies `path` once (no loop) from `startedAt`.
    void ExpectFlies(const char* path, double startedAt) const;
    // Stop gives up the effect's references to exactly `own` (held by the
    // effect alone before) and leaves the screen texture alone.
    void ExpectStopReleases(Mirel::Effect& effect, std::initializer_list<IUnknown*> own) const;
};
