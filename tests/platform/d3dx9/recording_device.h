// A Direct3D device on the recording backend for the D3DX tests: resources
// live in memory, locks work, and every device call is logged.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_platform.h"
#include "tests/support/test_device.h"

class RecordingDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gpu) << gpu.Error();
        device = gpu.Get();
    }

    // Recorded calls whose text starts with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix) {
        std::vector<std::string> out;
        for (const auto& line : D3D9_RecordedCalls(device))
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        return out;
    }
    void ClearCalls() { D3D9_ClearRecordedCalls(device); }

    TestDevice gpu{D3D9Backend::Recording, 64, 64};
    IDirect3DDevice9* device = nullptr;
};
