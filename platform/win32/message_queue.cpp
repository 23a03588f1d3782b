// The message queue: posting, sending, taking messages out in Windows'
// order (posted messages, then input, then WM_QUIT once the quit flag is set, then
// WM_PAINT for windows waiting to be painted), dispatching, and the default
// window procedure.
#include <chrono>

#include "platform/win32/win32_internal.h"

namespace win32 {

namespace {

DWORD TickMilliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

// True when `hwnd` is `filter` or one of its descendants.
bool UnderWindow(HWND hwnd, HWND filter) {
    for (Window* window = Find(hwnd); window; window = Find(window->parent))
        if (HandleOf(*window) == filter) return true;
    return false;
}

bool TakePosted(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    auto& queue = GetState().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (hwnd && !UnderWindow(it->hwnd, hwnd)) continue;
        if (!InRange(it->message, filterMin, filterMax)) continue;
        *msg = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

// Where a piece of input goes: keys to the focused control of its window (or
// the window), mouse messages to the control holding the mouse, else to the
// control under the pointer, in that control's coordinates.
bool Route(const RawInput& raw, MSG* msg) {
    Window* top = Find(raw.topLevel);
    if (!top) return false;
    Window* target = top;
    LPARAM lParam = raw.lParam;
    if (raw.message == WM_KEYDOWN || raw.message == WM_KEYUP) {
        if (Window* focus = Find(GetFocus()); focus && TopLevelOf(focus) == top) target = focus;
    } else {
        int x = GET_X_LPARAM(raw.lParam), y = GET_Y_LPARAM(raw.lParam);
        if (Window* captured = Find(GetState().capture); captured && TopLevelOf(captured) == top)
            target = captured;
        else if (Window* child = ChildAt(*top, x, y))
            target = child;
        if (target != top) lParam = MAKELPARAM(x - target->rect.left, y - target->rect.top);
    }
    *msg = {HandleOf(*target), raw.message, raw.wParam, lParam, TickMilliseconds(), {0, 0}};
    return true;
}

bool TakeInput(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    auto& input = GetState().input;
    while (!input.empty()) {
        if (!Route(input.front(), msg)) {
            input.pop_front();  // its window is gone
            continue;
        }
        if ((hwnd && !UnderWindow(msg->hwnd, hwnd)) || !InRange(msg->message, filterMin, filterMax)) return false;
        if (remove) input.pop_front();
        return true;
    }
    return false;
}

bool TakeQuit(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    State& state = GetState();
    if (!state.quitPosted || hwnd || !InRange(WM_QUIT, filterMin, filterMax)) return false;
    *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0, TickMilliseconds(), {0, 0}};
    if (remove) state.quitPosted = false;
    return true;
}

bool TakePaint(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, bool remove) {
    if (!InRange(WM_PAINT, filterMin, filterMax)) return false;
    for (auto& [id, window] : GetState().windows) {
        if (!window->needsPaint || !window->visible || window->parent) continue;
        if (hwnd && HandleOf(*window) != hwnd) continue;
        *msg = {HandleOf(*window), WM_PAINT, 0, 0, TickMilliseconds(), {0, 0}};
        if (remove) window->needsPaint = false;
        return true;
    }
    return false;
}

WPARAM CharOfKey(WPARAM key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return key;
    switch (key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE: return key;
    default: return 0;
    }
}

}  // namespace

void PostInternal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    GetState().queue.push_back({hwnd, message, wParam, lParam, TickMilliseconds(), {0, 0}});
}

}  // namespace win32

using namespace win32;

BOOL WINAPI PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    if (!msg) return FALSE;
    if (hwnd && !Find(hwnd)) return FALSE;
    SdlPumpEvents(0);
    bool remove = (removeMsg & PM_REMOVE) != 0;
    if (!TakePosted(msg, hwnd, filterMin, filterMax, remove) && !TakeInput(msg, hwnd, filterMin, filterMax, remove) &&
        !TakeQuit(msg, hwnd, filterMin, filterMax, remove) && !TakePaint(msg, hwnd, filterMin, filterMax, remove))
        return FALSE;
    const auto& hooks = GetState().messageHooks;
    if (!hooks.empty()) hooks.back().second(HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(msg));
    return TRUE;
}

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
    if (idHook != WH_GETMESSAGE || !proc) return nullptr;
    State& state = GetState();
    HHOOK hook = reinterpret_cast<HHOOK>(state.nextHook++);
    state.messageHooks.emplace_back(hook, proc);
    return hook;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) {
    auto& hooks = GetState().messageHooks;
    for (auto it = hooks.begin(); it != hooks.end(); ++it) {
        if (it->first != hook) continue;
        hooks.erase(it);
        return TRUE;
    }
    return FALSE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    const auto& hooks = GetState().messageHooks;
    for (size_t i = hooks.size(); i-- > 1;)
        if (hooks[i].first == hook) return hooks[i - 1].second(code, wParam, lParam);
    return 0;
}

void Win32_KeepResponsive() { SdlPumpEvents(0); }

BOOL WINAPI GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg || (hwnd && !Find(hwnd))) return -1;
    for (;;) {
        if (PeekMessageA(msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message == WM_QUIT ? FALSE : TRUE;
        if (Headless() || !SdlHasOnscreenWindows()) {
            // Nothing can ever arrive: answer as though the program had been asked to quit.
            *msg = {nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
            return FALSE;
        }
        SdlPumpEvents(100);
    }
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg || msg->message != WM_KEYDOWN) return FALSE;
    WPARAM character = CharOfKey(msg->wParam);
    if (!character) return FALSE;
    if (character >= 'A' && character <= 'Z') character += 'a' - 'A';
    PostInternal(msg->hwnd, WM_CHAR, character, msg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    Window* window = Find(msg->hwnd);
    if (!window || !window->proc) return 0;
    return window->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(hwnd);
    if (!window || !window->proc) return 0;
    return window->proc(hwnd, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !Find(hwnd)) return FALSE;
    PostInternal(hwnd, message, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    State& state = GetState();
    state.quitPosted = true;
    state.quitCode = exitCode;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    Window* window = Find(hwnd);
    if (!window) return 0;
    switch (message) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT:
        if (!window->parent && window->renderer) PaintOnScreen(*window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            Window* top = TopLevelOf(window);
            if (top && !top->children.empty()) CycleFocus(*top, false);
        }
        return 0;
    default: return 0;
    }
}
