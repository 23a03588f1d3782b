// Loading camera and mesh paths through the resource manager (no device needed).
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"
#include "tools/pack/pack_writer.h"
#include "resources/resource_manager.h"
#include "tests/resources/path_file_builder.h"
#include "tests/resources/test_files.h"

namespace {

class PathLoading : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetBackend(Win32Backend::Headless);
        std::vector<PackFile> files = {
            {"HandDraw.cp",
             PathFile(0, 0, 1, 8.0f).U32(0).Floats({1, 2, 3, 4, 5, 6}).U32(1).Floats({7, 8, 9, 10, 11, 12}).bytes},
            {"meshtest.cp", PathFile(0, 0, 0, 3.0f).U32(0).Floats({1, 2, 3, 0, 0, 0, 1, 1, 1, 1}).bytes},
            {"Short.cp", PathFile(0, 0, 2, 8.0f).U32(0).Floats({1, 2, 3, 4, 5, 6}).bytes},
        };
        std::vector<uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(BuildPack(files, 1, 0x5C, bytes, error)) << error;
        std::string path = dir.Write("paths.pak", bytes);
        manager.Pack().Reset();
        ASSERT_TRUE(manager.Pack().Open(path.c_str()));
        boxes = Win32_MessageBoxCount();
    }
    int NewMessages() const { return Win32_MessageBoxCount() - boxes; }

    TempDir dir;
    Mirel::ResourceManager manager{nullptr};
    int boxes = 0;
};

}  // namespace

TEST_F(PathLoading, CameraPathIsLoadedOnceAndShared) {
    CameraPath* path = manager.GetCameraPath("Media//HandDraw.cp");
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->keys.size(), 2u);
    EXPECT_EQ(path->keys[1].target.z, 12.0f);
    EXPECT_EQ(path->duration, 8.0f);
    EXPECT_FALSE(path->loop);
    EXPECT_EQ(manager.GetCameraPath("elsewhere/HandDraw.cp"), path);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(PathLoading, MeshPathIsLoadedWithRotationWNegated) {
    PreloadCameraPath(&manager, "Media//HandDraw.cp");
    MeshPath* path = manager.GetMeshPath("Media//meshtest.cp");
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->keys.size(), 1u);
    EXPECT_EQ(path->keys[0].rotation.w, -1.0f);
    EXPECT_EQ(path->keys[0].scale.y, 1.0f);
    EXPECT_EQ(manager.GetMeshPath("meshtest.cp"), path);
}

TEST_F(PathLoading, MissingCameraPathIsReportedOnceAndCachedEmpty) {
    CameraPath* path = manager.GetCameraPath("Media//Missing.cp");
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(path->keys.empty());
    EXPECT_FALSE(path->Usable());
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading camera path Missing.cp");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Camera Path Error");
    EXPECT_EQ(manager.GetCameraPath("Media//Missing.cp"), path);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_TRUE(manager.GetCameraPath("Media//")->keys.empty());
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading camera path ");
}

TEST_F(PathLoading, TruncatedPathFailsWithTheLoadMessage) {
    MeshPath* path = manager.GetMeshPath("Media//Short.cp");
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(path->keys.empty());
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading mesh path Short.cp");
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Mesh Path Error");
    CameraPath* camera = manager.GetCameraPath("Media//Short.cp");
    EXPECT_TRUE(camera->keys.empty());
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading camera path Short.cp");
    EXPECT_EQ(NewMessages(), 2);
}

TEST_F(PathLoading, CameraAndMeshPathsOfOneNameAreSeparate) {
    CameraPath* camera = manager.GetCameraPath("HandDraw.cp");
    MeshPath* mesh = manager.GetMeshPath("HandDraw.cp");  // 16 + 2 * 28 bytes: too short for mesh keys
    EXPECT_EQ(camera->keys.size(), 2u);
    EXPECT_TRUE(mesh->keys.empty());
    EXPECT_EQ(NewMessages(), 1);
}
