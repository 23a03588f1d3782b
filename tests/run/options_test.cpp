#include <gtest/gtest.h>
#include <stb_image.h>

#include <filesystem>
#include <fstream>

#include "run/launch_checks.h"
#include "run/options.h"
#include "run/png_file.h"
#include "tools/pack/pack_writer.h"

namespace {

ParsedCommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

void ExpectError(const std::vector<std::string>& args, const std::string& part) {
    std::string error = Parse(args).error;
    EXPECT_NE(error.find(part), std::string::npos) << testing::PrintToString(args) << "\nerror: " << error;
}

TEST(CommandLine, ReadsEveryOptionInBothSpellingsAndTheLastOfFullscreenAndWindowedWins) {
    ParsedCommandLine parsed =
        Parse({"--mode", "1024x768", "--fullscreen", "--headless", "--fps=30", "--until", "2.5", "--shot",
               "loading:a.png", "--shot=1.25:b.PNG", "--dialog-shot", "d.png", "--print-spectrum"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    const DemoOptions& o = parsed.options;
    EXPECT_TRUE(o.hasMode);
    EXPECT_EQ(o.width, 1024);
    EXPECT_EQ(o.height, 768);
    EXPECT_EQ(o.fullscreen, true);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.fps, 30);
    EXPECT_EQ(o.until, 2.5);
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_TRUE(o.shots[0].atLoading);
    EXPECT_EQ(o.shots[0].path, "a.png");
    EXPECT_FALSE(o.shots[1].atLoading);
    EXPECT_EQ(o.shots[1].seconds, 1.25);
    EXPECT_EQ(o.shots[1].path, "b.PNG");
    EXPECT_EQ(o.dialogShot, "d.png");
    EXPECT_TRUE(o.printSpectrum);
    EXPECT_FALSE(Parse({}).options.Any());
    EXPECT_EQ(Parse({"--fullscreen", "--windowed"}).options.fullscreen, false);
    EXPECT_EQ(Parse({"--windowed", "--fullscreen"}).options.fullscreen, true);
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"--version"}).options.version);
}

TEST(CommandLine, CaptureChoosesItsKindAndDefaultsAndStartMayMeetTheShots) {
    ParsedCommandLine video = Parse({"--capture", "out.MP4"});
    ASSERT_TRUE(video.error.empty()) << video.error;
    EXPECT_EQ(video.options.captureKind, CaptureKind::Video);
    EXPECT_TRUE(video.options.headless);
    EXPECT_EQ(video.options.fps, 60);
    EXPECT_EQ(video.options.width, 1280);
    EXPECT_EQ(video.options.height, 720);
    ParsedCommandLine folder = Parse({"--capture=frames/", "--fps", "30", "--mode", "641x480"});
    ASSERT_TRUE(folder.error.empty()) << folder.error;
    EXPECT_EQ(folder.options.captureKind, CaptureKind::Folder);
    EXPECT_EQ(folder.options.fps, 30);
    EXPECT_EQ(folder.options.width, 641);
    EXPECT_EQ(Parse({"--capture", "a.mkv", "--start", "12.5"}).options.start, 12.5);
    EXPECT_TRUE(Parse({"--start", "5", "--shot", "5:a.png", "--shot", "loading:b.png"}).error.empty());
    EXPECT_TRUE(Parse({"--until", "1", "--shot", "loading:a.png"}).error.empty()) << "a loading shot whenever";
    EXPECT_TRUE(Parse({"--start", "0"}).options.Any());
}

// One case for each refusal the parser makes.
TEST(CommandLine, BadValuesAndStrayArgumentsAreRefusedWithTheirReason) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--mode", "1024"}, "is not a mode"},
        {{"--mode", "+640x480"}, "is not a mode"},
        {{"--mode", "0x480"}, "out of range"},
        {{"--mode"}, "needs a value"},
        {{"--fps", "0"}, "not a frame rate"},
        {{"--fps", "29.97"}, "not a frame rate"},
        {{"--until", "0"}, "greater than 0"},
        {{"--until", "soon"}, "greater than 0"},
        {{"--until", "nan"}, "greater than 0"},
        {{"--shot", "picture.png"}, "SECONDS:FILE.png"},
        {{"--shot", "-1:a.png"}, "not a time"},
        {{"--shot", "3:"}, "needs a file name"},
        {{"--shot", "3:a.jpg"}, "must end in .png"},
        {{"--dialog-shot", "dialog.bmp"}, "must end in .png"},
        {{"--until", "2", "--shot", "2:a.png"}, "never reached"},
        {{"--speed", "2"}, "unknown option --speed"},
        {{"extra"}, "unexpected argument"},
        {{"--print-spectrum=1"}, "--print-spectrum takes no value"},
        {{"--capture", "out.avi"}, "should end in .mp4 or .mkv"},
        {{"--capture", "out.mp4", "--mode", "641x480"}, "even width and height"},
        {{"--start", "-1"}, "--start"},
        {{"--start", "110"}, "--start"},
        {{"--start", "nan"}, "--start"},
        {{"--start", "abc"}, "--start"},
        {{"--start", "5", "--until", "5"}, "is not before --until"},
        {{"--start", "5", "--shot", "4:a.png"}, "comes before --start"}};
    for (const auto& [args, part] : cases) ExpectError(args, part);
}

class OutputPaths : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("demo_options_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string In(const std::string& name) { return (folder / name).string(); }
    std::filesystem::path folder;
};

TEST_F(OutputPaths, NewOrExistingFilesAndFoldersAreAcceptedAndNothingIsWritten) {
    std::ofstream(In("old.png")) << "kept";
    DemoOptions options = Parse({"--shot", "1:" + In("new.png"), "--shot", "2:" + In("old.png")}).options;
    EXPECT_EQ(CheckOutputPaths(options), "");
    EXPECT_FALSE(std::filesystem::exists(In("new.png"))) << "checking writes nothing";
    std::string text;
    std::ifstream(In("old.png")) >> text;
    EXPECT_EQ(text, "kept") << "and changes nothing";
    EXPECT_EQ(CheckOutputPaths(Parse({"--capture", In("new/")}).options), "");
    EXPECT_EQ(CheckOutputPaths(Parse({"--capture", In("a.mp4")}).options), "");
}

TEST_F(OutputPaths, MissingFoldersFoldersAsFilesFilesAsFoldersAndLongNamesAreRefused) {
    std::filesystem::create_directories(In("taken.png"));
    std::ofstream(In("file")) << "x";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--shot", "1:" + In("no/such/folder/a.png")}, "does not exist"},
        {{"--dialog-shot", In("taken.png")}, "is a folder"},
        {{"--capture", In("no/such/")}, "does not exist"},
        {{"--capture", In("file/")}, "not a folder"},
        {{"--shot", "1:" + In(std::string(300, 'a') + ".png")}, "too long for the file system"}};
    for (const auto& [args, part] : cases) {
        const std::string error = CheckOutputPaths(Parse(args).options);
        EXPECT_NE(error.find(part), std::string::npos) << args.back() << ": " << error;
    }
}

TEST(LaunchChecks, ModeMustFitTheRenderersLargestTexture) {
    DemoOptions options = Parse({"--mode", "4097x600"}).options;
    EXPECT_NE(CheckModeFits(options, 4096).find("larger than the renderer's largest texture (4096"), std::string::npos);
    EXPECT_EQ(CheckModeFits(Parse({"--mode", "600x4096"}).options, 4096), "");
    EXPECT_NE(CheckModeFits(Parse({"--mode", "600x4097"}).options, 4096), "");
    EXPECT_EQ(CheckModeFits(Parse({}).options, 16), "") << "no mode given, nothing to check";
}

// A missing pack is refused by the demo run (DemoFailureRun). A folder is no
// pack, and a file must hold a sound directory: the header, the directory and
// every entry's data within the file, names the format stores, none twice.
// What the entries hold is the system's to judge.
TEST_F(OutputPaths, ResourcePackMustBeAFileWithASoundDirectory) {
    const std::string pack = In("data.pak");
    std::filesystem::create_directories(pack);
    EXPECT_EQ(CheckResourcePack(pack), "the resource pack " + pack + " is not a file");
    std::filesystem::remove(pack);
    auto check = [&](const std::vector<uint8_t>& bytes) {
        std::ofstream(pack, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        const std::string error = CheckResourcePack(pack);
        const std::string damaged = "the resource pack " + pack + " is damaged: ";
        return error.rfind(damaged, 0) == 0 ? error.substr(damaged.size()) : error;
    };
    std::vector<uint8_t> empty, sound;
    std::string error;
    ASSERT_TRUE(BuildPack({}, 0, 0, empty, error)) << error;
    EXPECT_EQ(check(empty), "");
    // Stored plain (key 0), so that names can be changed in place.
    ASSERT_TRUE(BuildPack({{"a.png", {1, 2, 3}}, {"b.cpp", {4}}}, 0, 0, sound, error)) << error;
    EXPECT_EQ(check(sound), "");
    const std::string size = " (the file has " + std::to_string(sound.size() - 1) + " bytes)";
    auto cut = [&](size_t length) { return std::vector<uint8_t>(sound.begin(), sound.begin() + long(length)); };
    EXPECT_EQ(check(cut(20)), "it is shorter than its 36-byte header (the file has 20 bytes)");
    EXPECT_EQ(check(cut(kPackHeaderSize + kPackEntrySize + 10)),
              "its directory of 2 entries runs past the end of the file (the file has 110 bytes)");
    EXPECT_EQ(check(cut(sound.size() - 1)), "entry 2 of 2, \"b.cpp\", runs past the end of the file (offset " +
                                                std::to_string(sound.size() - 1) + ", size 1)" + size);
    auto named = [&](const std::string& first, const std::string& second) {
        std::vector<uint8_t> bytes = sound;
        for (size_t entry : {0, 1}) {
            const std::string& name = entry == 0 ? first : second;
            uint8_t* at = bytes.data() + kPackHeaderSize + entry * kPackEntrySize;
            std::fill(at, at + kPackNameSize, uint8_t{0});
            std::copy(name.begin(), name.end(), at);
        }
        return check(bytes);
    };
    EXPECT_EQ(named("", "b.cpp"), "entry 1 of 2: the name is empty");
    EXPECT_EQ(named("a.png", "sub/b.cpp"), "entry 2 of 2: the name \"sub/b.cpp\" holds a '/'");
    EXPECT_EQ(named(std::string(kPackNameSize, 'x'), "b.cpp"),
              "entry 1 of 2: the name \"" + std::string(kPackNameSize, 'x') + "\" is longer than 49 characters");
    EXPECT_EQ(named("a.png", "a.png"), "entries 1 and 2 are both named \"a.png\"");
    EXPECT_EQ(named("new\nline", "new\nline"), "entries 1 and 2 are both named \"new\\x0Aline\"");
    EXPECT_EQ(named("A.png", "a.png"), "") << "names differ in case";
}

TEST_F(OutputPaths, SavedPngReadsBackOpaque) {
    std::vector<uint8_t> rgba = {255, 0, 0, 0, 0, 255, 0, 7};
    ASSERT_TRUE(WritePngFile(In("two.png"), rgba, 2, 1));
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(In("two.png").c_str(), &width, &height, &channels, 4);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
    const std::vector<uint8_t> read(pixels, pixels + 8);
    stbi_image_free(pixels);
    EXPECT_EQ(read, (std::vector<uint8_t>{255, 0, 0, 255, 0, 255, 0, 255})) << "alpha made opaque";
}

}  // namespace
