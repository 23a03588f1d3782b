// The start-up dialog: a resolution list, a full-screen check box, "Run demo!" and "Exit".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/win32/windows.h"

struct ScreenMode {
    int32_t width = 0;
    int32_t height = 0;
    bool fullscreen = false;
    char label[103] = {};
};

// Keyed by (width, height): ordered by width, then height; the first insert of a key wins.
extern std::map<std::pair<int32_t, int32_t>, ScreenMode> g_screenModes;

// Control ids of the dialog.
constexpr int kRunButtonId = 501;
constexpr int kExitButtonId = 502;
constexpr int kFullscreenBoxId = 503;
constexpr int kModeListId = 504;

// The dialog's process-wide state: its window, its four controls, and
// whether "Run demo!" has been pressed.
struct LoaderDialog {
    HWND window = nullptr;
    HWND runButton = nullptr;
    HWND exitButton = nullptr;
    HWND fullscreenBox = nullptr;
    HWND modeList = nullptr;
    bool runRequested = false;
};
extern LoaderDialog g_loaderDialog;

// Called once the dialog is shown and its list filled, just before its
// message loop starts: a program that answers the dialog by itself posts the
// messages a user would cause from here. Empty by default.
extern std::function<void()> g_loaderDialogReady;

// Used when no mode is selected or the display lists none.
constexpr int32_t kFallbackWidth = 640;
constexpr int32_t kFallbackHeight = 480;

// Inserts a mode into g_screenModes (no change if its size is already there).
void AddScreenMode(int32_t width, int32_t height);

ScreenMode RunLoaderDialog();
LRESULT CALLBACK LoaderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
