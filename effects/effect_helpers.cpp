#include "effects/effect_helpers.h"

#include <algorithm>

#include "resources/resource_manager.h"
#include "scene/camera.h"
#include "shell/demo_state.h"

void SetMatrixConstant(IDirect3DDevice9* device, UINT reg, const D3DXMATRIX& matrix) {
    D3DXMATRIX transposed;
    D3DXMatrixTranspose(&transposed, &matrix);
    device->SetVertexShaderConstantF(reg, transposed, 4);
}

void SetEyeConstant(IDirect3DDevice9* device, UINT reg) {
    const D3DXVECTOR3& eye = g_demoState.camera->eye;
    const float value[4] = {eye.x, eye.y, eye.z, 1.0f};
    device->SetVertexShaderConstantF(reg, value, 1);
}

void DrawAllSubsets(const Mirel::XMeshObj& mesh) {
    if (!mesh.mesh) return;
    for (DWORD k = 0; k < mesh.materialCount; ++k) mesh.mesh->DrawSubset(k);
}

// Levels are kept inside 0..255 on both sides so that a level used as an
// alpha byte can never wrap round to an opaque value.
// The level is limited before it becomes an integer, so that no elapsed
// time or rate, however large, overflows the conversion.
int FadeInValue(const Mirel::Trigger& trigger, double time, double rate) {
    double elapsed = time - (trigger.armedAt + trigger.delay);
    return static_cast<int>(std::clamp(elapsed * rate, 0.0, 255.0));
}

int FadeOutValue(const Mirel::Trigger& trigger, double time, double rate) {
    double elapsed = time - (trigger.armedAt + trigger.delay);
    return static_cast<int>(std::clamp(255.0 - elapsed * rate, 0.0, 255.0));
}

void DrawTitleWords(DWORD flags, std::initializer_list<TitleWord> words) {
    ID3DXSprite* sprite = g_demoState.sprite;
    D3DXMATRIX transform;
    D3DXMatrixScaling(&transform, 0.0005f, -0.0005f, 0.0f);
    sprite->Begin(flags);
    sprite->SetTransform(&transform);
    for (const TitleWord& word : words) {
        D3DXVECTOR3 position(word.x, word.y, 0.0f);
        sprite->Draw(g_demoState.resources->GetTexture(word.texture), nullptr, nullptr, &position,
                     FadeColor(word.level));
    }
    sprite->End();
}
