// Window classes and windows: registration, creation and destruction, their
// rectangles, texts and styles, dialog-item look-ups and the keyboard focus.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/win32/win32_internal.h"

namespace win32 {

State& GetState() {
    static State state;
    return state;
}

std::string Lower(const char* text) {
    std::string result = text ? text : "";
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

Window* Find(HWND hwnd) {
    if (!hwnd) return nullptr;
    State& state = GetState();
    auto it = state.windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == state.windows.end() ? nullptr : it->second.get();
}

HWND HandleOf(const Window& window) { return reinterpret_cast<HWND>(window.id); }

Window* TopLevelOf(Window* window) {
    while (window && window->parent) window = Find(window->parent);
    return window;
}

bool IsComboClass(const Window& window) { return Lower(window.className.c_str()) == "combobox"; }
bool IsButtonClass(const Window& window) { return Lower(window.className.c_str()) == "button"; }

void Invalidate(Window* window) {
    Window* top = TopLevelOf(window);
    if (top && top->renderer) top->needsPaint = true;
}

namespace {

WindowClass* FindClass(LPCSTR name) {
    State& state = GetState();
    auto it = state.classes.find(Lower(name));
    return it == state.classes.end() ? nullptr : &it->second;
}

void Forget(Window& window) {
    State& state = GetState();
    HWND hwnd = HandleOf(window);
    if (state.focus == hwnd) state.focus = nullptr;
    if (state.capture == hwnd) state.capture = nullptr;
    SdlRetireWindow(window);
    if (Window* parent = Find(window.parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    }
    state.windows.erase(window.id);
}

}  // namespace

}  // namespace win32

using namespace win32;

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    // The program's own module: any fixed, non-null value serves as its handle.
    static char module;
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&module);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    RegisterBuiltInClasses();
    State& state = GetState();
    std::string key = Lower(wc->lpszClassName);
    if (key.empty() || state.classes.count(key)) return 0;
    WindowClass& cls = state.classes[key];
    cls.name = wc->lpszClassName;
    cls.style = wc->style;
    cls.proc = wc->lpfnWndProc;
    cls.instance = wc->hInstance;
    cls.background = wc->hbrBackground;
    return state.nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE /*instance*/) {
    State& state = GetState();
    auto it = state.classes.find(Lower(className));
    if (it == state.classes.end() || it->second.builtIn) return FALSE;
    // As on Windows, a class cannot go while windows of it exist.
    for (auto& [id, window] : state.windows)
        if (Lower(window->className.c_str()) == it->first) return FALSE;
    state.classes.erase(it);
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    RegisterBuiltInClasses();
    WindowClass* cls = FindClass(className);
    if (!cls) return nullptr;
    Window* parentWindow = Find(parent);
    if ((style & WS_CHILD) && !parentWindow) return nullptr;
    if (parent && !parentWindow) return nullptr;

    State& state = GetState();
    auto owned = std::make_unique<Window>();
    Window& window = *owned;
    window.id = state.nextId++ << 4;
    window.className = cls->name;
    window.proc = cls->proc;
    window.text = windowName ? windowName : "";
    window.style = style;
    window.exStyle = exStyle;
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    window.rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window.parent = (style & WS_CHILD) ? parent : nullptr;
    window.controlId = (style & WS_CHILD) ? static_cast<int>(reinterpret_cast<uintptr_t>(menu)) : 0;
    window.instance = instance;
    window.background = cls->background;
    window.offscreen = state.offscreenClasses.count(Lower(className)) > 0;
    HWND hwnd = HandleOf(window);
    state.windows[window.id] = std::move(owned);
    if (parentWindow && (style & WS_CHILD)) parentWindow->children.push_back(hwnd);

    if (!window.parent) SdlCreateWindow(window);

    CREATESTRUCTA create = {param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                            windowName, className, exStyle};
    if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    Window* window = Find(hwnd);
    if (!window || window->destroying) return FALSE;
    window->destroying = true;
    SdlShowWindow(*window, false);
    window->visible = false;
    // The window hears of it first, then its children, as on Windows.
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    if ((window = Find(hwnd)) == nullptr) return TRUE;
    std::vector<HWND> children = window->children;
    for (HWND child : children) DestroyWindow(child);
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    if ((window = Find(hwnd)) != nullptr) Forget(*window);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return Find(hwnd) ? TRUE : FALSE; }

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    Window* window = Find(hwnd);
    if (!window) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    bool show = command != SW_HIDE;
    window->visible = show;
    if (show)
        window->style |= WS_VISIBLE;
    else
        window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (!window->parent) SdlShowWindow(*window, show);
    Invalidate(window);
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    Window* window = Find(hwnd);
    if (!window) return FALSE;
    if (!window->parent && window->renderer && window->visible && window->needsPaint) {
        window->needsPaint = false;
        SendMessageA(hwnd, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    for (Window* window = Find(hwnd); window; window = Find(window->parent)) {
        if (!window->visible) return FALSE;
        if (!window->parent) return TRUE;
    }
    return FALSE;
}

BOOL WINAPI GetClientRect(HWND hwnd, RECT* rect) {
    Window* window = Find(hwnd);
    if (!window || !rect) return FALSE;
    *rect = {0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hwnd, RECT* rect) {
    Window* window = Find(hwnd);
    if (!window || !rect) return FALSE;
    *rect = window->rect;
    return TRUE;
}

namespace {

int CopyText(const std::string& text, LPSTR out, int maxCount) {
    if (!out || maxCount <= 0) return 0;
    int n = std::min(static_cast<int>(text.size()), maxCount - 1);
    std::memcpy(out, text.data(), static_cast<size_t>(n));
    out[n] = '\0';
    return n;
}

}  // namespace

int WINAPI GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
    Window* window = Find(hwnd);
    if (!window) {
        if (text && maxCount > 0) text[0] = '\0';
        return 0;
    }
    return CopyText(window->text, text, maxCount);
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text) {
    Window* window = Find(hwnd);
    if (!window) return FALSE;
    window->text = text ? text : "";
    if (!window->parent) SdlSetText(*window);
    Invalidate(window);
    return TRUE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR name, int maxCount) {
    Window* window = Find(hwnd);
    return window ? CopyText(window->className, name, maxCount) : 0;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index) {
    Window* window = Find(hwnd);
    if (!window) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWL_ID: return window->controlId;
    default: return 0;
    }
}

HWND WINAPI GetParent(HWND hwnd) {
    Window* window = Find(hwnd);
    return window ? window->parent : nullptr;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window* window = Find(dialog);
    if (!window) return nullptr;
    for (HWND child : window->children)
        if (Window* c = Find(child); c && c->controlId == id) return child;
    return nullptr;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

HWND WINAPI SetFocus(HWND hwnd) {
    State& state = GetState();
    HWND previous = state.focus;
    if (hwnd && !Find(hwnd)) return nullptr;
    if (previous == hwnd) return previous;
    state.focus = hwnd;
    if (Find(previous)) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    Invalidate(Find(previous));
    Invalidate(Find(hwnd));
    return previous;
}

HWND WINAPI GetFocus() { return GetState().focus; }

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
    // Stock resources only: the handle is the resource number itself.
    return name ? reinterpret_cast<HICON>(const_cast<char*>(name)) : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
    return name ? reinterpret_cast<HCURSOR>(const_cast<char*>(name)) : nullptr;
}

int WINAPI ShowCursor(BOOL show) {
    State& state = GetState();
    state.cursorCount += show ? 1 : -1;
    SdlShowCursor(state.cursorCount >= 0);
    return state.cursorCount;
}

void Win32_SetClassOffscreen(const char* className, bool offscreen) {
    if (!className) return;
    if (offscreen)
        GetState().offscreenClasses.insert(Lower(className));
    else
        GetState().offscreenClasses.erase(Lower(className));
}

bool Win32_GetClientSize(HWND hwnd, int* width, int* height) {
    RECT rect;
    if (!GetClientRect(hwnd, &rect)) return false;
    if (width) *width = rect.right;
    if (height) *height = rect.bottom;
    return true;
}

SDL_Window* Win32_GetSDLWindow(HWND hwnd) {
    Window* window = Find(hwnd);
    return window ? window->sdlWindow : nullptr;
}
