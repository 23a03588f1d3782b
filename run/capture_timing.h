// Where captured frames and sound lie on the timeline. On the fixed-step
// clock the loop's frame k shows demo time k / fps, so frames are numbered by
// that place, whatever moment a capture starts from; the sound of frame k is
// the samples from SampleOfFrame(k) up to SampleOfFrame(k + 1).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace capture {

constexpr int kSampleRate = 44100;
// Slack when comparing a time with a frame's: as the run control's, so that
// --until and --start mean the same frames here as there.
constexpr double kTimeSlack = 1e-9;

// The first frame whose demo time is at or after `seconds`.
inline int64_t FirstFrameAt(double seconds, int fps) {
    return static_cast<int64_t>(std::ceil((seconds - kTimeSlack) * fps));
}

// The first sample of frame `frame` (rounded down, so that the spans of
// consecutive frames tile the music without gap or overlap).
inline int64_t SampleOfFrame(int64_t frame, int fps) { return frame * kSampleRate / fps; }

// The frames [first, end) and the samples [firstSample, endSample) of a capture.
struct Span {
    int64_t first = 0;
    int64_t end = 0;
    int fps = 1;

    int64_t Frames() const { return end - first; }
    int64_t FirstSample() const { return SampleOfFrame(first, fps); }
    int64_t EndSample() const { return SampleOfFrame(end, fps); }
    int64_t Samples() const { return EndSample() - FirstSample(); }
    double Seconds() const { return static_cast<double>(Frames()) / fps; }
};

// Frames from `start` up to, not including, the first frame at or after `end`.
inline Span SpanOf(double start, double end, int fps) {
    Span span;
    span.fps = fps;
    span.first = FirstFrameAt(start, fps);
    span.end = FirstFrameAt(end, fps);
    if (span.end < span.first) span.end = span.first;
    return span;
}

// "frame_000123.png".
inline std::string FrameFileName(int64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(frame));
    return name;
}

}  // namespace capture
