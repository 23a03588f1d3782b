// The built demo capturing headless: a folder of PNG frames with its WAV, the
// same frames from a later --start in every scene, a video checked with
// ffprobe, and the failure paths (no ffmpeg, a bad place or time, a full
// disk, Ctrl-C).
#include <gtest/gtest.h>
#include <stb_image.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "run/capture_timing.h"
#include "tests/support/demo_process.h"
#include "tests/support/frame_difference.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

bool HaveFfmpeg() { return std::system("ffmpeg -version > /dev/null 2>&1 && ffprobe -version > /dev/null 2>&1") == 0; }

class CaptureRun : public DemoProcessTest {
protected:
    // ffprobe's value of `entry` for the first stream of `kind` ("v" or "a").
    std::string Probe(const fs::path& file, const char* kind, const char* entry) {
        return Shell(std::string("ffprobe -v error -select_streams ") + kind +
                     ":0 -count_frames -show_entries stream=" + entry + " -of default=noprint_wrappers=1:nokey=1 '" +
                     file.string() + "'")
            .log;
    }
};

std::vector<std::string> Names(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Frame k shows demo time k / fps and is named by that number, so a capture
// from a later --start holds byte for byte the frames of one from 0, and its
// sound is the tail of the other's. Away from a terminal, progress comes in
// ten plain lines.
TEST_F(CaptureRun, FolderHoldsNumberedFramesAndTheSpansSoundTheSameFromALaterStart) {
    fs::path whole = folder / "whole", late = folder / "late";
    ShellResult first = Demo("--capture " + whole.string() + "/ --fps 30 --mode 160x120 --until 1.2");
    ASSERT_EQ(first.status, 0) << first.log;
    // Away from a terminal the progress is a plain line at every tenth of the span.
    size_t progressLines = 0;
    for (size_t at = first.log.find(" left\n"); at != std::string::npos; at = first.log.find(" left\n", at + 1))
        ++progressLines;
    EXPECT_EQ(progressLines, 10u) << first.log;
    EXPECT_NE(first.log.find("frame 35/35"), std::string::npos) << first.log;
    ShellResult run = Demo("--capture " + late.string() + "/ --fps 30 --mode 160x120 --start 0.9 --until 1.2");
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_NE(run.log.find("Captured 9 frames"), std::string::npos) << run.log;
    // Frames 27 to 35 show 0.9 s to 1.1667 s.
    std::vector<std::string> expected = {"audio.wav"};
    for (int frame = 27; frame <= 35; ++frame) expected.push_back(capture::FrameFileName(frame));
    ASSERT_EQ(Names(late), expected);
    int width = 0, height = 0, channels = 0;
    ASSERT_TRUE(stbi_info((late / "frame_000027.png").c_str(), &width, &height, &channels));
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 120);
    for (size_t i = 1; i < expected.size(); ++i)
        EXPECT_EQ(ReadText(late / expected[i]), ReadText(whole / expected[i])) << expected[i];
    std::string wholeWav = ReadText(whole / "audio.wav"), lateWav = ReadText(late / "audio.wav");
    ASSERT_EQ(lateWav.size(), 44u + 9u * 1470u * 4u);
    EXPECT_EQ(lateWav.substr(44), wholeWav.substr(wholeWav.size() - (lateWav.size() - 44)));
}

// The frames before --start run with their clears and draws discarded, so a
// pass that read what an earlier frame left in a target, or a device state
// that only a drawn frame sets, would show in the first frame drawn. Two
// frames from a start inside each scene, against the same frames of one run
// from 0 (a run that also starts late would discard the same draws).
TEST_F(CaptureRun, FramesAreTheSameFromAStartInsideEveryScene) {
    const std::string size = " --fps 1 --mode 80x60";  // frame k at k seconds
    const int starts[] = {5, 14, 25, 40, 80, 100};     // one in each scene
    fs::path whole = folder / "whole";
    ShellResult run = Demo("--capture " + whole.string() + "/" + size + " --until 102");
    ASSERT_EQ(run.status, 0) << run.log;
    for (int start : starts) {
        fs::path late = folder / ("from" + std::to_string(start));
        run = Demo("--capture " + late.string() + "/" + size + " --start " + std::to_string(start) + " --until " +
                   std::to_string(start + 2));
        ASSERT_EQ(run.status, 0) << run.log;
        for (int frame : {start, start + 1}) {
            const std::string name = capture::FrameFileName(frame);
            const FrameDifference difference = CompareFrames(late / name, whole / name, 0);
            EXPECT_TRUE(difference.loaded && difference.shareOver == 0.0)
                << name << " from --start " << start << ": " << difference;
        }
    }
}

TEST_F(CaptureRun, VideoHasPictureAndSoundOfTheSpanAndRepeats) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg and ffprobe are not installed: the video capture is not checked";
    fs::path video = folder / "clip.mp4";
    ShellResult run = Demo("--capture " + video.string() + " --fps 30 --mode 160x120 --until 1");
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
    EXPECT_EQ(Probe(video, "v", "codec_name,pix_fmt,width,height,nb_read_frames"), "h264\n160\n120\nyuv420p\n30\n");
    EXPECT_EQ(Probe(video, "a", "codec_name,sample_rate,channels"), "aac\n44100\n2\n");
    double audioSeconds = std::stod(Probe(video, "a", "duration"));
    EXPECT_NEAR(audioSeconds, 1.0, 1.0 / 30);

    fs::path again = folder / "again.mkv";
    ASSERT_EQ(Demo("--capture " + again.string() + " --fps 30 --mode 160x120 --until 1").status, 0);
    auto frameSums = [&](const fs::path& file) {
        // The checksum column only: the containers count time in different units.
        return Shell("ffmpeg -v error -i '" + file.string() + "' -map 0:v -f framemd5 - | grep -v '^#' | " +
                     "sed 's/.*, //'")
            .log;
    };
    std::string first = frameSums(video);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 30);
    EXPECT_EQ(first, frameSums(again));
}

TEST_F(CaptureRun, MissingFfmpegOrABadPlaceOrTimeFailsBeforeRenderingAndLeavesNoFile) {
    fs::path video = folder / "clip.mp4";
    ShellResult run = Shell("PATH=/nonexistent ./demo --capture " + video.string() + " --until 1");
    EXPECT_EQ(run.status, 4) << run.log;
    EXPECT_NE(run.log.find("ffmpeg was not found"), std::string::npos) << run.log;
    EXPECT_EQ(run.log.find("frames rendered"), std::string::npos) << run.log;
    EXPECT_FALSE(fs::exists(video));
    EXPECT_FALSE(fs::exists(video.string() + ".part"));
    // The command line's refusals (its own tests have every case) end the run with status 2.
    run = Demo("--capture /nonexistent-folder/x.mp4");
    EXPECT_EQ(run.status, 2) << run.log;
    EXPECT_NE(run.log.find("folder \"/nonexistent-folder\" does not exist"), std::string::npos) << run.log;
    run = Demo("--start 110 --capture " + video.string());
    EXPECT_EQ(run.status, 2) << run.log;
    EXPECT_NE(run.log.find("--start"), std::string::npos) << run.log;
    EXPECT_FALSE(fs::exists(video));
}

// A full disk, for the test: the file being written ends on /dev/full (for a
// video the encoder's temporary file, for a folder one frame's). The run ends
// with status 4 and one line that says so, and nothing is left under the
// capture's names.
TEST_F(CaptureRun, FullDiskEndsWithStatusFourOneLineAndNoFile) {
    const fs::path video = folder / "clip.mp4", frames = folder / "frames";
    fs::create_directories(frames);
    fs::create_symlink("/dev/full", frames / (capture::FrameFileName(5) + ".part"));
    std::vector<std::pair<std::string, fs::path>> cases = {{frames.string() + "/", frames / capture::FrameFileName(5)}};
    if (HaveFfmpeg()) {
        fs::create_symlink("/dev/full", video.string() + ".part");
        cases.push_back({video.string(), video.string() + ".part"});
    }
    for (const auto& [target, full] : cases) {
        ShellResult run = Demo("--capture " + target + " --fps 30 --mode 160x120 --until 1");
        EXPECT_EQ(run.status, 4) << run.log;
        // Progress lines may come first (standard error is not a terminal);
        // the failure itself is one line.
        std::string errors = run.errors;
        while (errors.rfind("frame ", 0) == 0) errors.erase(0, errors.find('\n') + 1);
        EXPECT_EQ(errors, "demo: capture failed: the disk is full: \"" + full.string() +
                              "\" could not be written (No space left on device); nothing was kept under \"" + target +
                              "\".\n");
    }
    EXPECT_FALSE(fs::exists(video));
    EXPECT_FALSE(fs::exists(fs::symlink_status(video.string() + ".part")));
    EXPECT_TRUE(fs::is_empty(frames)) << Names(frames).front();
}

TEST_F(CaptureRun, InterruptedVideoIsKeptAsAPlayablePartialFile) {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg and ffprobe are not installed: the video capture is not checked";
    fs::path video = folder / "demo.mp4";
    std::string target = video.string();
    std::string log = (folder / "demo.txt").string();
    std::vector<std::string> args = {"./demo", "--capture", target, "--fps", "30", "--mode", "160x120"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::string cwd = fs::current_path().string();
    fs::current_path(DEMO_BINARY_DIR);
    setenv("DEMO_HEADLESS", "1", 1);
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, "./demo", &actions, nullptr, argv.data(), environ);
    fs::current_path(cwd);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(spawned, 0);

    // Wait until the encoder has written some frames, then Ctrl-C.
    fs::path part = target + ".part";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::error_code ec;
    auto written = [&] {
        uintmax_t size = fs::file_size(part, ec);
        return !ec && size >= 20000;
    };
    while (std::chrono::steady_clock::now() < deadline && !written())
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGINT);
    int raw = 0;
    waitpid(pid, &raw, 0);
    std::string text = ReadText(log);
    ASSERT_TRUE(WIFEXITED(raw)) << text;
    EXPECT_EQ(WEXITSTATUS(raw), 130) << text;
    EXPECT_FALSE(fs::exists(video)) << "an interrupted capture is under the final name";
    EXPECT_FALSE(fs::exists(part));
    fs::path partial = folder / "demo.partial.mp4";
    ASSERT_TRUE(fs::exists(partial)) << text;
    EXPECT_NE(text.find(partial.string()), std::string::npos) << text;
    int frames = std::stoi(Probe(partial, "v", "nb_read_frames"));
    EXPECT_GT(frames, 0);
    EXPECT_LT(frames, 3300);
    double videoSeconds = std::stod(Probe(partial, "v", "duration"));
    double audioSeconds = std::stod(Probe(partial, "a", "duration"));
    EXPECT_NEAR(audioSeconds, videoSeconds, 0.1);
}

}  // namespace
