#include "tools/pack/pack_writer.h"

#include <gtest/gtest.h>

#include "tests/resources/test_files.h"

TEST(PackWriter, RefusesNamesTheReaderCouldNotFind) {
    EXPECT_EQ(PackNameProblem(std::string(49, 'a')), "");
    EXPECT_NE(PackNameProblem(std::string(50, 'a')), "");
    EXPECT_NE(PackNameProblem(""), "");
    EXPECT_NE(PackNameProblem("Textures/first.png"), "");
    EXPECT_NE(PackNameProblem(std::string("a\0b", 3)), "");
    EXPECT_EQ(PackNameProblem("back\\slash.png"), "");

    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(BuildPack({{"ok", {}}, {std::string(50, 'a'), {}}}, 1, 2, bytes, error));
    EXPECT_NE(error.find("49"), std::string::npos);
}

TEST(PackWriter, LaysOutHeaderDirectoryAndDataInOrder) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(BuildPack({{"b", Bytes("xy")}, {"a", Bytes("z")}}, 1, 0x3, bytes, error)) << error;
    ASSERT_EQ(bytes.size(), 36u + 2 * 64 + 3);
    EXPECT_EQ(bytes[12], 2);  // count, plain
    EXPECT_EQ(bytes[16], 1);  // mode
    EXPECT_EQ(bytes[20], 3);  // key
    EXPECT_EQ(bytes[36], uint8_t('b' + 3));
    EXPECT_EQ(bytes[36 + 64], uint8_t('a' + 3));
    EXPECT_EQ(bytes[36 + 128], uint8_t('x' + 3));
    EXPECT_EQ(bytes[36 + 130], uint8_t('z' + 3));
}
