// The built demo run headless from start to end: the title scene's pictures
// read back from --shot files, and the whole timeline ending by itself.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/text_files.h"

namespace {

namespace fs = std::filesystem;

struct Picture {
    int width = 0;
    int height = 0;
    std::unique_ptr<uint8_t, decltype(&std::free)> pixels{nullptr, &std::free};

    const uint8_t* At(int x, int y) const { return pixels.get() + 4 * (y * width + x); }
    // Fraction of the pixels in a rectangle (fractions of the picture) that pass `test`.
    template <class Test>
    double Share(double x0, double y0, double x1, double y1, Test test) const {
        int count = 0, total = 0;
        for (int y = int(y0 * height); y < int(y1 * height); ++y)
            for (int x = int(x0 * width); x < int(x1 * width); ++x, ++total) count += test(At(x, y)) ? 1 : 0;
        return total ? double(count) / total : 0.0;
    }
};

Picture Load(const fs::path& path) {
    Picture picture;
    int channels = 0;
    picture.pixels.reset(stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4));
    return picture;
}

bool Ink(const uint8_t* p) { return p[0] + p[1] + p[2] < 3 * 110; }              // lettering, dark
bool Red(const uint8_t* p) { return p[0] > 150 && p[1] < 100 && p[2] < 100; }    // the logo's swash
bool Paper(const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 190; }  // grid paper

struct DemoResult {
    int status = -1;
    std::string log;
};

DemoResult RunDemo(const std::string& arguments, const fs::path& folder) {
    fs::path log = folder / "log.txt";
    std::string command =
        "cd '" DEMO_BINARY_DIR "' && DEMO_HEADLESS=1 ./demo " + arguments + " > '" + log.string() + "' 2>&1";
    DemoResult run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.log = ReadText(log);
    return run;
}

class DemoRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(fs::path(DEMO_BINARY_DIR) / "demo") || !fs::exists(fs::path(DEMO_BINARY_DIR) / "data.pak"))
            GTEST_SKIP() << "the demo and its data.pak are not built";
        folder = fs::temp_directory_path() / ("demo_run_" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        if (!folder.empty()) fs::remove_all(folder);
    }
    std::string Shot(const char* time, const char* name) {
        return std::string(" --shot ") + time + ":" + (folder / name).string();
    }
    fs::path folder;
};

// A message box prints "[caption] text" on stderr when headless.
bool ShowedMessageBox(const std::string& log) { return log.find("\n[") != std::string::npos || log.rfind("[", 0) == 0; }

TEST_F(DemoRun, TitleScenePicturesFollowTheCards) {
    DemoResult run =
        RunDemo("--mode 320x240 --windowed --fps 30 --until 5" + Shot("0.45", "a.png") + Shot("1.5", "b.png") +
                    Shot("2.6", "c.png") + Shot("3.2", "gap.png") + Shot("4.6", "d.png"),
                folder);
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_FALSE(ShowedMessageBox(run.log)) << run.log;

    Picture cards = Load(folder / "b.png");
    ASSERT_EQ(cards.width, 320);
    ASSERT_EQ(cards.height, 240);
    // The logo's lettering fills the upper half; "presents" lies just below the centre.
    EXPECT_GT(cards.Share(0.1, 0.1, 0.9, 0.45, Ink), 0.08);
    EXPECT_GT(cards.Share(0.35, 0.53, 0.65, 0.65, Ink), 0.03);
    EXPECT_GT(cards.Share(0.0, 0.8, 1.0, 1.0, Paper), 0.8);

    // At 0.45 s "presents" is still growing: less of its ink than at rest.
    Picture early = Load(folder / "a.png");
    EXPECT_LT(early.Share(0.35, 0.53, 0.65, 0.65, Ink), cards.Share(0.35, 0.53, 0.65, 0.65, Ink));

    // At 2.6 s the logo has grown far past the screen's edges round its centre.
    Picture zoomed = Load(folder / "c.png");
    EXPECT_GT(zoomed.Share(0.0, 0.85, 1.0, 1.0, Red), 0.9);
    EXPECT_GT(zoomed.Share(0.0, 0.0, 1.0, 0.2, Paper), 0.8);

    // Between 2.8 s and 3.5 s nothing but the grid.
    Picture gap = Load(folder / "gap.png");
    EXPECT_EQ(gap.Share(0.0, 0.0, 1.0, 1.0, Ink), 0.0);
    EXPECT_GT(gap.Share(0.0, 0.0, 1.0, 1.0, Paper), 0.7);

    // At 4.6 s the three words stand on three lines.
    Picture words = Load(folder / "d.png");
    for (double top : {0.3, 0.5, 0.84}) EXPECT_GT(words.Share(0.0, top, 1.0, top + 0.1, Ink), 0.02) << top;
}

TEST_F(DemoRun, WholeTimelineEndsByItselfJustPast110Seconds) {
    // Ten frames a second keep the run short; every scene still starts and stops.
    DemoResult run = RunDemo("--mode 160x120 --windowed --fps 10", folder);
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_FALSE(ShowedMessageBox(run.log)) << run.log;
    double endTime = 0;
    size_t at = run.log.find("demo time ");
    ASSERT_NE(at, std::string::npos) << run.log;
    endTime = std::strtod(run.log.c_str() + at + 10, nullptr);
    EXPECT_GE(endTime, 110.0);
    EXPECT_LT(endTime, 110.0 + 1.0 / 10 + 1e-6);
}

}  // namespace
