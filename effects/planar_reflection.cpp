#include "effects/planar_reflection.h"

#include "render/render_target.h"

void SeaMirror(float waterLevel, D3DXPLANE& waterPlane, D3DXMATRIX& reflection) {
    const D3DXVECTOR3 onTheSea(0.0f, waterLevel, 0.0f);
    const D3DXVECTOR3 down(0.0f, -1.0f, 0.0f);
    D3DXPlaneFromPointNormal(&waterPlane, &onTheSea, &down);
    D3DXPlaneNormalize(&waterPlane, &waterPlane);
    D3DXMatrixReflect(&reflection, &waterPlane);
}

bool RenderPlanarReflection(IDirect3DDevice9* device, IDirect3DTexture9* target, const D3DXPLANE& waterPlane,
                            const D3DXMATRIX& viewProjection, const std::function<void()>& drawMirrored) {
    IDirect3DSurface9* found = CurrentTarget(device);
    const bool intoTarget = SetTextureTarget(device, 0, target);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);

    D3DXMATRIX inverse, inverseTranspose;
    D3DXMatrixInverse(&inverse, nullptr, &viewProjection);
    D3DXMatrixTranspose(&inverseTranspose, &inverse);
    D3DXPLANE clipPlane;
    D3DXPlaneTransform(&clipPlane, &waterPlane, &inverseTranspose);
    device->SetClipPlane(0, clipPlane);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, D3DCLIPPLANE0);

    drawMirrored();

    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    PutBackTarget(device, found);
    return intoTarget;
}
