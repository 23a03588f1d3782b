// The demo through OpenGL ES 3.0 (--gles, the WebGL 2 subset) against desktop
// OpenGL: one moment of each scene, rendered headless at 320x240 on the
// fixed-step clock by both, must match within the tolerance below.
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "tests/support/demo_process.h"
#include "tests/support/frame_difference.h"

namespace {

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

}  // namespace
