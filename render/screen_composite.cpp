// The plain composite of the screen texture and the one-frame loading screen.
#include "render/graphics.h"
#include "resources/resource_manager.h"
#include "shell/demo_state.h"
#include "shell/system.h"

namespace {

// The plain full-screen pair draws `texture` over the current target.
void DrawPlain(IDirect3DBaseTexture9* texture) {
    DemoState& s = g_demoState;
    s.device->SetTexture(0, texture);
    IDirect3DPixelShader9* pixelShader = s.resources->GetPixelShader("fragment_fs.cpp");
    IDirect3DVertexShader9* vertexShader = s.resources->GetVertexShader("vertex_fs.cpp");
    s.quad->Draw(nullptr, s.device, vertexShader, pixelShader, false);
}

}  // namespace

void DrawScreenTexture() { DrawPlain(g_demoState.screenTexture); }

void DrawLoadingScreen(IDirect3DTexture9* texture) {
    BeginFrame();
    DrawPlain(texture);
    EndFrame();
}
