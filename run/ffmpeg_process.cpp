#include "run/ffmpeg_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;

namespace {

// Kept of the child's standard error: the end, where its errors are.
constexpr size_t kMessageLimit = 16 * 1024;
constexpr int kVideoFd = 3;
constexpr int kAudioFd = 4;

void CloseFd(int* fd) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
}

}  // namespace

FfmpegProcess::~FfmpegProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        CloseInputs();
        int status = 0;
        waitpid(pid, &status, 0);
    }
    if (errorReader.joinable()) errorReader.join();
}

bool FfmpegProcess::Start(const std::string& program, const std::vector<std::string>& arguments, std::string* error) {
    // A child that stops reading makes writes fail with EPIPE instead of ending the demo.
    std::signal(SIGPIPE, SIG_IGN);
    int videoPipe[2], audioPipe[2], errorPipe[2];
    if (pipe2(videoPipe, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    if (pipe2(audioPipe, O_CLOEXEC) != 0 || pipe2(errorPipe, O_CLOEXEC) != 0) {
        *error = std::string("cannot make a pipe: ") + std::strerror(errno);
        close(videoPipe[0]), close(videoPipe[1]);
        return false;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, videoPipe[0], kVideoFd);
    posix_spawn_file_actions_adddup2(&actions, audioPipe[0], kAudioFd);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int result = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(videoPipe[0]);
    close(audioPipe[0]);
    close(errorPipe[1]);
    if (result != 0) {
        pid = -1;
        close(videoPipe[1]);
        close(audioPipe[1]);
        close(errorPipe[0]);
        *error = result == ENOENT ? program + " was not found on PATH"
                                  : "cannot start " + program + ": " + std::strerror(result);
        return false;
    }
    video = videoPipe[1];
    audio = audioPipe[1];
    int errorFd = errorPipe[0];
    errorReader = std::thread([this, errorFd] {
        char buffer[4096];
        for (;;) {
            ssize_t got = read(errorFd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            std::lock_guard<std::mutex> lock(errorMutex);
            errors.append(buffer, static_cast<size_t>(got));
            if (errors.size() > kMessageLimit) errors.erase(0, errors.size() - kMessageLimit);
        }
        close(errorFd);
    });
    return true;
}

bool FfmpegProcess::WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t done = write(fd, bytes, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

bool FfmpegProcess::WriteVideo(const void* data, size_t size) { return video >= 0 && WriteAll(video, data, size); }

bool FfmpegProcess::WriteAudio(const void* data, size_t size) { return audio >= 0 && WriteAll(audio, data, size); }

void FfmpegProcess::Kill() {
    if (pid > 0) kill(pid, SIGKILL);
}

void FfmpegProcess::CloseVideo() { CloseFd(&video); }

void FfmpegProcess::CloseAudio() { CloseFd(&audio); }

void FfmpegProcess::CloseInputs() {
    CloseFd(&video);
    CloseFd(&audio);
}

bool FfmpegProcess::Finish(std::string* messages) {
    CloseInputs();
    int status = -1;
    if (pid > 0) {
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        pid = -1;
    }
    if (errorReader.joinable()) errorReader.join();
    if (messages) *messages = Messages();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string FfmpegProcess::Messages() {
    std::lock_guard<std::mutex> lock(errorMutex);
    return errors;
}
