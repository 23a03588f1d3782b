// The built demo run headless on bad input: a missing or damaged data.pak, a
// picture that cannot be written, a mode too large. Each failure ends with
// its own message and a defined status, or, where the system is meant to go
// on, goes on without burying the one line that matters.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/pack_format.h"
#include "tests/support/text_files.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBuild = DEMO_BINARY_DIR;

struct DemoResult {
    int status = -1;
    std::string log;     // stdout and stderr together
    std::string errors;  // stderr alone
};

// Runs the demo in `folder` (its working directory: data.pak and music/ are read there).
DemoResult RunDemoIn(const fs::path& folder, const std::string& arguments) {
    const fs::path out = folder / "out.txt", err = folder / "err.txt";
    std::string command = "cd '" + folder.string() + "' && DEMO_HEADLESS=1 '" + (kBuild / "demo").string() + "' " +
                          arguments + " > '" + out.string() + "' 2> '" + err.string() + "'";
    DemoResult run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.errors = ReadText(err);
    run.log = ReadText(out) + run.errors;
    return run;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class DemoFailureRun : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kBuild / "demo") || !fs::exists(kBuild / "data.pak") ||
            !fs::exists(kBuild / "music" / "music.mp3"))
            GTEST_SKIP() << "the demo, its data.pak and its music are not built";
        folder = fs::temp_directory_path() / ("demo_failure_" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "music");
        fs::create_symlink(kBuild / "music" / "music.mp3", folder / "music" / "music.mp3");
        pack = ReadBytes(kBuild / "data.pak");
    }
    void TearDown() override {
        if (!folder.empty()) fs::remove_all(folder);
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

    fs::path folder;
    std::vector<uint8_t> pack;
};

TEST_F(DemoFailureRun, MissingPackEndsAtOnceWithOneLineNamingThePath) {
    DemoResult run = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.log, "demo: cannot read the resource pack " + (folder / "data.pak").string() +
                           ": No such file or directory\n");
}

TEST_F(DemoFailureRun, PackCutInsideItsDirectoryReportsEachEntryAndTheRunGoesOn) {
    // Two and a half directory entries: the entries listed point past the end, the rest are gone.
    pack.resize(kPackHeaderSize + kPackEntrySize * 5 / 2);
    WriteBytes(folder / "data.pak", pack);
    DemoResult run = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 3");
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_NE(run.log.find("30 frames rendered"), std::string::npos) << run.log;
    // The system's own messages, each printed once; the composite's shaders,
    // asked for every frame, once more with their count at the end.
    EXPECT_EQ(Count(run.errors, "[Camera Path Error] Error loading camera path HandDraw.cp\n"), 1u) << run.errors;
    EXPECT_EQ(Count(run.errors, "[ERROR!] Error loading texture cubemap.dds\n"), 1u) << run.errors;
    EXPECT_EQ(Count(run.errors, "[Pixel Shader error] Error loading pixel shader fragment_fs.cpp\n"), 1u) << run.errors;
    EXPECT_NE(run.errors.find("[Pixel Shader error] Error loading pixel shader fragment_fs.cpp (repeated "),
              std::string::npos)
        << run.errors;
    DemoResult longer = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 6");
    EXPECT_EQ(Count(longer.errors, "\n"), Count(run.errors, "\n")) << "not a line a frame";
}

TEST_F(DemoFailureRun, EntryPastTheEndOfThePackFailsAloneOnceWithItsCount) {
    // The composite's pixel shader, asked for every frame: its data now runs past the end of the file.
    const PackHeader header = Header();
    bool found = false;
    for (uint32_t i = 0; i < header.count && !found; ++i) {
        PackDirectoryRecord record = Entry(i);
        if (std::strcmp(record.name, "fragment_fs.cpp") != 0) continue;
        record.size = uint32_t(pack.size() - record.offset + 1);
        SetEntry(i, record);
        found = true;
    }
    ASSERT_TRUE(found) << "fragment_fs.cpp is not in data.pak";
    WriteBytes(folder / "data.pak", pack);
    DemoResult run = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 3");
    EXPECT_EQ(run.status, 0) << run.log;
    EXPECT_NE(run.log.find("30 frames rendered"), std::string::npos) << run.log;
    // Asked for 68 times: at start-up, by the rehearsal of the effects'
    // frames, and twice in each of the 30 frames.
    EXPECT_EQ(run.errors,
              "[Pixel Shader error] Error loading pixel shader fragment_fs.cpp\n"
              "[Pixel Shader error] Error loading pixel shader fragment_fs.cpp (repeated 67 times)\n");
}

TEST_F(DemoFailureRun, ShotOnAFullDiskEndsWithStatusThreeNamingTheFile) {
    fs::copy_file(kBuild / "data.pak", folder / "data.pak");
    const fs::path full = folder / "full.png";
    fs::create_symlink("/dev/full", full);
    DemoResult run = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 1 --shot 0.5:" + full.string());
    EXPECT_EQ(run.status, 3) << run.log;
    EXPECT_NE(run.errors.find("Could not write the picture \"" + full.string() + "\": No space left on device."),
              std::string::npos)
        << run.errors;
}

TEST_F(DemoFailureRun, ModeLargerThanAnyTextureIsRefusedUpFront) {
    DemoResult run = RunDemoIn(folder, "--headless --mode 16385x16 --fps 10 --until 1");
    EXPECT_EQ(run.status, 2) << run.log;
    EXPECT_EQ(Count(run.errors, "--mode"), 1u) << run.errors;
    EXPECT_EQ(run.log.find("frames rendered"), std::string::npos) << run.log;
}

TEST_F(DemoFailureRun, ShotIntoASpecialFileSystemIsRefusedBeforeRendering) {
    fs::copy_file(kBuild / "data.pak", folder / "data.pak");
    DemoResult run = RunDemoIn(folder, "--headless --mode 160x120 --fps 10 --until 1 --shot 0.5:/proc/shot.png");
    EXPECT_EQ(run.status, 2) << run.log;
    EXPECT_NE(run.errors.find("/proc/shot.png"), std::string::npos) << run.errors;
    EXPECT_EQ(run.log.find("frames rendered"), std::string::npos) << run.log;
}

}  // namespace
