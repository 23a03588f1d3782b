// BeginFrame and EndFrame on the recording backend: the clock step, the
// switch to the screen target and back, the composite and the present.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "run/run_control.h"
#include "shell/frame.h"
#include "shell/system.h"

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

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetBackend(Win32Backend::Headless);
        Win32_Reset();
        D3D9_SetBackend(D3D9Backend::Recording);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS params = {};
        params.BackBufferWidth = 64;
        params.BackBufferHeight = 48;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &device),
                  D3D_OK);
        ASSERT_EQ(device->CreateTexture(64, 48, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                        &g_demoState.screenTexture, nullptr),
                  D3D_OK);
        ASSERT_EQ(device->CreateDepthStencilSurface(64, 48, D3DFMT_D24S8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                    &g_demoState.screenDepth, nullptr),
                  D3D_OK);
        g_demoState.device = device;
        g_demoState.time = 0.0;
        g_demoState.frameDelta = 0.0;
        effect = new CountingEffect(&g_demoState);
        g_demoState.activeEffects = {effect};
    }

    void TearDown() override {
        g_demoState.activeEffects.clear();
        delete effect;
        if (g_demoState.screenTexture) g_demoState.screenTexture->Release();
        if (g_demoState.screenDepth) g_demoState.screenDepth->Release();
        g_demoState.screenTexture = nullptr;
        g_demoState.screenDepth = nullptr;
        g_demoState.device = nullptr;
        if (device) device->Release();
        if (d3d) d3d->Release();
        Win32_Reset();
    }

    void StartClock(int fps) {
        Win32_SetFixedStep(fps);
        LARGE_INTEGER frequency, counter;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&counter);
        g_demoState.secondsPerTick = 1.0 / static_cast<double>(frequency.QuadPart);
        g_demoState.prevCounter = counter.QuadPart;
    }

    std::vector<std::string> Calls() {
        std::vector<std::string> names;
        for (const std::string& line : D3D9_RecordedCalls(device)) {
            std::string name = line.substr(0, line.find('('));
            names.push_back(name.substr(name.find('.') + 1));  // "Texture#1.GetSurfaceLevel" -> "GetSurfaceLevel"
        }
        return names;
    }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    CountingEffect* effect = nullptr;
};

TEST_F(FrameTest, EqualCountersGiveAZeroDeltaAndLeaveTimeAlone) {
    StartClock(30);
    g_demoState.time = 1.5;
    BeginFrame();
    EXPECT_EQ(g_demoState.frameDelta, 0.0);
    EXPECT_EQ(g_demoState.time, 1.5);
    EndFrame();
}

TEST_F(FrameTest, FixedStepFramesAdvanceByExactlyOneNth) {
    StartClock(30);
    for (int k = 1; k <= 90; ++k) {
        BeginFrame();
        ASSERT_EQ(g_demoState.curCounter, k - 1);
        if (k > 1) {
            ASSERT_EQ(g_demoState.frameDelta, 1.0 / 30.0) << "frame " << k;
        }
        ASSERT_NEAR(g_demoState.time, (k - 1) / 30.0, 1e-12);
        EndFrame();
        ASSERT_EQ(g_demoState.prevCounter, k - 1);
    }
    EXPECT_EQ(effect->postProcessed, 90);
}

TEST_F(FrameTest, FramesRenderIntoTheClearedScreenTargetAndCompositeOntoTheBackBuffer) {
    StartClock(60);
    D3D9_ClearRecordedCalls(device);
    BeginFrame();
    std::vector<std::string> begin = Calls();
    std::vector<std::string> expected = {"BeginScene",      "GetRenderTarget", "GetDepthStencilSurface",
                                         "GetSurfaceLevel", "SetRenderTarget", "SetDepthStencilSurface",
                                         "Clear"};
    EXPECT_EQ(begin, expected);
    const std::string& clear = D3D9_RecordedCalls(device).back();
    EXPECT_NE(clear.find("0xffffffff"), std::string::npos) << clear;
    IDirect3DSurface9* target = nullptr;
    device->GetRenderTarget(0, &target);
    IDirect3DSurface9* level = nullptr;
    g_demoState.screenTexture->GetSurfaceLevel(0, &level);
    EXPECT_EQ(target, level) << "drawing goes to the screen texture";
    target->Release();
    level->Release();

    D3D9_ClearRecordedCalls(device);
    EndFrame();
    std::vector<std::string> end = Calls();
    ASSERT_GE(end.size(), 4u);
    EXPECT_EQ(end[0], "SetRenderTarget");
    EXPECT_EQ(end[1], "SetDepthStencilSurface");
    EXPECT_EQ(end[end.size() - 2], "EndScene");
    EXPECT_EQ(end.back(), "Present");
    EXPECT_EQ(effect->postProcessed, 1);
    EXPECT_EQ(g_demoState.savedBackBuffer, nullptr) << "references given up";
    EXPECT_EQ(g_demoState.savedDepth, nullptr);
}

TEST_F(FrameTest, OnlyTheFirstActiveEffectComposites) {
    CountingEffect second(&g_demoState);
    g_demoState.activeEffects.push_back(&second);
    StartClock(60);
    BeginFrame();
    EndFrame();
    EXPECT_EQ(effect->postProcessed, 1);
    EXPECT_EQ(second.postProcessed, 0);
    g_demoState.activeEffects.pop_back();
}

using RunControl = FrameTest;

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

TEST_F(RunControl, ThirtyFramesASecondUntilTwoSecondsIsExactlySixtyFrames) {
    DemoOptions options;
    options.fps = 30;
    options.until = 2.0;
    ApplyRunOptions(options);
    StartClock(30);
    EXPECT_EQ(RunFrames(), 60);
    EXPECT_NEAR(g_demoState.time, 59.0 / 30.0, 1e-12) << "the last frame shown is the one before 2 s";
    testing::internal::CaptureStdout();
    EXPECT_EQ(FinishRun(0), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("60 frames"), std::string::npos);
    g_loaderDialogReady = nullptr;
}

TEST_F(RunControl, AnUnreachedOrUnreadablePictureFailsTheRun) {
    DemoOptions options;
    options.fps = 10;
    options.until = 1.0;
    options.shots.push_back({false, 0.5, "unused.png"});  // the recording backend presents no picture
    ApplyRunOptions(options);
    StartClock(10);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunFrames(), 10);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No presented picture"), std::string::npos);
    testing::internal::CaptureStdout();
    EXPECT_EQ(FinishRun(0), kExitShotFailed);
    testing::internal::GetCapturedStdout();
    g_loaderDialogReady = nullptr;
}

TEST_F(RunControl, WithoutOptionsNothingStopsTheLoop) {
    ApplyRunOptions(DemoOptions());
    StartClock(30);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(RunShouldStop());
        BeginFrame();
        EndFrame();
    }
    EXPECT_EQ(FinishRun(0), 0);
    g_loaderDialogReady = nullptr;
}

}  // namespace
