// IDirect3DTexture9 and IDirect3DCubeTexture9.
//
// TextureData holds what both share: format, size, mip levels, faces, and the
// pixels. On the recording backend the pixels live in memory for good; on the
// OpenGL backend they live in a GL texture and memory is used only while a
// level is locked (read back first unless the lock discards, uploaded on
// unlock). Levels are stored top row first, the way Direct3D lays them out.
#pragma once

#include <memory>
#include <vector>

#include "platform/d3d9/device.h"
#include "platform/d3d9/formats.h"
#include "platform/d3d9/ref_counted.h"
#include "platform/d3d9/surface.h"

namespace d3d9 {

class Device;

class TextureData {
public:
    TextureData(Device* device, const std::string& label, UINT width, UINT height, UINT levels, UINT faces, DWORD usage,
                const FormatInfo& format, D3DPOOL pool);
    virtual ~TextureData();
    TextureData(const TextureData&) = delete;
    TextureData& operator=(const TextureData&) = delete;

    virtual IDirect3DBaseTexture9* Interface() = 0;
    virtual void AddInternalRef() = 0;
    virtual void ReleaseInternalRef() = 0;

    // Full mip chain for levels == 0, as Direct3D does.
    static UINT CountLevels(UINT width, UINT height, UINT levels);

    UINT Width(UINT level = 0) const { return LevelSize(width, level); }
    UINT Height(UINT level = 0) const { return LevelSize(height, level); }
    UINT Levels() const { return levels; }
    UINT Faces() const { return faces; }
    DWORD Usage() const { return usage; }
    D3DPOOL Pool() const { return pool; }
    const FormatInfo& Format() const { return format; }
    bool IsCube() const { return faces == 6; }
    bool IsRenderTarget() const { return (usage & D3DUSAGE_RENDERTARGET) != 0; }

    HRESULT Describe(UINT level, D3DSURFACE_DESC* desc) const;
    HRESULT Lock(UINT face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT Unlock(UINT face, UINT level);
    Surface* SurfaceAt(UINT face, UINT level);  // null when out of range
    void GenerateMips();
    const std::string& Name() const { return name; }
    // False when the renderer could not allocate the texture (or complete a
    // render target's framebuffer): the device's Create call then fails.
    bool Allocated() const { return allocated; }

    // Pixels of a level on the recording backend (empty on OpenGL).
    std::vector<uint8_t>& Pixels(UINT face, UINT level) { return slots[face * levels + level].pixels; }

    uint32_t glName = 0;

protected:
    Device* owner;

private:
    struct Slot {
        std::vector<uint8_t> pixels;
        std::unique_ptr<Surface> surface;
        bool locked = false;
        bool hasContent = false;
        DWORD lockFlags = 0;
    };

    std::string name;
    UINT width;
    UINT height;
    UINT levels;
    UINT faces;
    DWORD usage;
    const FormatInfo& format;
    D3DPOOL pool;
    std::vector<Slot> slots;  // face * levels + level
    bool allocated = true;
};

// TextureData behind a given interface. Both textures kinds derive from it.
template <class I>
class TextureObject : public DeviceChild<I>, public TextureData {
public:
    TextureObject(Device* device, const std::string& label, UINT width, UINT height, UINT levels, UINT faces,
                  DWORD usage, const FormatInfo& format, D3DPOOL pool, bool startsPublic)
        : DeviceChild<I>(device, label, startsPublic),
          TextureData(device, label, width, height, levels, faces, usage, format, pool) {}

    IDirect3DBaseTexture9* Interface() override { return this; }
    void AddInternalRef() override { RefCounted<I>::AddInternalRef(); }
    void ReleaseInternalRef() override { RefCounted<I>::ReleaseInternalRef(); }

    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        this->device->AddRef();
        *device = this->device;
        return D3D_OK;
    }
    DWORD GetLevelCount() override { return Levels(); }
    void GenerateMipSubLevels() override { GenerateMips(); }
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override { return Describe(level, desc); }
};

class Texture final : public TextureObject<IDirect3DTexture9> {
public:
    using TextureObject::TextureObject;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
};

class CubeTexture final : public TextureObject<IDirect3DCubeTexture9> {
public:
    using TextureObject::TextureObject;
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES face, UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(D3DCUBEMAP_FACES face, UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(D3DCUBEMAP_FACES face, UINT level) override;
};

// The TextureData of a texture made by this stand-in; null for null.
TextureData* TextureFromInterface(IDirect3DBaseTexture9* texture);

}  // namespace d3d9
