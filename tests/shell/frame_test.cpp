// The frame loop and the program's life around it: BeginFrame and EndFrame on
// the recording device, the composite and the loading frame as pictures, the
// command line's run control, and WinMain run in this process from the loader
// dialog to shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "resources/resource_manager.h"
#include "run/options.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "shell/frame.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "shell/system.h"
#include "shell/win_main.h"
#include "sound/music_player.h"
#include "tests/support/effect_fixture.h"

namespace {

class CountingEffect : public Mirel::Effect {
public:
    explicit CountingEffect(DemoState* state) : Effect(state) {}
    void Init() override {}
    void Update(double, double) override {}
    void Render() override {}
    void Stop() override {}
    void PostProcess() override { ++postProcessed; }
    int postProcessed = 0;
};

class FrameTest : public EffectFixture {
protected:
    explicit FrameTest(D3D9Backend backend = D3D9Backend::Recording) : EffectFixture(backend) {}
    void SetUp() override {
        EffectFixture::SetUp();
        g_demoState.activeEffects = {&effect};
        StartClock(30);
    }
    void TearDown() override {
        g_demoState.activeEffects.clear();
        Win32_Reset();
        EffectFixture::TearDown();
    }

    static void StartClock(int fps) {
        Win32_SetFixedStep(fps);
        LARGE_INTEGER frequency, counter;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&counter);
        g_demoState.secondsPerTick = 1.0 / static_cast<double>(frequency.QuadPart);
        g_demoState.prevCounter = counter.QuadPart;
    }
    // The logged calls without their arguments and resource labels.
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const std::string& line : Calls()) {
            std::string name = line.substr(0, line.find('('));
            names.push_back(name.substr(name.find('.') + 1));  // "Texture#1.GetSurfaceLevel" -> "GetSurfaceLevel"
        }
        return names;
    }
    IDirect3DSurface9* RenderTarget() const {
        IDirect3DSurface9* target = nullptr;
        device->GetRenderTarget(0, &target);
        if (target) target->Release();
        return target;
    }

    CountingEffect effect{&g_demoState};
};

TEST_F(FrameTest, FixedStepFramesAdvanceByExactlyOneNthAndOnlyTheFirstActiveEffectComposites) {
    CountingEffect second(&g_demoState);
    g_demoState.activeEffects.push_back(&second);
    for (int k = 1; k <= 90; ++k) {
        BeginFrame();
        ASSERT_EQ(g_demoState.frameDelta, k > 1 ? 1.0 / 30.0 : 0.0) << "frame " << k;
        ASSERT_NEAR(g_demoState.time, (k - 1) / 30.0, 1e-12);
        EndFrame();
        ASSERT_EQ(g_demoState.prevCounter, k - 1);
    }
    EXPECT_EQ(effect.postProcessed, 90);
    EXPECT_EQ(second.postProcessed, 0);
}

// An effect whose frames depend on its triggers and on what Update sets on
// the device; it notes what the rehearsal shows it.
class RehearsedEffect : public Mirel::Effect {
public:
    explicit RehearsedEffect(DemoState* state) : Effect(state) {
        triggers.emplace_back(0, 0.5);
        triggers.emplace_back(1, 2.0);
    }
    void Init() override {}
    void Update(double dt, double time) override {
        Mirel::PollTriggers(*this);
        updates.push_back({dt, time});
        state->device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    }
    void Render() override {
        DWORD cull = 0;
        state->device->GetRenderState(D3DRS_CULLMODE, &cull);
        renders.push_back({triggers[0].fired && triggers[1].fired, cull == D3DCULL_CW});
        state->device->SetRenderState(D3DRS_ZENABLE, FALSE);
    }
    void Stop() override {}
    void PostProcess() override { ++postProcessed; }

    std::vector<std::pair<double, double>> updates;
    std::vector<std::pair<bool, bool>> renders;  // all triggers fired, Update's state in place
    int postProcessed = 0;
};

TEST_F(FrameTest, RehearsalDrawsEachQueuedEffectTwiceUnpresentedAndLeavesEverythingAsItWas) {
    RehearsedEffect first(&g_demoState), second(&g_demoState);
    second.startTime = 5.0;
    second.triggers[0].fired = true;
    g_demoState.pendingEffects.push(&second);
    g_demoState.pendingEffects.push(&first);
    g_demoState.time = 3.0;
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    const DWORD zBefore = RenderState(D3DRS_ZENABLE);
    IDirect3DSurface9* backBuffer = RenderTarget();
    ClearCalls();

    RehearseEffects();

    for (RehearsedEffect* effect : {&first, &second}) {
        EXPECT_EQ(effect->updates, (std::vector<std::pair<double, double>>{{0.0, 0.0}}));
        EXPECT_EQ(effect->renders, (std::vector<std::pair<bool, bool>>{{false, true}, {true, true}}));
        EXPECT_EQ(effect->postProcessed, 2);
        EXPECT_FALSE(effect->triggers[1].fired);
        EXPECT_EQ(effect->lastTrigger, 0u);
    }
    EXPECT_TRUE(second.triggers[0].fired && !first.triggers[0].fired);
    EXPECT_EQ(g_demoState.time, 3.0);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), zBefore);
    const std::vector<std::string> names = CallNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "Present"), 0);
    EXPECT_EQ(RenderTarget(), backBuffer);
    g_demoState.pendingEffects = {};
}

TEST_F(FrameTest, FramesRenderIntoTheClearedScreenTargetAndCompositeOntoTheBackBuffer) {
    IDirect3DSurface9* backBuffer = RenderTarget();
    IDirect3DSurface9* level = nullptr;
    g_demoState.screenTexture->GetSurfaceLevel(0, &level);
    level->Release();
    for (bool withScreen : {true, false}) {
        SCOPED_TRACE(withScreen ? "into the screen texture" : "without a screen texture: on the back buffer");
        IDirect3DTexture9* screen = g_demoState.screenTexture;
        if (!withScreen) g_demoState.screenTexture = nullptr;
        ClearCalls();
        BeginFrame();
        g_demoState.screenTexture = screen;
        EXPECT_EQ(Calls().back(), "Clear(0, NULL, D3DCLEAR_TARGET|D3DCLEAR_ZBUFFER, 0xffffffff, 1, 0)");
        EXPECT_EQ(RenderTarget(), withScreen ? level : backBuffer);
        ClearCalls();
        EndFrame();
        std::vector<std::string> end = CallNames();
        EXPECT_EQ(end.front(), "SetRenderTarget") << "the back buffer is back before the composite";
        EXPECT_EQ(end.back(), "Present");
        EXPECT_EQ(RenderTarget(), backBuffer);
        EXPECT_EQ(g_demoState.savedBackBuffer, nullptr) << "references given up";
    }
    EXPECT_EQ(effect.postProcessed, 2);
}

// The same frames on the headless OpenGL device, read back as presented.
class FramePicture : public FrameTest {
protected:
    FramePicture() : FrameTest(D3D9Backend::OpenGL) {}
    void SetUp() override {
        FrameTest::SetUp();
        g_demoState.activeEffects.clear();
    }
    Picture Presented() const {
        Picture shot;
        EXPECT_TRUE(D3D9_ReadPresented(device, &shot.rgba, &shot.width, &shot.height));
        return shot;
    }
};

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

TEST_F(FramePicture, AFrameWithoutAnActiveEffectShowsTheScreenTextureAsDrawn) {
    BeginFrame();
    const D3DRECT corner = {0, 0, 16, 12};
    device->Clear(1, &corner, D3DCLEAR_TARGET, kRed, 1.0f, 0);
    EndFrame();
    Picture shot = Presented();
    ASSERT_EQ(shot.width, 64);
    EXPECT_EQ(shot.At(4, 4), kRed);
    EXPECT_EQ(shot.At(20, 4), kWhite);
    EXPECT_EQ(shot.At(60, 44), kWhite);
}

TEST_F(FramePicture, TheLoadingFrameShowsItsPictureFullScreenTheRightWayUp) {
    // Four quadrants of 2 x 2 texels: red, green over blue, white.
    std::vector<uint32_t> texels(16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            texels[size_t(4 * y + x)] = y < 2 ? (x < 2 ? kRed : kGreen) : (x < 2 ? kBlue : kWhite);
    DrawLoadingScreen(gpu.Texture(4, 4, texels));
    Picture shot = Presented();
    EXPECT_EQ(shot.At(16, 12), kRed);
    EXPECT_EQ(shot.At(48, 12), kGreen);
    EXPECT_EQ(shot.At(16, 36), kBlue);
    EXPECT_EQ(shot.At(48, 36), kWhite);
}

class RunControl : public FrameTest {
protected:
    void TearDown() override {
        g_loaderDialogReady = nullptr;
        g_runHooks = RunHooks();
        FrameTest::TearDown();
    }
};

// The frame loop of the entry point, with the command line's stop check.
int RunFrames() {
    int frames = 0;
    while (!RunShouldStop() && frames < 10000) {
        BeginFrame();
        EndFrame();
        OnFramePresented();
        ++frames;
    }
    return frames;
}

TEST_F(RunControl, AnUnreachedOrUnreadablePictureFailsTheRun) {
    // The recording backend presents no picture.
    ApplyRunOptions(ParseCommandLine({"--fps", "10", "--until", "1", "--shot", "0.5:unused.png"}).options);
    StartClock(10);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunFrames(), 10);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No presented picture"), std::string::npos);
    testing::internal::CaptureStdout();
    EXPECT_EQ(FinishRun(0), kExitShotFailed);
    testing::internal::GetCapturedStdout();
}

// WinMain on the recording device over the built data.pak and music, the
// loader dialog answered with a mode, on a 30 fps clock.
class WinMainRun : public ::testing::Test {
protected:
    void SetUp() override {
        previous = D3D9_GetBackend();
        D3D9_SetBackend(D3D9Backend::Recording);
    }
    void TearDown() override {
        ReleaseShared();  // after a failed start-up: what it had made
        D3D9_SetBackend(previous);
        g_loaderDialogReady = nullptr;
        g_runHooks = RunHooks();
        g_screenModes.clear();
        Win32_Reset();
    }
    int Run(int width, int height) {
        DemoOptions options;
        options.headless = options.hasMode = true;
        options.width = width;
        options.height = height;
        options.fps = 30;
        ApplyRunOptions(options);
        g_runHooks = RunHooks();
        g_runHooks.loadingPresented = onLoading;
        g_runHooks.framePresented = [this] {
            ++frames;
            if (onFrame) onFrame();
        };
        g_runHooks.shouldStop = [this] { return frames == 15; };
        return WinMain(nullptr, nullptr, nullptr, 0);
    }

    std::function<void()> onLoading, onFrame;
    D3D9Backend previous = D3D9Backend::OpenGL;
    int frames = 0;
};

// Waits in the queue past the end of the run and notes what it finds at shutdown.
class ProbeEffect : public Mirel::Effect {
public:
    ProbeEffect(bool* stoppedWithServices, bool* deleted)
        : Effect(&g_demoState), stoppedWithServices(stoppedWithServices), deleted(deleted) {
        startTime = 1000.0;
        endTime = 1001.0;
    }
    ~ProbeEffect() override { *deleted = true; }
    void Init() override {}
    void Update(double, double) override {}
    void Render() override {}
    void PostProcess() override {}
    void Stop() override { *stoppedWithServices = g_demoState.device && g_demoState.resources && g_demoState.quad; }
    bool* stoppedWithServices;
    bool* deleted;
};

TEST_F(WinMainRun, StartsUpInOrderRunsFromTimeZeroAndShutsDownEverything) {
    int loadingPresents = -1;
    bool resourcesShared = false;
    size_t meshesAtLoading = 99, pendingAtLoading = 99;
    onLoading = [&] {
        const auto& calls = D3D9_RecordedCalls(g_demoState.device);
        loadingPresents = int(std::count_if(calls.begin(), calls.end(),
                                            [](const std::string& c) { return c.rfind("Present(", 0) == 0; }));
        resourcesShared = g_resourceManager && g_resourceManager == g_demoState.resources;
        meshesAtLoading = g_demoState.meshes.size();
        pendingAtLoading = g_demoState.pendingEffects.size();
        // Loading takes a second of the clock, and the loading frame's time is not the demo's.
        for (int i = 0; i < 30; ++i) Win32_FramePresented();
        g_demoState.time = 7.0;
    };
    double firstTime = -1.0, firstDelta = -1.0;
    bool spectrumEveryFrame = false, yachtThird = false;
    float loudest = 0.0f;
    bool stoppedWithServices = false, probeDeleted = false;
    onFrame = [&] {
        DemoState& s = g_demoState;
        if (frames == 1) {
            firstTime = s.time;
            firstDelta = s.frameDelta;
            spectrumEveryFrame = s.music->spectrumEnabled && s.music->spectrumInterval == -1.0f;
            yachtThird = s.meshes.size() == 7 && s.meshes[2].mesh == GetMesh("Media//yachtAll2.x").mesh;
            s.pendingEffects.push(new ProbeEffect(&stoppedWithServices, &probeDeleted));
        }
        for (float band : s.music->spectrum) loudest = std::max(loudest, band);
    };
    ASSERT_EQ(Run(64, 48), 0);

    // Steps 4 and 5: the manager shared, then one presented frame before anything else loads.
    EXPECT_TRUE(resourcesShared);
    EXPECT_EQ(loadingPresents, 1);
    EXPECT_EQ(meshesAtLoading, 0u);
    EXPECT_EQ(pendingAtLoading, 0u);
    // Steps 6 to 11: the meshes in their order, the spectrum read every frame,
    // the music playing, the clock set to zero just before the loop.
    EXPECT_TRUE(yachtThird);
    EXPECT_TRUE(spectrumEveryFrame);
    EXPECT_GT(loudest, 0.0f) << "the music is heard in the spectrum";
    EXPECT_EQ(firstTime, 0.0);
    EXPECT_EQ(firstDelta, 0.0);
    // Shutdown: effects left over are stopped while the services still exist,
    // then the services go and the cursor is shown again.
    EXPECT_TRUE(stoppedWithServices);
    EXPECT_TRUE(probeDeleted);
    EXPECT_TRUE(g_demoState.activeEffects.empty());
    EXPECT_TRUE(g_demoState.pendingEffects.empty());
    const DemoState& s = g_demoState;
    EXPECT_TRUE(!s.d3d && !s.device && !s.sprite && !s.camera && !s.music && !s.resources && !s.debugFont && !s.quad);
    EXPECT_EQ(g_resourceManager, nullptr);
    EXPECT_EQ(ShowCursor(FALSE), -1) << "the cursor was shown again";
}

TEST_F(WinMainRun, AWindowThatCannotBeMadeEndsStartUpWithStatusOne) {
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.lpszClassName = "KelClass";
    ASSERT_TRUE(RegisterClassExA(&taken));
    EXPECT_EQ(Run(64, 48), kExitStartupFailed);
    EXPECT_EQ(g_demoState.d3d, nullptr) << "no device was tried";
}

TEST_F(WinMainRun, ADeviceThatCannotBeMadeEndsStartUpWithStatusOne) {
    // A window without a client area has no back buffer to offer.
    int boxes = Win32_MessageBoxCount();
    EXPECT_EQ(Run(0, 0), kExitStartupFailed);
    EXPECT_EQ(Win32_MessageBoxCount(), boxes + 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "CreateDevice() failed!  Make sure you have DirectX 9.");
    EXPECT_EQ(frames, 0);
}

}  // namespace
