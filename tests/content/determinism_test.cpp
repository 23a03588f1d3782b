// The generator makes the same bytes on every run: a fresh run in a
// temporary folder matches what the build made, file for file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/content/content_files.h"

namespace fs = std::filesystem;
using namespace content_test;

TEST(Contentgen, AFreshRunMakesTheSameBytesAsTheBuild) {
    fs::path dir = fs::temp_directory_path() / ("contentgen_test_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    std::string command = std::string("\"") + CONTENTGEN_EXE + "\" --out \"" + (dir / "content").string() +
                          "\" --music \"" + (dir / "music.mp3").string() + "\" --score \"" + CONTENTGEN_SCORE +
                          "\" --font \"" + CONTENTGEN_FONT + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    size_t compared = 0;
    for (const auto& entry : fs::directory_iterator(dir / "content")) {
        std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile(ContentDir() + "/" + name)) << name;
        ++compared;
    }
    // The build's folder holds the same files, and the shader sources beside them.
    for (const auto& entry : fs::directory_iterator(ContentDir())) {
        if (entry.path().extension() != ".cpp") {
            EXPECT_TRUE(fs::exists(dir / "content" / entry.path().filename())) << entry.path().filename();
        }
    }
    EXPECT_GE(compared, 44u);
    EXPECT_EQ(ReadFile((dir / "music.mp3").string()), ReadFile(MusicPath()));
    fs::remove_all(dir);
}
