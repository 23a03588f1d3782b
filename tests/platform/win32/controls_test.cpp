#include "tests/platform/win32/win32_fixture.h"

namespace {

class Controls : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        dialog = TopLevel();
    }
    // Posts the message once for each wParam, then dispatches the queue.
    static void Post(HWND hwnd, UINT message, std::initializer_list<WPARAM> wParams, LPARAM lParam = 0) {
        for (WPARAM wParam : wParams) PostMessageA(hwnd, message, wParam, lParam);
        Drain();
    }
    // The notifications the dialog received: control id and code, control.
    std::vector<std::pair<WPARAM, LPARAM>> Commands() const {
        std::vector<std::pair<WPARAM, LPARAM>> commands;
        for (const ReceivedMessage& m : Received())
            if (m.hwnd == dialog && m.message == WM_COMMAND) commands.emplace_back(m.wParam, m.lParam);
        return commands;
    }
    static std::pair<WPARAM, LPARAM> Command(HWND control, int id, WORD code) {
        return {MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)};
    }
    HWND dialog = nullptr;
};

TEST_F(Controls, TabMovesTheFocusAndButtonsClickOnSpaceOrAMouseReleasedOverThem) {
    HWND run = Control(dialog, "BUTTON", "Run demo!", 501, 0, 10, 125, 100, 30);
    HWND box = Control(dialog, "BUTTON", "Fullscreen", 503, BS_AUTOCHECKBOX, 100, 80, 100, 30);
    Post(dialog, WM_KEYDOWN, {VK_TAB});
    EXPECT_EQ(GetFocus(), run);
    Post(run, WM_KEYDOWN, {VK_TAB});
    EXPECT_EQ(GetFocus(), box);
    Post(box, WM_KEYDOWN, {VK_SPACE});
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "not before the key is released";
    Post(box, WM_KEYUP, {VK_SPACE});
    EXPECT_EQ(IsDlgButtonChecked(dialog, 503), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(Commands(), (std::vector{Command(box, 503, BN_CLICKED)}));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // A push button keeps no check state; a press dragged off before its release is no click.
    SendMessageA(run, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(run, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Post(run, WM_LBUTTONDOWN, {MK_LBUTTON}, MAKELPARAM(50, 15));
    EXPECT_TRUE(SendMessageA(run, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(GetFocus(), run);
    Post(run, WM_LBUTTONUP, {0}, MAKELPARAM(150, 15));
    EXPECT_EQ(Commands().size(), 2u);
    PostMessageA(run, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 15));
    Post(run, WM_LBUTTONUP, {0}, MAKELPARAM(60, 20));
    EXPECT_EQ(Commands().size(), 3u);
    EXPECT_EQ(Commands().back(), Command(run, 501, BN_CLICKED));
}

TEST_F(Controls, ComboBoxKeepsItsItemsInOrderAndIsChosenFromWithClicksAndKeys) {
    HWND combo = Control(dialog, "COMBOBOX", nullptr, 504, WS_VSCROLL | CBS_DROPDOWNLIST, 30, 50, 240, 200);
    auto selection = [combo] { return SendMessageA(combo, CB_GETCURSEL, 0, 0); };
    auto open = [combo] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; };
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 0, 0), CB_ERR) << "no items yet";
    for (int i = 0; i < 20; ++i) {
        std::string label = "item " + std::to_string(i);
        ASSERT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str())), i);
    }
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(combo, CB_SETCURSEL, 20, 0), CB_ERR);
    EXPECT_EQ(selection(), CB_ERR) << "a selection out of range clears it";
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    EXPECT_TRUE(Commands().empty()) << "changes made by the program do not notify";

    // Arrow keys move the selection within the items, notifying each change.
    Post(combo, WM_KEYDOWN, {VK_UP, VK_DOWN, VK_DOWN});
    EXPECT_EQ(selection(), 2);
    EXPECT_EQ(Commands(), std::vector(2, Command(combo, 504, CBN_SELCHANGE)));
    Post(combo, WM_KEYDOWN, {VK_END, VK_DOWN});
    EXPECT_EQ(selection(), 19);
    EXPECT_EQ(Commands().size(), 3u);
    Post(combo, WM_KEYDOWN, {VK_HOME});
    EXPECT_EQ(selection(), 0);

    // A click opens the list, a click on an item chooses it, one outside closes it.
    Received().clear();
    Post(combo, WM_LBUTTONDOWN, {MK_LBUTTON}, MAKELPARAM(100, 10));
    EXPECT_TRUE(open());
    Post(combo, WM_LBUTTONDOWN, {MK_LBUTTON}, MAKELPARAM(100, 21 + 1 + 3 * 16 + 8));  // the fourth row
    EXPECT_FALSE(open());
    EXPECT_EQ(selection(), 3);
    EXPECT_EQ(Commands(), (std::vector{Command(combo, 504, CBN_DROPDOWN), Command(combo, 504, CBN_SELCHANGE),
                                       Command(combo, 504, CBN_CLOSEUP)}));
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Post(combo, WM_LBUTTONDOWN, {MK_LBUTTON}, MAKELPARAM(-20, 300));
    EXPECT_FALSE(open());

    // In the open list keys move a highlight, chosen with Return; Escape leaves the selection.
    Post(combo, WM_KEYDOWN, {VK_F4, VK_END, VK_ESCAPE});
    EXPECT_EQ(selection(), 3);
    Post(combo, WM_KEYDOWN, {VK_F4, VK_END, VK_RETURN});
    EXPECT_EQ(selection(), 19);
    EXPECT_FALSE(open());
}

}  // namespace
