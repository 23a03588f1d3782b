#include "tools/pack/pack_writer.h"

#include <gtest/gtest.h>

#include <string>

TEST(PackWriter, RefusesNamesTheReaderCouldNotFind) {
    EXPECT_EQ(PackNameProblem(std::string(49, 'a')), "");
    EXPECT_NE(PackNameProblem(std::string(50, 'a')), "");
    EXPECT_NE(PackNameProblem(""), "");
    EXPECT_NE(PackNameProblem("Textures/first.png"), "");
    EXPECT_NE(PackNameProblem(std::string("a\0b", 3)), "");
    EXPECT_EQ(PackNameProblem("back\\slash.png"), "");
}
