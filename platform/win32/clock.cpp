// The performance counter: nanoseconds of the monotonic clock, or, in fixed
// steps, one tick per presented frame at a frequency of `fps` ticks a second,
// so that a frame's delta is exactly 1/fps and frame k reads k ticks; or, with
// a lead-in, nanoseconds that step by 1/fps a frame for a number of frames and
// then follow the wall clock onward.
#include <chrono>

#include "platform/win32/win32_internal.h"

namespace {

int g_fixedFps = 0;
LONGLONG g_framesPresented = 0;

struct LeadIn {
    int fps = 0;  // 0: no lead-in
    LONGLONG frames = 0;
    LONGLONG presented = 0;
    LONGLONG start = 0;  // counter value when the lead-in began
    LONGLONG wallAtEnd = 0;
    LONGLONG End() const { return start + frames * 1000000000LL / fps; }
};
LeadIn g_leadIn;

LONGLONG WallNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void Win32_SetFixedStep(int fps) {
    g_fixedFps = fps > 0 ? fps : 0;
    g_framesPresented = 0;
    g_leadIn = LeadIn();
}

void Win32_SetLeadIn(int fps, LONGLONG frames) {
    g_leadIn = LeadIn();
    if (fps <= 0 || frames <= 0) return;
    g_leadIn.fps = fps;
    g_leadIn.frames = frames;
    g_leadIn.start = WallNanoseconds();
}

void Win32_FramePresented() {
    ++g_framesPresented;
    if (g_leadIn.fps && g_leadIn.presented < g_leadIn.frames && ++g_leadIn.presented == g_leadIn.frames)
        g_leadIn.wallAtEnd = WallNanoseconds();
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    if (g_fixedFps) {
        count->QuadPart = g_framesPresented;
    } else if (g_leadIn.fps && g_leadIn.presented < g_leadIn.frames) {
        count->QuadPart = g_leadIn.start + g_leadIn.presented * 1000000000LL / g_leadIn.fps;
    } else if (g_leadIn.fps) {
        count->QuadPart = g_leadIn.End() + (WallNanoseconds() - g_leadIn.wallAtEnd);
    } else {
        count->QuadPart = WallNanoseconds();
    }
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = g_fixedFps ? g_fixedFps : 1000000000LL;
    return TRUE;
}

void win32::ResetClock() { Win32_SetFixedStep(0); }
