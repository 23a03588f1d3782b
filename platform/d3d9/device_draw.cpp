// Device calls for targets, viewport, vertex input and drawing.
#include "platform/d3d9/buffer.h"
#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/names.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_declaration.h"

namespace d3d9 {
namespace {

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitives) {
    switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    default: return 0;
    }
}

}  // namespace

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    Surface* target = static_cast<Surface*>(surface);
    D3D9_LOG(this, Call("SetRenderTarget", {std::to_string(index), LabelOf(target)}));
    if (index > 1 || (index == 0 && !target)) return D3DERR_INVALIDCALL;
    if (target && (target->IsDepth() || !target->Texture()->IsRenderTarget())) return D3DERR_INVALIDCALL;
    if (state.renderTargets[index].get() != target) {
        state.renderTargets[index].Reset(target);
        dirty.targets = true;
    }
    if (index == 0) ResetViewport(*target);
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    Surface* target = index <= 1 ? state.renderTargets[index].get() : nullptr;
    D3D9_LOG(this, Call("GetRenderTarget", {std::to_string(index)}) + " -> " + LabelOf(target));
    if (!surface || index > 1) return D3DERR_INVALIDCALL;
    *surface = target;
    if (!target) return D3DERR_NOTFOUND;
    target->AddRef();
    return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
    Surface* depth = static_cast<Surface*>(surface);
    D3D9_LOG(this, Call("SetDepthStencilSurface", {LabelOf(depth)}));
    if (depth && !depth->IsDepth()) return D3DERR_INVALIDCALL;
    if (state.depthStencil.get() != depth) {
        state.depthStencil.Reset(depth);
        dirty.targets = true;
    }
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** surface) {
    Surface* depth = state.depthStencil.get();
    D3D9_LOG(this, Call("GetDepthStencilSurface", {}) + " -> " + LabelOf(depth));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = depth;
    if (!depth) return D3DERR_NOTFOUND;
    depth->AddRef();
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport) {
    if (!viewport) {
        D3D9_LOG(this, "SetViewport(NULL)");
        return D3DERR_INVALIDCALL;
    }
    D3D9_LOG(this, Call("SetViewport",
                        {std::to_string(viewport->X), std::to_string(viewport->Y), std::to_string(viewport->Width),
                         std::to_string(viewport->Height), Float(viewport->MinZ), Float(viewport->MaxZ)}));
    const Surface* target = state.renderTargets[0].get();
    if (viewport->Width == 0 || viewport->Height == 0 || viewport->X + viewport->Width > target->Width() ||
        viewport->Y + viewport->Height > target->Height())
        return D3DERR_INVALIDCALL;
    state.viewport = *viewport;
    dirty.viewport = true;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport) {
    D3D9_LOG(this, "GetViewport()");
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = state.viewport;
    return D3D_OK;
}

HRESULT Device::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    VertexDeclaration* object = static_cast<VertexDeclaration*>(declaration);
    D3D9_LOG(this, Call("SetVertexDeclaration", {LabelOf(object)}));
    state.fvf = 0;
    if (state.declaration.get() != object) {
        state.declaration.Reset(object);
        dirty.vertexInput = true;
    }
    return D3D_OK;
}

HRESULT Device::GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) {
    D3D9_LOG(this, Call("GetVertexDeclaration", {}) + " -> " + LabelOf(state.declaration.get()));
    if (!declaration) return D3DERR_INVALIDCALL;
    *declaration = state.declaration.get();
    if (*declaration) (*declaration)->AddRef();
    return D3D_OK;
}

VertexDeclaration* Device::DeclarationForFvf(DWORD fvf) {
    auto found = fvfDeclarations.find(fvf);
    if (found != fvfDeclarations.end()) return found->second;
    std::vector<D3DVERTEXELEMENT9> elements = VertexDeclaration::ElementsForFvf(fvf);
    if (elements.empty()) return nullptr;
    elements.push_back(D3DDECL_END());
    VertexDeclaration* declaration = VertexDeclaration::Create(this, elements.data(), false);
    if (!declaration) return nullptr;
    declaration->AddInternalRef();
    fvfDeclarations[fvf] = declaration;
    return declaration;
}

HRESULT Device::SetFVF(DWORD fvf) {
    D3D9_LOG(this, Call("SetFVF", {FvfFlags(fvf)}));
    VertexDeclaration* declaration = DeclarationForFvf(fvf);
    if (!declaration) return D3DERR_INVALIDCALL;
    state.fvf = fvf;
    if (state.declaration.get() != declaration) {
        state.declaration.Reset(declaration);
        dirty.vertexInput = true;
    }
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf) {
    D3D9_LOG(this, "GetFVF()");
    if (!fvf) return D3DERR_INVALIDCALL;
    *fvf = state.fvf;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    VertexBuffer* object = static_cast<VertexBuffer*>(buffer);
    D3D9_LOG(this, Call("SetStreamSource",
                        {std::to_string(stream), LabelOf(object), std::to_string(offset), std::to_string(stride)}));
    if (stream >= kStreams) return D3DERR_INVALIDCALL;
    StreamSource& source = state.streams[stream];
    if (source.buffer.get() != object || source.offset != offset || source.stride != stride) {
        source.buffer.Reset(object);
        source.offset = offset;
        source.stride = stride;
        dirty.vertexInput = true;
    }
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
    D3D9_LOG(this, Call("GetStreamSource", {std::to_string(stream)}));
    if (stream >= kStreams || !buffer || !offset || !stride) return D3DERR_INVALIDCALL;
    const StreamSource& source = state.streams[stream];
    *buffer = source.buffer.get();
    if (*buffer) (*buffer)->AddRef();
    *offset = source.offset;
    *stride = source.stride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* buffer) {
    IndexBuffer* object = static_cast<IndexBuffer*>(buffer);
    D3D9_LOG(this, Call("SetIndices", {LabelOf(object)}));
    if (state.indices.get() != object) {
        state.indices.Reset(object);
        dirty.indices = true;
    }
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** buffer) {
    D3D9_LOG(this, Call("GetIndices", {}) + " -> " + LabelOf(state.indices.get()));
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = state.indices.get();
    if (*buffer) (*buffer)->AddRef();
    return D3D_OK;
}

// Drawing needs both shaders (there is no fixed-function pipeline) and a
// vertex declaration; without them a draw does nothing.
bool Device::ReadyToDraw() const {
    return renderer && !discarding && state.vertexShader && state.pixelShader && state.declaration;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    if (Logging())
        LogFrameCall(
            Call("DrawPrimitive", {PrimitiveName(type), std::to_string(startVertex), std::to_string(primitiveCount)}));
    UINT vertices = VertexCount(type, primitiveCount);
    if (vertices == 0) return D3DERR_INVALIDCALL;
    if (ReadyToDraw()) renderer->DrawArrays(type, startVertex, vertices);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                                     UINT startIndex, UINT primitiveCount) {
    if (Logging())
        LogFrameCall(Call("DrawIndexedPrimitive",
                          {PrimitiveName(type), std::to_string(baseVertexIndex), std::to_string(minVertexIndex),
                           std::to_string(numVertices), std::to_string(startIndex), std::to_string(primitiveCount)}));
    UINT indices = VertexCount(type, primitiveCount);
    const IndexBuffer* buffer = state.indices.get();
    if (indices == 0 || !buffer) return D3DERR_INVALIDCALL;
    if (uint64_t(startIndex) + indices > buffer->Length() / buffer->IndexSize()) return D3DERR_INVALIDCALL;
    if (ReadyToDraw()) renderer->DrawIndexed(type, baseVertexIndex, startIndex, indices);
    return D3D_OK;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT vertexStride) {
    if (Logging())
        LogFrameCall(Call("DrawPrimitiveUP", {PrimitiveName(type), std::to_string(primitiveCount), "<vertices>",
                                              std::to_string(vertexStride)}));
    UINT vertices = VertexCount(type, primitiveCount);
    if (vertices == 0 || !vertexData || vertexStride == 0) return D3DERR_INVALIDCALL;
    if (ReadyToDraw()) renderer->DrawUser(type, vertices, vertexData, vertexStride);
    // As in Direct3D, stream 0 is unset afterwards.
    StreamSource& source = state.streams[0];
    source.buffer.Reset(nullptr);
    source.offset = 0;
    source.stride = 0;
    dirty.vertexInput = true;
    return D3D_OK;
}

void Device::LogFrameCall(std::string line) {
    if (!logging) return;
    if (discarding) line += " -> discarded";
    calls.push_back(std::move(line));
}

}  // namespace d3d9
