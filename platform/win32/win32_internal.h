// Inside the Win32 stand-in: the window and class records, the one message
// queue, and the seams between the message core, the controls, the painter
// and the SDL backend. Not for use outside platform/win32.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"

struct SDL_Window;
struct SDL_Renderer;

namespace win32 {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
    bool builtIn = false;
};

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;  // mouse held down on it, or Space held
};

struct ComboState {
    std::vector<std::string> items;
    int selection = CB_ERR;
    bool dropped = false;
    int hot = -1;  // item under the mouse while the list is open
    int top = 0;   // first item shown in the open list
};

struct Window {
    uintptr_t id = 0;
    std::string className;  // as registered
    WNDPROC proc = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {};  // screen coordinates; a child's are its parent's client coordinates
    HWND parent = nullptr;
    int controlId = 0;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
    bool visible = false;
    bool offscreen = false;  // a plain object even on the SDL backend
    bool destroying = false;
    std::vector<HWND> children;
    ButtonState button;
    ComboState combo;
    SDL_Window* sdlWindow = nullptr;
    SDL_Renderer* renderer = nullptr;  // painted windows only (class with a background brush)
    bool needsPaint = false;
};

// Keyboard and mouse input from the window system, addressed to a top-level
// window. It is routed to the focused control, the control holding the mouse
// or the one under the pointer only when it is taken from the queue, as on
// Windows, so that what earlier messages did to focus and capture counts.
struct RawInput {
    HWND topLevel = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;  // keys: as for WM_KEYDOWN; mouse: client coordinates of the top-level window
};

struct State {
    std::map<std::string, WindowClass> classes;  // keyed by lower-case name
    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    uintptr_t nextId = 1;
    ATOM nextAtom = 0xC000;
    std::deque<MSG> queue;
    std::deque<RawInput> input;
    bool quitPosted = false;
    int quitCode = 0;
    HWND focus = nullptr;
    HWND capture = nullptr;
    int cursorCount = 0;
    std::set<std::string> offscreenClasses;  // lower-case
    int messageBoxes = 0;
    std::string lastBoxText;
    std::string lastBoxCaption;
    // The message-box lines printed on stderr, in order, with how often each
    // came again since its count was last printed.
    std::vector<std::pair<std::string, long>> printedBoxes;
    // WH_GETMESSAGE hooks, oldest first, each with the handle it was given.
    std::vector<std::pair<HHOOK, HOOKPROC>> messageHooks;
    uintptr_t nextHook = 1;
};

State& GetState();
std::string Lower(const char* text);

Window* Find(HWND hwnd);
HWND HandleOf(const Window& window);
Window* TopLevelOf(Window* window);
bool IsComboClass(const Window& window);
bool IsButtonClass(const Window& window);
// Marks the top-level window holding `window` for repainting (SDL backend).
void Invalidate(Window* window);

// Built-in control classes.
void RegisterBuiltInClasses();
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Combo-box geometry, in the combo's own coordinates.
constexpr int kComboFieldHeight = 21;
constexpr int kComboItemHeight = 16;
// Items the open list shows at once: as many as fit between the field and
// the parent's client bottom, within the height the combo was created with.
int ComboVisibleItems(const Window& combo);
// Child that a point (parent client coordinates) falls on, open lists first.
Window* ChildAt(Window& parent, int x, int y);
// Moves the keyboard focus to the next (or previous) visible child control.
void CycleFocus(Window& topLevel, bool backwards);

// Painting of windows with a background brush and their controls.
void PaintWindow(Window& topLevel, SDL_Renderer* renderer);
// Paints and shows a painted window on screen (SDL backend).
void PaintOnScreen(Window& topLevel);

// The SDL backend. All of these are no-ops on the headless backend.
bool SdlStart();  // starts SDL video once; false where there is no display
void SdlCreateWindow(Window& window);
void SdlShowWindow(Window& window, bool show);
void SdlRetireWindow(Window& window);  // hides it and keeps it until exit
void SdlSetText(Window& window);
// Turns waiting SDL events into messages; with `waitMs` > 0, first waits that
// long for one.
void SdlPumpEvents(int waitMs);
bool SdlScreenSize(int* width, int* height);
bool SdlDisplayMode(DWORD index, Win32DisplayMode* mode);
void SdlMessageBox(const char* text, const char* caption, UINT type);
void SdlShowCursor(bool show);
bool SdlHasOnscreenWindows();

bool Headless();
// Back to the defaults, for Win32_Reset.
void ResetClock();
void ResetDisplayModes();
void PostInternal(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace win32
