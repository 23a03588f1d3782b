// IDirect3DDevice9 of the stand-in.
//
// The device keeps every piece of Direct3D state itself (DeviceState), starting
// at Direct3D 9's documented defaults and staying as last set. Each change that
// alters a value marks what it feeds as dirty (Dirty); the OpenGL renderer
// brings only the dirty parts to GL at the next draw or clear. On the recording
// backend there is no renderer: resources live in memory and every call is
// logged as one line "Name(arg, ...)" (with " -> result" for what it hands
// back), see d3d9_platform.h.
//
// The device's own back buffer is a render-target texture it holds internally
// (labelled "BackBuffer") and its automatic depth-stencil surface is
// "AutoDepthStencil"; on OpenGL both are off-screen, and Present copies the
// back buffer to the window, if there is one, and keeps it for read-back.
#pragma once

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3d9/ref_counted.h"

struct SDL_Window;

namespace d3d9 {

class Direct3D;
class GLRenderer;
class Surface;
class Texture;
class TextureData;
class VertexBuffer;
class IndexBuffer;
class VertexDeclaration;
class VertexShader;
class PixelShader;

constexpr UINT kVertexConstants = 256;
constexpr UINT kPixelConstants = 224;
constexpr UINT kClipPlanes = 6;
constexpr UINT kStreams = 16;
constexpr UINT kTransforms = 11;  // world, view, projection, texture 0..7

// Groups of render states, each feeding one piece of GL state.
enum RenderGroup : uint32_t {
    kGroupDepth = 1u << 0,
    kGroupBlend = 1u << 1,
    kGroupCull = 1u << 2,
    kGroupColorWrite = 1u << 3,
    kGroupStencil = 1u << 4,
    kGroupFill = 1u << 5,
    kGroupClipEnable = 1u << 6,
    kGroupAlphaTest = 1u << 7,
    kGroupDepthBias = 1u << 8,
    kGroupScissor = 1u << 9,
};
uint32_t RenderStateGroup(DWORD state);

struct RegisterRange {
    UINT begin = UINT_MAX;
    UINT end = 0;
    void Add(UINT first, UINT count) {
        if (first < begin) begin = first;
        if (first + count > end) end = first + count;
    }
    bool Empty() const { return begin >= end; }
    void Reset() { begin = UINT_MAX, end = 0; }
};

struct Dirty {
    bool targets = true;
    bool viewport = true;
    bool program = true;
    bool vertexInput = true;
    bool indices = true;
    bool clipPlanes = true;
    uint32_t renderGroups = ~0u;
    uint32_t samplers = ~0u;  // stage mask
    uint32_t textures = ~0u;  // stage mask
    RegisterRange vsConstants;
    RegisterRange psConstants;
};

struct StreamSource {
    Binding<VertexBuffer> buffer;
    UINT offset = 0;
    UINT stride = 0;
};

struct DeviceState {
    DWORD renderStates[D3D_RENDERSTATE_COUNT] = {};
    DWORD samplerStates[D3D_MAX_SAMPLERS][D3D_SAMPLERSTATE_COUNT] = {};
    DWORD stageStates[D3D_MAX_TEXTURESTAGES][D3D_TEXTURESTAGESTATE_COUNT] = {};
    Binding<TextureData> textures[D3D_MAX_SAMPLERS];
    float vsConstants[kVertexConstants][4] = {};
    float psConstants[kPixelConstants][4] = {};
    float clipPlanes[kClipPlanes][4] = {};
    D3DMATRIX transforms[kTransforms] = {};
    Binding<Surface> renderTargets[2];
    Binding<Surface> depthStencil;
    D3DVIEWPORT9 viewport = {};
    Binding<VertexDeclaration> declaration;
    DWORD fvf = 0;
    StreamSource streams[kStreams];
    Binding<IndexBuffer> indices;
    Binding<VertexShader> vertexShader;
    Binding<PixelShader> pixelShader;
};

// Appends the line the arguments build to the device's call log. The line is
// built only while the log is kept (recording backend, log on): on OpenGL, or
// with the log off, a call formats and allocates nothing for it.
#define D3D9_LOG(device, ...)                                \
    do {                                                     \
        if ((device)->Logging()) (device)->Log(__VA_ARGS__); \
    } while (0)

// "Name(a, b, c)".
std::string Call(const char* name, std::initializer_list<std::string> args);
// "Label" of a stand-in object, or "NULL".
template <class T>
std::string LabelOf(const T* object) {
    return object ? object->Label() : std::string("NULL");
}

// Textures larger than this on a side are refused, as by a real adapter (a
// smaller limit of the renderer applies too: Device::MaxTextureSize).
constexpr UINT kMaxTextureSize = 16384;

class Device final : public RefCounted<IDirect3DDevice9> {
public:
    // Creates the device for `window` (headless when it has no SDL window).
    static HRESULT Create(Direct3D* d3d, HWND window, const D3DPRESENT_PARAMETERS& params, D3D9Backend backend,
                          Device** device);
    ~Device() override;

    HRESULT TestCooperativeLevel() override;
    HRESULT GetDirect3D(IDirect3D9** d3d) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow, const void* dirtyRegion) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT CreateCubeTexture(UINT edge, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DCubeTexture9** texture, HANDLE* shared) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* shared) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                              HANDLE* shared) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                      DWORD quality, BOOL discard, IDirect3DSurface9** surface,
                                      HANDLE* shared) override;
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements,
                                    IDirect3DVertexDeclaration9** declaration) override;
    HRESULT CreateVertexShader(const DWORD* function, IDirect3DVertexShader9** shader) override;
    HRESULT CreatePixelShader(const DWORD* function, IDirect3DPixelShader9** shader) override;
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** stateBlock) override;

    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetClipPlane(DWORD index, const float* plane) override;
    HRESULT GetClipPlane(DWORD index, float* plane) override;

    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
    HRESULT GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9** shader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* shader) override;
    HRESULT GetPixelShader(IDirect3DPixelShader9** shader) override;
    HRESULT SetVertexShaderConstantF(UINT startRegister, const float* data, UINT vector4fCount) override;
    HRESULT GetVertexShaderConstantF(UINT startRegister, float* data, UINT vector4fCount) override;
    HRESULT SetPixelShaderConstantF(UINT startRegister, const float* data, UINT vector4fCount) override;
    HRESULT GetPixelShaderConstantF(UINT startRegister, float* data, UINT vector4fCount) override;

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                                 UINT startIndex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;

    // ---- stand-in controls ----
    bool Recording() const { return recording; }
    GLRenderer* Renderer() const { return renderer.get(); }
    // Whether calls are logged: on the recording backend from creation, until SetLogging(false).
    bool Logging() const { return logging; }
    void SetLogging(bool on) { logging = recording && on; }
    void Log(std::string line) {
        if (logging) calls.push_back(std::move(line));
    }
    const std::vector<std::string>& Calls() const { return calls; }
    void ClearCalls() { calls.clear(); }
    void RefuseCalls(const std::string& name, int count) { refusals[name] = count; }
    // Whether a refusal set with RefuseCalls applies to this call (and uses it up).
    bool Refuses(const char* name);
    std::string NewLabel(const char* kind) { return std::string(kind) + "#" + std::to_string(nextLabel++); }
    bool ReadPresented(std::vector<uint8_t>* rgba, int* width, int* height);
    void SetDiscarding(bool on) { discarding = on; }
    bool Discarding() const { return discarding; }
    void SetCompilingOnly(bool on);
    bool CompilingOnly() const { return compilingOnly; }
    bool SupportsFormat(D3DFORMAT format) const;
    bool SetPassTiming(bool on);
    const std::vector<D3D9PassTime>& FramePasses() const;
    // The largest texture or render target side: the stand-in's own limit,
    // or the renderer's where that is smaller.
    UINT MaxTextureSize() const;
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return params; }
    Surface* BackBufferSurface() const;

    // State changes without logging, for state blocks. Each marks what it changes dirty.
    void ApplyRenderState(DWORD state, DWORD value);
    void ApplySamplerState(DWORD sampler, DWORD type, DWORD value);
    void ApplyStageState(DWORD stage, DWORD type, DWORD value);
    void ApplyPixelConstants(UINT start, const float* data, UINT count);
    void ApplyVertexConstants(UINT start, const float* data, UINT count);
    void ApplyPixelShader(PixelShader* shader);
    void ApplyVertexShader(VertexShader* shader);

    DeviceState state;
    Dirty dirty;

private:
    Device(Direct3D* d3d, const D3DPRESENT_PARAMETERS& params, bool recording);
    void ResetStates();
    void ResetViewport(const Surface& target);
    VertexDeclaration* DeclarationForFvf(DWORD fvf);
    bool ReadyToDraw() const;
    // Logs `line`, marked when the call is discarded.
    void LogFrameCall(std::string line);

    Direct3D* d3d;
    D3DPRESENT_PARAMETERS params;
    bool recording;
    bool logging;
    std::unique_ptr<GLRenderer> renderer;
    std::vector<std::string> calls;
    UINT nextLabel = 1;
    bool inScene = false;
    bool discarding = false;
    bool compilingOnly = false;
    Texture* backBuffer = nullptr;
    Surface* autoDepth = nullptr;
    std::unordered_map<DWORD, VertexDeclaration*> fvfDeclarations;
    std::unordered_map<std::string, int> refusals;
};

}  // namespace d3d9
