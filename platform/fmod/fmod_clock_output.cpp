#include "platform/fmod/fmod_internal.h"
#include "platform/win32/windows.h"

namespace fmod_standin {
namespace {

void ReadCounter(int64_t* count, int64_t* frequency) {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    *frequency = value.QuadPart > 0 ? value.QuadPart : 1;
    QueryPerformanceCounter(&value);
    *count = value.QuadPart;
}

}  // namespace

ClockOutput::ClockOutput() { ReadCounter(&baseCount, &frequency); }

int64_t ClockOutput::Frames() {
    int64_t count = 0;
    int64_t newFrequency = 1;
    ReadCounter(&count, &newFrequency);
    if (newFrequency != frequency || count < baseCount) {
        baseFrames = lastFrames;
        baseCount = count;
        frequency = newFrequency;
    }
    const __int128 ticks = count - baseCount;
    lastFrames = baseFrames + static_cast<int64_t>(ticks * kOutputRate / frequency);
    return lastFrames;
}

}  // namespace fmod_standin
