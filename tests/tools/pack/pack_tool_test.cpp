// The pack tool run as a separate process, as the content build runs it, and
// the names its writer refuses.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "resources/resource_pack.h"
#include "tools/pack/pack_writer.h"
#include "tests/support/test_files.h"

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
};

class PackToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool = std::string(DEMO_BINARY_DIR) + "/pack";
        if (!std::filesystem::exists(tool)) GTEST_SKIP() << "the pack tool is not built at " << tool;
        std::filesystem::create_directory(dir.Path() + "/in");
    }
    ToolRun Pack(const std::string& arguments) {
        ToolRun run;
        std::string command = "cd '" + dir.Path() + "' && '" + tool + "' " + arguments + " 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        char chunk[256];
        size_t n;
        while ((n = fread(chunk, 1, sizeof(chunk), pipe)) > 0) run.out.append(chunk, n);
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    void Input(const std::string& name, const std::string& text) { dir.Write("in/" + name, Bytes(text)); }

    TempDir dir;
    std::string tool;
};

}  // namespace

TEST_F(PackToolTest, BuildPacksFilesSortedByNameTheSameEveryTimeAndListShowsThem) {
    Input("c.txt", "cc");
    Input("a.txt", "a");
    Input("b.txt", "");
    std::filesystem::create_directory(dir.Path() + "/in/sub");
    ASSERT_EQ(Pack("build out.pak in").status, 0);
    ToolRun list = Pack("list out.pak");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "a.txt\t1\t228\nb.txt\t0\t229\nc.txt\t2\t229\n");

    ResourcePack pack;
    ASSERT_TRUE(pack.Open((dir.Path() + "/out.pak").c_str()));
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> data(pack.ReadEntry("c.txt", &size));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data.get(), data.get() + size), "cc");
    ASSERT_EQ(Pack("build again.pak in").status, 0);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/again.pak"), ReadFileBytes(dir.Path() + "/out.pak")) << "deterministic";
}

TEST_F(PackToolTest, BuildStoresTheGivenModeAndKey) {
    Input("x", "data");
    ASSERT_EQ(Pack("build out.pak in --mode 0 --key 0x1A05").status, 0);
    ResourcePack pack;
    ASSERT_TRUE(pack.Open((dir.Path() + "/out.pak").c_str()));
    EXPECT_EQ(pack.Header().mode, 0u);
    EXPECT_EQ(pack.Header().key, 0x1A05u);
    std::vector<uint8_t> bytes = ReadFileBytes(dir.Path() + "/out.pak");
    EXPECT_EQ(bytes[36], uint8_t('x' - 0x05));
}

TEST_F(PackToolTest, BuildSkipsThePackItIsWritingIntoItsOwnFolder) {
    Input("x", "data");
    ASSERT_EQ(Pack("build in/out.pak in").status, 0);
    ASSERT_EQ(Pack("build in/out.pak in").status, 0);
    EXPECT_EQ(Pack("list in/out.pak").out, "x\t4\t100\n");
}

TEST_F(PackToolTest, ExtractWritesTheEntryBytes) {
    Input("shader.cpp", "void main() {}\n");
    ASSERT_EQ(Pack("build out.pak in").status, 0);
    ASSERT_EQ(Pack("extract out.pak shader.cpp copy.cpp").status, 0);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/copy.cpp"), Bytes("void main() {}\n"));
    ASSERT_EQ(Pack("extract out.pak shader.cpp").status, 0);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/shader.cpp"), Bytes("void main() {}\n"));
}

TEST_F(PackToolTest, BadFilesFoldersAndNamesExitWithOne) {
    Input("a", "abc");
    ASSERT_EQ(Pack("build out.pak in").status, 0);
    EXPECT_EQ(Pack("extract out.pak missing").status, 1);
    EXPECT_EQ(Pack("list absent.pak").status, 1);

    RawPack truncated;
    truncated.count = 3;
    truncated.entries = {{"a", Bytes("abc")}};
    dir.Write("short.pak", truncated.Bytes());
    ToolRun list = Pack("list short.pak");
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, "a\t3\t100\n");

    RawPack pastEnd;
    pastEnd.entries = {{"a", Bytes("abc")}};
    pastEnd.entries[0].size = 4;
    dir.Write("past.pak", pastEnd.Bytes());
    EXPECT_EQ(Pack("list past.pak").status, 1);
    EXPECT_EQ(Pack("extract past.pak a").status, 1);

    EXPECT_EQ(Pack("build none.pak nowhere").status, 1);
    Input(std::string(50, 'n'), "x");  // a name longer than 49 characters
    EXPECT_EQ(Pack("build long.pak in").status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/long.pak"));
}

TEST_F(PackToolTest, BadUsageExitsWithTwo) {
    Input("a", "abc");
    for (const char* arguments : {"", "unpack out.pak", "build out.pak", "build out.pak in --key 0x100000000",
                                  "build out.pak in --mode one", "extract out.pak"})
        EXPECT_EQ(Pack(arguments).status, 2) << arguments;
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/out.pak"));
}

TEST(PackWriter, RefusesNamesTheReaderCouldNotFind) {
    EXPECT_EQ(PackNameProblem(std::string(49, 'a')), "");
    EXPECT_NE(PackNameProblem(std::string(50, 'a')), "");
    EXPECT_NE(PackNameProblem(""), "");
    EXPECT_NE(PackNameProblem("Textures/first.png"), "");
    EXPECT_NE(PackNameProblem(std::string("a\0b", 3)), "");
    EXPECT_EQ(PackNameProblem("back\\slash.png"), "");
}
