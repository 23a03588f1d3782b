#include "tests/win32/win32_fixture.h"

namespace {

using Buttons = Win32Test;
using ComboBoxes = Win32Test;

std::vector<ReceivedMessage> CommandsTo(HWND parent) {
    std::vector<ReceivedMessage> commands;
    for (const ReceivedMessage& m : Received())
        if (m.hwnd == parent && m.message == WM_COMMAND) commands.push_back(m);
    return commands;
}

TEST_F(Buttons, AutoCheckBoxTogglesOnClickAndTellsItsParent) {
    HWND dialog = TopLevel();
    HWND box = Control(dialog, "BUTTON", "Fullscreen", 503, BS_AUTOCHECKBOX, 100, 80, 100, 30);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 503), static_cast<UINT>(BST_UNCHECKED));
    PostMessageA(box, BM_CLICK, 0, 0);
    Drain();
    EXPECT_EQ(IsDlgButtonChecked(dialog, 503), static_cast<UINT>(BST_CHECKED));
    auto commands = CommandsTo(dialog);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(503, BN_CLICKED));
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(box));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, PushButtonHasNoCheckStateButClicks) {
    HWND dialog = TopLevel();
    HWND run = Control(dialog, "BUTTON", "Run demo!", 501, 0, 10, 125, 100, 30);
    SendMessageA(run, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(run, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(run, BM_CLICK, 0, 0);
    ASSERT_EQ(CommandsTo(dialog).size(), 1u);
    EXPECT_EQ(LOWORD(CommandsTo(dialog)[0].wParam), 501);
}

TEST_F(Buttons, MouseClicksOnlyWhenReleasedOverTheButton) {
    HWND dialog = TopLevel();
    HWND button = Control(dialog, "BUTTON", "Exit", 502, 0, 175, 125, 100, 30);
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    Drain();
    EXPECT_TRUE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(150, 15));  // dragged off first
    Drain();
    EXPECT_TRUE(CommandsTo(dialog).empty());
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(60, 20));
    Drain();
    EXPECT_EQ(CommandsTo(dialog).size(), 1u);
    EXPECT_EQ(GetFocus(), button);
}

TEST_F(Buttons, SpaceClicksWhenReleasedAndTabMovesTheFocus) {
    HWND dialog = TopLevel();
    HWND first = Control(dialog, "BUTTON", "A", 1, 0, 0, 0, 50, 20);
    HWND second = Control(dialog, "BUTTON", "B", 2, BS_AUTOCHECKBOX, 0, 30, 50, 20);
    PostMessageA(dialog, WM_KEYDOWN, VK_TAB, 0);
    Drain();
    EXPECT_EQ(GetFocus(), first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    Drain();
    EXPECT_EQ(GetFocus(), second);
    PostMessageA(second, WM_KEYDOWN, VK_SPACE, 0);
    Drain();
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "not before the key is released";
    PostMessageA(second, WM_KEYUP, VK_SPACE, 0);
    Drain();
    EXPECT_EQ(SendMessageA(second, BM_GETCHECK, 0, 0), BST_CHECKED);
}

class ComboTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        dialog = TopLevel();
        combo = Control(dialog, "COMBOBOX", nullptr, 504, WS_VSCROLL | CBS_DROPDOWNLIST, 30, 50, 240, 200);
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            std::string label = "item " + std::to_string(i);
            ASSERT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str())), i);
        }
    }
    std::vector<WORD> Notifications() {
        std::vector<WORD> codes;
        for (const ReceivedMessage& m : CommandsTo(dialog)) codes.push_back(HIWORD(m.wParam));
        return codes;
    }
    HWND dialog = nullptr;
    HWND combo = nullptr;
};

TEST_F(ComboTest, ItemsKeepTheirOrderAndSelectingOutOfRangeClearsTheSelectionSilently) {
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 0, 0), CB_ERR);
    Fill(3);
    char text[16];
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text)), 6);
    EXPECT_STREQ(text, "item 2");
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text)), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(Notifications().empty()) << "changes made by the program do not notify";
}

TEST_F(ComboTest, ClickOpensTheListAClickOnAnItemChoosesItAndOneOutsideClosesIt) {
    Fill(5);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
    Drain();
    EXPECT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    // The list starts below the field; item 3 is the fourth row.
    int y = 21 + 1 + 3 * 16 + 8;
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, y));
    Drain();
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Notifications(), (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP}));
    // A click outside the open list closes it unchanged.
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, 300));
    Drain();
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
}

TEST_F(ComboTest, ArrowKeysMoveTheSelectionWithinBoundsAndNotify) {
    Fill(3);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    Drain();
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Notifications(), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}));
    PostMessageA(combo, WM_KEYDOWN, VK_HOME, 0);
    Drain();
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(ComboTest, OpenListIsChosenFromWithKeysAndEscapeLeavesItUnchanged) {
    Fill(20);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_F4, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_END, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_ESCAPE, 0);
    Drain();
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    PostMessageA(combo, WM_KEYDOWN, VK_F4, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_END, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);
    Drain();
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 19);
    EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
}

}  // namespace
