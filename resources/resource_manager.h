// Turns resource names into cached Direct3D objects loaded from the pack.
// A name's directory part (everything up to its last '/') is dropped: only
// the file name is the cache key and the pack entry name.
//
// Every object belongs to the manager until it is destroyed; callers never
// release what they get. What a failed load leaves behind:
// - 2D texture: null, nothing shown, retried on the next request;
// - cube texture: "Error loading texture <name>" (caption "ERROR!"), retried;
// - mesh: "Error loading mesh <name>" (caption "ERROR!") and an empty record,
//   reported and retried on every request;
// - shader source missing: "Error loading vertex shader <name>" / "Error
//   loading pixel shader <name>"; compile error: the compiler's text (or
//   "Error compiling ... shader <name>" when it gives none); both are shown
//   on every request and not cached;
// - shader creation: "Error creating ... shader <name>", shown once, cached
//   as null;
// - camera or mesh path: "Error loading camera path <name>" / "Error loading
//   mesh path <name>", shown once; the empty path stays cached.
// The destructor releases textures, pixel shaders and vertex shaders, deletes
// the paths, then releases the cached meshes (the scene's mesh objects keep
// copies of those pointers but no longer draw by then) and resets the pack.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "resources/mesh_record.h"
#include "resources/path_files.h"
#include "resources/resource_pack.h"

// The layout of every loaded mesh: position, normal, texcoord, tangent, binormal (56 bytes).
extern const D3DVERTEXELEMENT9 kMeshVertexDeclaration[6];

// h = 31 * h + c over the characters taken as signed bytes, 32-bit unsigned.
struct ResourceNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
};
struct ResourceNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return a == b; }
};
template <class T>
using ResourceCache = std::unordered_map<std::string, T, ResourceNameHash, ResourceNameEqual>;

// Everything up to and including the last '/' removed.
std::string_view StripResourceName(std::string_view name);

// Where shader sources come from: the pack entry of the name, unless a reader
// is set (a run that reads them from a folder). The reader gets the stripped
// name and gives the source text, or false when it has none, which counts as
// a missing entry.
using ShaderSourceReader = std::function<bool(std::string_view name, std::string* source)>;
extern ShaderSourceReader g_shaderSourceReader;

enum class ShaderRebuild { NotLoaded, Rebuilt, Failed };

namespace Mirel {

class ResourceManager {
public:
    explicit ResourceManager(IDirect3DDevice9* device);
    virtual ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // A cube texture loaded under the name comes back through the same
    // pointer type; bind it as a base texture only.
    IDirect3DTexture9* GetTexture(std::string_view name);
    void LoadCubeTexture(std::string_view name);
    IDirect3DVertexShader9* GetVertexShader(std::string_view name);
    IDirect3DPixelShader9* GetPixelShader(std::string_view name);
    CameraPath* GetCameraPath(std::string_view name);
    MeshPath* GetMeshPath(std::string_view name);
    MeshRecord LoadMesh(std::string_view name);  // the work behind the free GetMesh
    // Compiles a shader the cache holds afresh from its source and puts the
    // new one in its place (the old one is released; the next request gets
    // the new one). Failed: the cached shader stays as it was, `error` says
    // why, and nothing is shown. NotLoaded: no shader of that name was
    // requested yet, and nothing is done.
    ShaderRebuild RebuildShader(std::string_view name, std::string* error);
    // The name a cached vertex or pixel shader was loaded under; empty for
    // one the manager does not hold.
    std::string_view ShaderName(const void* shader) const;

    ResourcePack& Pack() { return pack; }

private:
    ResourceCache<IDirect3DBaseTexture9*> textures;
    ResourceCache<MeshRecord> meshes;
    ResourceCache<IDirect3DVertexShader9*> vertexShaders;
    ResourceCache<IDirect3DPixelShader9*> pixelShaders;
    ResourceCache<std::unique_ptr<CameraPath>> cameraPaths;
    ResourceCache<std::unique_ptr<MeshPath>> meshPaths;
    ResourcePack pack;
    IDirect3DDevice9* device;
};

}  // namespace Mirel

// The process-wide manager that GetMesh uses; start-up sets it.
extern Mirel::ResourceManager* g_resourceManager;

MeshRecord GetMesh(std::string_view name);
void PreloadTexture(Mirel::ResourceManager* manager, std::string_view name);
void PreloadVertexShader(Mirel::ResourceManager* manager, std::string_view name);
void PreloadPixelShader(Mirel::ResourceManager* manager, std::string_view name);
void PreloadCameraPath(Mirel::ResourceManager* manager, std::string_view name);
