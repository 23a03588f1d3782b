// Start-up pieces of the rendering core: the screen texture, the debug-text
// objects and the device failure path of InitGraphics, with their messages.
#include <gtest/gtest.h>

#include "platform/fmod/fmod.hpp"
#include "platform/win32/win32_platform.h"
#include "platform/win32/windows.h"
#include "render/debug_font.h"
#include "render/init_graphics.h"
#include "render/quad.h"
#include "render/screen_target.h"
#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"
#include "shell/system.h"
#include "sound/music_player.h"
#include "tests/support/test_device.h"

namespace {

class GraphicsStartUp : public ::testing::Test {
protected:
    void SetUp() override {
        saved = g_system;
        g_demoState.device = gpu.Get();
        g_demoState.system = &g_system;
    }
    void TearDown() override {
        g_demoState.device = nullptr;
        g_demoState.system = nullptr;
        g_system.hwnd = saved.hwnd;
        g_system.width = saved.width;
        g_system.height = saved.height;
        g_system.fullscreen = saved.fullscreen;
    }
    TestDevice gpu{D3D9Backend::Recording, 64, 48};
    Mirel::System saved;
};

TEST_F(GraphicsStartUp, ScreenTextureTakesTheChosenModeSize) {
    g_system.width = 320;
    g_system.height = 200;
    IDirect3DTexture9* texture = CreateScreenTarget(g_demoState.device, g_demoState.system);
    ASSERT_NE(texture, nullptr);
    D3DSURFACE_DESC desc;
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Height, 200u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();
}

TEST_F(GraphicsStartUp, ScreenTextureFailureIsReportedAndGivesNull) {
    g_system.width = 0;
    g_system.height = 200;
    int before = Win32_MessageBoxCount();
    EXPECT_EQ(CreateScreenTarget(g_demoState.device, g_demoState.system), nullptr);
    EXPECT_EQ(Win32_MessageBoxCount(), before + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating screen texture");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Error!");
}

TEST_F(GraphicsStartUp, DebugFontMakesItsFontAndSprite) {
    DebugFont font(gpu.Get());
    EXPECT_NE(font.font, nullptr);
    EXPECT_NE(font.sprite, nullptr);
    EXPECT_EQ(font.device, gpu.Get());
    font.font->Release();
    font.sprite->Release();
}

TEST_F(GraphicsStartUp, DebugFontFailuresAreReportedAndStartUpGoesOn) {
    int before = Win32_MessageBoxCount();
    DebugFont font(nullptr);
    EXPECT_EQ(font.font, nullptr);
    EXPECT_EQ(font.sprite, nullptr);
    EXPECT_EQ(Win32_MessageBoxCount(), before + 2);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating sprite");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Error!");
}

TEST_F(GraphicsStartUp, FailedDeviceIsReportedAndNothingElseIsMade) {
    // A windowed device takes the window's client area; there is no window.
    g_system.hwnd = nullptr;
    g_system.fullscreen = false;
    g_system.width = 64;
    g_system.height = 48;
    D3D9Backend previous = D3D9_GetBackend();
    D3D9_SetBackend(D3D9Backend::Recording);
    int before = Win32_MessageBoxCount();
    bool started = InitGraphics();
    D3D9_SetBackend(previous);
    EXPECT_FALSE(started);
    EXPECT_EQ(Win32_MessageBoxCount(), before + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "CreateDevice() failed!  Make sure you have DirectX 9.");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Error!");
    EXPECT_EQ(g_demoState.system, &g_system);
    EXPECT_EQ(g_demoState.device, nullptr);
    EXPECT_EQ(g_demoState.screenTexture, nullptr);
    EXPECT_EQ(g_demoState.resources, nullptr);
    if (g_demoState.d3d) g_demoState.d3d->Release();
    g_demoState.d3d = nullptr;
}


// Releases what InitGraphics made, in the order of the demo's shutdown.
void ReleaseShared() {
    DemoState& s = g_demoState;
    if (s.d3d) s.d3d->Release();
    if (s.device) s.device->Release();
    if (s.sprite) s.sprite->Release();
    delete s.camera;
    if (s.music) s.music->system->release();
    delete s.music;
    delete s.resources;
    if (s.debugFont && s.debugFont->font) s.debugFont->font->Release();
    if (s.debugFont && s.debugFont->sprite) s.debugFont->sprite->Release();
    delete s.debugFont;
    delete s.quad;
    if (s.screenTexture) s.screenTexture->Release();
    if (s.screenDepth) s.screenDepth->Release();
    s = DemoState{};
}

TEST(InitGraphics, WindowedDeviceTakesTheClientAreaAndTheScreenTargetsTheChosenMode) {
    D3D9Backend previous = D3D9_GetBackend();
    D3D9_SetBackend(D3D9Backend::Recording);
    ASSERT_TRUE(CreateDemoWindow(320, 240, false));
    bool started = InitGraphics();
    D3D9_SetBackend(previous);
    ASSERT_TRUE(started);
    DemoState& s = g_demoState;
    int clientWidth = 0, clientHeight = 0;
    ASSERT_TRUE(Win32_GetClientSize(g_system.hwnd, &clientWidth, &clientHeight));

    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(s.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    D3DSURFACE_DESC desc;
    back->GetDesc(&desc);
    back->Release();
    EXPECT_EQ(int(desc.Width), clientWidth);
    EXPECT_EQ(int(desc.Height), clientHeight);
    D3DDISPLAYMODE mode;
    s.d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(desc.Format, mode.Format);

    s.screenTexture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Height, 240u);
    s.screenDepth->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Format, D3DFMT_D24S8);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    EXPECT_DOUBLE_EQ(s.secondsPerTick, 1.0 / double(frequency.QuadPart));
    EXPECT_FALSE(s.quit);
    EXPECT_EQ(s.endTime, 110.0);
    ASSERT_NE(s.quad, nullptr);
    EXPECT_EQ(s.quad->texelSize[0], 1.0f / 320);
    EXPECT_EQ(s.quad->texelSize[1], 1.0f / 240);
    EXPECT_EQ(s.quad->vertexBuffer, nullptr);
    EXPECT_NE(s.resources, nullptr);
    EXPECT_NE(s.camera, nullptr);
    EXPECT_NE(s.music, nullptr);
    EXPECT_NE(s.sprite, nullptr);
    ASSERT_NE(s.debugFont, nullptr);
    EXPECT_NE(s.debugFont->font, nullptr);
    EXPECT_EQ(s.debugFont->device, s.device);

    const auto& calls = D3D9_RecordedCalls(s.device);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "CreateTexture(320, 240, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT) -> Texture#1");
    EXPECT_EQ(calls[1], "CreateDepthStencilSurface(320, 240, D3DFMT_D24S8, 0, 0, TRUE) -> Surface#2");
    ReleaseShared();
}

}  // namespace
