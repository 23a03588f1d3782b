// Cost of one typical scene draw as the effects issue it: three matrices and
// the eye into vertex registers, a pixel register, three textures, the shader
// pair, two render states and a DrawIndexedPrimitive of an 8192-triangle mesh
// in the scene-mesh layout (56-byte vertices, 32-bit indices), on the
// recording backend and on OpenGL (headless; a 64 x 64 target, so the figure
// is mostly the stand-in's own work and the vertex stage). The argument is the
// mesh's grid size: 64 gives the 8192 triangles, 1 shows the fixed cost of a
// draw with the same state changes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "tests/support/test_device.h"

namespace {

const D3DVERTEXELEMENT9 kMeshElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_POSITION, 0},  {0, 12, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, 0, D3DDECLUSAGE_TEXCOORD, 0}, {0, 32, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_TANGENT, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, 0, D3DDECLUSAGE_BINORMAL, 0}, D3DDECL_END(),
};

const char kVertexShader[] = R"(
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 normal;
out vec3 toEye;
void main() {
    vec4 world = vec4(POSITION0, 1.0) * mat4(c[8], c[9], c[10], c[11]);
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    normal = NORMAL0 * mat3(mat4(c[4], c[5], c[6], c[7]));
    toEye = c[12].xyz - world.xyz;
    uv = TEXCOORD0;
}
)";

const char kPixelShader[] = R"(
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
in vec2 uv;
in vec3 normal;
in vec3 toEye;
void main() {
    float light = max(dot(normalize(normal), normalize(toEye)), 0.0);
    oC0 = texture(s0, uv) * light * c[0] + texture(s1, uv) * texture(s2, uv);
}
)";

struct Scene {
    Scene(D3D9Backend backend, int grid) : gpu(backend, 64, 64), kGrid(grid) {
        if (!gpu) return;
        vs = gpu.VertexShader(kVertexShader);
        ps = gpu.PixelShader(kPixelShader);
        gpu->CreateVertexDeclaration(kMeshElements, &declaration);
        const UINT vertices = (kGrid + 1) * (kGrid + 1);
        gpu->CreateVertexBuffer(vertices * 56, 0, 0, D3DPOOL_MANAGED, &vertexBuffer, nullptr);
        gpu->CreateIndexBuffer(kGrid * kGrid * 6 * 4, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indexBuffer, nullptr);
        float* v = nullptr;
        vertexBuffer->Lock(0, 0, reinterpret_cast<void**>(&v), 0);
        for (int y = 0; y <= kGrid; ++y)
            for (int x = 0; x <= kGrid; ++x, v += 14) {
                const float vertex[14] = {float(x) / kGrid * 2 - 1,
                                          float(y) / kGrid * 2 - 1,
                                          0.5f,
                                          0,
                                          0,
                                          -1,
                                          float(x) / kGrid,
                                          float(y) / kGrid,
                                          1,
                                          0,
                                          0,
                                          0,
                                          1,
                                          0};
                std::memcpy(v, vertex, sizeof vertex);
            }
        vertexBuffer->Unlock();
        uint32_t* index = nullptr;
        indexBuffer->Lock(0, 0, reinterpret_cast<void**>(&index), 0);
        for (int y = 0; y < kGrid; ++y)
            for (int x = 0; x < kGrid; ++x) {
                uint32_t a = y * (kGrid + 1) + x, b = a + 1, c = a + kGrid + 1, d = c + 1;
                const uint32_t quad[6] = {a, c, b, b, c, d};
                std::memcpy(index, quad, sizeof quad);
                index += 6;
            }
        indexBuffer->Unlock();
        for (int i = 0; i < 3; ++i) textures[i] = gpu.Texture(64, 64, std::vector<uint32_t>(64 * 64, 0xFF808080u + i));
        gpu->SetVertexDeclaration(declaration);
        gpu->SetStreamSource(0, vertexBuffer, 0, 56);
        gpu->SetIndices(indexBuffer);
    }
    ~Scene() {
        if (declaration) declaration->Release();
        if (vertexBuffer) vertexBuffer->Release();
        if (indexBuffer) indexBuffer->Release();
    }

    // One draw as an effect issues it; `frame` varies the constants.
    void Draw(int frame) {
        D3DXMATRIX world, viewProjection, product, transposed;
        D3DXMatrixRotationY(&world, 0.001f * float(frame));
        D3DXMatrixIdentity(&viewProjection);
        D3DXMatrixMultiply(&product, &world, &viewProjection);
        D3DXMatrixTranspose(&transposed, &product);
        gpu->SetVertexShaderConstantF(0, transposed, 4);
        D3DXMatrixTranspose(&transposed, &world);
        gpu->SetVertexShaderConstantF(4, transposed, 4);
        gpu->SetVertexShaderConstantF(8, transposed, 4);
        const float eye[4] = {0, 3, -5, 0}, params[4] = {float(frame), 0.5f, 0, 0};
        gpu->SetVertexShaderConstantF(12, eye, 1);
        gpu->SetPixelShaderConstantF(0, params, 1);
        for (DWORD stage = 0; stage < 3; ++stage) gpu->SetTexture(stage, textures[stage]);
        gpu->SetVertexShader(vs);
        gpu->SetPixelShader(ps);
        gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        gpu->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, (kGrid + 1) * (kGrid + 1), 0, kGrid * kGrid * 2);
        gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    }

    TestDevice gpu;
    const int kGrid;  // quads per side
    IDirect3DVertexShader9* vs = nullptr;
    IDirect3DPixelShader9* ps = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    IDirect3DTexture9* textures[3] = {};
};

void BM_TypicalDraw(benchmark::State& state, D3D9Backend backend) {
    Scene scene(backend, int(state.range(0)));
    if (!scene.gpu || !scene.vs || !scene.ps) {
        state.SkipWithError("no device");
        return;
    }
    int frame = 0;
    for (auto _ : state) {
        scene.Draw(++frame);
        // The recording backend keeps its log; keep it from growing without end.
        if (backend == D3D9Backend::Recording && frame % 256 == 0) D3D9_ClearRecordedCalls(scene.gpu.Get());
    }
    // Wait for the GL work that was queued, so it counts.
    scene.gpu.Present();
}

}  // namespace

BENCHMARK_CAPTURE(BM_TypicalDraw, Recording, D3D9Backend::Recording)->Arg(64);
BENCHMARK_CAPTURE(BM_TypicalDraw, OpenGL, D3D9Backend::OpenGL)->Arg(1)->Arg(64);
