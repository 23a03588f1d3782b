// Files decoded ahead on a second thread (D3DX_DecodeAhead) and taken by the
// loaders: each file is decoded once, and what the loaders make is the same.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "platform/d3dx9/d3dx9.h"
#include "platform/d3dx9/d3dx9_platform.h"
#include "platform/d3dx9/decoded_files.h"
#include "tests/platform/d3dx9/recording_device.h"
#include "tests/platform/d3dx9/xfile_samples.h"
#include "tests/support/pictures.h"

namespace {

std::vector<uint8_t> Picture(int size, uint32_t seed) {
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    for (uint8_t& byte : rgba) byte = uint8_t((seed = seed * 1103515245u + 12345u) >> 16);
    return PngFile(size, size, rgba.data());
}

std::vector<uint8_t> Bytes(const char* text) { return {text, text + std::strlen(text)}; }

class DecodeAheadTest : public RecordingDeviceTest {
protected:
    void SetUp() override {
        RecordingDeviceTest::SetUp();
        D3DX_StartDecodingAhead();
    }
    void TearDown() override { D3DX_StopDecodingAhead(); }

    bool Left(const std::vector<uint8_t>& file) { return d3dx::TakeDecodedFile(file.data(), file.size()) != nullptr; }

    // Every level of the texture the loader makes of `file`.
    std::vector<uint8_t> Load(const std::vector<uint8_t>& file) {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, file.data(), UINT(file.size()), &texture), D3D_OK);
        std::vector<uint8_t> texels;
        for (UINT level = 0; texture && level < texture->GetLevelCount(); ++level) {
            D3DSURFACE_DESC desc{};
            D3DLOCKED_RECT locked{};
            texture->GetLevelDesc(level, &desc);
            texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY);
            for (UINT y = 0; y < desc.Height; ++y) {
                const auto* row = static_cast<const uint8_t*>(locked.pBits) + ptrdiff_t(y) * locked.Pitch;
                texels.insert(texels.end(), row, row + desc.Width * 4);
            }
            texture->UnlockRect(level);
        }
        if (texture) texture->Release();
        return texels;
    }
};

TEST_F(DecodeAheadTest, EachFileIsDecodedOnceByWhicheverSideReachesItFirst) {
    const auto ahead = Picture(8, 1), loadedFirst = Picture(8, 2);
    const auto mesh = Bytes(xsamples::kTwoFrames), broken = Bytes("not a picture at all");

    D3DX_DecodeAhead(ahead.data(), ahead.size());
    EXPECT_FALSE(Load(ahead).empty());
    EXPECT_FALSE(Left(ahead)) << "the loader did not take the picture decoded ahead";

    EXPECT_FALSE(Load(loadedFirst).empty());
    D3DX_DecodeAhead(loadedFirst.data(), loadedFirst.size());
    EXPECT_FALSE(Left(loadedFirst)) << "a picture the loader decoded was decoded again";

    std::vector<std::string> textures;
    D3DX_DecodeAhead(mesh.data(), mesh.size(), &textures);
    EXPECT_EQ(textures, (std::vector<std::string>{"shiny.png", "blue.dds"})) << "the mesh's textures, in order";
    ID3DXMesh* loaded = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromXInMemory(mesh.data(), DWORD(mesh.size()), D3DXMESH_MANAGED, device, nullptr, nullptr,
                                        nullptr, nullptr, &loaded),
              D3D_OK);
    EXPECT_EQ(loaded->GetNumFaces(), 4u);  // the quad split in two, and two triangles
    loaded->Release();
    EXPECT_FALSE(Left(mesh)) << "the loader did not take the mesh parsed ahead";

    D3DX_DecodeAhead(broken.data(), broken.size());
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, broken.data(), UINT(broken.size()), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(DecodeAheadTest, ALoaderRacingTheDecodingMakesTheSameTextureAndStoppingDropsTheRest) {
    const auto picture = Picture(256, 7), unused = Picture(4, 9);
    D3DX_StopDecodingAhead();
    const std::vector<uint8_t> plain = Load(picture);

    D3DX_StartDecodingAhead();
    std::thread second([&] { D3DX_DecodeAhead(picture.data(), picture.size()); });
    const std::vector<uint8_t> raced = Load(picture);
    second.join();
    EXPECT_EQ(raced, plain);

    D3DX_DecodeAhead(unused.data(), unused.size());
    D3DX_StopDecodingAhead();
    D3DX_StartDecodingAhead();
    EXPECT_FALSE(Left(unused)) << "a result nobody took outlived the stop";
}

}  // namespace
