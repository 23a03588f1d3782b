// Controls of the Win32 stand-in that Win32 itself does not have: the choice
// of backend (SDL2 windows, or headless with windows as plain objects), the
// fixed-step performance counter, and what the graphics stand-in needs to
// know about a window.
#pragma once

#include <cstdint>
#include <vector>

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
// On the wall clock (frequency 10^9), a fixed-step lead-in: for the next
// `frames` presented frames the counter stands still between presents and
// advances by 1/fps s at each (frame k after the call reads k / fps s past
// it), then it follows the wall clock on from there. For starting a real-time
// run partway: the frames before run quickly on exact steps. Cleared by
// Win32_SetFixedStep.
void Win32_SetLeadIn(int fps, LONGLONG frames);
// Called by the graphics stand-in once per presented frame.
void Win32_FramePresented();
// Takes the display's pending events into the message queue, dispatching
// none, so that the windows keep answering the desktop through long work
// outside the message loop; the messages wait for the next PeekMessage.
void Win32_KeepResponsive();

// Test hooks: how many message boxes have been shown, and the last one's text and caption.
int Win32_MessageBoxCount();
const char* Win32_LastMessageBoxText();
const char* Win32_LastMessageBoxCaption();

// ---- additions ---------------------------------------------------------------

// Forgets every window, class, queued message and quit request without
// sending any message, and restores the defaults (cursor shown, wall clock,
// default display modes, message-box counters at zero). For tests.
void Win32_Reset();

// One display mode, as EnumDisplaySettingsA reports it.
struct Win32DisplayMode {
    int width;
    int height;
    int bitsPerPel;
    int frequency;
};
// The modes the headless display reports, in enumeration order; a null list
// restores the default (common modes from 640 x 480 to 1920 x 1080, each at
// several colour depths and refresh rates, in a driver's order rather than
// sorted). The headless desktop is 1920 x 1080.
void Win32_SetHeadlessDisplayModes(const Win32DisplayMode* modes, int count);

// Windows of this class are plain objects even on the SDL backend: never on
// screen, no input; messages posted to them still work. For a dialog that a
// program answers by itself.
void Win32_SetClassOffscreen(const char* className, bool offscreen);

// Paints a top-level window as it appears (background and child controls)
// and returns the picture, RGBA8, top row first. Works on both backends: the
// painting does not need a display.
bool Win32_CaptureWindow(HWND hwnd, std::vector<uint8_t>* rgba, int* width, int* height);

// The SDL window behind a destroyed window is hidden, not destroyed, until
// the process ends, so that a device made for it can still be released.
// OpenGL windows (those whose class has no background brush) are created with
// SDL_WINDOW_OPENGL after asking for an RGB8, 24-bit depth, 8-bit stencil,
// double-buffered OpenGL 3.3 core visual.
