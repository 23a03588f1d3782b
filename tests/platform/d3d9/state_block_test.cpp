// What a pixel state block puts back.
#include <gtest/gtest.h>

#include "platform/d3dx9/d3dx9.h"
#include "tests/support/test_device.h"

namespace {

TEST(StateBlock, PixelStateBlockRestoresPixelStatesOnly) {
    TestDevice gpu(D3D9Backend::Recording, 16, 16);
    ASSERT_TRUE(gpu);
    const float before[4] = {1, 2, 3, 4};
    gpu->SetPixelShaderConstantF(7, before, 1);
    gpu->SetVertexShaderConstantF(7, before, 1);
    IDirect3DStateBlock9* block = nullptr;
    ASSERT_EQ(gpu->CreateStateBlock(D3DSBT_PIXELSTATE, &block), D3D_OK);

    const float after[4] = {9, 9, 9, 9};
    gpu->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    gpu->SetRenderState(D3DRS_ZENABLE, FALSE);
    gpu->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    gpu->SetSamplerState(4, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    gpu->SetPixelShaderConstantF(7, after, 1);
    gpu->SetVertexShaderConstantF(7, after, 1);
    block->Apply();

    EXPECT_EQ(gpu.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(gpu.RenderState(D3DRS_ZENABLE), DWORD(TRUE));
    EXPECT_EQ(gpu.RenderState(D3DRS_CULLMODE), DWORD(D3DCULL_NONE)) << "a vertex state";
    EXPECT_EQ(gpu.SamplerState(4, D3DSAMP_ADDRESSV), DWORD(D3DTADDRESS_WRAP));
    float register7[4];
    gpu->GetPixelShaderConstantF(7, register7, 1);
    EXPECT_EQ(register7[3], 4.0f);
    gpu->GetVertexShaderConstantF(7, register7, 1);
    EXPECT_EQ(register7[3], 9.0f);
    block->Release();
}

}  // namespace
