// The plain composite of the screen texture.
#include "render/quad.h"
#include "resources/resource_manager.h"
#include "shell/demo_state.h"

void DrawPlainTexture(IDirect3DBaseTexture9* texture) {
    DemoState& s = g_demoState;
    s.device->SetTexture(0, texture);
    IDirect3DPixelShader9* pixelShader = s.resources->GetPixelShader("fragment_fs.cpp");
    IDirect3DVertexShader9* vertexShader = s.resources->GetVertexShader("vertex_fs.cpp");
    s.quad->Draw(nullptr, s.device, vertexShader, pixelShader, false);
}

void DrawScreenTexture() { DrawPlainTexture(g_demoState.screenTexture); }
