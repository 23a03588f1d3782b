// D3DXCreateTextureFromFileInMemory and D3DXCreateCubeTextureFromFileInMemory:
// decode on the CPU, then fill a texture of the device level by level.
//
// DXT files keep their blocks when the device takes all of DXT1, DXT3 and
// DXT5 (D3D9_SupportsFormat); everything else arrives as A8R8G8B8. Pictures
// decoded ahead (D3DX_DecodeAhead) are taken as they are.
#include <cstring>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/d3dx9/d3dx9tex.h"
#include "platform/d3dx9/decoded_files.h"
#include "platform/d3dx9/image.h"

namespace {

bool TakesDxt(IDirect3DDevice9* device) {
    return D3D9_SupportsFormat(device, D3DFMT_DXT1) && D3D9_SupportsFormat(device, D3DFMT_DXT3) &&
           D3D9_SupportsFormat(device, D3DFMT_DXT5);
}

D3DFORMAT TextureFormat(const d3dx::DecodedImage& image) {
    return image.blockFourCC ? static_cast<D3DFORMAT>(image.blockFourCC) : D3DFMT_A8R8G8B8;
}

// Copies one level into a locked surface, row by row (rows of blocks for DXT).
void CopyLevel(const d3dx::ImageLevel& level, const D3DLOCKED_RECT& locked) {
    const uint8_t* source =
        level.blocks.empty() ? reinterpret_cast<const uint8_t*>(level.pixels.data()) : level.blocks.data();
    size_t rows = level.height, rowBytes = size_t{level.width} * 4;
    if (!level.blocks.empty()) {
        rows = (level.height + 3) / 4;
        rowBytes = level.blocks.size() / rows;
    }
    auto* target = static_cast<uint8_t*>(locked.pBits);
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(target + static_cast<ptrdiff_t>(y) * locked.Pitch, source + y * rowBytes, rowBytes);
}

HRESULT Decode(IDirect3DDevice9* device, LPCVOID data, UINT size, d3dx::DecodedImage* image) {
    if (!device || !data) return D3DERR_INVALIDCALL;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (!d3dx::IsDds(bytes, size)) {
        std::unique_ptr<d3dx::DecodedFile> ahead = d3dx::TakeDecodedFile(bytes, size);
        if (ahead && !ahead->isMesh) {
            if (!ahead->ok) return D3DXERR_INVALIDDATA;
            *image = std::move(ahead->image);
            return D3D_OK;
        }
    }
    std::string error;
    if (!d3dx::DecodeImageFile(static_cast<const uint8_t*>(data), size, image, &error, TakesDxt(device)))
        return D3DXERR_INVALIDDATA;
    return D3D_OK;
}

}  // namespace

HRESULT D3DXCreateTextureFromFileInMemory(IDirect3DDevice9* device, LPCVOID data, UINT size,
                                          IDirect3DTexture9** texture) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    d3dx::DecodedImage image;
    HRESULT hr = Decode(device, data, size, &image);
    if (FAILED(hr)) return hr;
    // A cube map file gives its first face.
    const d3dx::ImageLevel& top = image.Level(0, 0);
    IDirect3DTexture9* created = nullptr;
    hr = device->CreateTexture(top.width, top.height, image.levelCount, 0, TextureFormat(image), D3DPOOL_MANAGED,
                               &created, nullptr);
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
    d3dx::DecodedImage image;
    HRESULT hr = Decode(device, data, size, &image);
    if (FAILED(hr)) return hr;
    if (!image.cube) return D3DXERR_INVALIDDATA;
    IDirect3DCubeTexture9* created = nullptr;
    hr = device->CreateCubeTexture(image.Level(0, 0).width, image.levelCount, 0, TextureFormat(image), D3DPOOL_MANAGED,
                                   &created, nullptr);
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
