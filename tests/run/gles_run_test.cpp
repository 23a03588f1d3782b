// The demo through OpenGL ES 3.0 (--gles, the WebGL 2 subset) against desktop
// OpenGL: one moment of each scene, rendered headless at 320x240 on the
// fixed-step clock by both, must match within the tolerance below. And --gles
// in a real window: on an X display (Xvfb, through xvfb-run) the demo opens
// its SDL window with an OpenGL ES 3.0 context and presents there the same
// frames as headless --gles, for a moment of the sketch scene and one of the
// colour scene (within the same tolerance; measured: identical). That test
// is skipped where xvfb-run or xwininfo is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/support/demo_process.h"
#include "tests/support/frame_difference.h"
#include "tests/support/text_files.h"

namespace {

namespace fs = std::filesystem;

// Frames from the two APIs differ only where rounding differs (depth remapped
// in the shader instead of by the clip control, texels converted on upload
// instead of swizzled): at least 35 dB PSNR, and no more than 0.5 % of the
// pixels off by more than 24 levels in a channel.
constexpr double kMinimumPsnr = 35.0;
constexpr int kChannelBound = 24;
constexpr double kMostPixelsOver = 0.005;

class GlesRun : public DemoProcessTest {
protected:
    std::filesystem::path Frame(const std::string& api, double seconds) {
        const std::string at = std::to_string(seconds);
        std::filesystem::path file = folder / (api + "_" + at + ".png");
        ShellResult run = Demo("--headless --mode 320x240 --windowed --fps 10 --start " + at + " --until " +
                               std::to_string(seconds + 0.05) + " --shot " + at + ":" + file.string() +
                               (api == "gles" ? " --gles" : ""));
        EXPECT_EQ(run.status, 0) << run.log;
        EXPECT_EQ(run.errors.find("d3d9:"), std::string::npos) << run.errors;
        return file;
    }
};

TEST_F(GlesRun, EverySceneMatchesDesktopOpenGL) {
    for (double seconds : {5.0, 14.5, 26.0, 45.0, 80.0, 100.0}) {
        FrameDifference d = CompareFrames(Frame("gl", seconds), Frame("gles", seconds), kChannelBound);
        ASSERT_TRUE(d.loaded) << "at " << seconds << " s";
        std::cout << "at " << seconds << " s: " << d << "\n";
        EXPECT_GE(d.psnr, kMinimumPsnr) << "at " << seconds << " s: " << d;
        EXPECT_LE(d.shareOver, kMostPixelsOver) << "at " << seconds << " s: " << d;
    }
}

class GlesWindow : public DemoProcessTest {
protected:
    void SetUp() override {
        DemoProcessTest::SetUp();
        if (IsSkipped()) return;
        for (const char* tool : {"/usr/bin/xvfb-run", "/usr/bin/xwininfo"})
            if (!fs::exists(tool)) GTEST_SKIP() << tool << " missing (scripts/setup.sh installs xvfb and x11-utils)";
    }
};

TEST_F(GlesWindow, AWindowOnAnXDisplayShowsTheHeadlessFrames) {
    // The demo starts once the X server answers. While it runs, the
    // display's windows and the GL libraries the process has loaded are
    // noted: libepoxy loads libGLESv2 only for an OpenGL ES context.
    const fs::path script = folder / "windowed.sh";
    std::ofstream(script) << "for i in $(seq 100); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done\n"
                          << "\"$@\" & pid=$!\n"
                          << "while kill -0 $pid 2>/dev/null; do\n"
                          << "  xwininfo -root -tree | grep '\"Tavo ost quillet\"' >> '"
                          << (folder / "windows.txt").string() << "'\n"
                          << "  grep -o 'libGLESv2[.so0-9]*' /proc/$pid/maps >> '"
                          << (folder / "libraries.txt").string() << "'\n"
                          << "  sleep 0.05\n"
                          << "done\n"
                          << "wait $pid\n";
    // SDL's X11 video opens a D-Bus connection whose buffers libdbus keeps
    // to the end; under LeakSanitizer those are the system library's, not
    // the demo's.
    const fs::path suppressions = folder / "lsan.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    // Moments whose frames do not depend on the music: in a window the music
    // plays on the audio device, which the spectrum follows at its own pace.
    for (double seconds : {14.5, 45.0}) {
        const std::string at = std::to_string(seconds);
        const std::string run = "--mode 320x240 --windowed --fps 10 --gles --start " + at + " --until " +
                                std::to_string(seconds + 0.05) + " --shot " + at + ":";
        const fs::path windowed = folder / ("window_" + at + ".png"), headless = folder / ("headless_" + at + ".png");
        fs::remove(folder / "windows.txt");
        fs::remove(folder / "libraries.txt");
        // A virtual X server that could not be reached is tried again, twice:
        // that is the test machine's fault, not the demo's.
        ShellResult shown;
        for (int attempt = 0; attempt < 3; ++attempt) {
            shown =
                Shell("env -u DEMO_HEADLESS SDL_AUDIODRIVER=dummy LSAN_OPTIONS=suppressions='" + suppressions.string() +
                      "' xvfb-run -a -s '-screen 0 1024x768x24' "
                      "sh '" +
                      script.string() + "' '" + (kBuild / "demo").string() + "' " + run + windowed.string());
            if (shown.errors.find("No display could be opened") == std::string::npos) break;
            std::cout << "attempt " << attempt + 1 << ": the X server did not answer\n" << shown.errors;
        }
        ASSERT_EQ(shown.status, 0) << shown.log;
        ASSERT_EQ(shown.errors.find("running headless"), std::string::npos) << shown.errors;
        EXPECT_EQ(shown.errors.find("d3d9:"), std::string::npos) << shown.errors;
        // The window at its place and size: (100, 100), a 320x240 client area.
        EXPECT_NE(ReadText(folder / "windows.txt").find("320x240+100+100"), std::string::npos)
            << ReadText(folder / "windows.txt");
        EXPECT_NE(ReadText(folder / "libraries.txt").find("libGLESv2"), std::string::npos);
        ShellResult unseen = Demo("--headless " + run + headless.string());
        ASSERT_EQ(unseen.status, 0) << unseen.log;
        FrameDifference d = CompareFrames(headless, windowed, kChannelBound);
        ASSERT_TRUE(d.loaded) << "at " << seconds << " s";
        std::cout << "at " << seconds << " s: " << d << "\n";
        EXPECT_GE(d.psnr, kMinimumPsnr) << "at " << seconds << " s: " << d;
        EXPECT_LE(d.shareOver, kMostPixelsOver) << "at " << seconds << " s: " << d;
    }
}

}  // namespace
