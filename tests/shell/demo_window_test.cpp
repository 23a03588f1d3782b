#include "tests/shell/shell_fixture.h"

namespace {

using DemoWindow = ShellTest;
using MessagePump = ShellTest;

std::string Text(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

TEST_F(DemoWindow, WindowedSitsAt100x100WithTheModeAsOuterSize) {
    ASSERT_TRUE(CreateDemoWindow(800, 600, false));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(g_system.hwnd, &rect));
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 900);
    EXPECT_EQ(rect.bottom, 700);
    EXPECT_EQ(Text(g_system.hwnd), "Tavo ost quillet");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_system.hwnd, GWL_STYLE)), 0x16CF0000u);
    EXPECT_TRUE(IsWindowVisible(g_system.hwnd));
    EXPECT_FALSE(g_system.fullscreen);
    EXPECT_EQ(ShowCursor(TRUE), 0) << "the cursor hidden: one hide to undo";
    HWND first = g_system.hwnd;
    EXPECT_FALSE(CreateDemoWindow(640, 480, false)) << "KelClass is taken";
    EXPECT_EQ(g_system.hwnd, first);
}

TEST_F(DemoWindow, FullScreenCoversTheDesktopAtTheOriginAndKeepsTheChosenMode) {
    ASSERT_TRUE(CreateDemoWindow(1024, 768, true));
    RECT rect;
    GetWindowRect(g_system.hwnd, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(Text(g_system.hwnd), "VAVA");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_system.hwnd, GWL_STYLE)) & ~static_cast<DWORD>(WS_VISIBLE),
              0x80000008u);
    EXPECT_TRUE(IsWindowVisible(g_system.hwnd));
    EXPECT_EQ(g_system.width, 1024) << "the chosen mode, not the desktop's";
    EXPECT_TRUE(g_system.fullscreen);
}

TEST_F(MessagePump, EscapeReleasedEndsThePumpInTheSameCallPostedOrSent) {
    ASSERT_TRUE(CreateDemoWindow(640, 480, false));
    PostMessageA(g_system.hwnd, WM_KEYUP, VK_SPACE, 0);
    PostMessageA(g_system.hwnd, WM_KEYUP, 'Q', 0);
    PostMessageA(g_system.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpMessages()) << "other keys released, and Escape pressed alone, do nothing";
    PostMessageA(g_system.hwnd, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_FALSE(PumpMessages());
    EXPECT_TRUE(IsWindow(g_system.hwnd));
    SendMessageA(g_system.hwnd, WM_KEYUP, VK_ESCAPE, 0);  // sent straight to the window procedure
    EXPECT_FALSE(PumpMessages());
}

TEST_F(MessagePump, ClosingOrDestroyingTheDemoWindowEndsThePump) {
    ASSERT_TRUE(CreateDemoWindow(640, 480, false));
    PostMessageA(g_system.hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(PumpMessages());
    EXPECT_FALSE(IsWindow(g_system.hwnd));
    EXPECT_TRUE(PumpMessages()) << "the quit message was taken once";
    Clean();  // a fresh stand-in: the window class can be registered again
    ASSERT_TRUE(CreateDemoWindow(640, 480, false));
    DestroyWindow(g_system.hwnd);  // WM_DESTROY is sent to the window procedure
    EXPECT_FALSE(PumpMessages());
}

TEST_F(MessagePump, DrainsTheQueueAndDispatchesOtherWindowsMessages) {
    ASSERT_TRUE(CreateDemoWindow(640, 480, false));
    HWND other = CreateWindowExA(0, "BUTTON", "x", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, g_system.hwnd,
                                 reinterpret_cast<HMENU>(7), nullptr, nullptr);
    PostMessageA(other, BM_CLICK, 0, 0);
    PostMessageA(g_system.hwnd, WM_USER, 0, 0);
    PostMessageA(g_system.hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(PumpMessages());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED) << "dispatched to the control";
}

}  // namespace
