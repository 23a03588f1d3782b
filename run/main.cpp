// The program's entry: reads the command line, then runs WinMain.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "run/gles_option.h"
#include "run/launch_checks.h"
#include "run/options.h"
#include "run/run_control.h"
#include "shell/win_main.h"

namespace {

constexpr int kExitBadCommandLine = 2;

}  // namespace

int main(int argc, char** argv) {
    ParsedCommandLine parsed = ParseCommandLine(TakeGlesOption(std::vector<std::string>(argv + 1, argv + argc)));
    if (parsed.error.empty()) parsed.error = CheckOutputPaths(parsed.options);
    if (parsed.error.empty() && parsed.options.hasMode)
        parsed.error = CheckModeFits(parsed.options, D3D9_MaxTextureSize());
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "demo: %s\nTry 'demo --help'.\n", parsed.error.c_str());
        return kExitBadCommandLine;
    }
    if (parsed.options.help) {
        std::fputs(UsageText().c_str(), stdout);
        std::fputs(kGlesUsage, stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::printf("demo %s\n", kDemoVersion);
        return 0;
    }
    if (std::string error = CheckResourcePack("data.pak"); !error.empty()) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        return kExitCannotStart;
    }
    ApplyRunOptions(parsed.options);
    if (int status = StartCapture(); status != 0) return status;
    int status = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
    return FinishRun(status);
}
