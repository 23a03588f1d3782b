// IDirect3DStateBlock9. A block records, at creation and at every Capture,
// the states of its kind, and Apply sets them back:
// - D3DSBT_PIXELSTATE: the pixel-pipeline render states, every sampler state
//   except D3DSAMP_DMAPOFFSET, every texture stage state except
//   D3DTSS_TEXCOORDINDEX and D3DTSS_TEXTURETRANSFORMFLAGS, the pixel shader and
//   the pixel shader constants;
// - D3DSBT_VERTEXSTATE: the vertex-pipeline render states, D3DSAMP_DMAPOFFSET,
//   those two texture stage states, the vertex shader and its constants;
// - D3DSBT_ALL: both, and the textures bound to each stage.
#pragma once

#include <vector>

#include "platform/d3d9/device.h"

namespace d3d9 {

class StateBlock final : public DeviceChild<IDirect3DStateBlock9> {
public:
    StateBlock(Device* device, const std::string& label, D3DSTATEBLOCKTYPE type);
    ~StateBlock() override;

    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT Capture() override;
    HRESULT Apply() override;

    static bool IsPixelRenderState(DWORD state);
    static bool IsVertexRenderState(DWORD state);

private:
    void Record();

    Device* owner;
    bool pixel;
    bool vertex;
    bool textures;
    std::vector<DWORD> renderStates;  // indices covered
    DeviceState saved;
};

}  // namespace d3d9
