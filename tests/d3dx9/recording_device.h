// A Direct3D device on the recording backend for the D3DX tests: resources
// live in memory, locks work, and every device call is logged.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"

class RecordingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        D3D9_SetBackend(D3D9Backend::Recording);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        D3DPRESENT_PARAMETERS params{};
        params.BackBufferWidth = 64;
        params.BackBufferHeight = 64;
        params.BackBufferFormat = D3DFMT_A8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                    &params, &device),
                  D3D_OK);
    }
    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
    }

    // Recorded calls whose text starts with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& line : D3D9_RecordedCalls(device))
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
    void ClearCalls() { D3D9_ClearRecordedCalls(device); }

    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};
