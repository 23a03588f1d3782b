#include "run/capture.h"

#include <stb_image_write.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "run/capture_audio.h"
#include "run/png_file.h"
#include "run/ffmpeg_process.h"

namespace fs = std::filesystem;

namespace {

bool IsMkv(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".mkv";
}

// ffmpeg reads raw RGBA frames on descriptor 3 and the span's PCM on 4, and
// writes H.264 in yuv420p (BT.709, limited range, as players expect of HD)
// with the sound as AAC.
std::vector<std::string> FfmpegArguments(const CaptureSettings& settings, const std::string& output) {
    std::vector<std::string> arguments = {"-hide_banner",
                                          "-nostdin",
                                          "-nostats",
                                          "-loglevel",
                                          "error",
                                          "-y",
                                          "-f",
                                          "rawvideo",
                                          "-pix_fmt",
                                          "rgba",
                                          "-video_size",
                                          std::to_string(settings.width) + "x" + std::to_string(settings.height),
                                          "-framerate",
                                          std::to_string(settings.span.fps),
                                          "-i",
                                          "pipe:3",
                                          "-thread_queue_size",
                                          "512",
                                          "-f",
                                          "s16le",
                                          "-ar",
                                          std::to_string(capture::kSampleRate),
                                          "-ac",
                                          "2",
                                          "-i",
                                          "pipe:4",
                                          "-map",
                                          "0:v:0",
                                          "-map",
                                          "1:a:0",
                                          "-shortest",
                                          "-vf",
                                          "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
                                          "-c:v",
                                          "libx264",
                                          "-preset",
                                          "veryfast",
                                          "-crf",
                                          "18",
                                          "-colorspace",
                                          "bt709",
                                          "-color_primaries",
                                          "bt709",
                                          "-color_trc",
                                          "bt709",
                                          "-color_range",
                                          "tv",
                                          "-c:a",
                                          "aac",
                                          "-b:a",
                                          "192k"};
    if (IsMkv(settings.target)) {
        arguments.insert(arguments.end(), {"-f", "matroska"});
    } else {
        arguments.insert(arguments.end(), {"-movflags", "+faststart", "-f", "mp4"});
    }
    arguments.push_back(output);
    return arguments;
}

// `message`, about writing `file`, said plainly where the disk is full: the
// error's text (strerror's, which ffmpeg prints too) tells.
std::string WriteFailure(const std::string& file, const std::string& message) {
    for (int full : {ENOSPC, EDQUOT})
        if (message.find(std::strerror(full)) != std::string::npos)
            return "the disk is full: \"" + file + "\" could not be written (" + std::strerror(full) + ")";
    return message;
}

uintmax_t FolderBytes(const fs::path& folder) {
    uintmax_t total = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec)) total += entry.file_size(ec);
    return total;
}

}  // namespace

Capture::Capture() = default;

Capture::~Capture() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
        failed = true;  // abandoned: nothing more is written
        picturesEnded = true;
    }
    changed.notify_all();
    if (ffmpeg) ffmpeg->Kill();  // releases writers waiting on it
    if (writer.joinable()) writer.join();
    if (soundWriter.joinable()) soundWriter.join();
    if (ffmpeg) {
        ffmpeg.reset();  // kills it
        std::error_code ec;
        fs::remove(TemporaryName(), ec);
    }
}

std::string Capture::TemporaryName() const { return settings.target + ".part"; }

std::string Capture::PartialName(const std::string& target) {
    fs::path path(target);
    fs::path partial = path.parent_path() / (path.stem().string() + ".partial" + path.extension().string());
    return partial.string();
}

Capture::OpenFailure Capture::Open(const CaptureSettings& wanted, std::string* error) {
    settings = wanted;
    nextFrame = settings.span.first;
    std::vector<float> music;
    if (!capture::LoadMusic(settings.musicPath, &music, error)) return OpenFailure::Music;
    pcm = capture::CutPcm16(music, settings.span.FirstSample(), settings.span.Samples());

    if (settings.kind == CaptureKind::Folder) {
        std::error_code ec;
        fs::create_directories(settings.target, ec);
        if (ec) {
            *error = "cannot make the folder \"" + settings.target + "\": " + ec.message();
            return OpenFailure::Output;
        }
    } else {
        ffmpeg = std::make_unique<FfmpegProcess>();
        if (!ffmpeg->Start(settings.ffmpeg, FfmpegArguments(settings, TemporaryName()), error)) {
            ffmpeg.reset();
            *error += "; install it (scripts/setup.sh installs Debian's ffmpeg) or capture to a folder of PNG frames";
            return OpenFailure::Output;
        }
    }
    open = true;
    writer = std::thread([this] { WriterLoop(); });
    if (ffmpeg) soundWriter = std::thread([this] { SoundLoop(); });
    return OpenFailure::None;
}

std::vector<uint8_t> Capture::TakeBuffer() {
    std::lock_guard<std::mutex> lock(mutex);
    if (spare.empty()) return {};
    std::vector<uint8_t> buffer = std::move(spare.back());
    spare.pop_back();
    return buffer;
}

bool Capture::Add(int64_t frame, std::vector<uint8_t> rgba, int width, int height) {
    std::unique_lock<std::mutex> lock(mutex);
    if (failed) return false;
    if (width != settings.width || height != settings.height) {
        failed = true;
        failure = "the presented picture is " + std::to_string(width) + "x" + std::to_string(height) +
                  ", not the capture's " + std::to_string(settings.width) + "x" + std::to_string(settings.height);
        return false;
    }
    if (frame != nextFrame) {
        failed = true;
        failure = "frame " + std::to_string(frame) + " came where frame " + std::to_string(nextFrame) + " was due";
        return false;
    }
    ++nextFrame;
    changed.wait(lock, [this] { return failed || queue.size() < settings.queueLength; });
    if (failed) return false;
    queue.push_back(Item{frame, std::move(rgba)});
    changed.notify_all();
    return true;
}

bool Capture::Failed() {
    std::lock_guard<std::mutex> lock(mutex);
    return failed;
}

void Capture::WriterLoop() {
    for (;;) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return closing || !queue.empty(); });
            if (queue.empty()) return;
            item = std::move(queue.front());
            queue.pop_front();
        }
        changed.notify_all();
        std::string error;
        bool ok = WriteFrame(item, &error);
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (ok) {
                ++written;
            } else if (!failed) {
                failed = true;
                failure = error;
            }
            if (failed) queue.clear();
            spare.push_back(std::move(item.rgba));
        }
        changed.notify_all();
    }
}

void Capture::SoundLoop() {
    constexpr size_t kChunk = capture::kSampleRate / 10 * 2;  // a tenth of a second
    for (size_t at = 0; at < pcm.size(); at += kChunk) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (failed) return;
        }
        size_t count = std::min(kChunk, pcm.size() - at);
        if (!ffmpeg->WriteAudio(pcm.data() + at, count * sizeof(int16_t))) {
            // Once the pictures have ended, ffmpeg may finish before taking all the sound.
            std::lock_guard<std::mutex> lock(mutex);
            if (!picturesEnded && !failed) {
                failed = true;
                failure = "ffmpeg stopped taking the sound";
            }
            changed.notify_all();
            return;
        }
    }
    ffmpeg->CloseAudio();
}

bool Capture::WriteFrame(const Item& item, std::string* error) {
    if (settings.kind == CaptureKind::Folder) {
        fs::path final = fs::path(settings.target) / capture::FrameFileName(item.frame);
        std::string temporary = final.string() + ".part";
        if (std::string why = SavePng(temporary, item.rgba.data(), settings.width, settings.height); !why.empty()) {
            std::error_code ec;
            fs::remove(temporary, ec);
            *error = WriteFailure(final.string(), "cannot write \"" + final.string() + "\": " + why);
            return false;
        }
        std::error_code ec;
        fs::rename(temporary, final, ec);
        if (ec) *error = WriteFailure(final.string(), "cannot write \"" + final.string() + "\": " + ec.message());
        return !ec;
    }
    if (!ffmpeg->WriteVideo(item.rgba.data(), item.rgba.size())) {
        *error = "ffmpeg stopped taking frames";
        return false;
    }
    return true;
}

CaptureResult Capture::Finish(bool interrupted) {
    CaptureResult result;
    if (!open) {
        result.error = "the capture was never opened";
        return result;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    changed.notify_all();
    writer.join();
    if (ffmpeg) {
        // The end of the pictures ends the video: ffmpeg stops taking sound
        // there, which releases a sound writer waiting on it.
        {
            std::lock_guard<std::mutex> lock(mutex);
            picturesEnded = true;
        }
        ffmpeg->CloseVideo();
        soundWriter.join();
    }
    open = false;
    result.frames = written;
    result.seconds = static_cast<double>(written) / settings.span.fps;
    result.error = failure;
    std::error_code ec;

    if (settings.kind == CaptureKind::Folder) {
        capture::Span done = settings.span;
        done.end = done.first + written;
        const fs::path wav = fs::path(settings.target) / (interrupted || failed ? "audio.partial.wav" : "audio.wav");
        if (!failed || interrupted) {
            std::vector<int16_t> sound(pcm.begin(), pcm.begin() + done.Samples() * 2);
            std::string error;
            if (!capture::WriteWav(wav.string(), sound, &error) && !failed) {
                failed = true;
                result.error = WriteFailure(wav.string(), error);
                fs::remove(wav, ec);
            }
        }
        if (failed && !interrupted) {
            // A capture that failed leaves nothing: the frames it wrote go too.
            for (int64_t frame = done.first; frame < done.end; ++frame)
                fs::remove(fs::path(settings.target) / capture::FrameFileName(frame), ec);
            return result;
        }
        result.path = settings.target;
        result.bytes = FolderBytes(settings.target);
        result.ok = !failed;
        return result;
    }

    std::string messages;
    bool encoded = ffmpeg->Finish(&messages);
    ffmpeg.reset();
    while (!messages.empty() && (messages.back() == '\n' || messages.back() == '\r')) messages.pop_back();
    if (!encoded || failed || written == 0) {
        fs::remove(TemporaryName(), ec);
        if (written == 0 && !failed && encoded)
            result.error = "no frame was captured";
        else if (!messages.empty())
            result.error = WriteFailure(TemporaryName(), "ffmpeg failed: " + messages);
        else if (result.error.empty())
            result.error = "ffmpeg failed without a message";
        return result;
    }
    result.path = interrupted ? PartialName(settings.target) : settings.target;
    fs::rename(TemporaryName(), result.path, ec);
    if (ec) {
        result.error = "cannot rename \"" + TemporaryName() + "\" to \"" + result.path + "\": " + ec.message();
        result.path.clear();
        return result;
    }
    result.bytes = fs::file_size(result.path, ec);
    result.ok = true;
    return result;
}
