// D3DXCreateTextureFromFileInMemory and D3DXCreateCubeTextureFromFileInMemory:
// decode on the CPU, then fill an A8R8G8B8 texture of the device level by level.
#include <cstring>

#include "platform/d3dx9/d3dx9tex.h"
#include "platform/d3dx9/image.h"

namespace {

// Copies one decoded level into a locked surface, row by row.
void CopyLevel(const d3dx::ImageLevel& level, const D3DLOCKED_RECT& locked) {
    auto* rows = static_cast<uint8_t*>(locked.pBits);
    size_t rowBytes = size_t{level.width} * 4;
    for (uint32_t y = 0; y < level.height; ++y)
        std::memcpy(rows + static_cast<ptrdiff_t>(y) * locked.Pitch, &level.pixels[size_t{y} * level.width], rowBytes);
}

bool DecodeForDevice(IDirect3DDevice9* device, LPCVOID data, UINT size, d3dx::DecodedImage* image) {
    if (!device || !data) return false;
    std::string error;
    return d3dx::DecodeImageFile(static_cast<const uint8_t*>(data), size, image, &error);
}

}  // namespace

HRESULT D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                          IDirect3DTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !data) return D3DERR_INVALIDCALL;
    d3dx::DecodedImage image;
    if (!DecodeForDevice(device, data, size, &image)) return D3DXERR_INVALIDDATA;
    // A cube map file gives its first face.
    const d3dx::ImageLevel& top = image.Level(0, 0);
    IDirect3DTexture9* created = nullptr;
    HRESULT hr = device->CreateTexture(top.width, top.height, image.levelCount, 0, D3DFMT_A8R8G8B8,
                                       D3DPOOL_MANAGED, &created, nullptr);
    if (FAILED(hr)) return hr;
    for (uint32_t level = 0; level < image.levelCount && SUCCEEDED(hr); ++level) {
        D3DLOCKED_RECT locked;
        hr = created->LockRect(level, &locked, nullptr, 0);
        if (SUCCEEDED(hr)) {
            CopyLevel(image.Level(0, level), locked);
            hr = created->UnlockRect(level);
        }
    }
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *texture = created;
    return D3D_OK;
}

HRESULT D3DXCreateCubeTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                              IDirect3DCubeTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (!device || !data) return D3DERR_INVALIDCALL;
    d3dx::DecodedImage image;
    if (!DecodeForDevice(device, data, size, &image) || !image.cube) return D3DXERR_INVALIDDATA;
    IDirect3DCubeTexture9* created = nullptr;
    HRESULT hr = device->CreateCubeTexture(image.Level(0, 0).width, image.levelCount, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_MANAGED, &created, nullptr);
    if (FAILED(hr)) return hr;
    for (uint32_t face = 0; face < 6 && SUCCEEDED(hr); ++face) {
        for (uint32_t level = 0; level < image.levelCount && SUCCEEDED(hr); ++level) {
            auto cubeFace = static_cast<D3DCUBEMAP_FACES>(face);
            D3DLOCKED_RECT locked;
            hr = created->LockRect(cubeFace, level, &locked, nullptr, 0);
            if (SUCCEEDED(hr)) {
                CopyLevel(image.Level(face, level), locked);
                hr = created->UnlockRect(cubeFace, level);
            }
        }
    }
    if (FAILED(hr)) {
        created->Release();
        return hr;
    }
    *texture = created;
    return D3D_OK;
}
