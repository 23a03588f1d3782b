// Device calls that set and get state: render, sampler and texture stage
// states, textures, transforms, clip planes, shaders and their constants.
// A Set that changes nothing marks nothing dirty.
#include <cstring>

#include "platform/d3d9/device.h"
#include "platform/d3d9/names.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"

namespace d3d9 {
namespace {

// Index into DeviceState::transforms, or -1.
int TransformIndex(DWORD state) {
    if (state == D3DTS_WORLD) return 0;
    if (state == D3DTS_VIEW) return 1;
    if (state == D3DTS_PROJECTION) return 2;
    if (state >= D3DTS_TEXTURE0 && state < D3DTS_TEXTURE0 + 8) return 3 + static_cast<int>(state - D3DTS_TEXTURE0);
    return -1;
}

std::string ConstantsText(const float* data, UINT count) {
    return data ? Floats(data, size_t(count) * 4) : std::string("NULL");
}

}  // namespace

void Device::ApplyRenderState(DWORD stateType, DWORD value) {
    if (state.renderStates[stateType] == value) return;
    state.renderStates[stateType] = value;
    dirty.renderGroups |= RenderStateGroup(stateType);
}

void Device::ApplySamplerState(DWORD sampler, DWORD type, DWORD value) {
    if (state.samplerStates[sampler][type] == value) return;
    state.samplerStates[sampler][type] = value;
    dirty.samplers |= 1u << sampler;
}

void Device::ApplyStageState(DWORD stage, DWORD type, DWORD value) { state.stageStates[stage][type] = value; }

void Device::ApplyVertexConstants(UINT start, const float* data, UINT count) {
    if (std::memcmp(state.vsConstants[start], data, sizeof(float) * 4 * count) == 0) return;
    std::memcpy(state.vsConstants[start], data, sizeof(float) * 4 * count);
    dirty.vsConstants.Add(start, count);
}

void Device::ApplyPixelConstants(UINT start, const float* data, UINT count) {
    if (std::memcmp(state.psConstants[start], data, sizeof(float) * 4 * count) == 0) return;
    std::memcpy(state.psConstants[start], data, sizeof(float) * 4 * count);
    dirty.psConstants.Add(start, count);
}

void Device::ApplyVertexShader(VertexShader* shader) {
    if (state.vertexShader.get() == shader) return;
    state.vertexShader.Reset(shader);
    dirty.program = true;
}

void Device::ApplyPixelShader(PixelShader* shader) {
    if (state.pixelShader.get() == shader) return;
    state.pixelShader.Reset(shader);
    dirty.program = true;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE type, DWORD value) {
    D3D9_LOG(this, Call("SetRenderState", {RenderStateName(type), RenderStateValue(type, value)}));
    if (type >= D3D_RENDERSTATE_COUNT) return D3DERR_INVALIDCALL;
    ApplyRenderState(type, value);
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE type, DWORD* value) {
    if (type >= D3D_RENDERSTATE_COUNT || !value) {
        D3D9_LOG(this, Call("GetRenderState", {RenderStateName(type)}));
        return D3DERR_INVALIDCALL;
    }
    *value = state.renderStates[type];
    D3D9_LOG(this, Call("GetRenderState", {RenderStateName(type)}) + " -> " + RenderStateValue(type, *value));
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    D3D9_LOG(this, Call("SetSamplerState",
                        {std::to_string(sampler), SamplerStateName(type), SamplerStateValue(type, value)}));
    if (sampler >= D3D_MAX_SAMPLERS || type == 0 || type >= D3D_SAMPLERSTATE_COUNT) return D3DERR_INVALIDCALL;
    ApplySamplerState(sampler, type, value);
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    if (sampler >= D3D_MAX_SAMPLERS || type == 0 || type >= D3D_SAMPLERSTATE_COUNT || !value) {
        D3D9_LOG(this, Call("GetSamplerState", {std::to_string(sampler), SamplerStateName(type)}));
        return D3DERR_INVALIDCALL;
    }
    *value = state.samplerStates[sampler][type];
    D3D9_LOG(this, Call("GetSamplerState", {std::to_string(sampler), SamplerStateName(type)}) + " -> " +
                       SamplerStateValue(type, *value));
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    D3D9_LOG(this,
             Call("SetTextureStageState", {std::to_string(stage), StageStateName(type), StageStateValue(type, value)}));
    if (stage >= D3D_MAX_TEXTURESTAGES || type == 0 || type >= D3D_TEXTURESTAGESTATE_COUNT) return D3DERR_INVALIDCALL;
    ApplyStageState(stage, type, value);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    if (stage >= D3D_MAX_TEXTURESTAGES || type == 0 || type >= D3D_TEXTURESTAGESTATE_COUNT || !value) {
        D3D9_LOG(this, Call("GetTextureStageState", {std::to_string(stage), StageStateName(type)}));
        return D3DERR_INVALIDCALL;
    }
    *value = state.stageStates[stage][type];
    D3D9_LOG(this, Call("GetTextureStageState", {std::to_string(stage), StageStateName(type)}) + " -> " +
                       StageStateValue(type, *value));
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    TextureData* data = TextureFromInterface(texture);
    D3D9_LOG(this, Call("SetTexture", {std::to_string(stage), data ? data->Name() : std::string("NULL")}));
    if (stage >= D3D_MAX_SAMPLERS) return D3DERR_INVALIDCALL;
    if (state.textures[stage].get() != data) {
        state.textures[stage].Reset(data);
        dirty.textures |= 1u << stage;
    }
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    if (stage >= D3D_MAX_SAMPLERS || !texture) {
        D3D9_LOG(this, Call("GetTexture", {std::to_string(stage)}));
        return D3DERR_INVALIDCALL;
    }
    TextureData* data = state.textures[stage].get();
    *texture = data ? data->Interface() : nullptr;
    if (*texture) (*texture)->AddRef();
    D3D9_LOG(this, Call("GetTexture", {std::to_string(stage)}) + " -> " + (data ? data->Name() : std::string("NULL")));
    return D3D_OK;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE type, const D3DMATRIX* matrix) {
    D3D9_LOG(this,
             Call("SetTransform", {TransformName(type), matrix ? Floats(&matrix->_11, 16) : std::string("NULL")}));
    int index = TransformIndex(type);
    if (index < 0 || !matrix) return D3DERR_INVALIDCALL;
    state.transforms[index] = *matrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) {
    D3D9_LOG(this, Call("GetTransform", {TransformName(type)}));
    int index = TransformIndex(type);
    if (index < 0 || !matrix) return D3DERR_INVALIDCALL;
    *matrix = state.transforms[index];
    return D3D_OK;
}

HRESULT Device::SetClipPlane(DWORD index, const float* plane) {
    D3D9_LOG(this, Call("SetClipPlane", {std::to_string(index), plane ? Floats(plane, 4) : std::string("NULL")}));
    if (index >= kClipPlanes || !plane) return D3DERR_INVALIDCALL;
    if (std::memcmp(state.clipPlanes[index], plane, sizeof(float) * 4) != 0) {
        std::memcpy(state.clipPlanes[index], plane, sizeof(float) * 4);
        dirty.clipPlanes = true;
    }
    return D3D_OK;
}

HRESULT Device::GetClipPlane(DWORD index, float* plane) {
    D3D9_LOG(this, Call("GetClipPlane", {std::to_string(index)}));
    if (index >= kClipPlanes || !plane) return D3DERR_INVALIDCALL;
    std::memcpy(plane, state.clipPlanes[index], sizeof(float) * 4);
    return D3D_OK;
}

HRESULT Device::SetVertexShader(IDirect3DVertexShader9* shader) {
    VertexShader* object = static_cast<VertexShader*>(shader);
    D3D9_LOG(this, Call("SetVertexShader", {LabelOf(object)}));
    ApplyVertexShader(object);
    return D3D_OK;
}

HRESULT Device::GetVertexShader(IDirect3DVertexShader9** shader) {
    D3D9_LOG(this, Call("GetVertexShader", {}) + " -> " + LabelOf(state.vertexShader.get()));
    if (!shader) return D3DERR_INVALIDCALL;
    *shader = state.vertexShader.get();
    if (*shader) (*shader)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetPixelShader(IDirect3DPixelShader9* shader) {
    PixelShader* object = static_cast<PixelShader*>(shader);
    D3D9_LOG(this, Call("SetPixelShader", {LabelOf(object)}));
    ApplyPixelShader(object);
    return D3D_OK;
}

HRESULT Device::GetPixelShader(IDirect3DPixelShader9** shader) {
    D3D9_LOG(this, Call("GetPixelShader", {}) + " -> " + LabelOf(state.pixelShader.get()));
    if (!shader) return D3DERR_INVALIDCALL;
    *shader = state.pixelShader.get();
    if (*shader) (*shader)->AddRef();
    return D3D_OK;
}

HRESULT Device::SetVertexShaderConstantF(UINT start, const float* data, UINT count) {
    D3D9_LOG(this, Call("SetVertexShaderConstantF",
                        {std::to_string(start), ConstantsText(data, count), std::to_string(count)}));
    if (!data || start > kVertexConstants || count > kVertexConstants - start) return D3DERR_INVALIDCALL;
    ApplyVertexConstants(start, data, count);
    return D3D_OK;
}

HRESULT Device::GetVertexShaderConstantF(UINT start, float* data, UINT count) {
    D3D9_LOG(this, Call("GetVertexShaderConstantF", {std::to_string(start), std::to_string(count)}));
    if (!data || start > kVertexConstants || count > kVertexConstants - start) return D3DERR_INVALIDCALL;
    std::memcpy(data, state.vsConstants[start], sizeof(float) * 4 * count);
    return D3D_OK;
}

HRESULT Device::SetPixelShaderConstantF(UINT start, const float* data, UINT count) {
    D3D9_LOG(this, Call("SetPixelShaderConstantF",
                        {std::to_string(start), ConstantsText(data, count), std::to_string(count)}));
    if (!data || start > kPixelConstants || count > kPixelConstants - start) return D3DERR_INVALIDCALL;
    ApplyPixelConstants(start, data, count);
    return D3D_OK;
}

HRESULT Device::GetPixelShaderConstantF(UINT start, float* data, UINT count) {
    D3D9_LOG(this, Call("GetPixelShaderConstantF", {std::to_string(start), std::to_string(count)}));
    if (!data || start > kPixelConstants || count > kPixelConstants - start) return D3DERR_INVALIDCALL;
    std::memcpy(data, state.psConstants[start], sizeof(float) * 4 * count);
    return D3D_OK;
}

}  // namespace d3d9
