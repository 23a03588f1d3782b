// A clean headless Win32 stand-in for every test, and a window procedure
// that records what it receives.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"

struct ReceivedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<ReceivedMessage>& Received() {
    static std::vector<ReceivedMessage> messages;
    return messages;
}

inline LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Received().push_back({hwnd, message, wParam, lParam});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

inline std::vector<UINT> ReceivedBy(HWND hwnd) {
    std::vector<UINT> messages;
    for (const ReceivedMessage& m : Received())
        if (m.hwnd == hwnd) messages.push_back(m.message);
    return messages;
}

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetBackend(Win32Backend::Headless);
        Win32_Reset();
        Received().clear();
    }
    void TearDown() override { Win32_Reset(); }

    static ATOM Register(const char* name, HBRUSH background = nullptr) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = background;
        wc.lpszClassName = name;
        return RegisterClassExA(&wc);
    }

    static HWND TopLevel(const char* className = "TestClass", int width = 300, int height = 200) {
        Register(className, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_MENU + 1)));
        return CreateWindowExA(0, className, "Test", WS_CAPTION | WS_SYSMENU, 40, 30, width, height, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    static HWND Control(HWND parent, const char* className, const char* text, int id, DWORD style, int x, int y,
                        int width, int height) {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
    }

    // Takes every waiting message and dispatches it.
    static int Drain() {
        int count = 0;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            ++count;
        }
        return count;
    }
};
