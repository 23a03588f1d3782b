// The window system of a web page, in place of the SDL backend: the page is
// the display, the canvas ("#canvas") is the demo window, and the page's
// keyboard events and its being left become the messages Windows would
// post. A window with a background brush (a dialog) is not drawn: the page
// shows a start panel of its own in its place (see the run code), and the
// dialog's controls are answered through messages.
//
// What the page offers and lacks:
// - one on-screen window at a time, the canvas, sized to the window's client
//   area (one canvas pixel per CSS pixel; full screen through the Fullscreen
//   API, which the page asks for within the click that starts the demo);
// - the browser keeps Escape for leaving full screen: a full-screen demo
//   window whose page leaves full screen gets Escape pressed and released,
//   and ends as on the desktop;
// - keys as WM_KEYDOWN/WM_KEYUP to the shown window; the page being closed
//   or left is WM_CLOSE; the left button and the wheel over the canvas as
//   WM_LBUTTONDOWN/UP, WM_MOUSEMOVE and WM_MOUSEWHEEL at canvas pixels; the
//   page resized as WM_SIZE with the canvas's client size; the tab hidden as
//   WM_KILLFOCUS then WM_SIZE SIZE_MINIMIZED, shown again as WM_SIZE
//   SIZE_RESTORED then WM_SETFOCUS (the demo window reads none of these, as
//   on the desktop);
// - message boxes appear in the page and return at once;
// - waiting for messages yields to the browser (ASYNCIFY), so a page waiting
//   in a message loop stays responsive; so does one that checks for messages
//   during long work (at most every 50 ms).
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_internal.h"

namespace win32 {
namespace {

HWND g_shown = nullptr;      // the top-level window keys go to
bool g_canvasShown = false;  // whether g_shown is the canvas (not a dialog the start panel stands for)
bool g_fullscreen = false;   // whether the canvas window covers the screen
double g_lastYield = 0.0;

// clang-format off
EM_JS(void, PageShowCanvas, (int width, int height, int fullscreen), {
    if (Module.demoPage) Module.demoPage.showCanvas(width, height, fullscreen != 0);
});
EM_JS(void, PageMessageBox, (const char* text, const char* caption), {
    if (Module.demoPage) Module.demoPage.messageBox(UTF8ToString(text), UTF8ToString(caption));
});
EM_JS(void, PageShowCursor, (int show), {
    if (Module.canvas) Module.canvas.style.cursor = show ? "" : "none";
});
EM_JS(int, PageScreenWidth, (), { return screen.width | 0; });
EM_JS(int, PageScreenHeight, (), { return screen.height | 0; });
// clang-format on

WPARAM VirtualKey(const EmscriptenKeyboardEvent& key) {
    // keyCode is the Windows virtual-key code for letters, digits, F keys and the named keys.
    unsigned long code = key.keyCode;
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') || (code >= VK_F1 && code <= VK_F1 + 11))
        return code;
    switch (code) {
    case VK_ESCAPE:
    case VK_RETURN:
    case VK_SPACE:
    case VK_TAB:
    case VK_BACK:
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU: return code;
    default: return 0;
    }
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void*) {
    WPARAM vk = VirtualKey(*key);
    if (!vk || !g_shown || !Find(g_shown)) return EM_FALSE;
    LPARAM lParam = 1;
    if (type == EMSCRIPTEN_EVENT_KEYUP)
        lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    else if (key->repeat)
        lParam |= LPARAM{1} << 30;
    const UINT message = type == EMSCRIPTEN_EVENT_KEYUP ? WM_KEYUP : WM_KEYDOWN;
    GetState().input.push_back({g_shown, message, vk, lParam});
    return vk == VK_ESCAPE || vk == VK_TAB ? EM_TRUE : EM_FALSE;
}

// Messages about the canvas window go only to it, not to a dialog.
bool CanvasWindow() { return g_shown && g_canvasShown && Find(g_shown); }

void Post(UINT message, WPARAM wParam, LPARAM lParam) {
    GetState().input.push_back({g_shown, message, wParam, lParam});
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* mouse, void*) {
    if (!CanvasWindow()) return EM_FALSE;
    const LPARAM at = MAKELPARAM(mouse->targetX, mouse->targetY);
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
        Post(WM_MOUSEMOVE, (mouse->buttons & 1) ? MK_LBUTTON : 0, at);
    } else if (mouse->button == 0) {
        const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
        Post(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, at);
    }
    return EM_FALSE;
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* wheel, void*) {
    if (!CanvasWindow() || wheel->deltaY == 0.0) return EM_FALSE;
    // One notch a wheel event, up (away from the viewer) positive, as Windows counts.
    const int delta = wheel->deltaY < 0.0 ? WHEEL_DELTA : -WHEEL_DELTA;
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
         MAKELPARAM(wheel->mouse.targetX, wheel->mouse.targetY));
    return EM_FALSE;
}

void PostClientSize(WPARAM kind) {
    int width = 0, height = 0;
    if (kind == SIZE_RESTORED) Win32_GetClientSize(g_shown, &width, &height);
    Post(WM_SIZE, kind, MAKELPARAM(width, height));
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void*) {
    if (CanvasWindow()) PostClientSize(SIZE_RESTORED);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* visibility, void*) {
    if (!CanvasWindow()) return EM_FALSE;
    if (visibility->hidden) {
        Post(WM_KILLFOCUS, 0, 0);
        PostClientSize(SIZE_MINIMIZED);
    } else {
        PostClientSize(SIZE_RESTORED);
        Post(WM_SETFOCUS, 0, 0);
    }
    return EM_FALSE;
}

EM_BOOL OnFullscreenChange(int, const EmscriptenFullscreenChangeEvent* change, void*) {
    if (change->isFullscreen || !CanvasWindow() || !g_fullscreen) return EM_FALSE;
    Post(WM_KEYDOWN, VK_ESCAPE, 1);
    Post(WM_KEYUP, VK_ESCAPE, 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    return EM_FALSE;
}

EM_BOOL OnLeave(int, const void*, void*) {
    if (g_shown && Find(g_shown)) PostInternal(g_shown, WM_CLOSE, 0, 0);
    return EM_FALSE;
}

}  // namespace

bool SdlStart() {
    static bool started = false;
    if (!started) {
        started = true;
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, OnKey);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, OnKey);
        emscripten_set_mousedown_callback("#canvas", nullptr, EM_FALSE, OnMouse);
        emscripten_set_mouseup_callback("#canvas", nullptr, EM_FALSE, OnMouse);
        emscripten_set_mousemove_callback("#canvas", nullptr, EM_FALSE, OnMouse);
        emscripten_set_wheel_callback("#canvas", nullptr, EM_FALSE, OnWheel);
        emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnResize);
        emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
        emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                                 OnFullscreenChange);
        emscripten_set_beforeunload_callback(nullptr, [](int type, const void* event, void* data) -> const char* {
            OnLeave(type, event, data);
            return nullptr;
        });
    }
    return true;
}

void SdlCreateWindow(Window&) {}

void SdlShowWindow(Window& window, bool show) {
    if (window.offscreen) return;
    if (!show) {
        if (g_shown == HandleOf(window)) g_shown = nullptr;
        return;
    }
    g_shown = HandleOf(window);
    g_canvasShown = !window.background;
    if (window.background) return;  // a dialog: the page's start panel stands for it
    int width = 0, height = 0;
    Win32_GetClientSize(g_shown, &width, &height);
    g_fullscreen = (window.style & WS_POPUP) && window.rect.left == 0 && window.rect.top == 0;
    PageShowCanvas(std::max(1, width), std::max(1, height), g_fullscreen ? 1 : 0);
}

void SdlRetireWindow(Window& window) {
    if (g_shown == HandleOf(window)) g_shown = nullptr;
}

void SdlSetText(Window&) {}

void SdlPumpEvents(int waitMs) {
    double now = emscripten_get_now();
    if (waitMs > 0 || now - g_lastYield > 50.0) {
        emscripten_sleep(static_cast<unsigned>(std::max(waitMs, 0)));
        g_lastYield = emscripten_get_now();
    }
}

bool SdlScreenSize(int* width, int* height) {
    *width = PageScreenWidth();
    *height = PageScreenHeight();
    return *width > 0 && *height > 0;
}

// The modes a canvas makes sense at: the common sizes up to the screen's, and the screen's own.
bool SdlDisplayMode(DWORD index, Win32DisplayMode* mode) {
    int screenWidth = 0, screenHeight = 0;
    SdlScreenSize(&screenWidth, &screenHeight);
    if (index == ENUM_CURRENT_SETTINGS) {
        *mode = {screenWidth, screenHeight, 32, 60};
        return true;
    }
    static const int sizes[][2] = {{640, 480},  {800, 600},  {1024, 768}, {1280, 720},
                                   {1280, 960}, {1600, 900}, {1920, 1080}};
    std::vector<Win32DisplayMode> modes;
    for (const auto& size : sizes)
        if (size[0] <= screenWidth && size[1] <= screenHeight) modes.push_back({size[0], size[1], 32, 60});
    modes.push_back({screenWidth, screenHeight, 32, 60});
    if (index >= modes.size()) return false;
    *mode = modes[index];
    return true;
}

void SdlMessageBox(const char* text, const char* caption, UINT) { PageMessageBox(text, caption); }

void SdlShowCursor(bool show) { PageShowCursor(show ? 1 : 0); }

bool SdlHasOnscreenWindows() { return g_shown != nullptr; }

// Nothing is painted: the page draws its own panel.
void PaintWindow(Window&, SDL_Renderer*) {}
void PaintOnScreen(Window&) {}

}  // namespace win32

bool Win32_CaptureWindow(HWND, std::vector<uint8_t>*, int*, int*) { return false; }
