// What the command line adds to a run: answering the loader dialog, the
// fixed-step clock, stopping at a demo time, saving pictures, and the
// closing summary. With default options every hook does nothing.
#pragma once

#include "run/options.h"

// Status when a requested picture could not be saved or was never reached.
constexpr int kExitShotFailed = 3;

// Chooses the backend and the clock and prepares the loader's answer.
void ApplyRunOptions(const DemoOptions& options);
const DemoOptions& RunOptions();

// True when the next frame's demo time would reach --until.
bool RunShouldStop();
// After the loading picture has been presented.
void OnLoadingPresented();
// After each frame of the loop has been presented.
void OnFramePresented();
// After shutdown: prints the summary and turns missed pictures into a failure.
int FinishRun(int status);

// Posts the messages that answer the loader dialog from the options (called
// from the dialog once it is ready).
void AnswerLoaderDialog();

// Writes the last presented picture as PNG; false (with a message on stderr) on failure.
bool SavePresentedPicture(const std::string& path);
