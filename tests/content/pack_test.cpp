// The generated pack: every name the demo asks for is in it, with the bytes
// the generator wrote.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/content/content_files.h"

using namespace content_test;

TEST(ContentPack, HoldsEveryNameTheCodeAsksForWithTheGeneratedBytes) {
    ASSERT_TRUE(std::filesystem::exists(PackPath())) << PackPath();
    std::vector<std::string> names = NamesTheCodeAsksFor();
    // The start-up meshes, the loading picture and the full-screen shaders at least.
    ASSERT_GE(names.size(), 10u) << "the scan of the code found too few names: " << testing::PrintToString(names);
    for (const std::string& name : names) {
        bool found = false;
        PackEntry(name, &found);
        EXPECT_TRUE(found) << name << " is asked for by the code but not in the pack";
    }
    // Every generated file is in it, under a bare name that fits its directory.
    for (const auto& entry : std::filesystem::directory_iterator(ContentDir())) {
        std::string name = entry.path().filename().string();
        EXPECT_LE(name.size(), 49u) << name;
        EXPECT_EQ(name.find('/'), std::string::npos) << name;
        std::vector<uint8_t> file = ReadFile(entry.path().string());
        ASSERT_FALSE(file.empty()) << name;
        EXPECT_EQ(PackEntry(name), file) << name;
    }
}
