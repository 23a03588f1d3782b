// Input from the window system is queued against the top-level window and
// routed only when taken, so that focus and capture changes made by earlier
// input count for later input.
#include "platform/win32/win32_internal.h"
#include "tests/platform/win32/win32_fixture.h"

namespace {

using InputRouting = Win32Test;

void Input(HWND top, UINT message, WPARAM wParam, LPARAM lParam) {
    win32::GetState().input.push_back({top, message, wParam, lParam});
}

void Click(HWND top, int x, int y) {
    Input(top, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Input(top, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(InputRouting, ClicksAreRoutedWhenTakenSoAnOpenListGetsTheNextClick) {
    HWND dialog = TopLevel("Dialog", 300, 200);
    HWND combo = Control(dialog, "COMBOBOX", nullptr, 504, CBS_DROPDOWNLIST, 30, 50, 240, 200);
    for (const char* label : {"640 x 480", "800 x 600", "1024 x 768"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    Click(dialog, 150, 60);                        // on the field: opens the list
    Click(dialog, 150, 50 + 21 + 1 + 2 * 16 + 8);  // on the third row, over the dialog's own area
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, combo);
    EXPECT_EQ(GET_X_LPARAM(msg.lParam), 120) << "in the control's coordinates";
    EXPECT_EQ(GET_Y_LPARAM(msg.lParam), 10);
    DispatchMessageA(&msg);
    Drain();
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
}

TEST_F(InputRouting, KeysGoToTheControlThatHasTheFocusWhenTheyAreTaken) {
    HWND dialog = TopLevel("Dialog", 300, 200);
    HWND box = Control(dialog, "BUTTON", "Fullscreen", 503, BS_AUTOCHECKBOX, 100, 80, 100, 30);
    Input(dialog, WM_KEYDOWN, VK_TAB, 1);
    Input(dialog, WM_KEYDOWN, VK_SPACE, 1);
    Input(dialog, WM_KEYUP, VK_SPACE, 1);
    Drain();
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(InputRouting, PostedMessagesComeBeforeInputAndInputForAGoneWindowIsDropped) {
    HWND a = TopLevel("A");
    HWND b = TopLevel("B");
    Input(a, WM_KEYDOWN, 'X', 1);
    Input(b, WM_KEYDOWN, 'Y', 1);
    PostMessageA(b, WM_USER, 0, 0);
    DestroyWindow(a);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('Y'));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
