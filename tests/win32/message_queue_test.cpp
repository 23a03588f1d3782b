#include "tests/win32/win32_fixture.h"

namespace {

using MessageQueue = Win32Test;

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

}  // namespace
