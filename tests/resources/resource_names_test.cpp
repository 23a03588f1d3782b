#include <gtest/gtest.h>

#include "resources/resource_manager.h"

TEST(ResourceName, StripKeepsOnlyWhatFollowsTheLastSlash) {
    EXPECT_EQ(StripResourceName("Textures//first.png"), "first.png");
    EXPECT_EQ(StripResourceName("other//first.png"), "first.png");
    EXPECT_EQ(StripResourceName("Media//yachtAll2.x"), "yachtAll2.x");
    EXPECT_EQ(StripResourceName("a/b/c.cp"), "c.cp");
    EXPECT_EQ(StripResourceName("vertex_base.cpp"), "vertex_base.cpp");
    EXPECT_EQ(StripResourceName("Textures\\first.png"), "Textures\\first.png");
    EXPECT_EQ(StripResourceName("Textures//"), "");
    EXPECT_EQ(StripResourceName(""), "");
}

TEST(ResourceName, HashIsThirtyOneTimesPreviousPlusSignedCharacter) {
    ResourceNameHash hash;
    EXPECT_EQ(hash(""), 0u);
    EXPECT_EQ(hash("a"), 97u);
    EXPECT_EQ(hash("first.png"), 131896811u);
    EXPECT_EQ(hash("vertex_base.cpp"), 433764673u);
    EXPECT_EQ(hash("Media//yachtAll2.x"), 2597514462u);  // wraps in 32 bits
    EXPECT_EQ(hash("\xe9t\xe9"), 4294948766u);           // bytes above 127 count as negative
}

TEST(ResourceName, CacheFindsStoredNamesByView) {
    ResourceCache<int> cache;
    cache.emplace("first.png", 1);
    std::string_view view = StripResourceName("Textures//first.png");
    ASSERT_NE(cache.find(view), cache.end());
    EXPECT_EQ(cache.find(view)->second, 1);
    EXPECT_EQ(cache.find(std::string_view("First.png")), cache.end());
}
