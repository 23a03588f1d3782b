// The recording backend: buffers locked within bounds and the device kept
// alive by its resources. (Texture levels, cube faces and block pitches are
// read back by the loader tests.)
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/test_device.h"

namespace {

class RecordingDevice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gpu) << gpu.Error(); }
    TestDevice gpu{D3D9Backend::Recording, 64, 48};
};

TEST_F(RecordingDevice, BuffersLockWithinBoundsOnly) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(gpu->CreateVertexBuffer(80, 0, D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_DEFAULT, &buffer, nullptr), D3D_OK);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    std::memset(data, 1, 80);
    buffer->Unlock();
    EXPECT_EQ(buffer->Lock(60, 20, &data, 0), D3D_OK);
    EXPECT_EQ(static_cast<uint8_t*>(data)[19], 1);
    buffer->Unlock();
    EXPECT_NE(buffer->Lock(70, 20, &data, 0), D3D_OK);
    EXPECT_EQ(data, nullptr);
    buffer->Release();
}

TEST_F(RecordingDevice, ChildrenKeepTheDeviceAliveUntilTheLastIsReleased) {
    D3D9Backend previous = D3D9_GetBackend();
    D3D9_SetBackend(D3D9Backend::Recording);
    D3DPRESENT_PARAMETERS params = {};
    params.BackBufferWidth = 16;
    params.BackBufferHeight = 16;
    params.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    IDirect3D9* recording = Direct3DCreate9(D3D_SDK_VERSION);
    D3D9_SetBackend(previous);
    ASSERT_EQ(recording->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &params, &device), D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    device->SetTexture(0, texture);
    recording->Release();
    EXPECT_EQ(device->Release(), 1u);  // the texture still holds it
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(texture->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    owner->Release();
    EXPECT_EQ(texture->Release(), 0u);
}

}  // namespace
