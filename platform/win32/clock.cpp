// The performance counter: nanoseconds of the monotonic clock, or, in fixed
// steps, one tick per presented frame at a frequency of `fps` ticks a second,
// so that a frame's delta is exactly 1/fps and frame k reads k ticks.
#include <chrono>

#include "platform/win32/win32_internal.h"

namespace {

int g_fixedFps = 0;
LONGLONG g_framesPresented = 0;

LONGLONG WallNanoseconds() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void Win32_SetFixedStep(int fps) {
    g_fixedFps = fps > 0 ? fps : 0;
    g_framesPresented = 0;
}

void Win32_FramePresented() { ++g_framesPresented; }

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    count->QuadPart = g_fixedFps ? g_framesPresented : WallNanoseconds();
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = g_fixedFps ? g_fixedFps : 1000000000LL;
    return TRUE;
}

void win32::ResetClock() { Win32_SetFixedStep(0); }
