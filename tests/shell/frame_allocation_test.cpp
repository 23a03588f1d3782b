// Nothing is allocated in a frame once the demo runs, with the overlay or without: WinMain runs the whole
// timeline (every effect BuildTimeline makes) on the recording device with its
// call log off, and every heap allocation through operator new between the end
// of one frame and the end of the next is counted. The frame in which an
// effect starts is its warm-up and is not counted; every other frame of every
// effect must allocate nothing.
#include <gtest/gtest.h>

#include <cxxabi.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "run/hud.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "shell/win_main.h"
#include "tests/support/counting/allocation_counter.h"

namespace {

std::string EffectName(const Mirel::Effect* effect) {
    const char* mangled = typeid(*effect).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : mangled;
    std::free(readable);
    return name;
}

struct EffectFrames {
    int counted = 0;
    long allocations = 0;
};

class FrameAllocation : public ::testing::Test {
protected:
    void SetUp() override {
        previous = D3D9_GetBackend();
        D3D9_SetBackend(D3D9Backend::Recording);
    }
    void TearDown() override {
        allocation_counter::StopCounting();
        D3D9_SetBackend(previous);
        g_loaderDialogReady = nullptr;
        g_runHooks = RunHooks();
        g_screenModes.clear();
        Win32_Reset();
    }

    // Runs the demo to its end at `fps`, counting the allocations of every
    // frame (the overlay's drawing included when `hud`).
    int Run(int fps, bool hud = false) {
        DemoOptions options;
        options.headless = options.hasMode = true;
        options.width = 64;
        options.height = 48;
        options.fps = fps;
        options.hud = hud;
        ApplyRunOptions(options);
        g_runHooks = RunHooks();
        g_runHooks.loadingPresented = [hud] {
            D3D9_SetCallLog(g_demoState.device, false);
            InstallHud(g_demoState.device, hud);
        };
        g_runHooks.framePresented = [this] {
            OnFrame(allocation_counter::StopCounting());
            allocation_counter::StartCounting();
        };
        int status = WinMain(nullptr, nullptr, nullptr, 0);
        allocation_counter::StopCounting();
        overlayDrawn = HudDrawSeconds() > 0.0;
        ReleaseHud();
        return status;
    }

    // What happened since the previous frame's end, put down to the effects active now.
    void OnFrame(long allocations) {
        const std::vector<Mirel::Effect*>& active = g_demoState.activeEffects;
        if (frames++ == 0) {
            auto pending = g_demoState.pendingEffects;
            for (; !pending.empty(); pending.pop()) timeline.insert(EffectName(pending.top()));
            for (const Mirel::Effect* effect : active) timeline.insert(EffectName(effect));
        }
        bool warmUp = frames == 1;
        for (const Mirel::Effect* effect : active)
            if (!seen.count(effect)) warmUp = true;
        seen = std::set<const Mirel::Effect*>(active.begin(), active.end());
        if (warmUp) return;
        std::string who;
        for (const Mirel::Effect* effect : active) {
            std::string name = EffectName(effect);
            who += (who.empty() ? "" : " + ") + name;
            ++perEffect[name].counted;
            perEffect[name].allocations += allocations;
        }
        if (active.empty()) who = "no effect";
        ++countedFrames;
        if (allocations > 0 && firstAllocatingFrame.empty()) {
            firstAllocatingFrame = "frame " + std::to_string(frames) + " at " + std::to_string(g_demoState.time) +
                                   " s (" + who + "): " + std::to_string(allocations) + " allocations\n" +
                                   allocation_counter::FirstStacks();
        }
        totalAllocations += allocations;
    }

    D3D9Backend previous = D3D9Backend::OpenGL;
    int frames = 0;
    int countedFrames = 0;
    long totalAllocations = 0;
    std::set<std::string> timeline;
    std::set<const Mirel::Effect*> seen;
    std::map<std::string, EffectFrames> perEffect;
    std::string firstAllocatingFrame;
    bool overlayDrawn = false;
};

TEST_F(FrameAllocation, NoFrameOfAnyEffectAllocatesAfterItsFirst) {
    ASSERT_EQ(Run(10), 0);
    ASSERT_GE(timeline.size(), 4u) << "the timeline's effects were not seen";
    for (const std::string& name : timeline) {
        const EffectFrames& effect = perEffect[name];
        EXPECT_GE(effect.counted, 10) << name << " ran too few frames to judge";
        EXPECT_EQ(effect.allocations, 0) << name << " allocates in its frames";
    }
    EXPECT_GT(countedFrames, 500);
    EXPECT_EQ(totalAllocations, 0) << "first: " << firstAllocatingFrame;
}

TEST_F(FrameAllocation, TheOverlayAllocatesNothingPerFrame) {
    ASSERT_EQ(Run(10, true), 0);
    EXPECT_TRUE(overlayDrawn);
    EXPECT_GT(countedFrames, 500);
    EXPECT_EQ(totalAllocations, 0) << "first: " << firstAllocatingFrame;
}

}  // namespace
