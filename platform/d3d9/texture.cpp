#include "platform/d3d9/texture.h"

#include "platform/d3d9/gl_renderer.h"
#include "platform/d3d9/names.h"

namespace d3d9 {

TextureData::TextureData(Device* device, const std::string& label, UINT width, UINT height, UINT levels, UINT faces,
                         DWORD usage, const FormatInfo& format, D3DPOOL pool)
    : owner(device),
      name(label),
      width(width),
      height(height),
      levels(levels),
      faces(faces),
      usage(usage),
      format(format),
      pool(pool),
      slots(size_t(faces) * levels) {
    if (GLRenderer* gl = owner->Renderer()) {
        allocated = gl->CreateTexture(*this);
        return;
    }
    for (UINT face = 0; face < faces; ++face)
        for (UINT level = 0; level < levels; ++level)
            Pixels(face, level).assign(size_t(RowPitch(format, Width(level))) * RowCount(format, Height(level)), 0);
}

TextureData::~TextureData() {
    // Surfaces go first: the renderer forgets the framebuffers that use them.
    for (Slot& slot : slots) slot.surface.reset();
    if (GLRenderer* gl = owner->Renderer()) gl->DestroyTexture(*this);
}

UINT TextureData::CountLevels(UINT width, UINT height, UINT levels) {
    UINT full = 1;
    for (UINT size = width > height ? width : height; size > 1; size >>= 1) ++full;
    return levels == 0 || levels > full ? full : levels;
}

HRESULT TextureData::Describe(UINT level, D3DSURFACE_DESC* desc) const {
    if (!desc || level >= levels) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{format.format, D3DRTYPE_SURFACE, usage, pool, D3DMULTISAMPLE_NONE, 0,
                            Width(level),  Height(level)};
    return D3D_OK;
}

HRESULT TextureData::Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (!locked || face >= faces || level >= levels) return D3DERR_INVALIDCALL;
    Slot& slot = slots[face * levels + level];
    if (slot.locked) return D3DERR_INVALIDCALL;
    UINT w = Width(level), h = Height(level);
    UINT x = 0, y = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            UINT(rect->right) > w || UINT(rect->bottom) > h)
            return D3DERR_INVALIDCALL;
        x = UINT(rect->left);
        y = UINT(rect->top);
        if (format.compressed && (x % 4 || y % 4)) return D3DERR_INVALIDCALL;
    }
    UINT pitch = RowPitch(format, w);
    if (GLRenderer* gl = owner->Renderer()) {
        slot.pixels = gl->TakeStaging();
        slot.pixels.assign(size_t(pitch) * RowCount(format, h), 0);
        bool keepsOldContent = !(flags & D3DLOCK_DISCARD) || rect;
        if (keepsOldContent && (slot.hasContent || IsRenderTarget()))
            gl->ReadLevel(*this, face, level, slot.pixels.data());
    }
    slot.locked = true;
    slot.lockFlags = flags;
    UINT column = format.compressed ? x / 4 * format.bytes : x * format.bytes;
    UINT row = format.compressed ? y / 4 : y;
    locked->Pitch = static_cast<INT>(pitch);
    locked->pBits = slot.pixels.data() + size_t(row) * pitch + column;
    return D3D_OK;
}

HRESULT TextureData::Unlock(UINT face, UINT level) {
    if (face >= faces || level >= levels) return D3DERR_INVALIDCALL;
    Slot& slot = slots[face * levels + level];
    if (!slot.locked) return D3DERR_INVALIDCALL;
    slot.locked = false;
    if (GLRenderer* gl = owner->Renderer()) {
        if (!(slot.lockFlags & D3DLOCK_READONLY)) {
            gl->UploadLevel(*this, face, level, slot.pixels.data());
            slot.hasContent = true;
        }
        gl->KeepStaging(std::move(slot.pixels));
        std::vector<uint8_t>().swap(slot.pixels);
    }
    return D3D_OK;
}

Surface* TextureData::SurfaceAt(UINT face, UINT level) {
    if (face >= faces || level >= levels) return nullptr;
    Slot& slot = slots[face * levels + level];
    if (!slot.surface) {
        std::string label = name;
        if (faces > 1) label.append(".").append(std::to_string(face));
        label.append(".").append(std::to_string(level));
        slot.surface = std::make_unique<Surface>(owner, this, face, level, label);
    }
    return slot.surface.get();
}

void TextureData::GenerateMips() {
    D3D9_LOG(owner, name + ".GenerateMipSubLevels()");
    if (GLRenderer* gl = owner->Renderer()) gl->GenerateMips(*this);
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    Surface* found = SurfaceAt(0, level);
    D3D9_LOG(owner, label + "." + Call("GetSurfaceLevel", {std::to_string(level)}) + " -> " + LabelOf(found));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = found;
    if (!found) return D3DERR_INVALIDCALL;
    found->AddRef();
    return D3D_OK;
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    D3D9_LOG(owner, label + "." + Call("LockRect", {std::to_string(level), rect ? "RECT" : "NULL", LockFlags(flags)}));
    return Lock(0, level, locked, rect, flags);
}

HRESULT Texture::UnlockRect(UINT level) {
    D3D9_LOG(owner, label + "." + Call("UnlockRect", {std::to_string(level)}));
    return Unlock(0, level);
}

HRESULT CubeTexture::GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** surface) {
    Surface* found = SurfaceAt(face, level);
    D3D9_LOG(owner, label + "." + Call("GetCubeMapSurface", {CubeFaceName(face), std::to_string(level)}) + " -> " +
                        LabelOf(found));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = found;
    if (!found) return D3DERR_INVALIDCALL;
    found->AddRef();
    return D3D_OK;
}

HRESULT CubeTexture::LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                              DWORD flags) {
    D3D9_LOG(owner, label + "." +
                        Call("LockRect",
                             {CubeFaceName(face), std::to_string(level), rect ? "RECT" : "NULL", LockFlags(flags)}));
    return Lock(face, level, locked, rect, flags);
}

HRESULT CubeTexture::UnlockRect(D3DCUBEMAP_FACES face, UINT level) {
    D3D9_LOG(owner, label + "." + Call("UnlockRect", {CubeFaceName(face), std::to_string(level)}));
    return Unlock(face, level);
}

TextureData* TextureFromInterface(IDirect3DBaseTexture9* texture) {
    if (!texture) return nullptr;
    switch (texture->GetType()) {
    case D3DRTYPE_TEXTURE: return static_cast<Texture*>(static_cast<IDirect3DTexture9*>(texture));
    case D3DRTYPE_CUBETEXTURE: return static_cast<CubeTexture*>(static_cast<IDirect3DCubeTexture9*>(texture));
    default: return nullptr;
    }
}

}  // namespace d3d9
