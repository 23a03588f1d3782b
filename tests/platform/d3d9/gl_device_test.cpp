// The OpenGL backend, headless on llvmpipe: pictures read back after Present
// or from render targets, checked pixel by pixel against what Direct3D 9
// draws for the same calls; discarded and compiling-only frames. Every test
// runs on desktop OpenGL and on OpenGL ES 3.0 (the WebGL 2 subset a web page
// has), which does texel swizzles, clip planes, base vertices and read-backs
// its own way.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "platform/d3d9/gl_context.h"
#include "platform/d3dx9/d3dx9.h"
#include "tests/support/test_device.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

struct Vertex {
    float x, y, z, u, v;
};

const D3DVERTEXELEMENT9 kVertexElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

const char* const kPassVS = R"(
in vec3 POSITION0;
in vec2 TEXCOORD0;
out vec2 uv;
void main() {
    gl_Position = vec4(POSITION0, 1.0);
    uv = TEXCOORD0;
}
)";

const char* const kTexturePS = R"(
uniform sampler2D s0;
in vec2 uv;
void main() { oC0 = texture(s0, uv); }
)";

// Colour from pixel constant c0.
const char* const kConstantPS = R"(
in vec2 uv;
void main() { oC0 = c[0]; }
)";

// Full-screen strip in clip space with (0, 0) at the top left.
const Vertex kFullScreen[4] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 1, 0}, {-1, -1, 0, 0, 1}, {1, -1, 0, 1, 1}};

// Chooses the OpenGL of the devices made while it lives.
struct GLApiChoice {
    explicit GLApiChoice(D3D9GLApi api) { D3D9_SetGLApi(api); }
    ~GLApiChoice() { D3D9_SetGLApi(D3D9GLApi::Desktop); }
};

class GLDevice : public ::testing::TestWithParam<D3D9GLApi> {
protected:
    void SetUp() override {
        if (!gpu) GTEST_SKIP() << gpu.Error();
        ASSERT_EQ(d3d9::GLContext::AnyDeviceContext()->Features().es, GetParam() == D3D9GLApi::Es3);
        ASSERT_EQ(gpu->CreateVertexDeclaration(kVertexElements, &declaration), D3D_OK);
        gpu->SetVertexDeclaration(declaration);
        passVS = gpu.VertexShader(kPassVS);
        texturePS = gpu.PixelShader(kTexturePS);
        constantPS = gpu.PixelShader(kConstantPS);
        ASSERT_TRUE(passVS && texturePS && constantPS) << gpu.Error();
        gpu->SetVertexShader(passVS);
    }
    void TearDown() override {
        if (declaration) declaration->Release();
    }

    void DrawColour(const Vertex* strip, UINT triangles, uint32_t argb) {
        float colour[4] = {float((argb >> 16) & 255) / 255, float((argb >> 8) & 255) / 255, float(argb & 255) / 255,
                           float(argb >> 24) / 255};
        gpu->SetPixelShaderConstantF(0, colour, 1);
        gpu->SetPixelShader(constantPS);
        gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, triangles, strip, sizeof(Vertex));
    }

    GLApiChoice api{GetParam()};
    TestDevice gpu{D3D9Backend::OpenGL, 64, 32};
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexShader9* passVS = nullptr;
    IDirect3DPixelShader9* texturePS = nullptr;
    IDirect3DPixelShader9* constantPS = nullptr;
};

// Drawn into a render target, then from it onto the screen: the top-left
// texel stays at the top left both times, as does a cleared rectangle.
TEST_P(GLDevice, PictureDrawnIntoATextureAndClearedRectanglesKeepTheirOrientation) {
    IDirect3DTexture9* picture = gpu.Texture(2, 2, {kRed, kGreen, kBlue, kWhite});
    IDirect3DTexture9* target = gpu.RenderTarget(16, 16);
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* level = nullptr;
    gpu->GetRenderTarget(0, &back);
    target->GetSurfaceLevel(0, &level);
    gpu->SetRenderTarget(0, level);
    gpu->SetTexture(0, picture);
    gpu->SetPixelShader(texturePS);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));

    Picture inTarget = TestDevice::Read(target);
    EXPECT_EQ(inTarget.At(0, 0), kRed);
    EXPECT_EQ(inTarget.At(15, 0), kGreen);
    EXPECT_EQ(inTarget.At(0, 15), kBlue);

    gpu->SetRenderTarget(0, back);
    gpu->SetTexture(0, target);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    Picture shot = gpu.Present();
    EXPECT_EQ(shot.At(1, 1), kRed);
    EXPECT_EQ(shot.At(62, 1), kGreen);
    EXPECT_EQ(shot.At(1, 30), kBlue);
    EXPECT_EQ(shot.At(62, 30), kWhite);
    const D3DRECT topLeft = {0, 0, 8, 4};
    gpu->Clear(1, &topLeft, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    shot = gpu.Present();
    EXPECT_EQ(shot.At(7, 3), kBlue);
    EXPECT_EQ(shot.At(8, 3), kRed);
    EXPECT_EQ(shot.At(7, 4), kRed);
    level->Release();
    back->Release();
}

// Quad covering the screen at depth z.
void Plane(Vertex out[4], float z) {
    for (int i = 0; i < 4; ++i) {
        out[i] = kFullScreen[i];
        out[i].z = z;
    }
}

bool Near(uint32_t a, uint32_t b, int tolerance = 2) {
    for (int shift = 0; shift < 32; shift += 8) {
        int d = int((a >> shift) & 255) - int((b >> shift) & 255);
        if (d < -tolerance || d > tolerance) return false;
    }
    return true;
}

TEST_P(GLDevice, DepthTestKeepsTheNearerSurfaceInTheRangeZeroToOneAndObeysWritesAndTestOff) {
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
    Vertex quad[4];
    Plane(quad, 0.5f);
    DrawColour(quad, 2, kRed);
    Plane(quad, 0.7f);
    DrawColour(quad, 2, kGreen);  // behind: hidden
    EXPECT_EQ(gpu.Present().At(32, 16), kRed);
    Plane(quad, 0.3f);
    DrawColour(quad, 2, kBlue);  // in front
    EXPECT_EQ(gpu.Present().At(32, 16), kBlue);
    Plane(quad, -0.2f);
    DrawColour(quad, 2, kWhite);  // before the near plane (z < 0): clipped away
    EXPECT_EQ(gpu.Present().At(32, 16), kBlue);
    gpu->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    Plane(quad, 0.1f);
    DrawColour(quad, 2, kRed);  // in front, drawn but not written
    gpu->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    Plane(quad, 0.2f);
    DrawColour(quad, 2, kGreen);  // passes against 0.3
    EXPECT_EQ(gpu.Present().At(32, 16), kGreen);
    gpu->SetRenderState(D3DRS_ZENABLE, FALSE);
    Plane(quad, 0.9f);
    DrawColour(quad, 2, kWhite);  // no depth test at all
    EXPECT_EQ(gpu.Present().At(32, 16), kWhite);
}

// A clear of the depth alone may clear the stencil with the value it holds
// everywhere (the packed clear is the cheaper one), but never once draws or
// a rectangle have left different values in it.
TEST_P(GLDevice, StencilKeepsWhatDrawsAndRectanglesLeftThroughClearsOfTheDepthAlone) {
    const Vertex leftHalf[4] = {{-1, 1, 0, 0, 0}, {0, 1, 0, 0, 0}, {-1, -1, 0, 0, 0}, {0, -1, 0, 0, 0}};
    const D3DRECT left = {0, 0, 32, 32}, right = {32, 0, 64, 32};
    // Clears the depth alone, then draws `argb` where the stencil holds
    // `value`: the left and the right half's pixels.
    auto afterDepthClear = [&](DWORD value, uint32_t argb) {
        gpu->Clear(0, nullptr, D3DCLEAR_ZBUFFER, kBlack, 1.0f, 0);
        gpu->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
        gpu->SetRenderState(D3DRS_STENCILREF, value);
        gpu->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        DrawColour(kFullScreen, 2, argb);
        Picture shot = gpu.Present();
        return std::pair(shot.At(8, 16), shot.At(56, 16));
    };
    gpu->SetRenderState(D3DRS_ZENABLE, FALSE);
    gpu->SetRenderState(D3DRS_STENCILENABLE, TRUE);

    gpu->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, kBlack, 1.0f, 5);
    EXPECT_EQ(afterDepthClear(5, kRed), std::pair(kRed, kRed));

    // 7 drawn into the left half.
    gpu->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    gpu->SetRenderState(D3DRS_STENCILREF, 7);
    gpu->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE);
    DrawColour(leftHalf, 2, kRed);
    EXPECT_EQ(afterDepthClear(7, kGreen), std::pair(kGreen, kRed));

    // Cleared to 7 in the right half: 7 everywhere again.
    gpu->Clear(1, &right, D3DCLEAR_STENCIL, kBlack, 1.0f, 7);
    EXPECT_EQ(afterDepthClear(7, kBlue), std::pair(kBlue, kBlue));

    // 3 everywhere, then 9 in the left half by a rectangle.
    gpu->Clear(0, nullptr, D3DCLEAR_STENCIL, kBlack, 1.0f, 3);
    gpu->Clear(1, &left, D3DCLEAR_STENCIL, kBlack, 1.0f, 9);
    EXPECT_EQ(afterDepthClear(3, kWhite), std::pair(kBlue, kWhite));
    gpu->SetRenderState(D3DRS_STENCILENABLE, FALSE);
}

TEST_P(GLDevice, CullCounterClockwiseRemovesTrianglesCounterClockwiseOnScreen) {
    // Top-left, top-right, bottom-left: clockwise as seen on the screen.
    const Vertex clockwise[3] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 0, 0}, {-1, -1, 0, 0, 0}};
    const Vertex counterClockwise[3] = {clockwise[0], clockwise[2], clockwise[1]};
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    float red[4] = {1, 0, 0, 1};
    gpu->SetPixelShaderConstantF(0, red, 1);
    gpu->SetPixelShader(constantPS);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counterClockwise, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(4, 4), kBlack);  // default D3DCULL_CCW
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(4, 4), kRed);

    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(4, 4), kBlack);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counterClockwise, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(4, 4), kRed);
}

TEST_P(GLDevice, AlphaBlendingMixesBySourceAlphaUntilAPixelStateBlockPutsItBack) {
    IDirect3DStateBlock9* pixelState = nullptr;
    ASSERT_EQ(gpu->CreateStateBlock(D3DSBT_PIXELSTATE, &pixelState), D3D_OK);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    gpu->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    gpu->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    gpu->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    DrawColour(kFullScreen, 2, 0x80FF0000);
    uint32_t mixed = gpu.Present().At(20, 20);
    EXPECT_TRUE(Near(mixed & 0x00FFFFFF, 0x0080007F)) << std::hex << mixed;
    // The state stays as set across frames until changed.
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    DrawColour(kFullScreen, 2, 0x00FF0000);
    EXPECT_EQ(gpu.Present().At(20, 20) & 0x00FFFFFF, kBlue & 0x00FFFFFF);
    pixelState->Apply();
    DrawColour(kFullScreen, 2, 0x00FF0000);
    EXPECT_EQ(gpu.Present().At(20, 20) & 0x00FFFFFF, kRed & 0x00FFFFFF);
    pixelState->Release();
}

TEST_P(GLDevice, WrapRepeatsAndClampHoldsTheEdgeTexelOnItsStageOnly) {
    IDirect3DTexture9* stripes = gpu.Texture(2, 1, {kRed, kGreen});
    const Vertex twice[4] = {{-1, 1, 0, 0, 0}, {1, 1, 0, 2, 0}, {-1, -1, 0, 0, 1}, {1, -1, 0, 2, 1}};
    gpu->SetTexture(0, stripes);
    gpu->SetTexture(1, stripes);
    gpu->SetPixelShader(texturePS);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, twice, sizeof(Vertex));
    Picture wrapped = gpu.Present();
    EXPECT_EQ(wrapped.At(6, 16), kRed);     // u = 0.2
    EXPECT_EQ(wrapped.At(22, 16), kGreen);  // u = 0.7
    EXPECT_EQ(wrapped.At(38, 16), kRed);    // u = 1.2, wrapped to 0.2
    gpu->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, twice, sizeof(Vertex));
    Picture clamped = gpu.Present();
    EXPECT_EQ(clamped.At(6, 16), kRed);
    EXPECT_EQ(clamped.At(38, 16), kGreen);  // beyond 1: the last texel
    EXPECT_EQ(clamped.At(60, 16), kGreen);
    // The state belongs to stage 0, not to the texture: stage 1 still wraps.
    IDirect3DPixelShader9* sampleStage1 =
        gpu.PixelShader("uniform sampler2D s1;\nin vec2 uv;\nvoid main() { oC0 = texture(s1, uv); }\n");
    ASSERT_NE(sampleStage1, nullptr) << gpu.Error();
    gpu->SetPixelShader(sampleStage1);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, twice, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(38, 16), kRed);
}

TEST_P(GLDevice, OnePixelShaderWritesTwoColourTargets) {
    IDirect3DTexture9* first = gpu.RenderTarget(8, 8);
    IDirect3DTexture9* second = gpu.RenderTarget(8, 8);
    IDirect3DSurface9* level0 = nullptr;
    IDirect3DSurface9* level1 = nullptr;
    first->GetSurfaceLevel(0, &level0);
    second->GetSurfaceLevel(0, &level1);
    gpu->SetRenderTarget(0, level0);
    gpu->SetRenderTarget(1, level1);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kWhite, 1.0f, 0);  // both targets
    EXPECT_EQ(TestDevice::Read(second).At(3, 3), kWhite);
    IDirect3DPixelShader9* both = gpu.PixelShader(R"(
        void main() { oC0 = vec4(1.0, 0.0, 0.0, 1.0); oC1 = vec4(0.0, 0.0, 1.0, 1.0); }
    )");
    ASSERT_NE(both, nullptr) << gpu.Error();
    gpu->SetPixelShader(both);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    EXPECT_EQ(TestDevice::Read(first).At(3, 3), kRed);
    EXPECT_EQ(TestDevice::Read(second).At(3, 3), kBlue);
    gpu->SetRenderTarget(1, nullptr);
    level0->Release();
    level1->Release();
}

// The matrix maps x -1..1 to 0..1; the plane keeps clip-space x >= 0.75,
// which in the untransformed quad would be x >= 0.5 (pixel 48 on).
TEST_P(GLDevice, MatrixSentTransposedMultipliesAsARowVectorAndClipPlanesCutInClipSpace) {
    IDirect3DVertexShader9* transformVS = gpu.VertexShader(R"(
        in vec3 POSITION0;
        out vec2 uv;
        void main() {
            gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
            uv = vec2(0.0);
        }
    )");
    ASSERT_NE(transformVS, nullptr) << gpu.Error();
    D3DXMATRIX translate, scale, product, transposed;
    D3DXMatrixScaling(&scale, 0.5f, 1.0f, 1.0f);
    D3DXMatrixTranslation(&translate, 0.5f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&product, &scale, &translate);  // scale first, then move right
    D3DXMatrixTranspose(&transposed, &product);
    gpu->SetVertexShaderConstantF(0, transposed, 4);
    gpu->SetVertexShader(transformVS);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    DrawColour(kFullScreen, 2, kRed);
    Picture shot = gpu.Present();
    EXPECT_EQ(shot.At(28, 16), kBlack);
    EXPECT_EQ(shot.At(36, 16), kRed);
    EXPECT_EQ(shot.At(62, 16), kRed);

    const float keepRight[4] = {1, 0, 0, -0.75f};
    gpu->SetClipPlane(0, keepRight);
    gpu->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);
    DrawColour(kFullScreen, 2, kGreen);
    shot = gpu.Present();
    EXPECT_EQ(shot.At(52, 16), kRed);
    EXPECT_EQ(shot.At(58, 16), kGreen);
    gpu->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    DrawColour(kFullScreen, 2, kGreen);
    EXPECT_EQ(gpu.Present().At(52, 16), kGreen);
}

TEST_P(GLDevice, CubeTextureFacesAreSampledByDirection) {
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(gpu->CreateCubeTexture(1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr), D3D_OK);
    const uint32_t colours[6] = {kRed, kGreen, kBlue, kWhite, 0xFF808080, 0xFFFFFF00};
    IDirect3DPixelShader9* lookUp =
        gpu.PixelShader("uniform samplerCube s2;\nvoid main() { oC0 = texture(s2, c[0].xyz); }\n");
    ASSERT_NE(lookUp, nullptr) << gpu.Error();
    gpu->SetTexture(2, cube);
    gpu->SetPixelShader(lookUp);
    for (int face = 0; face < 6; ++face) {  // +x, -x, +y, -y, +z, -z
        D3DLOCKED_RECT locked;
        ASSERT_EQ(cube->LockRect(D3DCUBEMAP_FACES(face), 0, &locked, nullptr, 0), D3D_OK);
        *static_cast<uint32_t*>(locked.pBits) = colours[face];
        cube->UnlockRect(D3DCUBEMAP_FACES(face), 0);
        float direction[4] = {0, 0, 0, 0};
        direction[face / 2] = face % 2 ? -1.0f : 1.0f;
        gpu->SetPixelShaderConstantF(0, direction, 1);
        gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
        EXPECT_EQ(gpu.Present().At(5, 5), colours[face]) << "face " << face;
    }
    cube->Release();
}

TEST_P(GLDevice, IndexedDrawFromBuffersUsesTheBaseVertex) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(gpu->CreateVertexBuffer(8 * sizeof(Vertex), 0, 0, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
    ASSERT_EQ(gpu->CreateIndexBuffer(6 * 4, 0, D3DFMT_INDEX32, D3DPOOL_MANAGED, &indices, nullptr), D3D_OK);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    // Vertices 4..7: the left half of the screen; 0..3 far outside it.
    const Vertex v[8] = {{5, 5, 5, 0, 0},  {5, 5, 5, 0, 0}, {5, 5, 5, 0, 0},   {5, 5, 5, 0, 0},
                         {-1, 1, 0, 0, 0}, {0, 1, 0, 0, 0}, {-1, -1, 0, 0, 0}, {0, -1, 0, 0, 0}};
    std::memcpy(data, v, sizeof v);
    vertices->Unlock();
    indices->Lock(0, 0, &data, 0);
    const uint32_t list[6] = {0, 1, 2, 2, 1, 3};
    std::memcpy(data, list, sizeof list);
    indices->Unlock();
    gpu->SetStreamSource(0, vertices, 0, sizeof(Vertex));
    gpu->SetIndices(indices);
    const float green[4] = {0, 1, 0, 1};
    gpu->SetPixelShaderConstantF(0, green, 1);
    gpu->SetPixelShader(constantPS);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlack, 1.0f, 0);
    // Indices reaching past the vertex buffer draw nothing rather than reading outside it.
    gpu->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 6, 0, 4, 0, 2);
    EXPECT_EQ(gpu.Present().At(10, 16), kBlack);
    gpu->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2);
    Picture shot = gpu.Present();
    EXPECT_EQ(shot.At(10, 16), kGreen);
    EXPECT_EQ(shot.At(54, 16), kBlack);
    vertices->Release();
    indices->Release();
}

TEST_P(GLDevice, CompressedAndAlphaLessFormatsSampleAsDirect3DDefinesThem) {
    gpu->SetPixelShader(texturePS);
    if (D3D9_SupportsFormat(gpu.Get(), D3DFMT_DXT1)) {
        IDirect3DTexture9* block = nullptr;
        ASSERT_EQ(gpu->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &block, nullptr), D3D_OK);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(block->LockRect(0, &locked, nullptr, 0), D3D_OK);
        EXPECT_EQ(locked.Pitch, 8);
        // colour0 red (R5G6B5 0xF800), colour1 blue (0x001F); every texel uses colour0.
        const uint8_t red[8] = {0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0};
        std::memcpy(locked.pBits, red, sizeof red);
        block->UnlockRect(0);
        gpu->SetTexture(0, block);
        gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
        EXPECT_EQ(gpu.Present().At(30, 10), kRed);
        block->Release();
    }
    IDirect3DTexture9* opaque = nullptr;
    ASSERT_EQ(gpu->CreateTexture(1, 1, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &opaque, nullptr), D3D_OK);
    D3DLOCKED_RECT locked;
    opaque->LockRect(0, &locked, nullptr, 0);
    *static_cast<uint32_t*>(locked.pBits) = 0x0000FF00;  // the X byte is 0: alpha still reads 1
    opaque->UnlockRect(0);
    gpu->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    gpu->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    gpu->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    gpu->SetTexture(0, opaque);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    EXPECT_EQ(gpu.Present().At(30, 10), kGreen);
    opaque->Release();
}

TEST_P(GLDevice, AlphaTestDiscardsPixelsByTheirAlpha) {
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    gpu->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    gpu->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    gpu->SetRenderState(D3DRS_ALPHAREF, 0x80);
    DrawColour(kFullScreen, 2, 0x40FF0000);  // alpha below the reference: discarded
    EXPECT_EQ(gpu.Present().At(5, 5), kBlue);
    DrawColour(kFullScreen, 2, 0xC0FF0000);
    EXPECT_EQ(gpu.Present().At(5, 5) & 0x00FFFFFF, kRed & 0x00FFFFFF);
    // The same shader without the test, then with it again: each draw picks its own program.
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    gpu->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    DrawColour(kFullScreen, 2, 0x40FF0000);
    EXPECT_EQ(gpu.Present().At(5, 5) & 0x00FFFFFF, kRed & 0x00FFFFFF);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    gpu->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    DrawColour(kFullScreen, 2, 0x40FF0000);
    EXPECT_EQ(gpu.Present().At(5, 5), kBlue);
    gpu->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);  // an always-passing test needs no variant
    DrawColour(kFullScreen, 2, 0x40FF0000);
    EXPECT_EQ(gpu.Present().At(5, 5) & 0x00FFFFFF, kRed & 0x00FFFFFF);
}

TEST_P(GLDevice, RenderTargetTheRendererCannotAllocateFailsAsOutOfVideoMemory) {
    // 16384 x 16384 at 8 bytes a texel is 2 GiB, more than llvmpipe gives one texture.
    IDirect3DTexture9* huge = reinterpret_cast<IDirect3DTexture9*>(1);
    HRESULT hr = gpu->CreateTexture(16384, 16384, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A16B16G16R16F, D3DPOOL_DEFAULT,
                                    &huge, nullptr);
    if (hr == D3D_OK) {
        huge->Release();
        GTEST_SKIP() << "this renderer completes a 2 GiB render target";
    }
    EXPECT_EQ(hr, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(huge, nullptr);
    // The device goes on drawing.
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kBlue, 1.0f, 0);
    DrawColour(kFullScreen, 2, kRed);
    EXPECT_EQ(gpu.Present().At(5, 5), kRed);
}

// Discarding: Clear, draws and Present change no pixel, while every state
// call still takes effect, so the next frame drawn starts from the state the
// discarded ones left. Compiling only: the draws reach the driver, no pixel
// changes; once it ends, a clear counts again before any draw.
TEST_P(GLDevice, DiscardedOrCompilingOnlyFramesDrawNothingButKeepTheirState) {
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0);
    ASSERT_EQ(gpu.Present().At(5, 5), kRed);
    gpu->SetPixelShader(texturePS);
    D3D9_SetDiscarding(gpu.Get(), true);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    DrawColour(kFullScreen, 2, kBlue);
    EXPECT_EQ(gpu.Present().At(5, 5), kRed) << "the discarded frame reached the picture";
    D3D9_SetDiscarding(gpu.Get(), false);
    D3D9_SetCompilingOnly(gpu.Get(), true);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    D3D9_SetCompilingOnly(gpu.Get(), false);
    EXPECT_EQ(gpu.Present().At(5, 5), kRed) << "compiling only reached the picture";
    // The next frame's clear, before any draw, is a real one again.
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0);
    const Vertex leftHalf[4] = {{-1, 1, 0, 0, 0}, {0, 1, 0, 0, 0}, {-1, -1, 0, 0, 0}, {0, -1, 0, 0, 0}};
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, leftHalf, sizeof(Vertex));  // with the blue set while discarding
    Picture drawn = gpu.Present();
    EXPECT_EQ(drawn.At(4, 8), kBlue);
    EXPECT_EQ(drawn.At(60, 8), kGreen) << "the clear after compiling only was dropped";
}

}  // namespace

namespace {

// Pass timing splits a frame where the shader pair or the target changes,
// counts the draws of each pass and keeps the frame's passes until the next
// Present; the recording backend cannot time.
TEST_P(GLDevice, PassTimingSplitsTheFrameWhereShadersOrTargetChange) {
    ASSERT_TRUE(D3D9_SetPassTiming(gpu.Get(), true));
    IDirect3DTexture9* target = gpu.RenderTarget(16, 16);
    IDirect3DSurface9* back = nullptr;
    IDirect3DSurface9* level = nullptr;
    gpu->GetRenderTarget(0, &back);
    target->GetSurfaceLevel(0, &level);
    gpu->Clear(0, nullptr, D3DCLEAR_TARGET, kRed, 1.0f, 0);
    DrawColour(kFullScreen, 2, kBlue);
    DrawColour(kFullScreen, 2, kGreen);
    gpu->SetRenderTarget(0, level);
    DrawColour(kFullScreen, 2, kGreen);
    gpu->SetRenderTarget(0, back);
    gpu->SetPixelShader(texturePS);
    gpu->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, kFullScreen, sizeof(Vertex));
    EXPECT_TRUE(D3D9_FramePasses(gpu.Get()).empty()) << "nothing presented yet";
    gpu.Present();

    const std::vector<D3D9PassTime>& passes = D3D9_FramePasses(gpu.Get());
    ASSERT_EQ(passes.size(), 4u);
    EXPECT_EQ(passes[0].pixelShader, nullptr);  // the clear
    EXPECT_EQ(passes[0].target, back);
    EXPECT_EQ(passes[1].pixelShader, constantPS);
    EXPECT_EQ(passes[1].vertexShader, passVS);
    EXPECT_EQ(passes[1].draws, 2u);
    EXPECT_EQ(passes[2].target, level);
    EXPECT_EQ(passes[3].pixelShader, texturePS);
    for (const D3D9PassTime& pass : passes) EXPECT_GE(pass.milliseconds, 0.0);

    gpu.Present();
    EXPECT_TRUE(D3D9_FramePasses(gpu.Get()).empty()) << "an empty frame has no passes";
    D3D9_SetPassTiming(gpu.Get(), false);
    DrawColour(kFullScreen, 2, kBlue);
    gpu.Present();
    EXPECT_TRUE(D3D9_FramePasses(gpu.Get()).empty()) << "timing is off";
    level->Release();
    back->Release();

    TestDevice recording{D3D9Backend::Recording, 8, 8};
    EXPECT_FALSE(D3D9_SetPassTiming(recording.Get(), true));
}

INSTANTIATE_TEST_SUITE_P(Api, GLDevice, ::testing::Values(D3D9GLApi::Desktop, D3D9GLApi::Es3),
                         [](const ::testing::TestParamInfo<D3D9GLApi>& info) {
                             return info.param == D3D9GLApi::Es3 ? "OpenGLES3" : "DesktopOpenGL";
                         });

}  // namespace
