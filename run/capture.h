// Writing a capture: the presented picture of every frame in a span, with the
// music of the same span, to an H.264/AAC video through ffmpeg or to a folder
// of numbered PNG frames and a WAV file. The writing runs on a thread of its
// own behind a short queue, so the renderer goes on with the next frame while
// the last one is encoded.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/capture_timing.h"
#include "run/options.h"

class FfmpegProcess;

struct CaptureSettings {
    std::string target;  // the video file or the folder
    CaptureKind kind = CaptureKind::Video;
    int width = 0;
    int height = 0;
    capture::Span span;
    std::string musicPath = "music//music.mp3";
    std::string ffmpeg = "ffmpeg";  // the program, looked up on PATH
    size_t queueLength = 3;         // frames waiting for the writer at most
};

// What a finished capture left.
struct CaptureResult {
    bool ok = false;
    std::string path;  // the video or the folder; empty when nothing was kept
    uintmax_t bytes = 0;
    int64_t frames = 0;
    double seconds = 0.0;
    std::string error;
};

class Capture {
public:
    enum class OpenFailure { None, Music, Output };

    Capture();
    ~Capture();  // without Finish, a video's temporary file is removed
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // Reads the music's samples for the span and prepares the output (for a
    // video, ffmpeg started on a temporary file beside the target).
    OpenFailure Open(const CaptureSettings& settings, std::string* error);

    // An empty or recycled buffer for the next frame's picture.
    std::vector<uint8_t> TakeBuffer();
    // Queues the picture (RGBA, top row first) of timeline frame `frame`,
    // waiting while the queue is full. False once the writing has failed.
    bool Add(int64_t frame, std::vector<uint8_t> rgba, int width, int height);
    bool Failed();

    // Writes what is queued and closes the output: a complete capture goes
    // under the target's name; an interrupted one under a name that says it
    // is partial, covering the frames written.
    CaptureResult Finish(bool interrupted);

    static std::string PartialName(const std::string& target);

private:
    struct Item {
        int64_t frame = 0;
        std::vector<uint8_t> rgba;
    };
    void WriterLoop();
    void SoundLoop();
    bool WriteFrame(const Item& item, std::string* error);
    std::string TemporaryName() const;

    CaptureSettings settings;
    std::vector<int16_t> pcm;  // the span's sound, 16-bit stereo
    std::unique_ptr<FfmpegProcess> ffmpeg;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Item> queue;
    std::vector<std::vector<uint8_t>> spare;
    bool closing = false;
    bool failed = false;
    std::string failure;
    int64_t written = 0;    // frames written
    int64_t nextFrame = 0;  // the frame expected next
    std::thread writer;
    // A video's sound goes to ffmpeg whole, on a thread of its own, as fast
    // as ffmpeg takes it (it reads ahead of the pictures and interleaves by
    // time); the output ends with the pictures.
    std::thread soundWriter;
    bool picturesEnded = false;  // from then on ffmpeg may stop taking sound
    bool open = false;
};
