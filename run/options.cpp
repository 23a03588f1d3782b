#include "run/options.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <cstdio>
#include <cmath>
#include <filesystem>

#include "platform/d3dx9/float_chars.h"

const char kDemoVersion[] = "0.1.0";

namespace {

constexpr int kMaxSide = 16384;
constexpr int kMaxFps = 1000;

bool ParseInt(const std::string& text, int* value) {
    if (text.empty() || text[0] == '+') return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseSeconds(const std::string& text, double* value) {
    if (text.empty() || text[0] == '+') return false;
    auto [end, ec] = FloatFromChars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(*value);
}

bool EndsWith(const std::string& path, const std::string& suffix) {
    if (path.size() < suffix.size()) return false;
    std::string tail = path.substr(path.size() - suffix.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == suffix;
}

bool EndsWithPng(const std::string& path) { return EndsWith(path, ".png"); }

std::string ParseCapture(const std::string& target, DemoOptions* options) {
    std::error_code ec;
    if (target.empty()) return "--capture needs a file or folder name";
    options->capture = target;
    if (target.back() == '/' || std::filesystem::is_directory(target, ec))
        options->captureKind = CaptureKind::Folder;
    else if (EndsWith(target, ".mp4") || EndsWith(target, ".mkv"))
        options->captureKind = CaptureKind::Video;
    else
        return "--capture: \"" + target + "\" should end in .mp4 or .mkv, or be a folder (end it with /)";
    return "";
}

std::string CheckPngName(const std::string& option, const std::string& path) {
    if (path.empty()) return option + " needs a file name";
    if (!EndsWithPng(path)) return option + ": \"" + path + "\" must end in .png";
    return "";
}

std::string ParseMode(const std::string& text, DemoOptions* options) {
    size_t x = text.find_first_of("xX");
    int width = 0, height = 0;
    if (x == std::string::npos || !ParseInt(text.substr(0, x), &width) || !ParseInt(text.substr(x + 1), &height))
        return "--mode: \"" + text + "\" is not a mode; write it as WIDTHxHEIGHT, for instance 1024x768";
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return "--mode: " + text + " is out of range (1 to " + std::to_string(kMaxSide) + " pixels a side)";
    options->hasMode = true;
    options->width = width;
    options->height = height;
    return "";
}

std::string ParseShot(const std::string& text, DemoOptions* options) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) return "--shot: \"" + text + "\" should be SECONDS:FILE.png or loading:FILE.png";
    ShotRequest shot;
    std::string when = text.substr(0, colon);
    shot.path = text.substr(colon + 1);
    if (when == "loading") {
        shot.atLoading = true;
    } else if (!ParseSeconds(when, &shot.seconds) || shot.seconds < 0) {
        return "--shot: \"" + when + "\" is not a time in seconds (0 or more) nor \"loading\"";
    }
    if (std::string error = CheckPngName("--shot", shot.path); !error.empty()) return error;
    options->shots.push_back(shot);
    return "";
}

std::string Apply(const std::string& name, const std::string& value, DemoOptions* options) {
    if (name == "--mode") return ParseMode(value, options);
    if (name == "--fps") {
        int fps = 0;
        if (!ParseInt(value, &fps) || fps < 1 || fps > kMaxFps)
            return "--fps: \"" + value + "\" is not a frame rate (a whole number from 1 to " + std::to_string(kMaxFps) +
                   ")";
        options->fps = fps;
        return "";
    }
    if (name == "--until") {
        double seconds = 0;
        if (!ParseSeconds(value, &seconds) || seconds <= 0)
            return "--until: \"" + value + "\" is not a time in seconds greater than 0";
        options->until = seconds;
        return "";
    }
    if (name == "--start") {
        double seconds = 0;
        if (!ParseSeconds(value, &seconds) || seconds < 0 || seconds >= kDemoSeconds) {
            char buffer[160];
            std::snprintf(buffer, sizeof buffer, "a time in seconds from 0 up to the demo's end (%g)", kDemoSeconds);
            return "--start: \"" + value + "\" is not " + buffer;
        }
        options->start = seconds;
        return "";
    }
    if (name == "--capture") return ParseCapture(value, options);
    if (name == "--shaders") {
        std::error_code ec;
        if (value.empty() || !std::filesystem::is_directory(value, ec))
            return "--shaders: \"" + value + "\" is not a folder";
        options->shaders = value;
        return "";
    }
    if (name == "--shot") return ParseShot(value, options);
    if (name == "--dialog-shot") {
        options->dialogShot = value;
        return CheckPngName("--dialog-shot", value);
    }
    return "unknown option " + name;
}

bool TakesValue(const std::string& name) {
    return name == "--mode" || name == "--fps" || name == "--until" || name == "--shot" || name == "--dialog-shot" ||
           name == "--start" || name == "--capture" || name == "--shaders";
}

// Whatever can be known before rendering: the folder exists, the file can be
// opened for writing there (which a file system that holds no files of ours,
// such as /proc, refuses), and the name fits the file system. A new file is
// created and removed again; an existing one is opened without being changed.
std::string CheckWritable(const std::string& option, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path file(path);
    const bool exists = fs::exists(file, ec);
    if (exists && fs::is_directory(file, ec)) return option + ": \"" + path + "\" is a folder";
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (!exists && !fs::is_directory(folder, ec)) return option + ": folder \"" + folder.string() + "\" does not exist";
    const int fd = exists ? open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)
                          : open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const int error = errno;
    if (fd >= 0) {
        close(fd);
        if (!exists) unlink(path.c_str());
        return "";
    }
    switch (error) {
    case ENAMETOOLONG: {
        const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
        return option + ": the name \"" + file.filename().string() + "\" is too long for the file system" +
               (longest > 0 ? " (at most " + std::to_string(longest) + " bytes)" : "");
    }
    case EACCES:
    case EPERM:
        return exists ? option + ": \"" + path + "\" cannot be written"
                      : option + ": cannot write in folder \"" + folder.string() + "\"";
    default: return option + ": \"" + path + "\" cannot be written: " + std::strerror(error);
    }
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine result;
    DemoOptions& options = result.options;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool hasValue = false;
        if (size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            hasValue = true;
        }
        if (TakesValue(arg)) {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    result.error = arg + " needs a value";
                    return result;
                }
                value = args[++i];
            }
            result.error = Apply(arg, value, &options);
        } else if (hasValue) {
            result.error = arg.rfind("--", 0) == 0 && (arg == "--help" || arg == "--version" || arg == "--headless" ||
                                                       arg == "--fullscreen" || arg == "--windowed" ||
                                                       arg == "--print-spectrum" || arg == "--hud")
                               ? arg + " takes no value"
                               : "unknown option " + arg;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--print-spectrum") {
            options.printSpectrum = true;
        } else if (arg == "--hud") {
            options.hud = true;
        } else if (arg == "--fullscreen") {
            options.fullscreen = true;
        } else if (arg == "--windowed") {
            options.fullscreen = false;
        } else if (arg.rfind("-", 0) == 0) {
            result.error = "unknown option " + arg;
        } else {
            result.error = "unexpected argument \"" + arg + "\"";
        }
        if (!result.error.empty()) return result;
    }
    if (options.start && options.until && *options.start >= *options.until) {
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "--start at %g s is not before --until at %g s", *options.start,
                      *options.until);
        result.error = buffer;
        return result;
    }
    if (options.start) {
        for (const ShotRequest& shot : options.shots) {
            if (!shot.atLoading && shot.seconds < *options.start) {
                char buffer[160];
                std::snprintf(buffer, sizeof buffer,
                              "--shot at %g s comes before --start at %g s: nothing is drawn then", shot.seconds,
                              *options.start);
                result.error = buffer;
                return result;
            }
        }
    }
    if (options.captureKind != CaptureKind::None) {
        // A capture renders headless on the fixed-step clock; sizes and rates default to a video's.
        options.headless = true;
        if (!options.fps) options.fps = kCaptureDefaultFps;
        if (!options.hasMode) {
            options.hasMode = true;
            options.width = kCaptureDefaultWidth;
            options.height = kCaptureDefaultHeight;
        }
        if (options.captureKind == CaptureKind::Video && (options.width % 2 || options.height % 2)) {
            result.error = "--capture: a video needs an even width and height; " + std::to_string(options.width) + "x" +
                           std::to_string(options.height) + " is not";
            return result;
        }
    }
    if (options.until) {
        for (const ShotRequest& shot : options.shots) {
            if (!shot.atLoading && shot.seconds >= *options.until) {
                char buffer[160];
                std::snprintf(buffer, sizeof buffer, "--shot at %g s is never reached: the run ends at %g s (--until)",
                              shot.seconds, *options.until);
                result.error = buffer;
                return result;
            }
        }
    }
    return result;
}

std::string CheckOutputPaths(const DemoOptions& options) {
    namespace fs = std::filesystem;
    if (options.captureKind == CaptureKind::Video) {
        if (std::string error = CheckWritable("--capture", options.capture); !error.empty()) return error;
    } else if (options.captureKind == CaptureKind::Folder) {
        std::error_code ec;
        std::string name = options.capture;
        while (name.size() > 1 && name.back() == '/') name.pop_back();
        fs::path folder(name);
        if (fs::exists(folder, ec)) {
            if (!fs::is_directory(folder, ec)) return "--capture: \"" + name + "\" is a file, not a folder";
            if (access(name.c_str(), W_OK | X_OK) != 0) return "--capture: cannot write in folder \"" + name + "\"";
        } else {
            fs::path parent = folder.parent_path();
            if (parent.empty()) parent = ".";
            if (!fs::is_directory(parent, ec)) return "--capture: folder \"" + parent.string() + "\" does not exist";
            if (access(parent.c_str(), W_OK | X_OK) != 0)
                return "--capture: cannot make a folder in \"" + parent.string() + "\"";
        }
    }
    for (const ShotRequest& shot : options.shots)
        if (std::string error = CheckWritable("--shot", shot.path); !error.empty()) return error;
    if (!options.dialogShot.empty()) return CheckWritable("--dialog-shot", options.dialogShot);
    return "";
}

std::string UsageText() {
    return "Usage: demo [options]\n"
           "\n"
           "Without options the demo shows its loader dialog and plays in real time.\n"
           "\n"
           "  --mode WxH            run at this resolution without showing the dialog\n"
           "                        (a size the display does not list is added to the list)\n"
           "  --fullscreen          tick the dialog's Fullscreen box\n"
           "  --windowed            leave it clear (the default)\n"
           "  --headless            no display and no audio device (the loader is answered\n"
           "                        with the first mode unless --mode is given); also\n"
           "                        chosen by itself when no display can be opened\n"
           "  --fps N               fixed-step clock: every frame advances demo time by 1/N s\n"
           "  --until SECONDS       stop before the first frame whose demo time would reach SECONDS\n"
           "  --shot SECONDS:FILE.png\n"
           "                        save the first frame whose demo time is at least SECONDS\n"
           "                        (repeatable; loading:FILE.png saves the loading picture)\n"
           "  --dialog-shot FILE.png\n"
           "                        save the loader dialog as first shown, then end\n"
           "  --start SECONDS       begin at this demo time: the frames before it run in full\n"
           "                        without drawing, so the first one drawn looks as in a\n"
           "                        run from 0; the music starts there too\n"
           "  --capture FILE.mp4|FILE.mkv|FOLDER/\n"
           "                        render headless on the fixed-step clock and write every\n"
           "                        frame from --start to --until (or the end): an H.264 video\n"
           "                        with the music as AAC (through ffmpeg), or a folder of\n"
           "                        PNG frames (frame_000123.png shows demo time 123 / fps)\n"
           "                        and audio.wav; defaults --fps 60 and --mode 1280x720\n"
           "  --print-spectrum      print the music spectrum's bands 40 and 180 and its\n"
           "                        loudest band every half second of demo time\n"
           "  --hud                 draw an overlay over the picture: demo time, the scene and\n"
           "                        its own time, frame rate and frame times, the spectrum,\n"
           "                        each pass's cost where the renderer can time it; into\n"
           "                        shots and captures as well\n"
           "  --shaders FOLDER      read the shaders from FOLDER (as content/shaders is laid\n"
           "                        out) instead of data.pak, and compile a shader again as\n"
           "                        soon as its file or a file it includes changes; one\n"
           "                        that fails keeps the last good one and says why\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Keys in the demo window:\n"
           "  Space                 pause or resume the picture and the music\n"
           "  Left, Right           one second back or forward\n"
           "  Page Up, Page Down    ten seconds back or forward\n"
           "  Home                  back to the start\n"
           "  H                     overlay on or off\n"
           "  F12                   save the frame shown as frame_SECONDS.png (demo time)\n"
           "  Escape                end the demo (on release)\n"
           "A seek lands on exactly the frame --start at that moment would draw.\n"
           "\n"
           "Exit status: 0 after a normal run or \"Exit\"; 1 when data.pak cannot be read or\n"
           "the window or the graphics device cannot be created; 2 for a bad command line\n"
           "(a mode larger than the renderer's largest texture included); 3 when a\n"
           "requested picture could not be saved or was never reached; 4 when the\n"
           "capture could not be written (ffmpeg missing or failing, a full disk); 130\n"
           "when a capture was interrupted (what was captured is kept under a name that\n"
           "says partial); -1 (255) when the sound fails.\n";
}
