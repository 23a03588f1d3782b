#include "run/demo_controls.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "platform/win32/windows.h"
#include "run/hud.h"
#include "run/options.h"
#include "run/rewind.h"
#include "run/run_control.h"
#include "run/shader_folder.h"
#include "shell/demo_state.h"
#include "shell/system.h"

namespace {

// The latest moment a seek can ask for: the last frame before the end.
constexpr double kLastSeekable = kDemoSeconds - 0.001;
// How long a paused loop sleeps between looks at the message queue.
constexpr auto kPausedPoll = std::chrono::milliseconds(10);

std::optional<double> g_seek;  // the moment asked for, not yet started
HHOOK g_hook = nullptr;
LONGLONG g_holdFrom = 0;  // performance counter when the picture last stood still

LONGLONG Counter() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double SeekBase() { return g_seek ? *g_seek : g_demoState.time; }

void OnKey(WPARAM key) {
    switch (key) {
    case VK_SPACE: TogglePause(); break;
    case VK_LEFT: RequestSeek(SeekBase() - 1.0); break;
    case VK_RIGHT: RequestSeek(SeekBase() + 1.0); break;
    case VK_PRIOR: RequestSeek(SeekBase() - 10.0); break;
    case VK_NEXT: RequestSeek(SeekBase() + 10.0); break;
    case VK_HOME: RequestSeek(0.0); break;
    case 'H': ShowHud(!HudShown()); break;
    case VK_F12: SaveFrameShown(); break;
    default: break;
    }
}

LRESULT CALLBACK WatchMessages(int code, WPARAM removing, LPARAM message) {
    const MSG* msg = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removing == PM_REMOVE && msg->message == WM_KEYDOWN && g_system.hwnd &&
        msg->hwnd == g_system.hwnd)
        OnKey(msg->wParam);
    return CallNextHookEx(g_hook, code, removing, message);
}

void StartSeek() {
    const double target = *g_seek;
    g_seek.reset();
    if (!RewindTimeline()) return;
    RestartAt(target);
}

}  // namespace

std::function<void()> g_whilePaused;

void InstallDemoControls() {
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_seek.reset();
    g_hook = SetWindowsHookExA(WH_GETMESSAGE, WatchMessages, nullptr, 0);
}

void RequestSeek(double seconds) { g_seek = std::clamp(seconds, 0.0, kLastSeekable); }

void TogglePause() {
    const bool pausing = !RunPaused();
    if (pausing) {
        g_holdFrom = Counter();
    } else {
        // The time the picture stood still is no frame's time: it stood
        // still from the pause, or from the last frame a seek ran since.
        g_demoState.prevCounter += Counter() - std::max(g_holdFrom, g_demoState.prevCounter);
    }
    SetRunPaused(pausing);
}

std::string SaveFrameShown() {
    char name[64];
    std::snprintf(name, sizeof name, "frame_%.3f.png", g_demoState.time);
    std::error_code ec;
    std::string path = std::filesystem::absolute(name, ec).string();
    if (!SavePresentedPicture(path)) return {};
    std::fprintf(stderr, "Saved the frame at %.3f s as \"%s\".\n", g_demoState.time, path.c_str());
    HudNote(("saved " + path).c_str());
    return path;
}

bool ServeDemoControls() {
    ReloadChangedShaders();
    if (g_seek) StartSeek();
    // A seek made while paused runs up to its frame before the loop holds.
    if (!RunPaused() || RunLeadingIn()) return false;
    while (RunPaused() && !g_seek) {
        if (g_whilePaused) g_whilePaused();
        if (!PumpMessages()) return true;
        ReloadChangedShaders();
        std::this_thread::sleep_for(kPausedPoll);
    }
    if (g_seek) StartSeek();
    return false;
}
