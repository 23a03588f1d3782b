// IDirect3DVertexShader9 and IDirect3DPixelShader9: the GLSL text of the
// program and, on OpenGL, the compiled GL shader. The device links one GL
// program per vertex/pixel shader pair at its first draw and keeps it. A pixel
// shader is compiled without the alpha test; its variant with the test's
// discard is compiled at the first draw with D3DRS_ALPHATESTENABLE on (and a
// function other than D3DCMP_ALWAYS), kept beside it, and linked as a pair of
// its own.
#pragma once

#include "platform/d3d9/device.h"
#include "platform/d3d9/shader_code.h"

namespace d3d9 {

template <class Interface, ShaderStage kStage>
class ShaderObject : public DeviceChild<Interface> {
public:
    ShaderObject(Device* device, const std::string& label, std::string text)
        : DeviceChild<Interface>(device, label, true), owner(device), text(std::move(text)) {}
    ~ShaderObject() override;

    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        this->device->AddRef();
        *device = this->device;
        return D3D_OK;
    }
    static constexpr ShaderStage Stage() { return kStage; }
    const std::string& Text() const { return text; }

    uint32_t glName = 0;
    uint32_t alphaTestName = 0;  // pixel stage: the variant with the alpha test, once made

private:
    Device* owner;
    std::string text;
};

class VertexShader final : public ShaderObject<IDirect3DVertexShader9, ShaderStage::Vertex> {
public:
    using ShaderObject::ShaderObject;
};

class PixelShader final : public ShaderObject<IDirect3DPixelShader9, ShaderStage::Pixel> {
public:
    using ShaderObject::ShaderObject;
};

}  // namespace d3d9
