#include "tests/support/test_device.h"

#include <algorithm>
#include <cstring>

#include "platform/d3d9/shader_code.h"
#include "platform/d3dx9/d3dx9.h"

uint32_t Picture::At(int x, int y) const {
    const uint8_t* p = &rgba[(size_t(y) * width + x) * 4];
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

TestDevice::TestDevice(D3D9Backend backend, UINT width, UINT height) : previous(D3D9_GetBackend()) {
    D3D9_SetBackend(backend);
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3D9_SetBackend(previous);
    if (!d3d) {
        error = "Direct3DCreate9 failed";
        return;
    }
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = width;
    params.BackBufferHeight = height;
    params.BackBufferFormat = D3DFMT_A8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                 &params, &device))) {
        device = nullptr;
        error = "CreateDevice failed (no OpenGL through EGL?)";
    }
}

TestDevice::~TestDevice() {
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) (*it)->Release();
    if (device) device->Release();
    if (d3d) d3d->Release();
}

namespace {

// Checks `source`, GLSL of the register convention, as the device would
// compile it and makes the shader of it with `create`; null, with the GL
// compiler's log or the failure in `error`, when either fails.
template <class Shader, class Create>
Shader* MakeShader(const std::string& source, d3d9::ShaderStage stage, std::string& error, Create create) {
    std::string log;
    if (d3d9::CheckShaderText(stage, source, &log) == d3d9::ShaderCheck::Failed) {
        error = log;
        return nullptr;
    }
    const std::vector<uint8_t> code = d3d9::PackShaderCode(stage, source);
    Shader* shader = nullptr;
    if (FAILED(create(reinterpret_cast<const DWORD*>(code.data()), &shader))) error = "creating the shader failed";
    return shader;
}

// Compiles `hlsl` for `profile` and makes the shader with `create`; null,
// with the compiler's text or the failure in `error`, when either fails.
template <class Shader, class Create>
Shader* CompileShader(const std::string& hlsl, const char* profile, DWORD flags, std::string& error, Create create) {
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    Shader* shader = nullptr;
    if (FAILED(D3DXCompileShader(hlsl.c_str(), UINT(hlsl.size()), nullptr, nullptr, "main", profile, flags, &code,
                                 &errors, nullptr)) ||
        FAILED(create(static_cast<const DWORD*>(code->GetBufferPointer()), &shader)))
        error = errors ? static_cast<const char*>(errors->GetBufferPointer()) : "creating the shader failed";
    if (code) code->Release();
    if (errors) errors->Release();
    return shader;
}

}  // namespace

IDirect3DVertexShader9* TestDevice::CompiledVertexShader(const std::string& hlsl) {
    auto* shader = CompileShader<IDirect3DVertexShader9>(
        hlsl, "vs_3_0", 0, error,
        [this](const DWORD* code, auto** out) { return device->CreateVertexShader(code, out); });
    if (shader) owned.push_back(shader);
    return shader;
}

IDirect3DPixelShader9* TestDevice::CompiledPixelShader(const std::string& hlsl) {
    auto* shader = CompileShader<IDirect3DPixelShader9>(
        hlsl, "ps_3_0", D3DXSHADER_DEBUG, error,
        [this](const DWORD* code, auto** out) { return device->CreatePixelShader(code, out); });
    if (shader) owned.push_back(shader);
    return shader;
}

IDirect3DVertexShader9* TestDevice::VertexShader(const std::string& source) {
    auto* shader = MakeShader<IDirect3DVertexShader9>(
        source, d3d9::ShaderStage::Vertex, error,
        [this](const DWORD* code, auto** out) { return device->CreateVertexShader(code, out); });
    if (shader) owned.push_back(shader);
    return shader;
}

IDirect3DPixelShader9* TestDevice::PixelShader(const std::string& source) {
    auto* shader = MakeShader<IDirect3DPixelShader9>(
        source, d3d9::ShaderStage::Pixel, error,
        [this](const DWORD* code, auto** out) { return device->CreatePixelShader(code, out); });
    if (shader) owned.push_back(shader);
    return shader;
}

IDirect3DTexture9* TestDevice::Texture(UINT width, UINT height, const std::vector<uint32_t>& texels) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr)))
        return nullptr;
    owned.push_back(texture);
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(texture->LockRect(0, &locked, nullptr, 0))) {
        for (UINT y = 0; y < height; ++y)
            std::memcpy(static_cast<uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch, &texels[size_t(y) * width],
                        size_t(width) * 4);
        texture->UnlockRect(0);
    }
    return texture;
}

IDirect3DTexture9* TestDevice::RenderTarget(UINT width, UINT height) {
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                     &texture, nullptr)))
        return nullptr;
    owned.push_back(texture);
    return texture;
}

DWORD TestDevice::RenderState(D3DRENDERSTATETYPE state) const {
    DWORD value = 0;
    device->GetRenderState(state, &value);
    return value;
}

DWORD TestDevice::SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const {
    DWORD value = 0;
    device->GetSamplerState(stage, type, &value);
    return value;
}

Picture TestDevice::Present() {
    Picture picture;
    device->Present(nullptr, nullptr, nullptr, nullptr);
    if (!D3D9_ReadPresented(device, &picture.rgba, &picture.width, &picture.height)) picture = Picture{};
    return picture;
}

Picture TestDevice::Read(IDirect3DTexture9* target) {
    Picture picture;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    if (FAILED(target->GetLevelDesc(0, &desc)) || FAILED(target->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
        return picture;
    picture.width = int(desc.Width);
    picture.height = int(desc.Height);
    picture.rgba.resize(size_t(desc.Width) * desc.Height * 4);
    for (UINT y = 0; y < desc.Height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + size_t(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            uint8_t* out = &picture.rgba[(size_t(y) * desc.Width + x) * 4];
            out[0] = row[x * 4 + 2];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4 + 0];
            out[3] = row[x * 4 + 3];
        }
    }
    target->UnlockRect(0);
    return picture;
}

int FindRecordedCall(IDirect3DDevice9* device, const std::string& prefix, int from) {
    const auto& calls = D3D9_RecordedCalls(device);
    for (int i = std::max(from, 0); i < int(calls.size()); ++i)
        if (calls[size_t(i)].rfind(prefix, 0) == 0) return i;
    return -1;
}
