// The SDL2 backend: top-level windows become SDL windows (OpenGL windows for
// classes without a background brush, painted 2D windows for the others), and
// SDL's events become the messages Windows would post: keys to the focused
// control or the window, mouse messages to the control under the pointer (or
// the one holding the mouse), WM_CLOSE from the close button, WM_PAINT when
// the window system asks for a repaint.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/win32_internal.h"

namespace win32 {

namespace {

int g_started = 0;  // 0 not tried, 1 running, -1 no display

std::vector<SDL_Window*>& Retired() {
    static std::vector<SDL_Window*> windows;
    return windows;
}

Window* BySdlId(Uint32 id) {
    SDL_Window* sdl = SDL_GetWindowFromID(id);
    if (!sdl) return nullptr;
    for (auto& [key, window] : GetState().windows)
        if (window->sdlWindow == sdl) return window.get();
    return nullptr;
}

WPARAM VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    default: return 0;
    }
}

void PostKey(Window& window, const SDL_KeyboardEvent& key) {
    WPARAM vk = VirtualKey(key.keysym.sym);
    if (!vk) return;
    // Repeat count 1, scan code in bits 16-23; key-up sets the previous-state and transition bits.
    LPARAM lParam = 1 | (static_cast<LPARAM>(key.keysym.scancode & 0xff) << 16);
    if (key.type == SDL_KEYUP)
        lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    else if (key.repeat)
        lParam |= LPARAM{1} << 30;
    UINT message = key.type == SDL_KEYUP ? WM_KEYUP : WM_KEYDOWN;
    GetState().input.push_back({HandleOf(window), message, vk, lParam});
}

void PostMouse(Window& window, UINT message, int x, int y, WPARAM wParam) {
    GetState().input.push_back({HandleOf(window), message, wParam, MAKELPARAM(x, y)});
}

void Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT: {
        Window* window = BySdlId(event.window.windowID);
        if (!window) return;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            PostInternal(HandleOf(*window), WM_CLOSE, 0, 0);
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
            Invalidate(window);
        return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (Window* window = BySdlId(event.key.windowID)) PostKey(*window, event.key);
        return;
    case SDL_MOUSEMOTION:
        if (Window* window = BySdlId(event.motion.windowID))
            PostMouse(*window, WM_MOUSEMOVE, event.motion.x, event.motion.y,
                      (event.motion.state & SDL_BUTTON_LMASK) ? MK_LBUTTON : 0);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) return;
        if (Window* window = BySdlId(event.button.windowID))
            PostMouse(*window, event.type == SDL_MOUSEBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP, event.button.x,
                      event.button.y, event.type == SDL_MOUSEBUTTONDOWN ? MK_LBUTTON : 0);
        return;
    case SDL_MOUSEWHEEL:
        if (Window* window = BySdlId(event.wheel.windowID)) {
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            int delta = event.wheel.y * WHEEL_DELTA;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
            PostMouse(*window, WM_MOUSEWHEEL, x, y, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))));
        }
        return;
    default: return;
    }
}

bool Active() { return g_started == 1 && !Headless(); }

}  // namespace

bool SdlStart() {
    if (g_started == 0) {
        g_started = -1;
        // Without a window system SDL would fall back to its off-screen driver,
        // where no one could see or answer a window: that counts as no display.
        bool windowSystem = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("SDL_VIDEODRIVER");
        if (!windowSystem) return false;
        // Ctrl+C ends the program as usual, and closing the last window is only a WM_CLOSE.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "SDL's video did not start: %s\n", SDL_GetError());
            return false;
        }
        std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
        if (driver == "offscreen" || driver == "dummy" || SDL_GetNumVideoDisplays() < 1) {
            std::fprintf(stderr, "SDL found no window system to open windows on (its video driver: \"%s\").\n",
                         driver.c_str());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        g_started = 1;
    }
    return g_started == 1;
}

void SdlCreateWindow(Window& window) {
    if (!Active() || window.offscreen) return;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    bool painted = window.background != nullptr;
    if (!painted) {
        flags |= SDL_WINDOW_OPENGL;
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    }
    int w = std::max(1, static_cast<int>(window.rect.right - window.rect.left));
    int h = std::max(1, static_cast<int>(window.rect.bottom - window.rect.top));
    if (!(window.style & WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
    SDL_DisplayMode desktop;
    if ((window.style & WS_POPUP) && window.rect.left == 0 && window.rect.top == 0 &&
        SDL_GetDesktopDisplayMode(0, &desktop) == 0 && w == desktop.w && h == desktop.h)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window.sdlWindow = SDL_CreateWindow(window.text.c_str(), window.rect.left, window.rect.top, w, h, flags);
    if (!window.sdlWindow) {
        std::fprintf(stderr, "SDL could not create the window \"%s\": %s\n", window.text.c_str(), SDL_GetError());
        return;
    }
    if (painted) {
        window.renderer = SDL_CreateRenderer(window.sdlWindow, -1, SDL_RENDERER_SOFTWARE);
        window.needsPaint = window.renderer != nullptr;
    }
}

void SdlShowWindow(Window& window, bool show) {
    if (!window.sdlWindow) return;
    if (show) {
        SDL_ShowWindow(window.sdlWindow);
        SDL_RaiseWindow(window.sdlWindow);
    } else {
        SDL_HideWindow(window.sdlWindow);
    }
}

void SdlRetireWindow(Window& window) {
    if (window.renderer) SDL_DestroyRenderer(window.renderer);
    window.renderer = nullptr;
    if (window.sdlWindow) {
        SDL_HideWindow(window.sdlWindow);
        Retired().push_back(window.sdlWindow);
    }
    window.sdlWindow = nullptr;
}

void SdlSetText(Window& window) {
    if (window.sdlWindow) SDL_SetWindowTitle(window.sdlWindow, window.text.c_str());
}

void SdlPumpEvents(int waitMs) {
    if (!Active()) return;
    SDL_Event event;
    if (waitMs > 0 && SDL_WaitEventTimeout(&event, waitMs)) Translate(event);
    while (SDL_PollEvent(&event)) Translate(event);
}

bool SdlScreenSize(int* width, int* height) {
    SDL_DisplayMode mode;
    if (!Active() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
    *width = mode.w;
    *height = mode.h;
    return true;
}

bool SdlDisplayMode(DWORD index, Win32DisplayMode* mode) {
    if (!Active()) return false;
    SDL_DisplayMode m;
    if (index == ENUM_CURRENT_SETTINGS) {
        if (SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
    } else if (index >= static_cast<DWORD>(std::max(0, SDL_GetNumDisplayModes(0))) ||
               SDL_GetDisplayMode(0, static_cast<int>(index), &m) != 0) {
        return false;
    }
    *mode = {m.w, m.h, static_cast<int>(SDL_BITSPERPIXEL(m.format)), m.refresh_rate};
    return true;
}

void SdlMessageBox(const char* text, const char* caption, UINT type) {
    if (!Active()) return;
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: flags = SDL_MESSAGEBOX_ERROR; break;
    case MB_ICONEXCLAMATION: flags = SDL_MESSAGEBOX_WARNING; break;
    default: break;
    }
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}

void SdlShowCursor(bool show) {
    if (Active()) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool SdlHasOnscreenWindows() {
    if (!Active()) return false;
    for (auto& [id, window] : GetState().windows)
        if (window->sdlWindow && window->visible) return true;
    return false;
}

}  // namespace win32
