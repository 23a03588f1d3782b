// The whole demo run inside the test process, headless on OpenGL (llvmpipe),
// with a callback after every presented frame: for tests that act on a run
// while it goes (keys, seeks, files changed under it) and read what it
// presents. Runs from the build folder, where data.pak is.
#pragma once

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "shell/run_hooks.h"
#include "shell/system.h"
#include "shell/win_main.h"
#include "tests/support/test_device.h"

inline Picture Presented() {
    Picture picture;
    D3D9_ReadPresented(g_demoState.device, &picture.rgba, &picture.width, &picture.height);
    return picture;
}

inline bool SamePicture(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height && a.rgba == b.rgba;
}

inline Picture LoadPng(const std::string& path) {
    Picture picture;
    int channels = 0;
    if (uint8_t* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4)) {
        picture.rgba.assign(pixels, pixels + size_t(picture.width) * picture.height * 4);
        stbi_image_free(pixels);
    }
    return picture;
}

// The channel the music of the latest in-process run plays on.
inline FMOD::Channel* g_runMusic = nullptr;

// Options for a small headless run on the fixed-step clock.
inline DemoOptions SmallRun(int width, int height, int fps) {
    DemoOptions options;
    options.headless = options.hasMode = true;
    options.width = width;
    options.height = height;
    options.fps = fps;
    return options;
}

// Runs the demo with `options`; `afterFrame` runs after each presented frame.
// The exit status as the program would give it.
inline int RunInProcess(const DemoOptions& options, std::function<void()> afterFrame) {
    Win32_SetBackend(Win32Backend::Headless);
    ApplyRunOptions(options);
    std::function<void(FMOD::Channel*)> started = g_runHooks.musicStarted;
    g_runHooks.musicStarted = [&](FMOD::Channel* channel) {
        started(channel);
        g_runMusic = channel;
    };
    std::function<void()> presented = g_runHooks.framePresented;
    g_runHooks.framePresented = [&] {
        presented();
        afterFrame();
    };
    const int status = FinishRun(WinMain(nullptr, nullptr, nullptr, 0));
    g_runHooks = RunHooks();
    return status;
}

// Posts a key press to the demo window, as the display would.
inline void PressKey(WPARAM key) { PostMessageA(g_system.hwnd, WM_KEYDOWN, key, 0); }
