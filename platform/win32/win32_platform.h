// Controls of the Win32 stand-in that Win32 itself does not have: the choice
// of backend (SDL2 windows, or headless with windows as plain objects), the
// fixed-step performance counter, and what the graphics stand-in needs to
// know about a window.
#pragma once

#include "platform/win32/windef.h"

struct SDL_Window;

enum class Win32Backend {
    Sdl,       // real windows, input and message boxes through SDL2
    Headless,  // no window system; message boxes print to stderr and return at once
};

// Picks the backend before the first window exists. Without a call, the
// backend is headless when DEMO_HEADLESS is set in the environment or no
// display can be opened (said once on stderr), else SDL.
void Win32_SetBackend(Win32Backend backend);
Win32Backend Win32_GetBackend();

// The SDL window behind a window handle; null for headless windows.
SDL_Window* Win32_GetSDLWindow(HWND hwnd);
// Client-area size of a window in pixels (for a headless window, its size).
bool Win32_GetClientSize(HWND hwnd, int* width, int* height);

// With fps > 0 the performance counter no longer follows the wall clock: it
// advances by exactly 1/fps seconds each time a frame is presented. 0 restores
// the wall clock.
void Win32_SetFixedStep(int fps);
// Called by the graphics stand-in once per presented frame.
void Win32_FramePresented();

// Test hooks: how many message boxes have been shown, and the last one's text and caption.
int Win32_MessageBoxCount();
const char* Win32_LastMessageBoxText();
const char* Win32_LastMessageBoxCaption();
