// What the command line adds to a run: answering the loader dialog, the
// fixed-step clock, stopping at a demo time, saving pictures, and the
// closing summary. With default options every hook does nothing.
#pragma once

#include "run/options.h"

namespace FMOD {
class Channel;
}  // namespace FMOD

// Status when a requested picture could not be saved or was never reached.
constexpr int kExitShotFailed = 3;
// Status when a capture could not be written (ffmpeg missing or failing, a full disk).
constexpr int kExitCaptureFailed = 4;
// Status when a capture was interrupted (Ctrl-C): what was captured is kept as partial.
constexpr int kExitInterrupted = 130;
// Status when the sound system or the music fails (-1).
constexpr int kExitSoundFailed = 255;

// Chooses the backend and the clock and prepares the loader's answer.
void ApplyRunOptions(const DemoOptions& options);
// With --capture: reads the music's span and opens the output (starting
// ffmpeg for a video), and makes Ctrl-C end the capture cleanly. 0, or the
// exit status after a message on stderr.
int StartCapture();
const DemoOptions& RunOptions();

// True when the next frame's demo time would reach --until.
bool RunShouldStop();
// After the loading picture has been presented.
void OnLoadingPresented();
// The loop is about to run the next frame: before --start, it runs discarding.
void OnFrameStarting();
// After each frame of the loop has been presented.
void OnFramePresented();
// After shutdown: finishes a capture, prints the summary and turns missed
// pictures and capture failures into the exit status.
int FinishRun(int status);

// Posts the messages that answer the loader dialog from the options (called
// from the dialog once it is ready).
void AnswerLoaderDialog();

// Seeking and pausing (run/demo_controls.h drives them from the keys).
// After the timeline went back to 0 (run/rewind.h): the frames up to
// `seconds` run discarding, as with --start, the first drawn one being the
// frame --start would draw, and the music is held and placed as for --start.
void RestartAt(double seconds);
// Holds or releases the music (the loop itself is held by the controls).
void SetRunPaused(bool paused);
bool RunPaused();
// True from a restart until the first frame it draws has been presented.
bool RunLeadingIn();

// Writes the last presented picture as PNG; false (with a message on stderr) on failure.
bool SavePresentedPicture(const std::string& path);
