// Device calls that create resources.
#include <cstdio>
#include <cstring>

#include "platform/d3d9/buffer.h"
#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/names.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/state_block.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_declaration.h"

namespace d3d9 {
namespace {

std::string Result(HRESULT hr, const std::string& label) {
    std::string out = " -> ";
    if (SUCCEEDED(hr)) return out.append(label);
    switch (hr) {
    case D3DERR_INVALIDCALL: return out.append("D3DERR_INVALIDCALL");
    case D3DERR_NOTAVAILABLE: return out.append("D3DERR_NOTAVAILABLE");
    case D3DERR_OUTOFVIDEOMEMORY: return out.append("D3DERR_OUTOFVIDEOMEMORY");
    default: return out.append(Hex(static_cast<DWORD>(hr)));
    }
}

// A texture the renderer could not allocate is released again: the Create
// call fails with D3DERR_OUTOFVIDEOMEMORY, as on an adapter out of memory.
template <class T>
HRESULT KeepIfAllocated(T*& created) {
    if (created->Allocated()) return D3D_OK;
    created->Release();
    created = nullptr;
    return D3DERR_OUTOFVIDEOMEMORY;
}

}  // namespace

UINT Device::MaxTextureSize() const {
    const int rendererMax = renderer ? renderer->Features().maxTextureSize : 0;
    return rendererMax > 0 && UINT(rendererMax) < kMaxTextureSize ? UINT(rendererMax) : kMaxTextureSize;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE* shared) {
    std::string line = Call("CreateTexture", {std::to_string(width), std::to_string(height), std::to_string(levels),
                                              UsageFlags(usage), FormatName(format), PoolName(pool)});
    HRESULT hr = D3D_OK;
    Texture* created = nullptr;
    const FormatInfo* info = FindFormat(format);
    if (Refuses("CreateTexture"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!texture || shared || width == 0 || height == 0 || width > MaxTextureSize() || height > MaxTextureSize())
        hr = D3DERR_INVALIDCALL;
    else if (!info || info->depth || !SupportsFormat(format))
        hr = D3DERR_NOTAVAILABLE;
    else if ((usage & D3DUSAGE_RENDERTARGET) && (pool != D3DPOOL_DEFAULT || info->compressed))
        hr = D3DERR_INVALIDCALL;
    else {
        created = new Texture(this, NewLabel("Texture"), width, height, TextureData::CountLevels(width, height, levels),
                              1, usage, *info, pool, true);
        hr = KeepIfAllocated(created);
    }
    if (texture) *texture = created;
    D3D9_LOG(this, line + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DCubeTexture9** texture, HANDLE* shared) {
    std::string line = Call("CreateCubeTexture", {std::to_string(edge), std::to_string(levels), UsageFlags(usage),
                                                  FormatName(format), PoolName(pool)});
    HRESULT hr = D3D_OK;
    CubeTexture* created = nullptr;
    const FormatInfo* info = FindFormat(format);
    if (Refuses("CreateCubeTexture"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!texture || shared || edge == 0 || edge > MaxTextureSize())
        hr = D3DERR_INVALIDCALL;
    else if (!info || info->depth || !SupportsFormat(format))
        hr = D3DERR_NOTAVAILABLE;
    else if ((usage & D3DUSAGE_RENDERTARGET) && (pool != D3DPOOL_DEFAULT || info->compressed))
        hr = D3DERR_INVALIDCALL;
    else {
        created = new CubeTexture(this, NewLabel("CubeTexture"), edge, edge,
                                  TextureData::CountLevels(edge, edge, levels), 6, usage, *info, pool, true);
        hr = KeepIfAllocated(created);
    }
    if (texture) *texture = created;
    D3D9_LOG(this, line + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                                   HANDLE* shared) {
    std::string line =
        Call("CreateVertexBuffer", {std::to_string(length), UsageFlags(usage), FvfFlags(fvf), PoolName(pool)});
    HRESULT hr = D3D_OK;
    VertexBuffer* created = nullptr;
    if (Refuses("CreateVertexBuffer"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!buffer || shared || length == 0)
        hr = D3DERR_INVALIDCALL;
    else
        created = new VertexBuffer(this, NewLabel("VertexBuffer"), length, usage, fvf, pool);
    if (buffer) *buffer = created;
    D3D9_LOG(this, line + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE* shared) {
    std::string line =
        Call("CreateIndexBuffer", {std::to_string(length), UsageFlags(usage), FormatName(format), PoolName(pool)});
    HRESULT hr = D3D_OK;
    IndexBuffer* created = nullptr;
    if (Refuses("CreateIndexBuffer"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!buffer || shared || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
        hr = D3DERR_INVALIDCALL;
    else
        created = new IndexBuffer(this, NewLabel("IndexBuffer"), length, usage, format, pool);
    if (buffer) *buffer = created;
    D3D9_LOG(this, line + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                          DWORD quality, BOOL discard, IDirect3DSurface9** surface, HANDLE* shared) {
    std::string line = Call("CreateDepthStencilSurface",
                            {std::to_string(width), std::to_string(height), FormatName(format),
                             std::to_string(multiSample), std::to_string(quality), discard ? "TRUE" : "FALSE"});
    HRESULT hr = D3D_OK;
    Surface* created = nullptr;
    const FormatInfo* info = FindFormat(format);
    if (Refuses("CreateDepthStencilSurface"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!surface || shared || width == 0 || height == 0 || width > MaxTextureSize() || height > MaxTextureSize() ||
             multiSample != D3DMULTISAMPLE_NONE)
        hr = D3DERR_INVALIDCALL;
    else if (!info || !info->depth)
        hr = D3DERR_NOTAVAILABLE;
    else
        created = new Surface(this, width, height, format, NewLabel("Surface"), true);
    if (surface) *surface = created;
    D3D9_LOG(this, line + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements, IDirect3DVertexDeclaration9** declaration) {
    VertexDeclaration* created = nullptr;
    HRESULT hr = D3D_OK;
    if (Refuses("CreateVertexDeclaration"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!elements || !declaration || !(created = VertexDeclaration::Create(this, elements, true)))
        hr = D3DERR_INVALIDCALL;
    if (declaration) *declaration = created;
    D3D9_LOG(this, Call("CreateVertexDeclaration", {created ? created->Describe() : std::string("?")}) +
                       Result(hr, LabelOf(created)));
    return hr;
}

template <class Object>
static HRESULT CreateShader(Device* device, const char* call, const char* kind, const DWORD* function, Object** out) {
    std::string text;
    Object* created = nullptr;
    HRESULT hr = D3D_OK;
    if (device->Refuses(call)) {
        hr = D3DERR_OUTOFVIDEOMEMORY;
    } else if (!out || !function || !UnpackShaderCode(function, Object::Stage(), &text)) {
        hr = D3DERR_INVALIDCALL;
    } else {
        created = new Object(device, device->NewLabel(kind), text);
        if (GLRenderer* gl = device->Renderer()) {
            std::string log;
            if (!gl->CompileShader(Object::Stage(), text, &created->glName, &log)) {
                std::fprintf(stderr, "d3d9: %s does not compile:\n%s\n", kind, log.c_str());
                created->Release();
                created = nullptr;
                hr = D3DERR_INVALIDCALL;
            }
        }
    }
    if (out) *out = created;
    D3D9_LOG(device, Call(call, {"<code>"}) + Result(hr, LabelOf(created)));
    return hr;
}

HRESULT Device::CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) {
    VertexShader* created = nullptr;
    HRESULT hr = CreateShader(this, "CreateVertexShader", "VertexShader", function, &created);
    if (shader) *shader = created;
    return hr;
}

HRESULT Device::CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) {
    PixelShader* created = nullptr;
    HRESULT hr = CreateShader(this, "CreatePixelShader", "PixelShader", function, &created);
    if (shader) *shader = created;
    return hr;
}

HRESULT Device::CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** stateBlock) {
    HRESULT hr = D3D_OK;
    StateBlock* created = nullptr;
    if (Refuses("CreateStateBlock"))
        hr = D3DERR_OUTOFVIDEOMEMORY;
    else if (!stateBlock || (type != D3DSBT_ALL && type != D3DSBT_PIXELSTATE && type != D3DSBT_VERTEXSTATE))
        hr = D3DERR_INVALIDCALL;
    else
        created = new StateBlock(this, NewLabel("StateBlock"), type);
    if (stateBlock) *stateBlock = created;
    D3D9_LOG(this, Call("CreateStateBlock", {StateBlockTypeName(type)}) + Result(hr, LabelOf(created)));
    return hr;
}

}  // namespace d3d9
