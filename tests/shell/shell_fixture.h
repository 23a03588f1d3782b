// A clean headless Win32 stand-in and a fresh loader and demo window for every test.
#pragma once

#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "shell/loader_dialog.h"
#include "shell/system.h"

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }

    static void Clean() {
        Win32_SetBackend(Win32Backend::Headless);
        Win32_Reset();
        g_screenModes.clear();
        g_loaderDialog = LoaderDialog();
        g_loaderDialogReady = nullptr;
        g_system.hwnd = nullptr;
        g_system.instance = nullptr;
        g_system.width = g_system.height = 0;
        g_system.fullscreen = false;
    }

    static void SetModes(std::initializer_list<Win32DisplayMode> modes) {
        std::vector<Win32DisplayMode> list(modes);
        Win32_SetHeadlessDisplayModes(list.data(), static_cast<int>(list.size()));
    }
};
