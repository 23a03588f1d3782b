// The start-up dialog: a resolution list, a full-screen check box, "Run demo!" and "Exit".
#pragma once

#include <cstdint>
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

ScreenMode RunLoaderDialog();
LRESULT CALLBACK LoaderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
