// Nothing is allocated in a frame once the demo runs: WinMain runs the whole
// timeline (every effect BuildTimeline makes) on the recording device with its
// call log off, and every heap allocation through operator new between the end
// of one frame and the end of the next is counted. The frame in which an
// effect starts is its warm-up and is not counted; every other frame of every
// effect must allocate nothing.
#include <gtest/gtest.h>

#include <cxxabi.h>
#include <execinfo.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "shell/loader_dialog.h"
#include "shell/run_hooks.h"
#include "shell/win_main.h"

namespace {

// Counting is switched on only around the frames under test; the first few
// allocations it sees keep their call stacks for the failure message.
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
constexpr int kKeptStacks = 4;
constexpr int kStackDepth = 24;
void* g_stacks[kKeptStacks][kStackDepth];
int g_stackDepths[kKeptStacks];
thread_local bool t_inHook = false;

void CountAllocation() {
    if (!g_counting.load(std::memory_order_relaxed) || t_inHook) return;
    long index = g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (index < kKeptStacks) {
        t_inHook = true;  // backtrace may allocate the first time it runs
        g_stackDepths[index] = backtrace(g_stacks[index], kStackDepth);
        t_inHook = false;
    }
}

void* Allocate(std::size_t size) {
    CountAllocation();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t size, std::align_val_t align) {
    CountAllocation();
    std::size_t alignment = static_cast<std::size_t>(align);
    std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    if (void* block = std::aligned_alloc(alignment, rounded ? rounded : alignment)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    CountAllocation();
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    CountAllocation();
    return std::malloc(size ? size : 1);
}
void* operator new(std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return AllocateAligned(size, align); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

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
        g_counting = false;
        D3D9_SetBackend(previous);
        g_loaderDialogReady = nullptr;
        g_runHooks = RunHooks();
        g_screenModes.clear();
        Win32_Reset();
    }

    // Runs the demo to its end at `fps`, counting the allocations of every frame.
    int Run(int fps) {
        DemoOptions options;
        options.headless = options.hasMode = true;
        options.width = 64;
        options.height = 48;
        options.fps = fps;
        ApplyRunOptions(options);
        g_runHooks = RunHooks();
        g_runHooks.loadingPresented = [] { D3D9_SetCallLog(g_demoState.device, false); };
        g_runHooks.framePresented = [this] {
            g_counting = false;
            OnFrame(g_allocations.exchange(0));
            g_counting = true;
        };
        int status = WinMain(nullptr, nullptr, nullptr, 0);
        g_counting = false;
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
                                   " s (" + who + "): " + std::to_string(allocations) + " allocations";
            char** symbols = nullptr;
            for (int i = 0; i < kKeptStacks && i < allocations; ++i) {
                firstAllocatingFrame += "\n  allocation " + std::to_string(i + 1) + ":";
                symbols = backtrace_symbols(g_stacks[i], g_stackDepths[i]);
                for (int k = 1; symbols && k < g_stackDepths[i]; ++k) firstAllocatingFrame += "\n    " + std::string(symbols[k]);
                std::free(symbols);
            }
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

}  // namespace
