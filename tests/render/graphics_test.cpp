// Start-up and shutdown of the rendering core: the screen texture, the
// debug-text objects and InitGraphics, with their messages, and the order in
// which ReleaseShared lets the services go.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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
#include "shell/win_main.h"
#include "sound/music_player.h"
#include "tests/support/fakes.h"
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
        g_system = saved;
    }
    TestDevice gpu{D3D9Backend::Recording, 64, 48};
    Mirel::System saved;
};

TEST_F(GraphicsStartUp, ScreenTextureFailureIsReportedAndGivesNull) {
    g_system.width = 0;
    g_system.height = 200;
    int before = Win32_MessageBoxCount();
    EXPECT_EQ(CreateScreenTarget(g_demoState.device, g_demoState.system), nullptr);
    EXPECT_EQ(Win32_MessageBoxCount(), before + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error creating screen texture");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Error!");
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

    // The screen target and its depth in the chosen mode, the quad's texel of that size, every service made.
    ASSERT_NE(s.quad, nullptr);
    EXPECT_EQ(s.quad->texelSize[0], 1.0f / 320);
    EXPECT_EQ(s.quad->texelSize[1], 1.0f / 240);
    EXPECT_TRUE(s.resources && s.camera && s.music && s.sprite && s.debugFont && s.debugFont->font);
    const auto& calls = D3D9_RecordedCalls(s.device);
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0],
              "CreateTexture(320, 240, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT) -> Texture#1");
    EXPECT_EQ(calls[1], "CreateDepthStencilSurface(320, 240, D3DFMT_D24S8, 0, 0, TRUE) -> Surface#2");
    ReleaseShared();
    if (s.screenTexture) s.screenTexture->Release();
    if (s.screenDepth) s.screenDepth->Release();
    s = DemoState{};
}

// Each release notes which of the shared services are still set at that moment.
std::vector<std::string> g_notes;
void Note(const char* what) {
    const DemoState& s = g_demoState;
    std::string note = std::string(what) + ":";
    const std::pair<const char*, bool> set[] = {{"d3d", s.d3d},        {"device", s.device}, {"sprite", s.sprite},
                                                {"camera", s.camera},  {"music", s.music},   {"resources", s.resources},
                                                {"font", s.debugFont}, {"quad", s.quad}};
    for (const auto& [name, there] : set)
        if (there) note += std::string(" ") + name;
    g_notes.push_back(note);
}
struct NotingSprite : FakeSprite {
    explicit NotingSprite(const char* name) : name(name) {}
    ULONG Release() override {
        Note(name);
        return 0;
    }
    const char* name;
};
struct NotingManager : Mirel::ResourceManager {
    using ResourceManager::ResourceManager;
    ~NotingManager() override { Note("resources"); }
};
struct NotingQuad : Quad {
    NotingQuad() : Quad(1.0f, 1.0f) {}
    ~NotingQuad() override { Note("quad"); }
};

TEST_F(GraphicsStartUp, ReleaseSharedGoesFromTheDeviceToTheQuadAndForgetsEachService) {
    DemoState& s = g_demoState;
    s.device->AddRef();
    s.device->GetDirect3D(&s.d3d);
    NotingSprite sprite("sprite"), fontSprite("font sprite");
    s.sprite = &sprite;
    s.camera = new Camera();
    s.music = new MusicPlayer();
    s.resources = new NotingManager(s.device);
    g_resourceManager = s.resources;
    s.debugFont = new DebugFont(s.device);
    s.debugFont->sprite->Release();
    s.debugFont->sprite = &fontSprite;
    s.quad = new NotingQuad();
    g_notes.clear();
    ReleaseShared();
    EXPECT_EQ(g_notes,
              (std::vector<std::string>{"sprite: sprite camera music resources font quad",
                                        "resources: resources font quad", "font sprite: font quad", "quad: quad"}));
    EXPECT_TRUE(!s.d3d && !s.device && !s.sprite && !s.camera && !s.music && !s.resources && !s.debugFont && !s.quad);
    EXPECT_EQ(g_resourceManager, nullptr);
}

}  // namespace
