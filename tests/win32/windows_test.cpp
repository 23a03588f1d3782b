#include <cstdlib>
#include <cstring>

#include "tests/win32/win32_fixture.h"

namespace {

using WindowClasses = Win32Test;
using Windows = Win32Test;
using Display = Win32Test;
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
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc - 4;  // a structure of the wrong size
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "Short";
    EXPECT_EQ(RegisterClassExA(&wc), 0);
}

TEST_F(Windows, KeepPlacementTextStyleAndHearCreate) {
    Register("Placed");
    HWND hwnd = CreateWindowExA(WS_EX_COMPOSITED, "Placed", "Caption", WS_CAPTION | WS_SYSMENU, 100, 120, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector<LONG>({100, 120, 740, 600}));
    char text[32];
    EXPECT_EQ(GetWindowTextA(hwnd, text, sizeof text), 7);
    EXPECT_STREQ(text, "Caption");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(ReceivedBy(hwnd).front(), static_cast<UINT>(WM_CREATE));
}

TEST_F(Windows, DialogItemsAreFoundByTheirIdAndNeedAParent) {
    HWND dialog = TopLevel();
    HWND a = Control(dialog, "BUTTON", "A", 7, 0, 0, 0, 10, 10);
    HWND b = Control(dialog, "button", "B", 9, 0, 0, 0, 10, 10);
    EXPECT_EQ(GetDlgItem(dialog, 7), a);
    EXPECT_EQ(GetDlgItem(dialog, 9), b);
    EXPECT_EQ(GetDlgItem(dialog, 8), nullptr);
    EXPECT_EQ(GetParent(b), dialog);
    // An unknown class, or a child without a parent, gives no window.
    EXPECT_EQ(CreateWindowExA(0, "Nobody", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Display, HeadlessModesRepeatSizesAtSeveralDepthsAndRefreshRates) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    int modes1024 = 0;
    std::vector<std::pair<int, int>> sizes;
    DWORD i = 0;
    for (; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
        EXPECT_EQ(mode.dmSize, sizeof mode);
        if (mode.dmPelsWidth == 1024 && mode.dmPelsHeight == 768) ++modes1024;
        sizes.emplace_back(mode.dmPelsWidth, mode.dmPelsHeight);
    }
    EXPECT_GT(i, 20u);
    EXPECT_GE(modes1024, 4) << "16 and 32 bits at two rates";
    auto at = [&](std::pair<int, int> size) { return std::find(sizes.begin(), sizes.end(), size) - sizes.begin(); };
    EXPECT_LT(at({1280, 1024}), at({1280, 720})) << "enumerated in a driver's order, not sorted";
}

TEST_F(Display, ModesCanBeReplacedCurrentSettingsMatchTheScreenAndBadRequestsFail) {
    Win32DisplayMode modes[] = {{800, 600, 32, 60}, {1024, 768, 16, 75}};
    Win32_SetHeadlessDisplayModes(modes, 2);
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 1, &mode));
    EXPECT_EQ(mode.dmBitsPerPel, 16u);
    EXPECT_EQ(mode.dmDisplayFrequency, 75u);
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 2, &mode));
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(static_cast<int>(mode.dmPelsWidth), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY9", 0, &mode)) << "another device";
    mode.dmSize = 0;
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, &mode)) << "dmSize not set";
}

TEST_F(Clock, WallClockCountsNanosecondsAndNeverGoesBack) {
    Win32_SetFixedStep(0);
    LARGE_INTEGER frequency, a, b;
    QueryPerformanceFrequency(&frequency);
    EXPECT_EQ(frequency.QuadPart, 1000000000);
    QueryPerformanceCounter(&a);
    Win32_FramePresented();
    QueryPerformanceCounter(&b);
    EXPECT_GE(b.QuadPart, a.QuadPart);
    EXPECT_GT(a.QuadPart, 1000) << "not the frame count";
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
