#include "run/options.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <filesystem>

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
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(*value);
}

bool EndsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".png";
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
    if (colon == std::string::npos)
        return "--shot: \"" + text + "\" should be SECONDS:FILE.png or loading:FILE.png";
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
            return "--fps: \"" + value + "\" is not a frame rate (a whole number from 1 to " +
                   std::to_string(kMaxFps) + ")";
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
    if (name == "--shot") return ParseShot(value, options);
    if (name == "--dialog-shot") {
        options->dialogShot = value;
        return CheckPngName("--dialog-shot", value);
    }
    return "unknown option " + name;
}

bool TakesValue(const std::string& name) {
    return name == "--mode" || name == "--fps" || name == "--until" || name == "--shot" || name == "--dialog-shot";
}

std::string CheckWritable(const std::string& option, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path file(path);
    if (fs::exists(file, ec)) {
        if (fs::is_directory(file, ec)) return option + ": \"" + path + "\" is a folder";
        if (access(path.c_str(), W_OK) != 0) return option + ": \"" + path + "\" cannot be written";
        return "";
    }
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    if (!fs::is_directory(folder, ec)) return option + ": folder \"" + folder.string() + "\" does not exist";
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return option + ": cannot write in folder \"" + folder.string() + "\"";
    return "";
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
                                                       arg == "--print-spectrum")
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
           "  --print-spectrum      print the music spectrum's bands 40 and 180 and its\n"
           "                        loudest band every half second of demo time\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Exit status: 0 after a normal run or \"Exit\"; 1 when the window or the graphics\n"
           "device cannot be created; 2 for a bad command line; 3 when a requested picture\n"
           "could not be saved or was never reached; -1 (255) when the sound fails.\n";
}
