#include "tests/win32/win32_fixture.h"

namespace {

using MessageQueue = Win32Test;
using DefaultProcedure = Win32Test;

TEST_F(MessageQueue, PostedMessagesComeOutInOrderAndPeekCanLeaveThem) {
    HWND hwnd = TopLevel();
    PostMessageA(hwnd, WM_USER + 1, 11, 12);
    PostMessageA(hwnd, WM_USER + 2, 21, 22);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
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

TEST_F(MessageQueue, FiltersByWindowAndByRange) {
    HWND a = TopLevel("ClassA");
    HWND b = TopLevel("ClassB");
    HWND child = Control(a, "BUTTON", "x", 1, 0, 0, 0, 10, 10);
    PostMessageA(b, WM_USER, 0, 0);
    PostMessageA(child, WM_USER + 5, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE)) << "a window's filter takes its children's messages";
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
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

TEST_F(MessageQueue, PostingToAnUnknownWindowFailsAndDispatchingToAGoneWindowDoesNothing) {
    HWND hwnd = TopLevel();
    PostMessageA(hwnd, WM_USER, 0, 0);
    DestroyWindow(hwnd);
    Received().clear();
    EXPECT_FALSE(PostMessageA(hwnd, WM_USER, 0, 0));
    EXPECT_EQ(Drain(), 1) << "the message posted before stays in the queue";
    EXPECT_TRUE(Received().empty());
}

TEST_F(MessageQueue, TranslateTurnsAKeyDownIntoACharacter) {
    HWND hwnd = TopLevel();
    MSG key = {hwnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
    MSG up = {hwnd, WM_KEYUP, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&up));
}

TEST_F(DefaultProcedure, DestroyReachesTheParentBeforeItsChildren) {
    HWND parent = TopLevel();
    Register("ChildClass");
    HWND child = CreateWindowExA(0, "ChildClass", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
    Received().clear();
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
    ASSERT_GE(Received().size(), 2u);
    EXPECT_EQ(Received()[0].hwnd, parent);
    EXPECT_EQ(Received()[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(Received()[1].hwnd, child);
    EXPECT_EQ(Received()[1].message, static_cast<UINT>(WM_DESTROY));
}

}  // namespace
