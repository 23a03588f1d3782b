// The overlay over a built demo's frame: drawn where it stands, and every
// other pixel of the frame as a run without it shows at the same moment.
#include <gtest/gtest.h>

#include "tests/support/demo_process.h"
#include "tests/support/in_process_run.h"

namespace {

class Overlay : public DemoProcessTest {
protected:
    Picture Shot(const std::string& extra) {
        const std::string file = (folder / "shot.png").string();
        ShellResult run = Demo("--mode 640x480 --fps 30 --start 1 --shot 1.5:" + file + " --until 1.6 " + extra);
        EXPECT_EQ(run.status, 0) << run.log;
        return LoadPng(file);
    }
};

TEST_F(Overlay, DrawsOverTheFrameAndLeavesTheRestAsItWas) {
    const Picture plain = Shot(""), overlaid = Shot("--hud");
    ASSERT_EQ(plain.width, 640);
    ASSERT_EQ(overlaid.width, 640);
    // The lines and the graph at the top left, the pass list at the top right
    // and the spectrum along the bottom; nothing else.
    auto inOverlay = [](int x, int y) {
        return (x < 340 && y < 90) || (x >= 640 - 225 && y < 200) || (x < 530 && y >= 420);
    };
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (plain.At(x, y) != overlaid.At(x, y)) ++(inOverlay(x, y) ? changedInside : changedOutside);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(changedInside, 5000);
}

}  // namespace
