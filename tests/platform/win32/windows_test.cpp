// The message queue, window classes, the clock's lead-in and message boxes of
// the headless Win32 stand-in.
#include "tests/platform/win32/win32_fixture.h"

namespace {

using MessageQueue = Win32Test;
using WindowClasses = Win32Test;
using Clock = Win32Test;
using MessageBoxes = Win32Test;

TEST_F(MessageQueue, PostedMessagesComeOutInOrder) {
    HWND hwnd = TopLevel();
    PostMessageA(hwnd, WM_USER + 1, 11, 12);
    PostMessageA(hwnd, WM_USER + 2, 21, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_EQ(msg.lParam, 12);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, QuitComesOutOnlyAfterPostedMessagesWithItsCode) {
    HWND hwnd = TopLevel();
    PostQuitMessage(7);
    PostMessageA(hwnd, WM_USER, 0, 0);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit request is taken once";
    // Headless, GetMessage on an empty queue answers quit instead of waiting.
    msg.message = 0;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(MessageQueue, SendCallsTheProcedureAtOnceAndPostWaitsForDispatch) {
    HWND hwnd = TopLevel();
    Received().clear();
    SendMessageA(hwnd, WM_USER, 1, 2);
    ASSERT_EQ(ReceivedBy(hwnd), std::vector<UINT>{WM_USER});
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(ReceivedBy(hwnd).size(), 1u);
    EXPECT_EQ(Drain(), 1);
    EXPECT_EQ(ReceivedBy(hwnd), (std::vector<UINT>{WM_USER, WM_USER + 1}));
}

TEST_F(WindowClasses, RegisterOnceWhateverTheCaseAndUnregisterOnlyWithoutWindows) {
    EXPECT_NE(Register("SomeClass"), 0);
    EXPECT_EQ(Register("SOMECLASS"), 0);
    HWND hwnd = CreateWindowExA(0, "someclass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(UnregisterClassA("SomeClass", GetModuleHandleA(nullptr)));
    DestroyWindow(hwnd);
    EXPECT_TRUE(UnregisterClassA("SomeClass", GetModuleHandleA(nullptr)));
    EXPECT_FALSE(UnregisterClassA("SomeClass", GetModuleHandleA(nullptr)));
}

TEST_F(Clock, LeadInStepsExactlyThenFollowsTheWallClock) {
    Win32_SetFixedStep(0);
    Win32_SetLeadIn(60, 3);
    LARGE_INTEGER start, counter;
    QueryPerformanceCounter(&start);
    for (int k = 1; k <= 2; ++k) {
        Win32_FramePresented();
        QueryPerformanceCounter(&counter);
        ASSERT_EQ(counter.QuadPart - start.QuadPart, k * 1000000000LL / 60) << k;
    }
    // From the third present on, the wall clock, continuing from 3/60 s: it
    // moves without presents, never back.
    Win32_FramePresented();
    QueryPerformanceCounter(&counter);
    EXPECT_GE(counter.QuadPart - start.QuadPart, 3 * 1000000000LL / 60);
    LARGE_INTEGER later;
    do QueryPerformanceCounter(&later);
    while (later.QuadPart == counter.QuadPart);
    EXPECT_GT(later.QuadPart, counter.QuadPart);
    EXPECT_LT(later.QuadPart - start.QuadPart, 1000000000LL);
    Win32_SetFixedStep(0);
}

TEST_F(MessageBoxes, RepeatedBoxIsPrintedOnceAndCountedUntilANewOneComes) {
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        MessageBoxA(nullptr, "Error loading vertex shader a.cpp", "Vertex Shader error", MB_ICONERROR);
        MessageBoxA(nullptr, "Error loading pixel shader b.cpp", "Pixel Shader error", MB_ICONERROR);
    }
    MessageBoxA(nullptr, "Error creating sprite", "Error!", MB_ICONERROR);
    MessageBoxA(nullptr, "Error loading pixel shader b.cpp", "Pixel Shader error", MB_ICONERROR);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[Vertex Shader error] Error loading vertex shader a.cpp\n"
              "[Pixel Shader error] Error loading pixel shader b.cpp\n"
              "[Vertex Shader error] Error loading vertex shader a.cpp (repeated 2 times)\n"
              "[Pixel Shader error] Error loading pixel shader b.cpp (repeated 2 times)\n"
              "[Error!] Error creating sprite\n");
    EXPECT_EQ(Win32_MessageBoxCount(), 8) << "every box counts";
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading pixel shader b.cpp");
}

}  // namespace
