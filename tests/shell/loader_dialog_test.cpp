#include <string>
#include <vector>

#include "tests/shell/shell_fixture.h"

namespace {

using LoaderDialogTest = ShellTest;

std::vector<std::string> ListLabels() {
    std::vector<std::string> labels;
    LRESULT count = SendMessageA(g_loaderDialog.modeList, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[128] = {};
        SendMessageA(g_loaderDialog.modeList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        labels.push_back(text);
    }
    return labels;
}

// What a user's click on "Run demo!" leaves in the queue: the click, then more messages.
void PressRun() {
    PostMessageA(g_loaderDialog.runButton, BM_CLICK, 0, 0);
    PostMessageA(g_loaderDialog.window, WM_NULL, 0, 0);
}

TEST_F(LoaderDialogTest, ModesAreListedOnceEachByWidthThenHeight) {
    SetModes({{1280, 1024, 32, 60},
              {1024, 768, 16, 60},
              {800, 600, 32, 60},
              {1024, 768, 32, 75},
              {1280, 720, 32, 60},
              {640, 480, 16, 60},
              {1024, 768, 32, 60}});
    AddScreenMode(800, 500);  // added beforehand, it joins the list in order
    g_loaderDialogReady = PressRun;
    RunLoaderDialog();
    EXPECT_EQ(ListLabels(), (std::vector<std::string>{"640 x 480", "800 x 500", "800 x 600", "1024 x 768", "1280 x 720",
                                                      "1280 x 1024"}));
    ASSERT_EQ(g_screenModes.size(), 6u);
    EXPECT_STREQ(g_screenModes.begin()->second.label, "640 x 480");
}

TEST_F(LoaderDialogTest, ShowsItsFourControlsWhereTheyBelongWithTheFirstModeSelected) {
    LRESULT selectionWhenReady = -2;
    g_loaderDialogReady = [&] {
        selectionWhenReady = SendMessageA(g_loaderDialog.modeList, CB_GETCURSEL, 0, 0);
        PressRun();
    };
    RunLoaderDialog();
    EXPECT_EQ(selectionWhenReady, 0);

    HWND dialog = g_loaderDialog.window;
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              std::vector<LONG>(
                  {GetSystemMetrics(SM_CXSCREEN) / 2 - 150, GetSystemMetrics(SM_CYSCREEN) / 2 - 100, 300, 200}));
    char text[32];
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Loader");
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog stays on the desktop";

    const std::pair<int, std::vector<LONG>> controls[] = {
        {501, {10, 125, 110, 155}}, {502, {175, 125, 275, 155}}, {503, {100, 80, 200, 110}}, {504, {30, 50, 270, 250}}};
    for (const auto& [id, expected] : controls) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << id;
        GetWindowRect(control, &rect);
        EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}), expected) << id;
    }
    GetWindowTextA(g_loaderDialog.runButton, text, sizeof text);
    EXPECT_STREQ(text, "Run demo!");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(g_loaderDialog.fullscreenBox, GWL_STYLE)) & BS_AUTOCHECKBOX,
              DWORD(BS_AUTOCHECKBOX));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 503), static_cast<UINT>(BST_UNCHECKED));
}

// Run demo! untouched, or the dialog left before anything was dispatched
// (headless, the first wait answers "quit"), gives the smallest mode
// windowed. The dialog window stays, so, as on Windows, its class cannot go
// yet: a second run finds it still registered and works.
TEST_F(LoaderDialogTest, UntouchedOrLeftAtOnceItGivesTheSmallestModeWindowedAndRunsAgain) {
    SetModes({{1024, 768, 32, 60}, {800, 600, 32, 60}, {800, 480, 32, 60}});
    g_loaderDialogReady = PressRun;
    ScreenMode mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 800);
    EXPECT_EQ(mode.height, 480);
    EXPECT_FALSE(mode.fullscreen);
    EXPECT_STREQ(mode.label, "800 x 480");
    EXPECT_TRUE(g_loaderDialog.runRequested);
    g_loaderDialogReady = nullptr;
    mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 800);
    EXPECT_EQ(mode.height, 480);
    EXPECT_FALSE(mode.fullscreen);
}

TEST_F(LoaderDialogTest, ReturnsTheChosenEntryAndTheTickedBox) {
    SetModes({{640, 480, 32, 60}, {800, 600, 32, 60}, {1024, 768, 32, 60}});
    g_loaderDialogReady = [] {
        PostMessageA(g_loaderDialog.modeList, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(g_loaderDialog.modeList, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(g_loaderDialog.fullscreenBox, BM_CLICK, 0, 0);
        PressRun();
    };
    ScreenMode mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 1024);
    EXPECT_EQ(mode.height, 768);
    EXPECT_TRUE(mode.fullscreen);
}

TEST_F(LoaderDialogTest, TheMessageAfterRunDemoIsTakenButNotHandled) {
    SetModes({{640, 480, 32, 60}, {800, 600, 32, 60}});
    g_loaderDialogReady = [] {
        PostMessageA(g_loaderDialog.runButton, BM_CLICK, 0, 0);
        PostMessageA(g_loaderDialog.modeList, CB_SETCURSEL, 1, 0);
        PostMessageA(g_loaderDialog.fullscreenBox, BM_CLICK, 0, 0);
    };
    ScreenMode mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 640) << "the selection change came after the click";
    EXPECT_FALSE(mode.fullscreen);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(BM_CLICK)) << "only the message right after the click was taken";
}

TEST_F(LoaderDialogTest, AnEmptyModeListOrNothingSelectedFallsBackTo640x480) {
    SetModes({});
    g_loaderDialogReady = [] {
        PostMessageA(g_loaderDialog.fullscreenBox, BM_CLICK, 0, 0);
        PressRun();
    };
    ScreenMode mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.height, 480);
    EXPECT_TRUE(mode.fullscreen);
    EXPECT_STREQ(mode.label, "640 x 480");

    Clean();
    SetModes({{1024, 768, 32, 60}, {1280, 720, 32, 60}});
    g_loaderDialogReady = [] {
        PostMessageA(g_loaderDialog.modeList, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        PressRun();
    };
    mode = RunLoaderDialog();
    EXPECT_EQ(mode.width, 640);
    EXPECT_EQ(mode.height, 480);
}

using LoaderDialogDeathTest = ShellTest;

// Exit, or closing the dialog, ends the process with status 0, before any
// demo window or while the demo pumps its messages.
TEST_F(LoaderDialogDeathTest, ExitOrClosingEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(
        {
            g_loaderDialogReady = [] { PostMessageA(g_loaderDialog.exitButton, BM_CLICK, 0, 0); };
            RunLoaderDialog();
            CreateDemoWindow(640, 480, false);
            std::exit(9);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            g_loaderDialogReady = [] { PostMessageA(g_loaderDialog.window, WM_CLOSE, 0, 0); };
            RunLoaderDialog();
            std::exit(9);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            g_loaderDialogReady = PressRun;
            RunLoaderDialog();
            CreateDemoWindow(640, 480, false);
            PostMessageA(g_loaderDialog.exitButton, BM_CLICK, 0, 0);
            PumpMessages();
            std::exit(9);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
