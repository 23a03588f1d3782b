// A headless Direct3D 9 device for tests, on either backend, without a window:
//
//   TestDevice gpu(D3D9Backend::OpenGL, 64, 32);   // llvmpipe through EGL
//   if (!gpu) GTEST_SKIP() << gpu.Error();
//   gpu->Clear(...);                                  // IDirect3DDevice9*
//   auto vs = gpu.VertexShader("void main() { ... }");  // GLSL of the register convention
//   Picture shot = gpu.Present();                    // what Present showed, top row first
//
// The back buffer is A8R8G8B8 with a D24S8 depth buffer. Objects made through
// the helpers are released with the device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // top row first

    bool Empty() const { return rgba.empty(); }
    // 0xAARRGGBB of pixel (x, y), y from the top.
    uint32_t At(int x, int y) const;
};

class TestDevice {
public:
    TestDevice(D3D9Backend backend, UINT width, UINT height);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    explicit operator bool() const { return device != nullptr; }
    const std::string& Error() const { return error; }
    IDirect3DDevice9* operator->() const { return device; }
    IDirect3DDevice9* Get() const { return device; }

    // Null (with the compiler's text in Error()) when the source does not
    // compile. VertexShader and PixelShader take GLSL of the register
    // convention as the device runs it; the Compiled ones take HLSL, compiled
    // with D3DXCompileShader as the resource manager does.
    IDirect3DVertexShader9* VertexShader(const std::string& source);
    IDirect3DPixelShader9* PixelShader(const std::string& source);
    IDirect3DVertexShader9* CompiledVertexShader(const std::string& hlsl);
    IDirect3DPixelShader9* CompiledPixelShader(const std::string& hlsl);
    // An A8R8G8B8 managed texture filled from 0xAARRGGBB texels, top row first.
    IDirect3DTexture9* Texture(UINT width, UINT height, const std::vector<uint32_t>& texels);
    IDirect3DTexture9* RenderTarget(UINT width, UINT height);

    DWORD RenderState(D3DRENDERSTATETYPE state) const;
    DWORD SamplerState(DWORD stage, D3DSAMPLERSTATETYPE type) const;

    // Presents and returns the presented picture (empty on the recording backend).
    Picture Present();
    // Reads level 0 of a render-target texture through LockRect.
    static Picture Read(IDirect3DTexture9* target);

private:
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    std::vector<IUnknown*> owned;
    std::string error;
    D3D9Backend previous;
};

// Index of the first call the recording device logged, at or after `from`,
// that starts with `prefix`; -1 when there is none.
int FindRecordedCall(IDirect3DDevice9* device, const std::string& prefix, int from = 0);
