// ID3DXSprite drawn through the device with shaders of its own.
//
// Each Draw turns the picture's rectangle into two triangles whose corners are
// transformed on the processor into clip space: by the sprite transform and,
// with D3DXSPRITE_OBJECTSPACE, the device's world, view and projection
// transforms; otherwise by the sprite transform and a mapping of viewport
// pixels to clip space. Flush draws the batch with DrawPrimitiveUP, one call
// per run of draws with the same texture, so no shader constant of the
// program is touched.
//
// Begin sets the states a sprite pass needs (below) through the device; End
// puts every one of them back unless D3DXSPRITE_DONOTSAVESTATE was given, in
// which case they stay as the sprite left them and the shaders are unset.
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3d9/ref_counted.h"
#include "platform/d3d9/shader_code.h"
#include "platform/d3dx9/d3dx9.h"

namespace {

struct SpriteVertex {
    float x, y, z, w;
    D3DCOLOR color;
    float u, v;
};

const D3DVERTEXELEMENT9 kSpriteElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 16, D3DDECLTYPE_D3DCOLOR, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_COLOR, 0},
    {0, 20, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

const char kSpriteVertexShader[] = R"(
in vec4 POSITION0;
in vec4 COLOR0;
in vec2 TEXCOORD0;
out vec4 spriteColor;
out vec2 spriteUv;
void main() {
    gl_Position = POSITION0;
    spriteColor = COLOR0;
    spriteUv = TEXCOORD0;
}
)";

const char kSpritePixelShader[] = R"(
uniform sampler2D s0;
in vec4 spriteColor;
in vec2 spriteUv;
void main() { oC0 = texture(s0, spriteUv) * spriteColor; }
)";

struct RenderSetting {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Render states of a sprite pass; the first two only with D3DXSPRITE_ALPHABLEND.
const RenderSetting kRenderSettings[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_ALPHATESTENABLE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_ALPHAFUNC, D3DCMP_GREATER},
    {D3DRS_ALPHAREF, 0},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_ZENABLE, FALSE},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_COLORWRITEENABLE, 0xF},
};

struct SamplerSetting {
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};
const SamplerSetting kSamplerSettings[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP}, {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},   {D3DSAMP_MIPFILTER, D3DTEXF_LINEAR},
};

struct StageSetting {
    DWORD stage;
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};
const StageSetting kStageSettings[] = {
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE}, {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE}, {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {1, D3DTSS_COLOROP, D3DTOP_DISABLE},  {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
};

constexpr size_t kRenderCount = sizeof kRenderSettings / sizeof kRenderSettings[0];
constexpr size_t kSamplerCount = sizeof kSamplerSettings / sizeof kSamplerSettings[0];
constexpr size_t kStageCount = sizeof kStageSettings / sizeof kStageSettings[0];

// The device state a sprite pass changes, as it was at Begin.
struct SavedState {
    DWORD render[kRenderCount];
    DWORD sampler[kSamplerCount];
    DWORD stage[kStageCount];
    IDirect3DBaseTexture9* texture = nullptr;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT streamOffset = 0;
    UINT streamStride = 0;
};

template <class T>
void ReleaseAndClear(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// Draws a batch holds without growing its arrays.
constexpr size_t kBatchSprites = 64;

class Sprite final : public d3d9::RefCounted<ID3DXSprite> {
public:
    explicit Sprite(IDirect3DDevice9* device) : device(device) {
        device->AddRef();
        D3DXMatrixIdentity(&transform);
        // Room for a frame's batch from the start, so that drawing allocates nothing.
        vertices.reserve(6 * kBatchSprites);
        runs.reserve(kBatchSprites);
    }
    ~Sprite() override {
        ReleaseAndClear(vertexShader);
        ReleaseAndClear(pixelShader);
        ReleaseAndClear(declaration);
        device->Release();
    }

    HRESULT GetDevice(IDirect3DDevice9** out) override {
        if (!out) return D3DERR_INVALIDCALL;
        device->AddRef();
        *out = device;
        return D3D_OK;
    }
    HRESULT GetTransform(D3DXMATRIX* out) override {
        if (!out) return D3DERR_INVALIDCALL;
        *out = transform;
        return D3D_OK;
    }
    HRESULT SetTransform(const D3DXMATRIX* matrix) override {
        if (!matrix) return D3DERR_INVALIDCALL;
        transform = *matrix;
        return D3D_OK;
    }
    HRESULT Begin(DWORD beginFlags) override;
    HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color) override;
    HRESULT Flush() override;
    HRESULT End() override;

private:
    bool MakeShaders();
    void Save();
    void Restore();
    D3DXMATRIX ToClip();

    IDirect3DDevice9* device;
    D3DXMATRIX transform;
    DWORD flags = 0;
    bool begun = false;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
    std::vector<SpriteVertex> vertices;
    std::vector<std::pair<IDirect3DTexture9*, size_t>> runs;  // texture, vertex count
    SavedState saved;
};

// The sprite's own shaders are written in the GLSL of the register convention
// and handed to the device as they are: they need no HLSL compiler, which the
// web page does not have.
bool Sprite::MakeShaders() {
    if (vertexShader && pixelShader && declaration) return true;
    std::vector<uint8_t> code = d3d9::PackShaderCode(d3d9::ShaderStage::Vertex, kSpriteVertexShader);
    if (!vertexShader) device->CreateVertexShader(reinterpret_cast<const DWORD*>(code.data()), &vertexShader);
    code = d3d9::PackShaderCode(d3d9::ShaderStage::Pixel, kSpritePixelShader);
    if (!pixelShader) device->CreatePixelShader(reinterpret_cast<const DWORD*>(code.data()), &pixelShader);
    if (!declaration) device->CreateVertexDeclaration(kSpriteElements, &declaration);
    return vertexShader && pixelShader && declaration;
}

void Sprite::Save() {
    for (size_t i = 0; i < kRenderCount; ++i) device->GetRenderState(kRenderSettings[i].state, &saved.render[i]);
    for (size_t i = 0; i < kSamplerCount; ++i) device->GetSamplerState(0, kSamplerSettings[i].type, &saved.sampler[i]);
    for (size_t i = 0; i < kStageCount; ++i)
        device->GetTextureStageState(kStageSettings[i].stage, kStageSettings[i].type, &saved.stage[i]);
    device->GetTexture(0, &saved.texture);
    device->GetVertexShader(&saved.vertexShader);
    device->GetPixelShader(&saved.pixelShader);
    device->GetVertexDeclaration(&saved.declaration);
    device->GetStreamSource(0, &saved.stream, &saved.streamOffset, &saved.streamStride);
}

void Sprite::Restore() {
    for (size_t i = 0; i < kRenderCount; ++i) device->SetRenderState(kRenderSettings[i].state, saved.render[i]);
    for (size_t i = 0; i < kSamplerCount; ++i) device->SetSamplerState(0, kSamplerSettings[i].type, saved.sampler[i]);
    for (size_t i = 0; i < kStageCount; ++i)
        device->SetTextureStageState(kStageSettings[i].stage, kStageSettings[i].type, saved.stage[i]);
    device->SetTexture(0, saved.texture);
    device->SetVertexShader(saved.vertexShader);
    device->SetPixelShader(saved.pixelShader);
    device->SetVertexDeclaration(saved.declaration);
    device->SetStreamSource(0, saved.stream, saved.streamOffset, saved.streamStride);
    ReleaseAndClear(saved.texture);
    ReleaseAndClear(saved.vertexShader);
    ReleaseAndClear(saved.pixelShader);
    ReleaseAndClear(saved.declaration);
    ReleaseAndClear(saved.stream);
}

HRESULT Sprite::Begin(DWORD beginFlags) {
    if (begun || !MakeShaders()) return D3DERR_INVALIDCALL;
    flags = beginFlags;
    begun = true;
    if (!(flags & D3DXSPRITE_DONOTSAVESTATE)) Save();
    if (!(flags & D3DXSPRITE_DONOTMODIFY_RENDERSTATE)) {
        bool blend = (flags & D3DXSPRITE_ALPHABLEND) != 0;
        for (size_t i = 0; i < kRenderCount; ++i)
            device->SetRenderState(kRenderSettings[i].state, i < 2 ? DWORD(blend) : kRenderSettings[i].value);
        for (const SamplerSetting& setting : kSamplerSettings) device->SetSamplerState(0, setting.type, setting.value);
        for (const StageSetting& setting : kStageSettings)
            device->SetTextureStageState(setting.stage, setting.type, setting.value);
    }
    return D3D_OK;
}

// Sprite space to clip space for the current transforms.
D3DXMATRIX Sprite::ToClip() {
    D3DXMATRIX result = transform;
    if (flags & D3DXSPRITE_OBJECTSPACE) {
        D3DMATRIX world, view, projection;
        device->GetTransform(D3DTS_WORLD, &world);
        device->GetTransform(D3DTS_VIEW, &view);
        device->GetTransform(D3DTS_PROJECTION, &projection);
        D3DXMATRIX w(world), v(view), p(projection);
        return result * w * v * p;
    }
    D3DVIEWPORT9 viewport;
    device->GetViewport(&viewport);
    float width = float(viewport.Width), height = float(viewport.Height);
    D3DXMATRIX pixels(2.0f / width, 0, 0, 0, 0, -2.0f / height, 0, 0, 0, 0, 1, 0,
                      -1.0f - 2.0f * float(viewport.X) / width, 1.0f + 2.0f * float(viewport.Y) / height, 0, 1);
    return result * pixels;
}

HRESULT Sprite::Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                     const D3DXVECTOR3* position, D3DCOLOR color) {
    if (!begun || !texture) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc;
    if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0 || desc.Height == 0) return D3DERR_INVALIDCALL;
    // With alpha blending the pass's alpha test keeps only alpha above 0, so a
    // picture drawn with alpha 0 changes no pixel: it costs no draw at all
    // (words faded out stay in a scene's draw list for seconds). A
    // compile-only rehearsal still draws it, so that the sprite's program is
    // ready before the first frame that shows a word.
    if ((flags & D3DXSPRITE_ALPHABLEND) && (color >> 24) == 0 && !D3D9_CompilingOnly(device)) return D3D_OK;
    RECT rect = sourceRect ? *sourceRect : RECT{0, 0, LONG(desc.Width), LONG(desc.Height)};
    D3DXVECTOR3 origin = position ? *position : D3DXVECTOR3();
    if (center) origin -= *center;
    const float left = origin.x, top = origin.y;
    const float right = left + float(rect.right - rect.left), bottom = top + float(rect.bottom - rect.top);
    const float u0 = float(rect.left) / float(desc.Width), u1 = float(rect.right) / float(desc.Width);
    const float v0 = float(rect.top) / float(desc.Height), v1 = float(rect.bottom) / float(desc.Height);
    D3DXMATRIX toClip = ToClip();
    auto corner = [&](float x, float y, float u, float v) {
        D3DXVECTOR4 in(x, y, origin.z, 1.0f), out;
        D3DXVec4Transform(&out, &in, &toClip);
        return SpriteVertex{out.x, out.y, out.z, out.w, color, u, v};
    };
    const SpriteVertex topLeft = corner(left, top, u0, v0), topRight = corner(right, top, u1, v0);
    const SpriteVertex bottomLeft = corner(left, bottom, u0, v1), bottomRight = corner(right, bottom, u1, v1);
    vertices.insert(vertices.end(), {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight});
    if (!runs.empty() && runs.back().first == texture)
        runs.back().second += 6;
    else
        runs.emplace_back(texture, 6);
    return D3D_OK;
}

HRESULT Sprite::Flush() {
    if (!begun) return D3DERR_INVALIDCALL;
    if (vertices.empty()) return D3D_OK;
    device->SetVertexDeclaration(declaration);
    device->SetVertexShader(vertexShader);
    device->SetPixelShader(pixelShader);
    size_t first = 0;
    for (const auto& [texture, count] : runs) {
        device->SetTexture(0, texture);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(count / 3), &vertices[first], sizeof(SpriteVertex));
        first += count;
    }
    vertices.clear();
    runs.clear();
    return D3D_OK;
}

HRESULT Sprite::End() {
    if (!begun) return D3DERR_INVALIDCALL;
    Flush();
    begun = false;
    if (flags & D3DXSPRITE_DONOTSAVESTATE) {
        device->SetVertexShader(nullptr);
        device->SetPixelShader(nullptr);
    } else {
        Restore();
    }
    return D3D_OK;
}

}  // namespace

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!sprite) return D3DERR_INVALIDCALL;
    *sprite = nullptr;
    if (!device) return D3DERR_INVALIDCALL;
    *sprite = new Sprite(device);
    return D3D_OK;
}
