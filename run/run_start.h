// How a run starts, the same on Linux (run/run_control.cpp) and in the page
// (run/web/web_main.cpp): the loader dialog answered with the messages a
// user would cause, and the lead-in, the frames before a start time that run
// without drawing while the music waits where a playing one's spectrum would
// read.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32/windows.h"

namespace FMOD {
class Channel;
}  // namespace FMOD

// On the wall clock, the frames before a start time run in steps of this rate.
constexpr int kLeadInFps = 60;

// The index of a size in the dialog's mode list (the list's length when it is not there).
WPARAM ModePosition(int width, int height);

// Posts to the loader dialog what a user's choice would cause: the mode
// selected and the full-screen box set (each when given), then "Run demo!"
// pressed. A click is followed by more messages; the dialog's loop leaves on
// the next one, so one more is posted.
void AnswerDialog(std::optional<WPARAM> mode, std::optional<bool> fullscreen);

// Demo time of the frame about to begin.
double NextFrameTime();

// The loop's frames counted from the start of the timeline, and the first of
// them that is drawn.
struct LeadIn {
    int64_t nextFrame = 0;   // the loop's index of the frame about to run
    int64_t firstDrawn = 0;  // frames before it run discarding
    FMOD::Channel* music = nullptr;
    bool holdMusic = false;  // the music waits for the first drawn frame

    // The first drawn frame is the first at or after `seconds` on the
    // fixed-step clock of `fps` frames a second (0: the wall clock, whose
    // lead-in runs at kLeadInFps).
    void StartAt(double seconds, int fps);
    // After the loading picture: on the wall clock (`fps` 0) the frames
    // before the first drawn one run on exact steps, quickly.
    void LoadingPresented(int fps) const;
    // The music has started: held while the lead-in runs.
    void MusicStarted(FMOD::Channel* channel);
    // Just before the next frame begins: the device discards what frames
    // before the first drawn one draw; a held music is placed where the
    // spectrum of a playing one would read, and released (unless `paused`)
    // at the first drawn frame.
    void FrameStarting(bool paused);
    bool Drawing() const { return nextFrame >= firstDrawn; }
};

// Makes the unpresented rehearsal frames at start-up compile only, the
// window answering the desktop (or the page the browser) meanwhile.
void InstallRehearsal();
