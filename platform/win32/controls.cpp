// The built-in control classes "BUTTON" (push buttons and check boxes) and
// "COMBOBOX" (a drop-down list): their state, the messages that read and
// change it, mouse and keyboard use, and the WM_COMMAND notifications they
// send to their parent.
#include <algorithm>
#include <cstring>

#include "platform/win32/win32_internal.h"

namespace win32 {

namespace {

bool IsCheckBox(const Window& window) {
    DWORD type = window.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void Notify(Window& control, WORD code) {
    SendMessageA(control.parent, WM_COMMAND, MAKEWPARAM(control.controlId, code),
                 reinterpret_cast<LPARAM>(HandleOf(control)));
}

void SetCapture(HWND hwnd) { GetState().capture = hwnd; }
void ReleaseCapture() { GetState().capture = nullptr; }

bool InsideClient(const Window& window, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    return x >= 0 && y >= 0 && x < Width(window.rect) && y < Height(window.rect);
}

// ---- buttons ----------------------------------------------------------------

void Click(HWND hwnd) {
    Window* window = Find(hwnd);
    if (!window) return;
    if ((window->style & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        window->button.check = window->button.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    Invalidate(window);
    Notify(*window, BN_CLICKED);
}

// ---- combo boxes ----------------------------------------------------------------

int ItemCount(const Window& combo) { return static_cast<int>(combo.combo.items.size()); }

void ScrollIntoView(Window& combo, int index) {
    int visible = ComboVisibleItems(combo);
    if (visible <= 0 || index < 0) return;
    ComboState& state = combo.combo;
    if (index < state.top) state.top = index;
    if (index >= state.top + visible) state.top = index - visible + 1;
    state.top = std::clamp(state.top, 0, std::max(0, ItemCount(combo) - visible));
}

void Drop(Window& combo, bool open) {
    ComboState& state = combo.combo;
    if (state.dropped == open) return;
    state.dropped = open;
    Invalidate(&combo);
    HWND hwnd = HandleOf(combo);
    if (open) {
        state.hot = state.selection;
        state.top = 0;
        ScrollIntoView(combo, state.selection);
        SetCapture(hwnd);
        Notify(combo, CBN_DROPDOWN);
    } else {
        if (GetState().capture == hwnd) ReleaseCapture();
        Notify(combo, CBN_CLOSEUP);
    }
}

// Changes the selection as a user does: the parent hears of it.
void Choose(Window& combo, int index) {
    if (index < 0 || index >= ItemCount(combo) || index == combo.combo.selection) return;
    combo.combo.selection = index;
    ScrollIntoView(combo, index);
    Invalidate(&combo);
    Notify(combo, CBN_SELCHANGE);
}

// Item of the open list under a point in the combo's coordinates, or -1.
int ItemAt(const Window& combo, int x, int y) {
    int visible = ComboVisibleItems(combo);
    int listTop = kComboFieldHeight + 1;
    if (x < 0 || x >= Width(combo.rect) || y < listTop || y >= listTop + visible * kComboItemHeight) return -1;
    int index = combo.combo.top + (y - listTop) / kComboItemHeight;
    return index < ItemCount(combo) ? index : -1;
}

int KeyTarget(const Window& combo, int from, WPARAM key) {
    int last = ItemCount(combo) - 1;
    int page = std::max(1, ComboVisibleItems(combo) - 1);
    switch (key) {
    case VK_UP: return from < 0 ? 0 : std::max(0, from - 1);
    case VK_DOWN: return std::min(last, from + 1);
    case VK_HOME: return 0;
    case VK_END: return last;
    case VK_PRIOR: return std::max(0, from - page);
    case VK_NEXT: return std::min(last, std::max(0, from) + page);
    default: return -1;
    }
}

}  // namespace

int ComboVisibleItems(const Window& combo) {
    int count = static_cast<int>(combo.combo.items.size());
    if (count == 0) return 0;
    int room = Height(combo.rect) - kComboFieldHeight - 2;
    if (Window* parent = Find(combo.parent)) {
        RECT client{};
        GetClientRect(HandleOf(*parent), &client);
        room = std::min(room, client.bottom - (combo.rect.top + kComboFieldHeight) - 3);
    }
    return std::clamp(room / kComboItemHeight, 1, count);
}

Window* ChildAt(Window& parent, int x, int y) {
    for (HWND child : parent.children) {
        Window* c = Find(child);
        if (c && c->visible && IsComboClass(*c) && c->combo.dropped) {
            int listBottom = kComboFieldHeight + 2 + ComboVisibleItems(*c) * kComboItemHeight;
            if (x >= c->rect.left && x < c->rect.right && y >= c->rect.top && y < c->rect.top + listBottom) return c;
        }
    }
    for (HWND child : parent.children) {
        Window* c = Find(child);
        if (!c || !c->visible) continue;
        int bottom = IsComboClass(*c) ? c->rect.top + kComboFieldHeight : c->rect.bottom;
        if (x >= c->rect.left && x < c->rect.right && y >= c->rect.top && y < bottom) return c;
    }
    return nullptr;
}

void CycleFocus(Window& topLevel, bool backwards) {
    std::vector<HWND> order;
    for (HWND child : topLevel.children)
        if (Window* c = Find(child); c && c->visible) order.push_back(child);
    if (order.empty()) return;
    auto it = std::find(order.begin(), order.end(), GetFocus());
    size_t n = order.size();
    size_t next;
    if (it == order.end())
        next = backwards ? n - 1 : 0;
    else
        next = (static_cast<size_t>(it - order.begin()) + (backwards ? n - 1 : 1)) % n;
    SetFocus(order[next]);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(hwnd);
    if (!window) return 0;
    ButtonState& state = window->button;
    switch (message) {
    case BM_GETCHECK: return IsCheckBox(*window) ? state.check : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheckBox(*window)) {
            state.check = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
            Invalidate(window);
        }
        return 0;
    case BM_GETSTATE:
        return (IsCheckBox(*window) ? state.check : 0) | (state.pushed ? BST_PUSHED : 0) |
               (GetFocus() == hwnd ? BST_FOCUS : 0);
    case BM_CLICK: Click(hwnd); return 0;
    case WM_LBUTTONDOWN:
        state.pushed = true;
        SetCapture(hwnd);
        SetFocus(hwnd);
        Invalidate(window);
        return 0;
    case WM_MOUSEMOVE:
        if (GetState().capture == hwnd && state.pushed != InsideClient(*window, lParam)) {
            state.pushed = !state.pushed;
            Invalidate(window);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetState().capture != hwnd) return 0;
        ReleaseCapture();
        state.pushed = false;
        Invalidate(window);
        if (InsideClient(*window, lParam)) Click(hwnd);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            state.pushed = true;
            Invalidate(window);
            return 0;
        }
        if (wParam == VK_RETURN) {
            Click(hwnd);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state.pushed) {
            state.pushed = false;
            Click(hwnd);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        state.pushed = false;
        Invalidate(window);
        return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = Find(hwnd);
    if (!window) return 0;
    ComboState& state = window->combo;
    int count = ItemCount(*window);
    switch (message) {
    case CB_ADDSTRING:
        if (!lParam) return CB_ERR;
        state.items.emplace_back(reinterpret_cast<const char*>(lParam));
        Invalidate(window);
        return count;
    case CB_GETCOUNT: return count;
    case CB_GETCURSEL: return state.selection;
    case CB_SETCURSEL: {
        auto index = static_cast<intptr_t>(wParam);
        Invalidate(window);
        if (index < 0 || index >= count) {
            state.selection = CB_ERR;
            return CB_ERR;
        }
        state.selection = static_cast<int>(index);
        ScrollIntoView(*window, state.selection);
        return index;
    }
    case CB_GETLBTEXTLEN: {
        auto index = static_cast<intptr_t>(wParam);
        return index < 0 || index >= count ? CB_ERR : static_cast<LRESULT>(state.items[index].size());
    }
    case CB_GETLBTEXT: {
        auto index = static_cast<intptr_t>(wParam);
        if (index < 0 || index >= count || !lParam) return CB_ERR;
        const std::string& item = state.items[index];
        std::memcpy(reinterpret_cast<char*>(lParam), item.c_str(), item.size() + 1);
        return static_cast<LRESULT>(item.size());
    }
    case CB_RESETCONTENT:
        state.items.clear();
        state.selection = CB_ERR;
        state.top = 0;
        Invalidate(window);
        return CB_OKAY;
    case CB_SHOWDROPDOWN: Drop(*window, wParam != 0); return TRUE;
    case CB_GETDROPPEDSTATE: return state.dropped ? TRUE : FALSE;
    case WM_LBUTTONDOWN: {
        int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        if (!state.dropped) {
            SetFocus(hwnd);
            if (InsideClient(*window, lParam) && y < kComboFieldHeight) Drop(*window, true);
            return 0;
        }
        int item = ItemAt(*window, x, y);
        if (item >= 0) Choose(*window, item);
        if ((window = Find(hwnd)) != nullptr) Drop(*window, false);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (state.dropped) {
            int item = ItemAt(*window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (item >= 0 && item != state.hot) {
                state.hot = item;
                Invalidate(window);
            }
        }
        return 0;
    case WM_MOUSEWHEEL: {
        int steps = -GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (steps == 0) return 0;
        if (state.dropped) {
            int visible = ComboVisibleItems(*window);
            state.top = std::clamp(state.top + steps, 0, std::max(0, count - visible));
            Invalidate(window);
        } else if (count > 0) {
            Choose(*window, std::clamp(state.selection + steps, 0, count - 1));
        }
        return 0;
    }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_F4: Drop(*window, !state.dropped); return 0;
        case VK_RETURN:
        case VK_SPACE:
            if (!state.dropped) {
                Drop(*window, true);
                return 0;
            }
            if (state.hot >= 0) Choose(*window, state.hot);
            if ((window = Find(hwnd)) != nullptr) Drop(*window, false);
            return 0;
        case VK_ESCAPE:
            if (state.dropped) Drop(*window, false);
            return 0;
        case VK_TAB:
            if (state.dropped) Drop(*window, false);
            break;
        default: {
            if (count == 0) return 0;
            int target = KeyTarget(*window, state.dropped ? state.hot : state.selection, wParam);
            if (target < 0) break;
            if (state.dropped) {
                state.hot = target;
                ScrollIntoView(*window, target);
                Invalidate(window);
            } else {
                Choose(*window, target);
            }
            return 0;
        }
        }
        break;
    case WM_KILLFOCUS:
        if (state.dropped) Drop(*window, false);
        Invalidate(window);
        return 0;
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterBuiltInClasses() {
    State& state = GetState();
    if (state.classes.count("button")) return;
    WindowClass button;
    button.name = "Button";
    button.proc = ButtonProc;
    button.builtIn = true;
    state.classes["button"] = button;
    WindowClass combo;
    combo.name = "ComboBox";
    combo.proc = ComboProc;
    combo.builtIn = true;
    state.classes["combobox"] = combo;
}

}  // namespace win32
