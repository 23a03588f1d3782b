// Choosing the backend, message boxes, and the reset used between tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/win32/win32_internal.h"

namespace {

std::optional<Win32Backend> g_backend;

bool HeadlessRequested() {
    const char* value = std::getenv("DEMO_HEADLESS");
    return value && *value && std::strcmp(value, "0") != 0;
}

// Prints how often each message-box line came again since it was printed
// (or its count was), and starts counting afresh.
void PrintRepeats() {
    for (auto& [line, repeats] : win32::GetState().printedBoxes) {
        if (repeats == 0) continue;
        std::fprintf(stderr, "%s (repeated %ld %s)\n", line.c_str(), repeats, repeats == 1 ? "time" : "times");
        repeats = 0;
    }
}

// A message box's line on stderr. A line printed before is not printed again
// but counted, so that a failure repeated every frame does not bury the rest:
// the counts follow when a new line comes and when the process ends.
void PrintBoxLine(const std::string& line) {
    auto& printed = win32::GetState().printedBoxes;
    for (auto& [seen, repeats] : printed) {
        if (seen == line) {
            ++repeats;
            return;
        }
    }
    static const bool registered = std::atexit(PrintRepeats) == 0;
    (void)registered;
    PrintRepeats();
    std::fprintf(stderr, "%s\n", line.c_str());
    printed.emplace_back(line, 0);
}

}  // namespace

void Win32_SetBackend(Win32Backend backend) { g_backend = backend; }

Win32Backend Win32_GetBackend() {
    if (!g_backend) g_backend = HeadlessRequested() ? Win32Backend::Headless : Win32Backend::Sdl;
    if (*g_backend == Win32Backend::Sdl && !win32::SdlStart()) {
        std::fprintf(stderr, "No display could be opened; running headless.\n");
        g_backend = Win32Backend::Headless;
    }
    return *g_backend;
}

bool win32::Headless() { return Win32_GetBackend() == Win32Backend::Headless; }

int WINAPI MessageBoxA(HWND /*owner*/, LPCSTR text, LPCSTR caption, UINT type) {
    win32::State& state = win32::GetState();
    ++state.messageBoxes;
    state.lastBoxText = text ? text : "";
    state.lastBoxCaption = caption ? caption : "Error";
    PrintBoxLine("[" + state.lastBoxCaption + "] " + state.lastBoxText);
    if (!win32::Headless()) win32::SdlMessageBox(state.lastBoxText.c_str(), state.lastBoxCaption.c_str(), type);
    return IDOK;
}

int Win32_MessageBoxCount() { return win32::GetState().messageBoxes; }
const char* Win32_LastMessageBoxText() { return win32::GetState().lastBoxText.c_str(); }
const char* Win32_LastMessageBoxCaption() { return win32::GetState().lastBoxCaption.c_str(); }

void Win32_Reset() {
    win32::State& state = win32::GetState();
    for (auto& [id, window] : state.windows) win32::SdlRetireWindow(*window);
    state.windows.clear();
    state.classes.clear();
    state.queue.clear();
    state.input.clear();
    state.quitPosted = false;
    state.quitCode = 0;
    state.focus = nullptr;
    state.capture = nullptr;
    if (state.cursorCount != 0) win32::SdlShowCursor(true);
    state.cursorCount = 0;
    state.offscreenClasses.clear();
    state.messageBoxes = 0;
    state.lastBoxText.clear();
    state.lastBoxCaption.clear();
    state.printedBoxes.clear();
    state.messageHooks.clear();
    win32::ResetClock();
    win32::ResetDisplayModes();
}
