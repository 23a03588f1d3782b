// ffmpeg as a child process fed through pipes: the picture on one (the
// child's descriptor 3), the sound on another (its descriptor 4). What it
// prints on standard error is kept for messages. The child runs in a process
// group of its own, so that Ctrl-C on the terminal reaches only the demo,
// which then ends the input and lets ffmpeg finish the file.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FfmpegProcess {
public:
    FfmpegProcess() = default;
    ~FfmpegProcess();  // a child still running is killed
    FfmpegProcess(const FfmpegProcess&) = delete;
    FfmpegProcess& operator=(const FfmpegProcess&) = delete;

    // Starts `program` (looked up on PATH) with `arguments`. False, with the
    // reason in `error`, when it cannot be started.
    bool Start(const std::string& program, const std::vector<std::string>& arguments, std::string* error);
    // Whole writes; false once the child no longer reads (it ended or failed).
    bool WriteVideo(const void* data, size_t size);
    bool WriteAudio(const void* data, size_t size);
    // End one input (the other can go on being written from another thread).
    void CloseVideo();
    void CloseAudio();
    // Ends both inputs and waits for the child. True when it ended with
    // status 0; `messages` receives what it printed.
    bool Finish(std::string* messages);
    // Ends the child at once (writes fail from then on).
    void Kill();
    // What the child printed so far.
    std::string Messages();

private:
    static bool WriteAll(int fd, const void* data, size_t size);
    void CloseInputs();

    pid_t pid = -1;
    int video = -1;
    int audio = -1;
    std::thread errorReader;
    std::mutex errorMutex;
    std::string errors;
};
