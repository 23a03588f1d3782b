// The demo's command line. Every option is optional; without any, the demo
// shows its loader dialog and runs on the wall clock as it always has.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A picture to save: the loading frame, or the first frame whose demo time
// is at least `seconds`.
struct ShotRequest {
    bool atLoading = false;
    double seconds = 0.0;
    std::string path;
};

// The demo's length: the timeline ends at 110 s.
constexpr double kDemoSeconds = 110.0;
// Capture defaults where the command line names none.
constexpr int kCaptureDefaultFps = 60;
constexpr int kCaptureDefaultWidth = 1280;
constexpr int kCaptureDefaultHeight = 720;

enum class CaptureKind { None, Video, Folder };

struct DemoOptions {
    bool help = false;
    bool version = false;
    bool hasMode = false;  // --mode WxH: answer the loader dialog with this mode
    int width = 0;
    int height = 0;
    std::optional<bool> fullscreen;  // --fullscreen / --windowed
    bool headless = false;           // no display, no audio device
    int fps = 0;                     // fixed-step clock at this rate; 0: wall clock
    std::optional<double> until;     // end once demo time would reach this
    std::vector<ShotRequest> shots;
    std::string dialogShot;       // save the loader dialog as shown, then end
    bool printSpectrum = false;   // a line of spectrum values every half second
    std::optional<double> start;  // begin drawing (and capturing) at this demo time
    // --capture: a video file (.mp4, .mkv) or a folder of numbered PNG frames.
    std::string capture;
    CaptureKind captureKind = CaptureKind::None;
    bool hud = false;     // draw the overlay over every presented frame (H toggles it in a window)
    std::string shaders;  // read shader sources from this folder and reload them when they change

    bool Any() const {
        return hasMode || fullscreen || headless || fps || until || !shots.empty() || !dialogShot.empty() ||
               printSpectrum || start || !capture.empty() || hud || !shaders.empty();
    }
};

struct ParsedCommandLine {
    DemoOptions options;
    std::string error;  // empty when the command line is good
};

// `args` are the arguments after the program name. Checks form and ranges
// only; see CheckOutputPaths for the files.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);
// Empty when every picture the options name can be written; else why not.
std::string CheckOutputPaths(const DemoOptions& options);

std::string UsageText();
extern const char kDemoVersion[];
