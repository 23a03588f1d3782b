// Texture and cube-texture loading through a recording device: every corpus
// file's levels, pitches, DXT blocks and cube faces against the decoder's,
// the files it refuses refused by both loaders, a cube map file giving the
// 2D loader its first face.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3dx9/d3dx9.h"
#include "platform/d3dx9/image.h"
#include "tests/platform/d3dx9/corpus.h"
#include "tests/platform/d3dx9/recording_device.h"

namespace {

bool IsDxt(D3DFORMAT format) { return format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5; }

// Copies a locked level out as packed rows (rows of blocks for DXT).
std::vector<uint8_t> Unpitch(const D3DSURFACE_DESC& desc, const D3DLOCKED_RECT& locked) {
    size_t rows = desc.Height, rowBytes = size_t{desc.Width} * 4;
    if (IsDxt(desc.Format)) {
        rows = (desc.Height + 3) / 4;
        rowBytes = (desc.Width + 3) / 4 * (desc.Format == D3DFMT_DXT1 ? 8 : 16);
    }
    std::vector<uint8_t> out(rows * rowBytes);
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(&out[y * rowBytes], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, rowBytes);
    return out;
}

std::vector<uint8_t> ReadBytes(IDirect3DTexture9* texture, UINT level) {
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto out = Unpitch(desc, locked);
    texture->UnlockRect(level);
    return out;
}

std::vector<uint8_t> ReadFaceBytes(IDirect3DCubeTexture9* texture, D3DCUBEMAP_FACES face, UINT level) {
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(face, level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    auto out = Unpitch(desc, locked);
    texture->UnlockRect(face, level);
    return out;
}

// What the loader should have put into a level: blocks, or pixels as bytes.
std::vector<uint8_t> Expected(const d3dx::ImageLevel& level) {
    if (!level.blocks.empty()) return level.blocks;
    std::vector<uint8_t> out(level.pixels.size() * 4);
    std::memcpy(out.data(), level.pixels.data(), out.size());
    return out;
}

}  // namespace

using TextureLoader = RecordingDeviceTest;

TEST_F(TextureLoader, CorpusFilesMatchTheirDecodedPictures) {
    if (!corpus::Available("dds")) GTEST_SKIP() << "shared DDS corpus not found under " << DEMO_SHARED_DIR;
    for (const auto& entry : std::filesystem::directory_iterator(corpus::Dir("dds"))) {
        if (entry.path().extension() != ".dds") continue;
        std::string name = entry.path().filename().string();
        auto bytes = corpus::Read("dds", name);
        d3dx::DecodedImage image;
        std::string error;
        // The recording device takes DXT blocks as they are.
        bool decodes = d3dx::DecodeImageFile(bytes.data(), bytes.size(), &image, &error, true);
        IDirect3DTexture9* texture = nullptr;
        HRESULT hr = D3DXCreateTextureFromFileInMemory(device, bytes.data(), UINT(bytes.size()), &texture);
        IDirect3DCubeTexture9* cube = nullptr;
        HRESULT cubeHr = D3DXCreateCubeTextureFromFileInMemory(device, bytes.data(), UINT(bytes.size()), &cube);
        if (!decodes) {
            EXPECT_EQ(hr, D3DXERR_INVALIDDATA) << name;
            EXPECT_EQ(cubeHr, D3DXERR_INVALIDDATA) << name;
            continue;
        }
        ASSERT_EQ(hr, D3D_OK) << name;
        EXPECT_EQ(texture->GetLevelCount(), image.levelCount) << name;
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(IsDxt(desc.Format), image.blockFourCC != 0) << name;
        UINT last = image.levelCount - 1;
        EXPECT_EQ(ReadBytes(texture, last), Expected(image.Level(0, last))) << name;
        EXPECT_EQ(ReadBytes(texture, 0), Expected(image.Level(0, 0))) << name;
        texture->Release();
        EXPECT_EQ(SUCCEEDED(cubeHr), image.cube) << name;
        if (cube) {
            EXPECT_EQ(ReadFaceBytes(cube, D3DCUBEMAP_FACE_NEGATIVE_Z, 0), Expected(image.Level(5, 0))) << name;
            cube->Release();
        }
    }
}
