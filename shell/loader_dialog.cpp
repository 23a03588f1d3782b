// The loader dialog: plain windows, the display's modes in a drop-down list,
// and a message loop of its own that runs until "Run demo!" is pressed.
#include "shell/loader_dialog.h"

#include <cstdio>
#include <cstdlib>

std::map<std::pair<int32_t, int32_t>, ScreenMode> g_screenModes;
LoaderDialog g_loaderDialog;
std::function<void()> g_loaderDialogReady;

namespace {

constexpr char kLoaderClassName[] = "LoaderClass";

HWND CreateControl(const char* className, const char* text, int id, int x, int y, int width, int height, DWORD style,
                   DWORD exStyle) {
    return CreateWindowExA(exStyle, className, text, style, x, y, width, height, g_loaderDialog.window,
                           reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

ScreenMode MakeMode(int32_t width, int32_t height) {
    ScreenMode mode;
    mode.width = width;
    mode.height = height;
    mode.fullscreen = false;
    std::snprintf(mode.label, sizeof mode.label, "%d x %d", width, height);
    return mode;
}

}  // namespace

void AddScreenMode(int32_t width, int32_t height) {
    g_screenModes.emplace(std::make_pair(width, height), MakeMode(width, height));
}

ScreenMode RunLoaderDialog() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    g_loaderDialog.runRequested = false;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = LoaderWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1));
    wc.lpszClassName = kLoaderClassName;
    RegisterClassExA(&wc);

    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 150;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 100;
    g_loaderDialog.window = CreateWindowExA(WS_EX_COMPOSITED, kLoaderClassName, "Loader", WS_CAPTION | WS_SYSMENU, x, y,
                                            300, 200, nullptr, nullptr, instance, nullptr);
    ShowWindow(g_loaderDialog.window, SW_SHOW);
    UpdateWindow(g_loaderDialog.window);

    g_loaderDialog.runButton =
        CreateControl("BUTTON", "Run demo!", kRunButtonId, 10, 125, 100, 30, WS_CHILD | WS_VISIBLE, 0);
    g_loaderDialog.exitButton =
        CreateControl("BUTTON", "Exit", kExitButtonId, 175, 125, 100, 30, WS_CHILD | WS_VISIBLE, 0);
    g_loaderDialog.fullscreenBox = CreateControl("BUTTON", "Fullscreen", kFullscreenBoxId, 100, 80, 100, 30,
                                                 WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, WS_EX_TRANSPARENT);
    g_loaderDialog.modeList = CreateControl("COMBOBOX", nullptr, kModeListId, 30, 50, 240, 200,
                                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0);

    DEVMODEA devmode = {};
    devmode.dmSize = sizeof devmode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &devmode); ++i)
        AddScreenMode(static_cast<int32_t>(devmode.dmPelsWidth), static_cast<int32_t>(devmode.dmPelsHeight));

    for (const auto& [size, mode] : g_screenModes)
        SendMessageA(g_loaderDialog.modeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode.label));
    SendMessageA(g_loaderDialog.modeList, CB_SETCURSEL, 0, 0);

    if (g_loaderDialogReady) g_loaderDialogReady();

    // Should the loop end before anything has been dispatched, the dialog's
    // state as shown (first mode, box clear) is the answer.
    bool boxChecked = IsDlgButtonChecked(g_loaderDialog.window, kFullscreenBoxId) == BST_CHECKED;
    LRESULT selection = SendMessageA(g_loaderDialog.modeList, CB_GETCURSEL, 0, 0);
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        while (!g_loaderDialog.runRequested) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            boxChecked = IsDlgButtonChecked(g_loaderDialog.window, kFullscreenBoxId) == BST_CHECKED;
            selection = SendMessageA(g_loaderDialog.modeList, CB_GETCURSEL, 0, 0);
            if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        }
    }

    ScreenMode result = MakeMode(kFallbackWidth, kFallbackHeight);
    LRESULT position = 0;
    for (const auto& [size, mode] : g_screenModes) {
        if (position++ == selection) {
            result = mode;
            break;
        }
    }
    result.fullscreen = boxChecked;
    UnregisterClassA(kLoaderClassName, instance);
    return result;
}

LRESULT CALLBACK LoaderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_CLOSE: std::exit(0);
    case WM_COMMAND:
        if (LOWORD(wParam) == kRunButtonId) g_loaderDialog.runRequested = true;
        if (LOWORD(wParam) == kExitButtonId) std::exit(0);
        break;
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
