// The built demo run headless from start to end: the title scene's pictures
// read back from --shot files, the whole timeline ending by itself; and on bad
// input (a missing or damaged data.pak, an entry missing from a sound one, a
// picture that cannot be written, a mode too large), each failure ending with
// its own message and a defined status, or, where the system is meant to go
// on, going on without burying the one line that matters.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "resources/pack_format.h"
#include "tests/support/demo_process.h"

namespace {

namespace fs = std::filesystem;

struct SavedPicture {
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

SavedPicture Load(const fs::path& path) {
    SavedPicture picture;
    int channels = 0;
    picture.pixels.reset(stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4));
    return picture;
}

bool Ink(const uint8_t* p) { return p[0] + p[1] + p[2] < 3 * 110; }              // lettering, dark
bool Red(const uint8_t* p) { return p[0] > 150 && p[1] < 100 && p[2] < 100; }    // the logo's swash
bool Paper(const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 190; }  // grid paper

// A message box prints "[caption] text" on stderr when headless.
bool ShowedMessageBox(const std::string& log) { return log.find("\n[") != std::string::npos || log.rfind("[", 0) == 0; }

class DemoRun : public DemoProcessTest {
protected:
    std::string Shot(const char* time, const char* name) {
        return std::string(" --shot ") + time + ":" + (folder / name).string();
    }
};

TEST_F(DemoRun, TitleScenePicturesFollowTheCards) {
    ShellResult run = Demo("--mode 320x240 --windowed --fps 30 --until 5" + Shot("0.45", "a.png") +
                           Shot("1.5", "b.png") + Shot("2.6", "c.png") + Shot("3.2", "gap.png") + Shot("4.6", "d.png"));
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_FALSE(ShowedMessageBox(run.log)) << run.log;

    SavedPicture cards = Load(folder / "b.png");
    ASSERT_EQ(cards.width, 320);
    ASSERT_EQ(cards.height, 240);
    // The logo's lettering fills the upper half; "presents" lies just below the centre.
    EXPECT_GT(cards.Share(0.1, 0.1, 0.9, 0.45, Ink), 0.08);
    EXPECT_GT(cards.Share(0.35, 0.53, 0.65, 0.65, Ink), 0.03);
    EXPECT_GT(cards.Share(0.0, 0.8, 1.0, 1.0, Paper), 0.8);

    // At 0.45 s "presents" is still growing: less of its ink than at rest.
    SavedPicture early = Load(folder / "a.png");
    EXPECT_LT(early.Share(0.35, 0.53, 0.65, 0.65, Ink), cards.Share(0.35, 0.53, 0.65, 0.65, Ink));

    // At 2.6 s the logo has grown far past the screen's edges round its centre.
    SavedPicture zoomed = Load(folder / "c.png");
    EXPECT_GT(zoomed.Share(0.0, 0.85, 1.0, 1.0, Red), 0.9);
    EXPECT_GT(zoomed.Share(0.0, 0.0, 1.0, 0.2, Paper), 0.8);

    // Between 2.8 s and 3.5 s nothing but the grid.
    SavedPicture gap = Load(folder / "gap.png");
    EXPECT_EQ(gap.Share(0.0, 0.0, 1.0, 1.0, Ink), 0.0);
    EXPECT_GT(gap.Share(0.0, 0.0, 1.0, 1.0, Paper), 0.7);

    // At 4.6 s the three words stand on three lines.
    SavedPicture words = Load(folder / "d.png");
    for (double top : {0.3, 0.5, 0.84}) EXPECT_GT(words.Share(0.0, top, 1.0, top + 0.1, Ink), 0.02) << top;
}

TEST_F(DemoRun, WholeTimelineEndsByItselfJustPast110Seconds) {
    // Ten frames a second keep the run short; every scene still starts and stops.
    ShellResult run = Demo("--mode 160x120 --windowed --fps 10");
    ASSERT_EQ(run.status, 0) << run.log;
    EXPECT_FALSE(ShowedMessageBox(run.log)) << run.log;
    double endTime = 0;
    size_t at = run.log.find("demo time ");
    ASSERT_NE(at, std::string::npos) << run.log;
    endTime = std::strtod(run.log.c_str() + at + 10, nullptr);
    EXPECT_GE(endTime, 110.0);
    EXPECT_LT(endTime, 110.0 + 1.0 / 10 + 1e-6);
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// Runs in a folder of its own, where the music is linked in and data.pak is
// what the test writes there.
class DemoFailureRun : public DemoProcessTest {
protected:
    void SetUp() override {
        DemoProcessTest::SetUp();
        if (IsSkipped()) return;
        if (!fs::exists(kBuild / "music" / "music.mp3")) GTEST_SKIP() << "the music is not built";
        fs::create_directories(folder / "music");
        fs::create_symlink(kBuild / "music" / "music.mp3", folder / "music" / "music.mp3");
        pack = ReadBytes(kBuild / "data.pak");
    }
    ShellResult RunWith(const std::vector<uint8_t>& bytes, const std::string& arguments) {
        std::ofstream(folder / "data.pak", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Demo(arguments, folder);
    }

    // The pack's header and its directory entry `index`, unscrambled.
    PackHeader Header() const { return DecodePackHeader(pack.data()); }
    PackDirectoryRecord Entry(uint32_t index) const {
        uint8_t plain[kPackEntrySize];
        const uint8_t* stored = pack.data() + kPackHeaderSize + size_t{index} * kPackEntrySize;
        for (size_t i = 0; i < kPackEntrySize; ++i) plain[i] = PackUnscramble(stored[i], Header());
        return DecodePackEntry(plain);
    }
    void SetEntry(uint32_t index, const PackDirectoryRecord& record) {
        uint8_t plain[kPackEntrySize];
        EncodePackEntry(record, plain);
        uint8_t* stored = pack.data() + kPackHeaderSize + size_t{index} * kPackEntrySize;
        for (size_t i = 0; i < kPackEntrySize; ++i) stored[i] = PackScramble(plain[i], Header());
    }

    std::vector<uint8_t> pack;
};

const std::string kShortRun = "--headless --mode 160x120 --fps 10 ";

TEST_F(DemoFailureRun, MissingPackEndsAtOnceWithOneLineNamingThePath) {
    ShellResult run = Demo(kShortRun + "--until 1", folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "demo: cannot read the resource pack " + (folder / "data.pak").string() +
                           ": No such file or directory\n");
}

// A pack cut short or made of noise is refused before anything starts, with
// one line that names it and says what is wrong.
TEST_F(DemoFailureRun, DamagedPackEndsAtOnceWithOneLineSayingWhatIsWrong) {
    std::vector<uint8_t> noise(1 << 16);
    std::mt19937 random(25);
    for (uint8_t& byte : noise) byte = uint8_t(random());
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {std::vector<uint8_t>(pack.begin(), pack.begin() + 6'000'000), "runs past the end of the file"},
        {std::vector<uint8_t>(pack.begin(), pack.begin() + kPackHeaderSize + kPackEntrySize * 5 / 2),
         "entries runs past the end of the file"},
        {noise, "past the end of the file"}};
    for (const auto& [bytes, what] : cases) {
        ShellResult run = RunWith(bytes, kShortRun + "--until 1");
        EXPECT_EQ(run.status, 1) << run.log;
        const std::string line = "demo: the resource pack " + (folder / "data.pak").string() + " is damaged: ";
        EXPECT_EQ(run.log.rfind(line, 0), 0u) << run.log;
        EXPECT_NE(run.log.find(what), std::string::npos) << run.log;
        EXPECT_EQ(Count(run.log, "\n"), 1u) << run.log;
    }
}

TEST_F(DemoFailureRun, EntryMissingFromASoundPackFailsAloneOnceWithItsCount) {
    // The composite's pixel shader, asked for every frame, under another name.
    const PackHeader header = Header();
    bool found = false;
    for (uint32_t i = 0; i < header.count && !found; ++i) {
        PackDirectoryRecord record = Entry(i);
        if (std::strcmp(record.name, "fragment_fs.cpp") != 0) continue;
        record.name[0] = 'F';
        SetEntry(i, record);
        found = true;
    }
    ASSERT_TRUE(found) << "fragment_fs.cpp is not in data.pak";
    ShellResult run = RunWith(pack, kShortRun + "--until 3");
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_NE(run.log.find("30 frames rendered"), std::string::npos) << run.log;
    // Asked for 68 times: at start-up, by the rehearsal of the effects'
    // frames, and twice in each of the 30 frames.
    EXPECT_EQ(run.errors,
              "[Pixel Shader error] Error loading pixel shader fragment_fs.cpp\n"
              "[Pixel Shader error] Error loading pixel shader fragment_fs.cpp (repeated 67 times)\n");
}

TEST_F(DemoFailureRun, ShotOnAFullDiskEndsWithStatusThreeNamingTheFile) {
    const fs::path full = folder / "full.png";
    fs::create_symlink("/dev/full", full);
    ShellResult run = RunWith(pack, kShortRun + "--until 1 --shot 0.5:" + full.string());
    EXPECT_EQ(run.status, 3) << run.log;
    EXPECT_NE(run.errors.find("Could not write the picture \"" + full.string() + "\": No space left on device."),
              std::string::npos)
        << run.errors;
}

// A mode larger than any texture, or a picture into a file system that takes
// no files, ends the run with status 2 before anything is rendered.
TEST_F(DemoFailureRun, ModeTooLargeOrShotIntoASpecialFileSystemIsRefusedUpFront) {
    const std::pair<const char*, const char*> cases[] = {
        {"--mode 16385x16 --until 1", "--mode"},
        {"--mode 160x120 --until 1 --shot 0.5:/proc/shot.png", "/proc/shot.png"}};
    for (const auto& [arguments, named] : cases) {
        ShellResult run = RunWith(pack, "--headless --fps 10 " + std::string(arguments));
        EXPECT_EQ(run.status, 2) << run.log;
        EXPECT_EQ(Count(run.errors, named), 1u) << run.errors;
        EXPECT_EQ(run.log.find("frames rendered"), std::string::npos) << run.log;
    }
}

}  // namespace
