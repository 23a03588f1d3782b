#include "platform/d3d9/state_block.h"

#include <cstring>

#include "platform/d3d9/buffer.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_declaration.h"

namespace d3d9 {
namespace {

// The state lists are laid out by hand.
// clang-format off
constexpr DWORD kPixelRenderStates[] = {
    D3DRS_ZENABLE, D3DRS_FILLMODE, D3DRS_SHADEMODE, D3DRS_ZWRITEENABLE, D3DRS_ALPHATESTENABLE, D3DRS_LASTPIXEL,
    D3DRS_SRCBLEND, D3DRS_DESTBLEND, D3DRS_ZFUNC, D3DRS_ALPHAREF, D3DRS_ALPHAFUNC, D3DRS_DITHERENABLE,
    D3DRS_ALPHABLENDENABLE, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY, D3DRS_STENCILENABLE,
    D3DRS_STENCILFAIL, D3DRS_STENCILZFAIL, D3DRS_STENCILPASS, D3DRS_STENCILFUNC, D3DRS_STENCILREF,
    D3DRS_STENCILMASK, D3DRS_STENCILWRITEMASK, D3DRS_TEXTUREFACTOR, 128, 129, 130, 131, 132, 133, 134, 135,
    D3DRS_COLORWRITEENABLE, D3DRS_BLENDOP, D3DRS_SCISSORTESTENABLE, D3DRS_SLOPESCALEDEPTHBIAS,
    176 /* ANTIALIASEDLINEENABLE */, D3DRS_TWOSIDEDSTENCILMODE, 186, 187, 188, 189 /* CCW_STENCIL* */,
    D3DRS_COLORWRITEENABLE1, 191, 192, D3DRS_BLENDFACTOR, D3DRS_SRGBWRITEENABLE, D3DRS_DEPTHBIAS,
    198, 199, 200, 201, 202, 203, 204, 205 /* WRAP8..15 */, D3DRS_SEPARATEALPHABLENDENABLE, D3DRS_SRCBLENDALPHA,
    D3DRS_DESTBLENDALPHA, D3DRS_BLENDOPALPHA};

constexpr DWORD kVertexRenderStates[] = {
    D3DRS_CULLMODE, D3DRS_FOGENABLE, D3DRS_FOGCOLOR, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND,
    D3DRS_FOGDENSITY, D3DRS_RANGEFOGENABLE, D3DRS_AMBIENT, D3DRS_COLORVERTEX, D3DRS_FOGVERTEXMODE, D3DRS_CLIPPING,
    D3DRS_LIGHTING, D3DRS_LOCALVIEWER, D3DRS_EMISSIVEMATERIALSOURCE, D3DRS_AMBIENTMATERIALSOURCE,
    D3DRS_DIFFUSEMATERIALSOURCE, D3DRS_SPECULARMATERIALSOURCE, D3DRS_VERTEXBLEND, D3DRS_CLIPPLANEENABLE,
    D3DRS_POINTSIZE, 155, 156, 157, 158, 159, 160, D3DRS_MULTISAMPLEANTIALIAS, D3DRS_MULTISAMPLEMASK, 163, 166, 167,
    170, 172, 173, 178, 179, 180, 181, 182, 183, 184, D3DRS_NORMALIZENORMALS, D3DRS_SPECULARENABLE,
    D3DRS_SHADEMODE};
// clang-format on

template <size_t N>
bool Contains(const DWORD (&list)[N], DWORD value) {
    for (DWORD entry : list)
        if (entry == value) return true;
    return false;
}

bool IsVertexSamplerState(DWORD type) { return type == D3DSAMP_DMAPOFFSET; }
bool IsVertexStageState(DWORD type) { return type == D3DTSS_TEXCOORDINDEX || type == D3DTSS_TEXTURETRANSFORMFLAGS; }

}  // namespace

bool StateBlock::IsPixelRenderState(DWORD state) { return Contains(kPixelRenderStates, state); }
bool StateBlock::IsVertexRenderState(DWORD state) { return Contains(kVertexRenderStates, state); }

StateBlock::StateBlock(Device* device, const std::string& label, D3DSTATEBLOCKTYPE type)
    : DeviceChild(device, label, true),
      owner(device),
      pixel(type != D3DSBT_VERTEXSTATE),
      vertex(type != D3DSBT_PIXELSTATE),
      textures(type == D3DSBT_ALL) {
    for (DWORD state = 0; state < D3D_RENDERSTATE_COUNT; ++state)
        if ((pixel && IsPixelRenderState(state)) || (vertex && IsVertexRenderState(state)))
            renderStates.push_back(state);
    Record();
}

StateBlock::~StateBlock() = default;

void StateBlock::Record() {
    const DeviceState& now = owner->state;
    for (DWORD state : renderStates) saved.renderStates[state] = now.renderStates[state];
    std::memcpy(saved.samplerStates, now.samplerStates, sizeof saved.samplerStates);
    std::memcpy(saved.stageStates, now.stageStates, sizeof saved.stageStates);
    if (pixel) {
        std::memcpy(saved.psConstants, now.psConstants, sizeof saved.psConstants);
        saved.pixelShader.Reset(now.pixelShader.get());
    }
    if (vertex) {
        std::memcpy(saved.vsConstants, now.vsConstants, sizeof saved.vsConstants);
        saved.vertexShader.Reset(now.vertexShader.get());
    }
    if (textures)
        for (DWORD stage = 0; stage < D3D_MAX_SAMPLERS; ++stage) saved.textures[stage].Reset(now.textures[stage].get());
}

HRESULT StateBlock::GetDevice(IDirect3DDevice9** out) {
    if (!out) return D3DERR_INVALIDCALL;
    device->AddRef();
    *out = device;
    return D3D_OK;
}

HRESULT StateBlock::Capture() {
    D3D9_LOG(owner, label + ".Capture()");
    Record();
    return D3D_OK;
}

HRESULT StateBlock::Apply() {
    D3D9_LOG(owner, label + ".Apply()");
    for (DWORD state : renderStates) owner->ApplyRenderState(state, saved.renderStates[state]);
    for (DWORD sampler = 0; sampler < D3D_MAX_SAMPLERS; ++sampler)
        for (DWORD type = 1; type < D3D_SAMPLERSTATE_COUNT; ++type)
            if (IsVertexSamplerState(type) ? vertex : pixel)
                owner->ApplySamplerState(sampler, type, saved.samplerStates[sampler][type]);
    for (DWORD stage = 0; stage < D3D_MAX_TEXTURESTAGES; ++stage)
        for (DWORD type = 1; type < D3D_TEXTURESTAGESTATE_COUNT; ++type)
            if (IsVertexStageState(type) ? vertex : pixel)
                owner->ApplyStageState(stage, type, saved.stageStates[stage][type]);
    if (pixel) {
        owner->ApplyPixelConstants(0, &saved.psConstants[0][0], kPixelConstants);
        owner->ApplyPixelShader(saved.pixelShader.get());
    }
    if (vertex) {
        owner->ApplyVertexConstants(0, &saved.vsConstants[0][0], kVertexConstants);
        owner->ApplyVertexShader(saved.vertexShader.get());
    }
    if (textures)
        for (DWORD stage = 0; stage < D3D_MAX_SAMPLERS; ++stage) {
            TextureData* texture = saved.textures[stage].get();
            if (owner->state.textures[stage].get() != texture) {
                owner->state.textures[stage].Reset(texture);
                owner->dirty.textures |= 1u << stage;
            }
        }
    return D3D_OK;
}

}  // namespace d3d9
