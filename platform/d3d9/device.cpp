// Device life cycle, frame calls and the stand-in controls.
#include "platform/d3d9/device.h"

#include <cstdio>
#include <cstring>

#include "platform/d3d9/buffer.h"
#include "platform/d3d9/direct3d.h"
#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/names.h"
#include "platform/d3d9/shader.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_declaration.h"
#include "platform/win32/win32_platform.h"

namespace d3d9 {
namespace {

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// "{a, b, c, d}", built by appending (GCC 12 warns falsely on chains of +).
std::string Braced(LONG a, LONG b, LONG c, LONG d) {
    std::string out = "{";
    for (LONG value : {a, b, c, d}) {
        if (out.size() > 1) out += ", ";
        out += std::to_string(value);
    }
    out += '}';
    return out;
}

std::string RectText(const RECT* rect) {
    return rect ? Braced(rect->left, rect->top, rect->right, rect->bottom) : std::string("NULL");
}

bool IsBackBufferFormat(D3DFORMAT format) { return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8; }

}  // namespace

std::string Call(const char* name, std::initializer_list<std::string> args) {
    std::string line = name;
    line += '(';
    bool first = true;
    for (const std::string& arg : args) {
        if (!first) line += ", ";
        line += arg;
        first = false;
    }
    line += ')';
    return line;
}

uint32_t RenderStateGroup(DWORD state) {
    switch (state) {
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ZFUNC: return kGroupDepth;
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_BLENDOP:
    case D3DRS_BLENDFACTOR:
    case D3DRS_SEPARATEALPHABLENDENABLE:
    case D3DRS_SRCBLENDALPHA:
    case D3DRS_DESTBLENDALPHA:
    case D3DRS_BLENDOPALPHA: return kGroupBlend;
    case D3DRS_CULLMODE: return kGroupCull;
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_COLORWRITEENABLE1: return kGroupColorWrite;
    case D3DRS_STENCILENABLE:
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS:
    case D3DRS_STENCILFUNC:
    case D3DRS_STENCILREF:
    case D3DRS_STENCILMASK:
    case D3DRS_STENCILWRITEMASK: return kGroupStencil;
    case D3DRS_FILLMODE: return kGroupFill;
    case D3DRS_CLIPPLANEENABLE: return kGroupClipEnable;
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_ALPHAREF:
    case D3DRS_ALPHAFUNC: return kGroupAlphaTest;
    case D3DRS_DEPTHBIAS:
    case D3DRS_SLOPESCALEDEPTHBIAS: return kGroupDepthBias;
    case D3DRS_SCISSORTESTENABLE: return kGroupScissor;
    default: return 0;
    }
}

Device::Device(Direct3D* d3d, const D3DPRESENT_PARAMETERS& params, bool recording)
    : RefCounted(1), d3d(d3d), params(params), recording(recording), logging(recording) {
    d3d->AddRef();
}

HRESULT Device::Create(Direct3D* d3d, HWND window, const D3DPRESENT_PARAMETERS& in, D3D9Backend backend, Device** out) {
    D3DPRESENT_PARAMETERS params = in;
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0) {
        int width = 0, height = 0;
        if (!params.Windowed || !window || !Win32_GetClientSize(window, &width, &height) || width <= 0 || height <= 0)
            return D3DERR_INVALIDCALL;
        if (params.BackBufferWidth == 0) params.BackBufferWidth = static_cast<UINT>(width);
        if (params.BackBufferHeight == 0) params.BackBufferHeight = static_cast<UINT>(height);
    }
    if (params.BackBufferFormat == D3DFMT_UNKNOWN) params.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (params.BackBufferCount == 0) params.BackBufferCount = 1;
    if (!IsBackBufferFormat(params.BackBufferFormat)) return D3DERR_INVALIDCALL;
    const FormatInfo* depthFormat = FindFormat(params.AutoDepthStencilFormat);
    if (params.EnableAutoDepthStencil && (!depthFormat || !depthFormat->depth)) return D3DERR_INVALIDCALL;

    Device* device = new Device(d3d, params, backend == D3D9Backend::Recording);
    if (!device->recording) {
        std::string error;
        device->renderer = GLRenderer::Create(*device, window ? Win32_GetSDLWindow(window) : nullptr, &error);
        if (!device->renderer) {
            std::fprintf(stderr, "d3d9: no OpenGL device: %s\n", error.c_str());
            device->Release();
            return D3DERR_NOTAVAILABLE;
        }
    }
    if (params.BackBufferWidth > device->MaxTextureSize() || params.BackBufferHeight > device->MaxTextureSize()) {
        device->Release();
        return D3DERR_NOTAVAILABLE;
    }
    device->backBuffer =
        new Texture(device, "BackBuffer", params.BackBufferWidth, params.BackBufferHeight, 1, 1, D3DUSAGE_RENDERTARGET,
                    *FindFormat(params.BackBufferFormat), D3DPOOL_DEFAULT, false);
    device->backBuffer->AddInternalRef();
    if (!device->backBuffer->Allocated()) {
        std::fprintf(stderr, "d3d9: no memory for a %ux%u back buffer\n", params.BackBufferWidth,
                     params.BackBufferHeight);
        device->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    Surface* backSurface = device->backBuffer->SurfaceAt(0, 0);
    device->state.renderTargets[0].Reset(backSurface);
    if (params.EnableAutoDepthStencil) {
        device->autoDepth = new Surface(device, params.BackBufferWidth, params.BackBufferHeight,
                                        params.AutoDepthStencilFormat, "AutoDepthStencil", false);
        device->autoDepth->AddInternalRef();
        device->state.depthStencil.Reset(device->autoDepth);
    }
    device->ResetStates();
    device->ResetViewport(*backSurface);
    *out = device;
    return D3D_OK;
}

Device::~Device() {
    if (renderer) renderer->MakeCurrent();
    for (auto& texture : state.textures) texture.Reset(nullptr);
    for (auto& target : state.renderTargets) target.Reset(nullptr);
    state.depthStencil.Reset(nullptr);
    state.declaration.Reset(nullptr);
    for (auto& stream : state.streams) stream.buffer.Reset(nullptr);
    state.indices.Reset(nullptr);
    state.vertexShader.Reset(nullptr);
    state.pixelShader.Reset(nullptr);
    for (auto& entry : fvfDeclarations) entry.second->ReleaseInternalRef();
    fvfDeclarations.clear();
    if (backBuffer) backBuffer->ReleaseInternalRef();
    if (autoDepth) autoDepth->ReleaseInternalRef();
    renderer.reset();
    d3d->Release();
}

void Device::ResetStates() {
    DWORD* rs = state.renderStates;
    rs[D3DRS_ZENABLE] = params.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRS_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRS_SHADEMODE] = 2;  // D3DSHADE_GOURAUD
    rs[D3DRS_ZWRITEENABLE] = TRUE;
    rs[D3DRS_ALPHATESTENABLE] = FALSE;
    rs[D3DRS_LASTPIXEL] = TRUE;
    rs[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRS_CULLMODE] = D3DCULL_CCW;
    rs[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRS_ALPHAREF] = 0;
    rs[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_FOGEND] = FloatBits(1.0f);
    rs[D3DRS_FOGDENSITY] = FloatBits(1.0f);
    rs[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_STENCILMASK] = 0xFFFFFFFF;
    rs[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFF;
    rs[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    rs[D3DRS_CLIPPING] = TRUE;
    rs[D3DRS_LIGHTING] = TRUE;
    rs[D3DRS_COLORVERTEX] = TRUE;
    rs[D3DRS_LOCALVIEWER] = TRUE;
    rs[D3DRS_DIFFUSEMATERIALSOURCE] = 1;   // D3DMCS_COLOR1
    rs[D3DRS_SPECULARMATERIALSOURCE] = 2;  // D3DMCS_COLOR2
    rs[D3DRS_POINTSIZE] = FloatBits(1.0f);
    rs[D3DRS_POINTSIZE_MIN] = FloatBits(1.0f);
    rs[D3DRS_POINTSCALE_A] = FloatBits(1.0f);
    rs[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    rs[D3DRS_MULTISAMPLEMASK] = 0xFFFFFFFF;
    rs[D3DRS_POINTSIZE_MAX] = FloatBits(64.0f);
    rs[D3DRS_COLORWRITEENABLE] = 0xF;
    rs[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    rs[D3DRS_POSITIONDEGREE] = 3;  // cubic
    rs[D3DRS_NORMALDEGREE] = 1;    // linear
    rs[D3DRS_MINTESSELLATIONLEVEL] = FloatBits(1.0f);
    rs[D3DRS_MAXTESSELLATIONLEVEL] = FloatBits(1.0f);
    rs[D3DRS_ADAPTIVETESS_Z] = FloatBits(1.0f);
    rs[D3DRS_CCW_STENCILFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_CCW_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    rs[D3DRS_CCW_STENCILPASS] = D3DSTENCILOP_KEEP;
    rs[D3DRS_CCW_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRS_COLORWRITEENABLE1] = 0xF;
    rs[D3DRS_COLORWRITEENABLE2] = 0xF;
    rs[D3DRS_COLORWRITEENABLE3] = 0xF;
    rs[D3DRS_BLENDFACTOR] = 0xFFFFFFFF;
    rs[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    rs[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    rs[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;

    for (auto& sampler : state.samplerStates) {
        sampler[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }
    for (DWORD stage = 0; stage < D3D_MAX_TEXTURESTAGES; ++stage) {
        DWORD* ts = state.stageStates[stage];
        ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ts[D3DTSS_TEXCOORDINDEX] = stage;
        ts[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        ts[D3DTSS_RESULTARG] = D3DTA_CURRENT;
    }
    for (D3DMATRIX& matrix : state.transforms) {
        matrix = D3DMATRIX{};
        matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
    }
    dirty = Dirty{};
    dirty.vsConstants.Add(0, kVertexConstants);
    dirty.psConstants.Add(0, kPixelConstants);
}

void Device::ResetViewport(const Surface& target) {
    state.viewport = D3DVIEWPORT9{0, 0, target.Width(), target.Height(), 0.0f, 1.0f};
    dirty.viewport = true;
}

HRESULT Device::TestCooperativeLevel() {
    D3D9_LOG(this, "TestCooperativeLevel()");
    return D3D_OK;
}

HRESULT Device::GetDirect3D(IDirect3D9** out) {
    D3D9_LOG(this, "GetDirect3D()");
    if (!out) return D3DERR_INVALIDCALL;
    d3d->AddRef();
    *out = d3d;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
    D3D9_LOG(this, Call("GetBackBuffer", {std::to_string(swapChain), std::to_string(index), std::to_string(type)}));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swapChain != 0 || index != 0) return D3DERR_INVALIDCALL;
    Surface* back = backBuffer->SurfaceAt(0, 0);
    back->AddRef();
    *surface = back;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* source, const RECT* dest, HWND overrideWindow, const void* dirtyRegion) {
    if (Logging())
        LogFrameCall(Call("Present", {RectText(source), RectText(dest), overrideWindow ? "HWND" : "NULL",
                                      dirtyRegion ? "REGION" : "NULL"}));
    if (renderer && !discarding) renderer->Present(params.PresentationInterval);
    Win32_FramePresented();
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    D3D9_LOG(this, "BeginScene()");
    if (inScene) return D3DERR_INVALIDCALL;
    inScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    D3D9_LOG(this, "EndScene()");
    if (!inScene) return D3DERR_INVALIDCALL;
    inScene = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    if (logging) {
        std::string rectText = "NULL";
        if (rects) {
            rectText = "[";
            for (DWORD i = 0; i < count; ++i) {
                if (i) rectText += ", ";
                rectText += Braced(rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2);
            }
            rectText += "]";
        }
        if (Logging())
            LogFrameCall(Call("Clear", {std::to_string(count), rectText, ClearFlags(flags), Hex(color), Float(z),
                                        std::to_string(stencil)}));
    }
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !state.depthStencil) return D3DERR_INVALIDCALL;
    if (count && !rects) return D3DERR_INVALIDCALL;
    if (renderer && !discarding && !compilingOnly) renderer->Clear(rects ? count : 0, rects, flags, color, z, stencil);
    return D3D_OK;
}

void Device::SetCompilingOnly(bool on) {
    compilingOnly = on;
    if (renderer) renderer->SetRasterizerDiscard(on);
}

bool Device::Refuses(const char* name) {
    if (refusals.empty()) return false;
    auto found = refusals.find(name);
    if (found == refusals.end() || found->second == 0) return false;
    if (found->second > 0) --found->second;
    return true;
}

Surface* Device::BackBufferSurface() const { return backBuffer->SurfaceAt(0, 0); }

bool Device::ReadPresented(std::vector<uint8_t>* rgba, int* width, int* height) {
    return renderer && renderer->ReadPresented(rgba, width, height);
}

bool Device::SupportsFormat(D3DFORMAT format) const {
    const FormatInfo* info = FindFormat(format);
    if (!info || info->depth) return false;
    return !info->compressed || !renderer || renderer->Features().s3tc;
}

bool Device::SetPassTiming(bool on) {
    if (!renderer) return !on;
    renderer->MakeCurrent();
    const GLFeatures& features = renderer->Features();
    if (on && !features.timerQueries && !features.binningRasterizer) return false;
    renderer->Timer().SetOn(on, features.binningRasterizer ? PassTimer::Method::Finish : PassTimer::Method::Queries);
    return true;
}

const std::vector<D3D9PassTime>& Device::FramePasses() const {
    static const std::vector<D3D9PassTime> none;
    return renderer ? renderer->Timer().LastFrame() : none;
}

}  // namespace d3d9
