#include "resources/path_files.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/resources/path_file_builder.h"
#include "tests/support/math_checks.h"

TEST(CameraPathFile, TwoSegmentsGiveThreeKeysEvenlyTimed) {
    PathFile file(0xDEADBEEF, 7, 2, 9.0f);
    file.U32(0).Floats({1, 2, 3, 4, 5, 6});
    file.U32(1).Floats({7, 8, 9, 10, 11, 12});
    file.U32(2).Floats({13, 14, 15, 16, 17, 18});
    ASSERT_EQ(file.bytes.size(), 100u);

    CameraPath path;
    ASSERT_TRUE(ParseCameraPath(file.bytes.data(), 100, path));
    EXPECT_EQ(path.word0, 0xDEADBEEFu);
    EXPECT_EQ(path.word1, 7u);
    EXPECT_EQ(path.duration, 9.0f);
    EXPECT_FALSE(path.loop);
    ASSERT_EQ(path.keys.size(), 3u);
    EXPECT_EQ(path.keys[0].time, 0.0f);
    EXPECT_EQ(path.keys[1].time, 4.5f);
    EXPECT_EQ(path.keys[2].time, 9.0f);
    EXPECT_EQ(path.keys[2].index, 2u);
    ExpectNear(path.keys[1].eye, {7, 8, 9});
    ExpectNear(path.keys[1].target, {10, 11, 12});
    EXPECT_TRUE(path.Usable());
}

TEST(CameraPathFile, TimeTakesIndexAndSegmentCountAsUnsigned) {
    PathFile file(0, 0, 4, 2.0f);
    file.U32(0xFFFFFFFF).Floats({0, 0, 0, 0, 0, 0});
    for (int k = 0; k < 4; ++k) file.U32(3).Floats({0, 0, 0, 0, 0, 0});
    CameraPath path;
    ASSERT_TRUE(ParseCameraPath(file.bytes.data(), uint32_t(file.bytes.size()), path));
    EXPECT_EQ(path.keys[0].time, 2.0f * 4294967295.0f / 4.0f);
    EXPECT_EQ(path.keys[1].time, 1.5f);  // the stored index feeds the time, not the position
}

// Zero segments: one key at an undefined time; the largest count: no
// records read at all; bytes after the last key are ignored.
TEST(CameraPathFile, SegmentCountsAtTheirLimitsAndBytesAfterTheLastKey) {
    PathFile one(0, 0, 0, 3.0f);
    one.U32(0).Floats({1, 1, 1, 2, 2, 2});
    CameraPath path;
    ASSERT_TRUE(ParseCameraPath(one.bytes.data(), uint32_t(one.bytes.size()), path));
    ASSERT_EQ(path.keys.size(), 1u);
    EXPECT_TRUE(std::isnan(path.keys[0].time));
    ExpectNear(path.keys[0].target, {2, 2, 2});

    PathFile none(1, 2, 0xFFFFFFFF, 5.0f);
    ASSERT_TRUE(ParseCameraPath(none.bytes.data(), 16, path));
    EXPECT_TRUE(path.keys.empty());
    EXPECT_EQ(path.duration, 5.0f);
    EXPECT_FALSE(path.Usable());

    PathFile longer(0, 0, 1, 1.0f);
    for (uint32_t k = 0; k < 3; ++k) longer.U32(k).Floats({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(ParseCameraPath(longer.bytes.data(), uint32_t(longer.bytes.size()), path));
    EXPECT_EQ(path.keys.size(), 2u);
}

TEST(CameraPathFile, NoBytesOrAFileShorterThanItsHeaderOrItsKeysFailsWithAnEmptyPath) {
    PathFile file(1, 2, 2, 9.0f);
    for (uint32_t k = 0; k < 3; ++k) file.U32(k).Floats({1, 2, 3, 4, 5, 6});
    CameraPath path;
    path.keys.resize(4);
    EXPECT_FALSE(ParseCameraPath(file.bytes.data(), 99, path));
    EXPECT_TRUE(path.keys.empty());
    EXPECT_EQ(path.duration, 0.0f);
    EXPECT_EQ(path.word0, 0u);

    PathFile huge(0, 0, 0xFFFFFFFE, 1.0f);  // 2^32 - 1 records announced
    EXPECT_FALSE(ParseCameraPath(huge.bytes.data(), uint32_t(huge.bytes.size()), path));
    EXPECT_FALSE(ParseCameraPath(file.bytes.data(), 15, path)) << "shorter than the header";
    EXPECT_FALSE(ParseCameraPath(nullptr, 0, path));
}

TEST(MeshPathFile, OneSegmentGivesTwoKeysWithRotationWNegatedAndAShortFileNone) {
    PathFile file(5, 6, 1, 4.0f);
    file.U32(0).Floats({1, 2, 3}).Floats({0, 0, 0, 1}).Floats({4, 5, 6});
    file.U32(1).Floats({7, 8, 9}).Floats({0.6f, 0, 0, 0.8f}).Floats({10, 11, 12});
    ASSERT_EQ(file.bytes.size(), 104u);

    MeshPath path;
    ASSERT_TRUE(ParseMeshPath(file.bytes.data(), 104, path));
    ASSERT_EQ(path.keys.size(), 2u);
    EXPECT_EQ(path.word0, 5u);
    EXPECT_EQ(path.keys[0].time, 0.0f);
    EXPECT_EQ(path.keys[1].time, 4.0f);
    ExpectNear(path.keys[0].translation, {1, 2, 3});
    ExpectNear(path.keys[0].scale, {4, 5, 6});
    EXPECT_EQ(path.keys[0].rotation.w, -1.0f);
    EXPECT_EQ(path.keys[0].rotation.x, 0.0f);
    EXPECT_EQ(path.keys[1].rotation.x, 0.6f);
    EXPECT_EQ(path.keys[1].rotation.w, -0.8f);
    ExpectNear(path.keys[1].scale, {10, 11, 12});
    EXPECT_FALSE(ParseMeshPath(file.bytes.data(), 103, path)) << "a byte short of its keys";
    EXPECT_TRUE(path.keys.empty());
}
