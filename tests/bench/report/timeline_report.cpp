// timeline_report: the engine's costs over a headless run of the timeline.
//
//   timeline_report [--mode WxH] [--fps N] [--from SECONDS] [--until SECONDS] [--passes]
//
// Runs WinMain in this process on the headless OpenGL device (640x480 and a
// fixed 10 frames a second by default, to the timeline's end) with the data
// of the build folder, and prints: the start-up time split by step up to the
// first demo frame presented, with the resident memory after each step; the
// first five frame times against the median; for each scene (the effects
// active in a frame) its first, median and slowest later frame time (and the
// demo time that frame showed), the
// median processor time of its frames (all threads: steadier than the wall
// clock on a machine that others load) and its peak resident memory; heap allocations (operator new, every thread,
// the driver's too) per frame after each scene's first, and the peak resident
// memory of the whole run. With --passes, the device times every pass
// (D3D9_SetPassTiming) and a table follows: for each scene its
// passes (shader pair and target), draws and milliseconds a frame and their
// share of the scene's pass time. With --from, the scene and pass tables
// count only the frames from that demo time on (the run still starts at 0:
// the timeline plays through), to look at one stretch of a scene. Waiting for the timings makes the frames a
// little slower, so compare frame times only between runs made alike.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <dirent.h>

#include <cxxabi.h>

#include "platform/d3d9/d3d9_platform.h"
#include "resources/resource_manager.h"
#include "run/run_control.h"
#include "shell/demo_state.h"
#include "shell/run_hooks.h"
#include "shell/win_main.h"
#include "tests/support/counting/allocation_counter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Processor time of the whole process (every thread, the driver's too), in ms:
// on a machine that others load, it changes far less than the wall clock.
double ProcessCpuMs() {
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) * 1e-6;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

// A size in /proc/self/status ("VmHWM:", "VmRSS:"), in MB.
double StatusMb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + field.size()) / 1024.0;
    return 0.0;
}

// Peak resident set size since the last reset, and the resident size now.
double PeakResidentMb() { return StatusMb("VmHWM:"); }
double ResidentMb() { return StatusMb("VmRSS:"); }

// Starts a new peak: the kernel sets VmHWM back to the present resident size.
void ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

std::string SceneName() {
    std::string names;
    for (const Mirel::Effect* effect : g_demoState.activeEffects) {
        int status = 0;
        char* readable = abi::__cxa_demangle(typeid(*effect).name(), nullptr, nullptr, &status);
        std::string name = status == 0 && readable ? readable : typeid(*effect).name();
        std::free(readable);
        if (name.rfind("Mirel::", 0) == 0) name = name.substr(7);
        names += (names.empty() ? "" : "+") + name;
    }
    return names.empty() ? "(none)" : names;
}

// One pass of a scene, summed over its frames.
struct PassCost {
    std::string name;
    double draws = 0.0;
    double ms = 0.0;
};

// Names for what the pass timer reports: shader pairs by file name, targets
// as the back buffer, the screen texture or an effect's own target.
struct PassNames {
    std::map<const void*, std::string> shaders;
    std::map<const void*, std::string> targets;

    void Read(IDirect3DDevice9* device) {
        Mirel::ResourceManager* resources = g_demoState.resources;
        if (DIR* folder = opendir("content")) {
            while (dirent* entry = readdir(folder)) {
                std::string file = entry->d_name;
                if (file.size() < 5 || file.compare(file.size() - 4, 4, ".cpp") != 0) continue;
                if (file.rfind("vertex_", 0) == 0) shaders[resources->GetVertexShader(file)] = file;
                if (file.rfind("fragment_", 0) == 0) shaders[resources->GetPixelShader(file)] = file;
            }
            closedir(folder);
        }
        IDirect3DSurface9* surface = nullptr;
        if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface))) {
            targets[surface] = "back buffer";
            surface->Release();
        }
        if (g_demoState.screenTexture && SUCCEEDED(g_demoState.screenTexture->GetSurfaceLevel(0, &surface))) {
            targets[surface] = "screen texture";
            surface->Release();
        }
    }
    std::string Shader(const void* shader) const {
        auto found = shaders.find(shader);
        return found != shaders.end() ? found->second.substr(0, found->second.size() - 4) : "(sprite)";
    }
    std::string Of(const D3D9PassTime& pass) {
        auto found = targets.find(pass.target);
        if (found == targets.end())
            found = targets.emplace(pass.target, "target " + std::string(1, char('A' + targets.size() - 2))).first;
        if (!pass.pixelShader) return "clear -> " + found->second;
        return Shader(pass.vertexShader) + " + " + Shader(pass.pixelShader) + " -> " + found->second;
    }
};

struct Scene {
    std::string name;
    std::vector<PassCost> passes;
    std::vector<double> frameMs;
    std::vector<double> frameTimes;  // the demo time each frame showed
    std::vector<double> cpuMs;
    long firstAllocations = 0;
    long allocations = 0;  // in the frames after the first
    long maxAllocations = 0;
    double peakMb = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    DemoOptions options;
    options.headless = options.hasMode = true;
    options.width = 640;
    options.height = 480;
    options.fps = 10;
    bool timePasses = false;
    double from = 0.0;
    for (int i = 1; i < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--passes") {
            timePasses = true;
            --i;
            continue;
        }
        std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--mode" && std::sscanf(value.c_str(), "%dx%d", &options.width, &options.height) == 2) continue;
        if (arg == "--fps")
            options.fps = std::atoi(value.c_str());
        else if (arg == "--from")
            from = std::atof(value.c_str());
        else if (arg == "--until")
            options.until = std::atof(value.c_str());
        else {
            std::fprintf(
                stderr,
                "usage: timeline_report [--mode WxH] [--fps N] [--from SECONDS] [--until SECONDS] [--passes]\n");
            return 2;
        }
    }
    if (chdir(DEMO_BINARY_DIR) != 0) return 1;
    setenv("DEMO_HEADLESS", "1", 1);
    ApplyRunOptions(options);

    struct Step {
        std::string name;
        Clock::time_point at;
        double residentMb;  // at the step's start
    };
    std::vector<Step> steps;
    std::vector<Scene> scenes;
    std::vector<double> frameMs;
    Clock::time_point last;
    double lastCpu = 0.0;
    bool firstOfScene = true;
    PassNames passNames;
    bool timing = false;
    ResetPeakResident();

    const Clock::time_point start = Clock::now();
    g_runHooks.startupStep = [&](const char* name) {
        steps.push_back(Step{name, Clock::now(), ResidentMb()});
        if (std::strcmp(name, "frames") == 0) {
            last = steps.back().at;
            if (timePasses) {
                passNames.Read(g_demoState.device);
                timing = D3D9_SetPassTiming(g_demoState.device, true);
                if (!timing) std::fprintf(stderr, "timeline_report: this device cannot time passes\n");
            }
            if (timing) last = Clock::now();
            lastCpu = ProcessCpuMs();
            allocation_counter::StartCounting();
        }
    };
    auto runFrame = g_runHooks.framePresented;
    g_runHooks.framePresented = [&] {
        long allocations = allocation_counter::StopCounting();
        Clock::time_point now = Clock::now();
        double ms = Ms(last, now), cpu = ProcessCpuMs() - lastCpu;
        frameMs.push_back(ms);
        if (g_demoState.time >= from) {
            std::string name = SceneName();
            if (scenes.empty() || scenes.back().name != name) {
                if (!scenes.empty()) scenes.back().peakMb = PeakResidentMb();
                ResetPeakResident();
                scenes.push_back(Scene{name, {}, {}, {}, {}, allocations, 0, 0, 0.0});
                firstOfScene = true;
            }
            Scene& scene = scenes.back();
            scene.frameMs.push_back(ms);
            scene.frameTimes.push_back(g_demoState.time);
            scene.cpuMs.push_back(cpu);
            if (timing) {
                for (const D3D9PassTime& pass : D3D9_FramePasses(g_demoState.device)) {
                    std::string passName = passNames.Of(pass);
                    auto found = std::find_if(scene.passes.begin(), scene.passes.end(),
                                              [&](const PassCost& cost) { return cost.name == passName; });
                    if (found == scene.passes.end())
                        found = scene.passes.insert(scene.passes.end(), PassCost{passName});
                    found->draws += pass.draws;
                    found->ms += pass.milliseconds;
                }
            }
            if (!firstOfScene) {
                scene.allocations += allocations;
                scene.maxAllocations = std::max(scene.maxAllocations, allocations);
            }
            firstOfScene = false;
        }
        if (runFrame) runFrame();
        last = Clock::now();
        lastCpu = ProcessCpuMs();
        allocation_counter::StartCounting();
    };
    int status = WinMain(nullptr, nullptr, nullptr, 0);
    allocation_counter::StopCounting();
    if (!scenes.empty()) scenes.back().peakMb = PeakResidentMb();
    status = FinishRun(status);

    std::printf("timeline_report: %dx%d, %d frames a second, %zu frames\n", options.width, options.height, options.fps,
                frameMs.size());
    std::printf("start-up            ms  resident MB at its end\n");
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& end = i + 1 < steps.size() ? steps[i + 1] : steps[i];
        if (steps[i].name == "frames") {
            std::printf("  %-16s %8.1f\n", "first frame", frameMs.empty() ? 0.0 : frameMs[0]);
            break;
        }
        std::printf("  %-16s %8.1f %8.0f\n", steps[i].name.c_str(), Ms(steps[i].at, end.at), end.residentMb);
    }
    double toFirstFrame = frameMs.empty() || steps.empty() ? 0.0 : Ms(start, steps.back().at) + frameMs[0];
    for (const auto& step : steps)
        if (step.name == "frames") toFirstFrame = Ms(start, step.at) + (frameMs.empty() ? 0.0 : frameMs[0]);
    std::printf("  %-16s %8.1f\n", "to first frame", toFirstFrame);
    double median = Median(frameMs);
    std::printf("first frames (ms):");
    for (size_t i = 0; i < frameMs.size() && i < 5; ++i) std::printf(" %.1f", frameMs[i]);
    std::printf("   median %.1f\n", median);
    std::printf("%-40s %7s %9s %9s %9s %8s %8s %12s %12s %11s %8s\n", "scene", "frames", "first ms", "median ms",
                "max ms", "max at s", "cpu ms", "first allocs", "allocs/frame", "max allocs", "peak MB");
    for (const Scene& scene : scenes) {
        size_t counted = scene.frameMs.size() > 1 ? scene.frameMs.size() - 1 : 1;
        // The slowest frame after the scene's first, and the demo time it showed.
        size_t slowest =
            scene.frameMs.size() > 1
                ? size_t(std::max_element(scene.frameMs.begin() + 1, scene.frameMs.end()) - scene.frameMs.begin())
                : 0;
        double later = slowest ? scene.frameMs[slowest] : 0.0;
        std::printf("%-40s %7zu %9.1f %9.1f %9.1f %8.1f %8.1f %12ld %12.1f %11ld %8.0f\n", scene.name.c_str(),
                    scene.frameMs.size(), scene.frameMs.front(), Median(scene.frameMs), later,
                    scene.frameTimes[slowest], Median(scene.cpuMs), scene.firstAllocations,
                    double(scene.allocations) / double(counted), scene.maxAllocations, scene.peakMb);
    }
    if (timing) {
        std::printf("passes: draws and ms a frame, share of the scene's pass time\n");
        for (const Scene& scene : scenes) {
            double total = 0.0;
            for (const PassCost& pass : scene.passes) total += pass.ms;
            double frames = double(scene.frameMs.size());
            std::printf("%s: %.1f ms a frame in passes, median frame %.1f ms\n", scene.name.c_str(), total / frames,
                        Median(scene.frameMs));
            for (const PassCost& pass : scene.passes)
                std::printf("  %-78s %6.1f %8.2f %5.1f %%\n", pass.name.c_str(), pass.draws / frames, pass.ms / frames,
                            total > 0 ? 100.0 * pass.ms / total : 0.0);
        }
    }
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %.0f MB\n", double(usage.ru_maxrss) / 1024.0);
    return status;
}
