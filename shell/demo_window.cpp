// The demo window: its class, its placement (a desktop-sized pop-up in full
// screen, an overlapped window at (100, 100) otherwise) and its procedure.
#include "shell/system.h"

Mirel::System g_system;

namespace {

constexpr char kDemoClassName[] = "KelClass";
constexpr DWORD kFullscreenStyle = 0x80000008;  // WS_POPUP and bit 3
constexpr DWORD kWindowedStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

bool EndsDemo(UINT message, WPARAM wParam) {
    return message == WM_DESTROY || message == WM_CLOSE || (message == WM_KEYUP && wParam == VK_ESCAPE);
}

}  // namespace

bool CreateDemoWindow(int width, int height, bool fullscreen) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DemoWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kDemoClassName;
    if (!RegisterClassExA(&wc)) return false;
    g_system.instance = wc.hInstance;

    HWND hwnd;
    if (fullscreen)
        hwnd = CreateWindowExA(0, kDemoClassName, "VAVA", kFullscreenStyle, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                               GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, g_system.instance, nullptr);
    else
        hwnd = CreateWindowExA(0, kDemoClassName, "Tavo ost quillet", kWindowedStyle, 100, 100, width, height, nullptr,
                               nullptr, g_system.instance, nullptr);
    g_system.hwnd = hwnd;
    ShowCursor(FALSE);
    if (!hwnd) return false;

    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    g_system.width = width;
    g_system.height = height;
    g_system.fullscreen = fullscreen;
    return true;
}

LRESULT CALLBACK DemoWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (EndsDemo(message, wParam)) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool PumpMessages() {
    bool quit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        if (msg.hwnd == g_system.hwnd) {
            // The demo window's own messages skip its procedure.
            if (EndsDemo(msg.message, msg.wParam)) PostQuitMessage(0);
            DefWindowProcA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        } else {
            DispatchMessageA(&msg);
        }
        if (msg.message == WM_QUIT) quit = true;
    }
    return !quit;
}
