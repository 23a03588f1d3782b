#include <cstdlib>

#include "tests/win32/win32_fixture.h"

namespace {

using WindowClasses = Win32Test;
using Clock = Win32Test;
using MessageBoxes = Win32Test;

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

void RepeatBoxAndEnd() {
    for (int i = 0; i < 300; ++i) MessageBoxA(nullptr, "Error loading pixel shader b.cpp", "Pixel Shader error", 0);
    std::exit(0);
}

TEST_F(MessageBoxes, CountOfRepeatsIsPrintedWhenTheProcessEnds) {
    EXPECT_EXIT(RepeatBoxAndEnd(), ::testing::ExitedWithCode(0),
                "^\\[Pixel Shader error\\] Error loading pixel shader b.cpp\n"
                "\\[Pixel Shader error\\] Error loading pixel shader b.cpp \\(repeated 299 times\\)\n$");
}

}  // namespace
