// Direct3DCreate9, the IDirect3D9 object and the stand-in's own controls.
#include "platform/d3d9/direct3d.h"

#include "platform/d3d9/device.h"
#include "platform/d3d9/gl_context.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"

namespace {

D3D9Backend g_backend = D3D9Backend::OpenGL;

// The mode reported when there is no display to ask.
constexpr D3DDISPLAYMODE kHeadlessMode = {1920, 1080, 60, D3DFMT_X8R8G8B8};

d3d9::Device* AsDevice(IDirect3DDevice9* device) { return static_cast<d3d9::Device*>(device); }

}  // namespace

namespace d3d9 {

HRESULT Direct3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    *mode = kHeadlessMode;
    DEVMODEA desktop{};
    desktop.dmSize = sizeof desktop;
    if (Win32_GetBackend() != Win32Backend::Headless &&
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &desktop) && desktop.dmPelsWidth > 0 &&
        desktop.dmPelsHeight > 0) {
        mode->Width = desktop.dmPelsWidth;
        mode->Height = desktop.dmPelsHeight;
        mode->RefreshRate = desktop.dmDisplayFrequency;
    }
    return D3D_OK;
}

HRESULT Direct3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                               D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) {
    (void)behaviorFlags;
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !params) return D3DERR_INVALIDCALL;
    HWND window = params->hDeviceWindow ? params->hDeviceWindow : focusWindow;
    Device* created = nullptr;
    HRESULT hr = Device::Create(this, window, *params, backend, &created);
    if (FAILED(hr)) return hr;
    // Direct3D writes back the sizes it picked for a 0 x 0 back buffer.
    params->BackBufferWidth = created->PresentParameters().BackBufferWidth;
    params->BackBufferHeight = created->PresentParameters().BackBufferHeight;
    params->BackBufferFormat = created->PresentParameters().BackBufferFormat;
    params->BackBufferCount = created->PresentParameters().BackBufferCount;
    *device = created;
    return D3D_OK;
}

}  // namespace d3d9

IDirect3D9* Direct3DCreate9(UINT sdkVersion) {
    if ((sdkVersion & ~0x80000000u) != D3D_SDK_VERSION) return nullptr;
    return new d3d9::Direct3D(g_backend);
}

void D3D9_SetBackend(D3D9Backend backend) { g_backend = backend; }
D3D9Backend D3D9_GetBackend() { return g_backend; }

bool D3D9_ReadPresented(IDirect3DDevice9* device, std::vector<uint8_t>* rgba, int* width, int* height) {
    if (!device || !rgba || !width || !height) return false;
    return AsDevice(device)->ReadPresented(rgba, width, height);
}

const std::vector<std::string>& D3D9_RecordedCalls(IDirect3DDevice9* device) { return AsDevice(device)->Calls(); }

void D3D9_ClearRecordedCalls(IDirect3DDevice9* device) { AsDevice(device)->ClearCalls(); }

void D3D9_SetCallLog(IDirect3DDevice9* device, bool on) {
    if (device) AsDevice(device)->SetLogging(on);
}

void D3D9_RefuseCalls(IDirect3DDevice9* device, const std::string& name, int count) {
    if (device) AsDevice(device)->RefuseCalls(name, count);
}

void D3D9_SetDiscarding(IDirect3DDevice9* device, bool discarding) {
    if (device) AsDevice(device)->SetDiscarding(discarding);
}

bool D3D9_Discarding(IDirect3DDevice9* device) { return device && AsDevice(device)->Discarding(); }

void D3D9_SetPresentHook(IDirect3DDevice9* device, std::function<void()> hook) {
    if (device) AsDevice(device)->SetPresentHook(std::move(hook));
}

struct D3D9SavedState {
    d3d9::DeviceState state;
};

std::shared_ptr<D3D9SavedState> D3D9_SaveState(IDirect3DDevice9* device) {
    if (!device) return nullptr;
    auto saved = std::make_shared<D3D9SavedState>();
    d3d9::CopyDeviceState(AsDevice(device)->state, saved->state);
    return saved;
}

void D3D9_RestoreState(IDirect3DDevice9* device, const D3D9SavedState& saved) {
    if (device) AsDevice(device)->RestoreState(saved.state);
}

void D3D9_SetCompilingOnly(IDirect3DDevice9* device, bool on) {
    if (device) AsDevice(device)->SetCompilingOnly(on);
}

bool D3D9_CompilingOnly(IDirect3DDevice9* device) { return device && AsDevice(device)->CompilingOnly(); }

bool D3D9_SetPassTiming(IDirect3DDevice9* device, bool on) { return device && AsDevice(device)->SetPassTiming(on); }

const std::vector<D3D9PassTime>& D3D9_FramePasses(IDirect3DDevice9* device) {
    static const std::vector<D3D9PassTime> none;
    return device ? AsDevice(device)->FramePasses() : none;
}

bool D3D9_SupportsFormat(IDirect3DDevice9* device, D3DFORMAT format) {
    return device && AsDevice(device)->SupportsFormat(format);
}

UINT D3D9_MaxTextureSize() {
    int rendererMax = 0;
    if (d3d9::GLContext* context = d3d9::GLContext::AnyDeviceContext()) {
        rendererMax = context->Features().maxTextureSize;
    } else {
        // A context of its own, let go at once: a window's context made later
        // must not find it current.
        std::string error;
        if (auto probe = d3d9::GLContext::CreateHeadless(&error)) rendererMax = probe->Features().maxTextureSize;
    }
    return rendererMax > 0 && UINT(rendererMax) < d3d9::kMaxTextureSize ? UINT(rendererMax) : d3d9::kMaxTextureSize;
}
