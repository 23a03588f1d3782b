// Seams through which a launcher steers a run (a fixed frame count, saved
// pictures) without the shell knowing who does it. Each hook is empty by
// default and then changes nothing.
#pragma once

#include <functional>

namespace FMOD {
class Channel;
}  // namespace FMOD

struct RunHooks {
    std::function<void()> loadingPresented;            // after the loading picture was presented
    std::function<void(FMOD::Channel*)> musicStarted;  // the music has just started on this channel
    std::function<bool()> shouldStop;                  // before each frame: end the loop now
    std::function<void()> frameStarting;               // the loop runs another frame: just before BeginFrame
    std::function<void()> framePresented;              // after each frame was presented
    std::function<void(const char*)> startupStep;      // as each start-up step begins ("frames" ends them)
    std::function<void(bool)> rehearsing;  // true before each unpresented rehearsal frame, false after the last
};
extern RunHooks g_runHooks;
