// IDirect3D9 of the stand-in: one adapter, its display mode, device creation.
#pragma once

#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3d9/ref_counted.h"

namespace d3d9 {

class Direct3D final : public RefCounted<IDirect3D9> {
public:
    explicit Direct3D(D3D9Backend backend) : backend(backend) {}

    UINT GetAdapterCount() override { return 1; }
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;

private:
    D3D9Backend backend;
};

}  // namespace d3d9
