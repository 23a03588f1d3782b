// An effect that writes every call the scheduler makes on it into a shared
// log, as "<name>.<Operation>", so tests can check the exact order of calls.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "shell/demo_state.h"
#include "timeline/effect.h"
#include "timeline/scheduler.h"

using CallLog = std::vector<std::string>;

class RecordingEffect : public Mirel::Effect {
public:
    RecordingEffect(std::string name_, double start, double end, CallLog* log_)
        : Mirel::Effect(&g_demoState), name(std::move(name_)), log(log_) {
        startTime = start;
        endTime = end;
    }
    ~RecordingEffect() override { Note("deleted"); }

    void Init() override { Note("Init"); }
    void Start(double time) override {
        Mirel::Effect::Start(time);
        Note("Start");
        if (onStart) onStart(time);
    }
    void Update(double, double) override {
        Mirel::PollTriggers(*this);
        Note("Update");
    }
    void Render() override { Note("Render"); }
    void Stop() override {
        Note("Stop");
        if (onStop) onStop();
    }
    void PostProcess() override { Note("PostProcess"); }

    std::function<void(double)> onStart;
    std::function<void()> onStop;

private:
    void Note(const char* operation) { log->push_back(name + "." + operation); }

    std::string name;
    CallLog* log;
};

// Clears the scheduler's part of the global demo state around every test.
class DemoStateTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        for (Mirel::Effect* effect : g_demoState.activeEffects) delete effect;
        for (; !g_demoState.pendingEffects.empty(); g_demoState.pendingEffects.pop())
            delete g_demoState.pendingEffects.top();
        Reset();
    }

    static void Reset() {
        g_demoState.activeEffects.clear();
        g_demoState.pendingEffects = {};
        g_demoState.meshes.clear();
        g_demoState.camera = nullptr;
        g_demoState.music = nullptr;
        g_demoState.time = 0.0;
        g_demoState.frameDelta = 0.0;
        g_demoState.endTime = 110.0;
        g_demoState.quit = false;
    }

    RecordingEffect* Add(const std::string& name, double start, double end) {
        auto* effect = new RecordingEffect(name, start, end, &log);
        AddEffect(effect);
        return effect;
    }

    // One pass of the frame loop's update and render, at demo time `time`.
    void Frame(double time) {
        g_demoState.frameDelta = time - g_demoState.time;
        g_demoState.time = time;
        UpdateDemo();
        RenderEffects();
    }
    // The calls one such pass makes.
    CallLog FrameCalls(double time) {
        log.clear();
        Frame(time);
        return log;
    }

    CallLog log;
};
