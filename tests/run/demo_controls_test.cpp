// The keys of a windowed run, driven in a run inside the test process: seeks
// forward and backward in four scenes land on exactly the frame a separate
// --start run draws at that moment, with the music at the same sample; a pause holds the
// picture, the clock and the music; Escape still ends a paused demo; H shows
// the overlay and F12 saves the frame shown.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "run/capture_timing.h"
#include "run/demo_controls.h"
#include "run/hud.h"
#include "tests/support/demo_process.h"
#include "tests/support/in_process_run.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFps = 30;
constexpr int kWidth = 96;
constexpr int kHeight = 72;

class DemoControls : public DemoProcessTest {
protected:
    // The first frame a run from --start `seconds` draws, from a process of its own.
    Picture StartFrame(double seconds) {
        char arguments[200];
        const fs::path shot = folder / ("start_" + std::to_string(seconds) + ".png");
        std::snprintf(arguments, sizeof arguments, "--mode %dx%d --fps %d --start %g --shot %g:%s --until %g", kWidth,
                      kHeight, kFps, seconds, seconds, shot.c_str(), seconds + 0.05);
        ShellResult run = Demo(arguments);
        EXPECT_EQ(run.status, 0) << run.log;
        return LoadPng(shot.string());
    }
};

// Watches the loop that holds a paused run; `tick` runs on each of its passes.
struct WhilePaused {
    explicit WhilePaused(std::function<void()> tick) { g_whilePaused = std::move(tick); }
    ~WhilePaused() { g_whilePaused = nullptr; }
};

unsigned MusicPosition() {
    unsigned position = 0;
    g_runMusic->getPosition(&position, FMOD_TIMEUNIT_PCM);
    return position;
}

TEST_F(DemoControls, SeeksForwardAndBackInFourScenesLandOnTheFramesStartDraws) {
    struct Step {
        std::function<void()> seek;
        double target;
        const char* what;
    };
    const std::vector<Step> steps = {
        {[] { PressKey(VK_RIGHT); }, 14.0, "Right from 13 s (hand drawing)"},
        {[] { RequestSeek(25.5); }, 25.5, "forward to 25.5 s (hand to hatching)"},
        {[] { RequestSeek(41.2); }, 41.2, "forward to 41.2 s (hatching to colour)"},
        {[] { PressKey(VK_LEFT); }, 40.2, "Left from 41.2 s (hatching to colour)"},
        {[] { RequestSeek(25.5); }, 25.5, "back to 25.5 s (hand to hatching)"},
        {[] { RequestSeek(14.0); }, 14.0, "back to 14 s (hand drawing)"},
        {[] { RequestSeek(97.0); }, 97.0, "forward to 97 s (the earth, credits flying)"},
        {[] { RequestSeek(90.3); }, 90.3, "back to 90.3 s (the earth fading in): class-wide values start afresh"},
    };
    std::vector<Picture> landed;
    std::vector<double> times;
    std::vector<long> musicOffsets;
    bool seeking = true, sawLeadIn = false;
    DemoOptions options = SmallRun(kWidth, kHeight, kFps);
    options.start = 13.0;
    options.until = 100.0;
    ASSERT_EQ(RunInProcess(options,
                           [&] {
                               if (D3D9_Discarding(g_demoState.device)) {
                                   sawLeadIn = true;
                                   return;
                               }
                               if (!seeking || !sawLeadIn) return;
                               // The frame the start or a seek landed on.
                               landed.push_back(Presented());
                               times.push_back(g_demoState.time);
                               const long expected =
                                   long(g_demoState.time * capture::kSampleRate) + capture::kSampleRate / kFps;
                               musicOffsets.push_back(long(MusicPosition()) - expected);
                               seeking = sawLeadIn = false;
                               const size_t next = landed.size() - 1;
                               if (next < steps.size()) {
                                   steps[next].seek();
                                   seeking = true;
                               } else {
                                   g_demoState.quit = true;
                               }
                           }),
              0);
    ASSERT_EQ(landed.size(), steps.size() + 1);
    EXPECT_NEAR(times[0], 13.0, 1e-6);
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(steps[i].what);
        EXPECT_NEAR(times[i + 1], steps[i].target, 1.0 / kFps);
        EXPECT_LE(std::abs(musicOffsets[i + 1]), 2) << "the music is not where the frame is";
        const Picture expected = StartFrame(steps[i].target);
        ASSERT_FALSE(expected.rgba.empty());
        EXPECT_TRUE(SamePicture(landed[i + 1], expected)) << "the seek's frame differs from --start's";
    }
}

TEST_F(DemoControls, PauseHoldsPictureClockAndMusicUntilResumed) {
    int frames = 0, framesWhenPaused = 0, framesAtEndOfHold = -1, heldPasses = 0;
    double timePaused = 0.0, timeResumed = 0.0;
    unsigned musicPaused = 0, musicAtStartOfHold = 0, musicAtEndOfHold = 0, musicResumed = 0;
    bool resumed = false;
    std::chrono::steady_clock::time_point held;
    DemoOptions options = SmallRun(64, 48, 0);  // the wall clock: time and music run on their own
    options.until = 1.5;
    WhilePaused watch([&] {
        if (heldPasses++ == 0) musicAtStartOfHold = MusicPosition();
        if (resumed || std::chrono::steady_clock::now() - held < std::chrono::milliseconds(400)) return;
        framesAtEndOfHold = frames;
        musicAtEndOfHold = MusicPosition();
        resumed = true;
        PressKey(VK_SPACE);
    });
    ASSERT_EQ(RunInProcess(options,
                           [&] {
                               ++frames;
                               if (frames == 10) {
                                   framesWhenPaused = frames;
                                   timePaused = g_demoState.time;
                                   musicPaused = MusicPosition();
                                   held = std::chrono::steady_clock::now();
                                   PressKey(VK_SPACE);
                               } else if (frames == framesWhenPaused + 1) {
                                   timeResumed = g_demoState.time;
                                   musicResumed = MusicPosition();
                               }
                           }),
              0);
    EXPECT_GT(heldPasses, 10) << "the loop was not held";
    EXPECT_EQ(framesAtEndOfHold, framesWhenPaused) << "frames ran while paused";
    EXPECT_EQ(musicAtEndOfHold, musicAtStartOfHold) << "the music played on while paused";
    EXPECT_LT(musicAtStartOfHold - musicPaused, unsigned(0.01 * capture::kSampleRate));
    EXPECT_LT(timeResumed - timePaused, 0.2) << "the paused time counted as a frame's";
    EXPECT_GT(musicResumed, musicPaused) << "the music did not resume";
    EXPECT_LT(long(musicResumed) - long(musicPaused), long(0.2 * capture::kSampleRate));
}

TEST_F(DemoControls, EscapeEndsAPausedDemo) {
    int frames = 0, heldPasses = 0;
    WhilePaused watch([&] {
        if (++heldPasses == 3) PostMessageA(g_system.hwnd, WM_KEYUP, VK_ESCAPE, 0);
    });
    ASSERT_EQ(RunInProcess(SmallRun(64, 48, kFps),
                           [&] {
                               if (++frames == 5) PressKey(VK_SPACE);
                           }),
              0);
    EXPECT_EQ(heldPasses, 3);
    EXPECT_EQ(frames, 5);
}

TEST_F(DemoControls, HShowsTheOverlayAndF12SavesTheFrameByItsTime) {
    int frames = 0;
    bool shownAfterH = false;
    std::string saved;
    Picture shown;
    ASSERT_EQ(RunInProcess(SmallRun(160, 120, kFps),
                           [&] {
                               ++frames;
                               if (frames == 3) PressKey('H');
                               if (frames == 4) {
                                   shownAfterH = HudShown();
                                   shown = Presented();
                                   PressKey(VK_F12);
                               }
                               if (frames == 5) g_demoState.quit = true;
                           }),
              0);
    EXPECT_TRUE(shownAfterH);
    // Frame 4 (index 3) shows 0.1 s.
    const fs::path file = fs::absolute("frame_0.100.png");
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(SamePicture(LoadPng(file.string()), shown));
    fs::remove(file);
}

}  // namespace
