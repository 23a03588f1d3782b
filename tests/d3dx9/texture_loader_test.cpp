// Texture and cube-texture loading through a recording device.
#include <gtest/gtest.h>

#include <cstring>

#include <stb_image_write.h>

#include "platform/d3dx9/d3dx9.h"
#include "platform/d3dx9/image.h"
#include "tests/d3dx9/corpus.h"
#include "tests/d3dx9/dds_builder.h"
#include "tests/d3dx9/recording_device.h"

namespace {

void StorePng(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

// Reads a locked level back as D3DCOLOR words, top row first.
std::vector<uint32_t> ReadLevel(IDirect3DTexture9* texture, UINT level) {
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<uint32_t> out(size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&out[size_t{y} * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * 4);
    texture->UnlockRect(level);
    return out;
}

std::vector<uint32_t> ReadFace(IDirect3DCubeTexture9* texture, D3DCUBEMAP_FACES face, UINT level) {
    D3DSURFACE_DESC desc{};
    EXPECT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(face, level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<uint32_t> out(size_t{desc.Width} * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&out[size_t{y} * desc.Width], static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch,
                    desc.Width * 4);
    texture->UnlockRect(face, level);
    return out;
}

}  // namespace

using TextureLoader = RecordingDeviceTest;

TEST_F(TextureLoader, DdsKeepsItsMipLevelsAndPixels) {
    auto file = ddsfile::Build(ddsfile::Argb32(4, 2, 3), ddsfile::NumberedPixels(11, 0));
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemory(device, file.data(), UINT(file.size()), &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 3u);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Width, 4u);
    EXPECT_EQ(desc.Height, 2u);
    auto top = ReadLevel(texture, 0);
    EXPECT_EQ(top[0], 0xFF000000u);
    EXPECT_EQ(top[4], 0xFF000004u);  // first texel of the second row
    EXPECT_EQ(ReadLevel(texture, 1), (std::vector<uint32_t>{0xFF000008u, 0xFF000009u}));
    EXPECT_EQ(ReadLevel(texture, 2), (std::vector<uint32_t>{0xFF00000Au}));
    texture->Release();
}

TEST_F(TextureLoader, PngGetsAFullMipChain) {
    std::vector<uint8_t> rgba(8 * 4 * 4, 0x80);
    std::vector<uint8_t> png;
    ASSERT_NE(stbi_write_png_to_func(StorePng, &png, 8, 4, 4, rgba.data(), 32), 0);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemory(device, png.data(), UINT(png.size()), &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    EXPECT_EQ(ReadLevel(texture, 3), (std::vector<uint32_t>{0x80808080u}));
    texture->Release();
}

TEST_F(TextureLoader, CubeMapFillsSixFaces) {
    auto header = ddsfile::Argb32(2, 2, 2);
    header.caps2 = 0xFE00;
    auto file = ddsfile::Build(header, ddsfile::NumberedPixels(30, 0x100));
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(D3DXCreateCubeTextureFromFileInMemory(device, file.data(), UINT(file.size()), &cube), D3D_OK);
    EXPECT_EQ(cube->GetLevelCount(), 2u);
    for (UINT face = 0; face < 6; ++face) {
        auto pixels = ReadFace(cube, D3DCUBEMAP_FACES(face), 0);
        EXPECT_EQ(pixels[0], 0xFF000100u + face * 5) << face;
        EXPECT_EQ(ReadFace(cube, D3DCUBEMAP_FACES(face), 1)[0], 0xFF000104u + face * 5) << face;
    }
    cube->Release();

    // The 2D loader takes the first face of a cube map file.
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileInMemory(device, file.data(), UINT(file.size()), &texture), D3D_OK);
    EXPECT_EQ(ReadLevel(texture, 0)[3], 0xFF000103u);
    texture->Release();
}

TEST_F(TextureLoader, BadInputFailsWithInvalidDataAndNoTexture) {
    auto flat = ddsfile::Build(ddsfile::Argb32(2, 2, 1), ddsfile::NumberedPixels(4, 0));
    IDirect3DCubeTexture9* cube = reinterpret_cast<IDirect3DCubeTexture9*>(1);
    EXPECT_EQ(D3DXCreateCubeTextureFromFileInMemory(device, flat.data(), UINT(flat.size()), &cube),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(cube, nullptr);
    std::vector<uint8_t> garbage(64, 0x33);
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(1);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, garbage.data(), UINT(garbage.size()), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
    flat.resize(flat.size() - 1);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, flat.data(), UINT(flat.size()), &texture),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemory(device, nullptr, 10, &texture), D3DERR_INVALIDCALL);
}

TEST_F(TextureLoader, CorpusFilesMatchTheirDecodedPictures) {
    if (!corpus::Available("dds")) GTEST_SKIP() << "shared DDS corpus not found under " << DEMO_SHARED_DIR;
    for (const auto& entry : std::filesystem::directory_iterator(corpus::Dir("dds"))) {
        if (entry.path().extension() != ".dds") continue;
        std::string name = entry.path().filename().string();
        auto bytes = corpus::Read("dds", name);
        d3dx::DecodedImage image;
        std::string error;
        bool decodes = d3dx::DecodeImageFile(bytes.data(), bytes.size(), &image, &error);
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
        UINT last = image.levelCount - 1;
        EXPECT_EQ(ReadLevel(texture, last), image.Level(0, last).pixels) << name;
        EXPECT_EQ(ReadLevel(texture, 0), image.Level(0, 0).pixels) << name;
        texture->Release();
        EXPECT_EQ(SUCCEEDED(cubeHr), image.cube) << name;
        if (cube) {
            EXPECT_EQ(ReadFace(cube, D3DCUBEMAP_FACE_NEGATIVE_Z, 0), image.Level(5, 0).pixels) << name;
            cube->Release();
        }
    }
}
