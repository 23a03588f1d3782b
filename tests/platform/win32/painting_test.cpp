#include "tests/support/test_device.h"
#include "tests/platform/win32/win32_fixture.h"

namespace {

using Painting = Win32Test;

Picture Capture(HWND hwnd) {
    Picture p;
    EXPECT_TRUE(Win32_CaptureWindow(hwnd, &p.rgba, &p.width, &p.height));
    return p;
}

// Pixels in [x0, x1) x [y0, y1) below 100 in red, green and blue.
int DarkIn(const Picture& p, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint32_t c = p.At(x, y);
            n += ((c >> 16) & 255) < 100 && ((c >> 8) & 255) < 100 && (c & 255) < 100;
        }
    return n;
}

TEST_F(Painting, CaptureShowsTheBackgroundAndControlsWhereTheyAre) {
    HWND dialog = TopLevel("Dialog", 300, 200);
    HWND box = Control(dialog, "BUTTON", "Fullscreen", 503, BS_AUTOCHECKBOX, 100, 80, 100, 30);
    Control(dialog, "BUTTON", "Run demo!", 501, 0, 10, 125, 100, 30);
    Picture before = Capture(dialog);
    ASSERT_EQ(before.width, 300);
    ASSERT_EQ(before.height, 200);
    EXPECT_EQ(before.At(5, 5) & 0xFFFF0000, 0xFFF00000) << "opaque, menu-coloured background";
    EXPECT_GT(DarkIn(before, 30, 130, 90, 150), 20) << "the button's caption";
    EXPECT_EQ(DarkIn(before, 0, 0, 300, 70), 0) << "nothing drawn above the controls";
    // The check box's square is 13 pixels, centred in the control's height.
    EXPECT_EQ(DarkIn(before, 102, 90, 111, 100), 0) << "clear box";
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    Picture after = Capture(dialog);
    EXPECT_GT(DarkIn(after, 102, 90, 111, 100), 8) << "ticked box";
}

TEST_F(Painting, OpenListIsDrawnOverWhatLiesBelowTheField) {
    HWND dialog = TopLevel("Dialog", 300, 200);
    HWND combo = Control(dialog, "COMBOBOX", nullptr, 504, CBS_DROPDOWNLIST, 30, 50, 240, 200);
    for (const char* label : {"640 x 480", "800 x 600", "1024 x 768"})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    Picture closed = Capture(dialog);
    EXPECT_GT(DarkIn(closed, 30, 50, 270, 71), 20) << "the chosen label in the field";
    EXPECT_EQ(DarkIn(closed, 30, 75, 270, 120), 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Picture open = Capture(dialog);
    EXPECT_GT(DarkIn(open, 30, 88, 270, 120), 20) << "the other labels in the list";
}

}  // namespace
