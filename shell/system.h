// The demo window object and its message pump.
#pragma once

#include "platform/win32/windows.h"

namespace Mirel {

class System {
public:
    virtual ~System() = default;

    HWND hwnd = nullptr;
    HINSTANCE instance = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    bool fullscreen = false;
};

}  // namespace Mirel

extern Mirel::System g_system;

bool CreateDemoWindow(int width, int height, bool fullscreen);
bool PumpMessages();
LRESULT CALLBACK DemoWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
