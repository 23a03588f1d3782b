#include "resources/resource_manager.h"

#include <cstring>

#include "platform/win32/windows.h"

const D3DVERTEXELEMENT9 kMeshVertexDeclaration[6] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_NORMAL, 0},
    {0, 24, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    {0, 32, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TANGENT, 0},
    {0, 44, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_BINORMAL, 0},
    D3DDECL_END(),
};

Mirel::ResourceManager* g_resourceManager = nullptr;
ShaderSourceReader g_shaderSourceReader;

size_t ResourceNameHash::operator()(std::string_view name) const {
    uint32_t h = 0;
    for (char c : name) h = 31 * h + uint32_t(int32_t(static_cast<signed char>(c)));
    return h;
}

std::string_view StripResourceName(std::string_view name) {
    size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

namespace {

// One pack entry's bytes, freed when it goes out of scope; data is null when
// the entry could not be read.
struct PackBytes {
    std::unique_ptr<uint8_t[]> data;
    uint32_t size = 0;
};

PackBytes ReadPackEntry(ResourcePack& pack, std::string_view name) {
    PackBytes bytes;
    bytes.data.reset(pack.ReadEntry(std::string(name).c_str(), &bytes.size));
    return bytes;
}

void ShowMessage(const std::string& text, const char* caption, UINT type) {
    MessageBoxA(nullptr, text.c_str(), caption, type);
}

std::string operator+(const char* text, std::string_view name) { return std::string(text).append(name); }

// A cube texture stored under a name is handed out through the 2D texture
// pointer, as the demo's callers expect; they only ever bind it as a base
// texture, and with single inheritance both pointers hold the same address.
IDirect3DTexture9* AsTexture(IDirect3DBaseTexture9* texture) { return reinterpret_cast<IDirect3DTexture9*>(texture); }

struct ShaderKind {
    const char* profile;
    DWORD flags;
    const char* caption;
    const char* missingText;  // the source is not in the pack
    const char* compileText;  // the compiler failed without saying why
    const char* createText;
    UINT createType;
};

constexpr ShaderKind kVertexShader = {"vs_3_0",
                                      0,
                                      "Vertex Shader error",
                                      "Error loading vertex shader ",
                                      "Error compiling vertex shader ",
                                      "Error creating vertex shader ",
                                      MB_ICONERROR};
constexpr ShaderKind kPixelShader = {"ps_3_0",
                                     D3DXSHADER_DEBUG,
                                     "Pixel Shader error",
                                     "Error loading pixel shader ",
                                     "Error compiling pixel shader ",
                                     "Error creating pixel shader ",
                                     MB_ICONEXCLAMATION};

std::string BufferText(ID3DXBuffer* buffer) {
    if (!buffer || !buffer->GetBufferPointer()) return {};
    const char* text = static_cast<const char*>(buffer->GetBufferPointer());
    return std::string(text, strnlen(text, buffer->GetBufferSize()));
}

// A shader's source: from the reader where one is set, else from the pack.
// Null data when there is none.
PackBytes ReadShaderSource(ResourcePack& pack, std::string_view name) {
    if (!g_shaderSourceReader) return ReadPackEntry(pack, name);
    PackBytes bytes;
    std::string text;
    if (!g_shaderSourceReader(name, &text)) return bytes;
    bytes.size = static_cast<uint32_t>(text.size());
    bytes.data = std::make_unique<uint8_t[]>(text.size());
    std::memcpy(bytes.data.get(), text.data(), text.size());
    return bytes;
}

enum class ShaderOutcome { Missing, CompileFailed, CreateFailed, Created };

// Reads, compiles and creates a shader, showing nothing. `error` gets the
// compiler's text on a compile failure (empty when it gave none).
template <class Shader, class Create>
ShaderOutcome BuildShader(ResourcePack& pack, std::string_view name, const ShaderKind& kind, Create create,
                          Shader** shader, std::string* error) {
    *shader = nullptr;
    PackBytes source = ReadShaderSource(pack, name);
    if (!source.data) return ShaderOutcome::Missing;
    ID3DXBuffer* code = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT compiled = D3DXCompileShader(reinterpret_cast<const char*>(source.data.get()), source.size, nullptr,
                                         nullptr, "main", kind.profile, kind.flags, &code, &errors, nullptr);
    *error = BufferText(errors);
    if (errors) errors->Release();
    if (FAILED(compiled) || !code) {
        if (code) code->Release();
        return ShaderOutcome::CompileFailed;
    }
    ShaderOutcome outcome = ShaderOutcome::Created;
    if (FAILED(create(static_cast<const DWORD*>(code->GetBufferPointer()), shader))) {
        if (*shader) (*shader)->Release();
        *shader = nullptr;
        outcome = ShaderOutcome::CreateFailed;
    }
    code->Release();
    return outcome;
}

// Compiles and creates a shader. A missing source or a compile error is shown
// and not cached, so the next request tries (and reports) again; a failed
// creation is shown once and cached as null.
template <class Shader, class Create>
Shader* LoadShader(ResourcePack& pack, ResourceCache<Shader*>& cache, std::string_view name, const ShaderKind& kind,
                   Create create) {
    name = StripResourceName(name);
    if (auto found = cache.find(name); found != cache.end()) return found->second;

    Shader* shader = nullptr;
    std::string errorText;
    switch (BuildShader(pack, name, kind, create, &shader, &errorText)) {
    case ShaderOutcome::Missing: ShowMessage(kind.missingText + name, kind.caption, MB_ICONEXCLAMATION); return nullptr;
    case ShaderOutcome::CompileFailed:
        ShowMessage(errorText.empty() ? kind.compileText + name : errorText, kind.caption, MB_ICONEXCLAMATION);
        return nullptr;
    case ShaderOutcome::CreateFailed: ShowMessage(kind.createText + name, kind.caption, kind.createType); break;
    case ShaderOutcome::Created: break;
    }
    cache.emplace(name, shader);
    return shader;
}

// Builds a cached shader again and puts it in place of the old one, which is
// released; on failure the old one stays and `error` says why.
template <class Shader, class Create>
ShaderRebuild RebuildCachedShader(ResourcePack& pack, ResourceCache<Shader*>& cache, std::string_view name,
                                  const ShaderKind& kind, Create create, std::string* error) {
    auto found = cache.find(name);
    if (found == cache.end()) return ShaderRebuild::NotLoaded;
    Shader* shader = nullptr;
    switch (BuildShader(pack, name, kind, create, &shader, error)) {
    case ShaderOutcome::Missing: *error = kind.missingText + name; return ShaderRebuild::Failed;
    case ShaderOutcome::CompileFailed:
        if (error->empty()) *error = kind.compileText + name;
        return ShaderRebuild::Failed;
    case ShaderOutcome::CreateFailed: *error = kind.createText + name; return ShaderRebuild::Failed;
    case ShaderOutcome::Created: break;
    }
    if (found->second) found->second->Release();
    found->second = shader;
    return ShaderRebuild::Rebuilt;
}

// Loads a path file. Whether it parses or not, the path is cached: a failed
// one stays empty and is reported only on the first request.
template <class Path, class Parse>
Path* LoadPath(ResourcePack& pack, ResourceCache<std::unique_ptr<Path>>& cache, std::string_view name, Parse parse,
               const char* text, const char* caption) {
    name = StripResourceName(name);
    if (auto found = cache.find(name); found != cache.end()) return found->second.get();

    auto path = std::make_unique<Path>();
    PackBytes bytes = ReadPackEntry(pack, name);
    if (!parse(bytes.data.get(), bytes.size, *path)) ShowMessage(text + name, caption, MB_ICONERROR);
    return cache.emplace(name, std::move(path)).first->second.get();
}

}  // namespace

namespace Mirel {

ResourceManager::ResourceManager(IDirect3DDevice9* device_) : device(device_) {
    pack.Reset();
    pack.Open();
}

ResourceManager::~ResourceManager() {
    for (auto& entry : textures) entry.second->Release();
    for (auto& entry : pixelShaders)
        if (entry.second) entry.second->Release();
    for (auto& entry : vertexShaders)
        if (entry.second) entry.second->Release();
    textures.clear();
    pixelShaders.clear();
    vertexShaders.clear();
    cameraPaths.clear();
    meshPaths.clear();
    // The scene's mesh objects keep copies of these pointers but never draw
    // again once the manager goes, at shutdown.
    for (auto& entry : meshes)
        if (entry.second.mesh) entry.second.mesh->Release();
    meshes.clear();
    pack.Reset();
}

IDirect3DTexture9* ResourceManager::GetTexture(std::string_view name) {
    name = StripResourceName(name);
    if (auto found = textures.find(name); found != textures.end()) return AsTexture(found->second);

    PackBytes bytes = ReadPackEntry(pack, name);
    IDirect3DTexture9* texture = nullptr;
    if (!bytes.data || FAILED(D3DXCreateTextureFromFileInMemory(device, bytes.data.get(), bytes.size, &texture)))
        return nullptr;
    textures.emplace(name, texture);
    return texture;
}

void ResourceManager::LoadCubeTexture(std::string_view name) {
    name = StripResourceName(name);
    if (textures.find(name) != textures.end()) return;

    PackBytes bytes = ReadPackEntry(pack, name);
    IDirect3DCubeTexture9* texture = nullptr;
    if (!bytes.data || FAILED(D3DXCreateCubeTextureFromFileInMemory(device, bytes.data.get(), bytes.size, &texture))) {
        ShowMessage("Error loading texture " + name, "ERROR!", MB_OK);
        return;
    }
    textures.emplace(name, texture);
}

MeshRecord ResourceManager::LoadMesh(std::string_view name) {
    name = StripResourceName(name);
    if (auto found = meshes.find(name); found != meshes.end()) return found->second;

    PackBytes bytes = ReadPackEntry(pack, name);
    ID3DXBuffer* materialBuffer = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* loaded = nullptr;
    if (!bytes.data || FAILED(D3DXLoadMeshFromXInMemory(bytes.data.get(), bytes.size, D3DXMESH_SYSTEMMEM, device,
                                                        nullptr, &materialBuffer, nullptr, &materialCount, &loaded))) {
        ShowMessage("Error loading mesh " + name, "ERROR!", MB_OK);
        return {};
    }
    ID3DXMesh* mesh = nullptr;
    HRESULT cloned = loaded->CloneMesh(D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device, &mesh);
    loaded->Release();
    if (FAILED(cloned) || !mesh) {
        if (materialBuffer) materialBuffer->Release();
        ShowMessage("Error loading mesh " + name, "ERROR!", MB_OK);
        return {};
    }
    D3DXComputeNormals(mesh, nullptr);
    D3DXComputeTangent(mesh, 0, 0, 0, TRUE, nullptr);

    MeshRecord record;
    record.mesh = mesh;
    if (materialBuffer && materialBuffer->GetBufferSize() >= materialCount * sizeof(D3DXMATERIAL)) {
        const auto* materials = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
        for (DWORD i = 0; i < materialCount; ++i) {
            MeshMaterial material;
            const D3DCOLORVALUE& diffuse = materials[i].MatD3D.Diffuse;
            material.diffuse[0] = diffuse.r;
            material.diffuse[1] = diffuse.g;
            material.diffuse[2] = diffuse.b;
            material.diffuse[3] = diffuse.a;
            const char* file = materials[i].pTextureFilename;
            if (file && *file) {
                material.textureName = std::string("Textures//") + file;
                PreloadTexture(this, material.textureName);
            }
            record.materials.push_back(std::move(material));
        }
    }
    if (materialBuffer) materialBuffer->Release();
    record.materialCount = uint32_t(record.materials.size());
    meshes.emplace(name, record);
    return record;
}

IDirect3DVertexShader9* ResourceManager::GetVertexShader(std::string_view name) {
    return LoadShader(
        pack, vertexShaders, name, kVertexShader,
        [this](const DWORD* code, IDirect3DVertexShader9** out) { return device->CreateVertexShader(code, out); });
}

IDirect3DPixelShader9* ResourceManager::GetPixelShader(std::string_view name) {
    return LoadShader(pack, pixelShaders, name, kPixelShader, [this](const DWORD* code, IDirect3DPixelShader9** out) {
        return device->CreatePixelShader(code, out);
    });
}

ShaderRebuild ResourceManager::RebuildShader(std::string_view name, std::string* error) {
    error->clear();
    name = StripResourceName(name);
    ShaderRebuild result = RebuildCachedShader(
        pack, vertexShaders, name, kVertexShader,
        [this](const DWORD* code, IDirect3DVertexShader9** out) { return device->CreateVertexShader(code, out); },
        error);
    if (result != ShaderRebuild::NotLoaded) return result;
    return RebuildCachedShader(
        pack, pixelShaders, name, kPixelShader,
        [this](const DWORD* code, IDirect3DPixelShader9** out) { return device->CreatePixelShader(code, out); }, error);
}

std::string_view ResourceManager::ShaderName(const void* shader) const {
    if (!shader) return {};
    for (const auto& [name, cached] : vertexShaders)
        if (cached == shader) return name;
    for (const auto& [name, cached] : pixelShaders)
        if (cached == shader) return name;
    return {};
}

CameraPath* ResourceManager::GetCameraPath(std::string_view name) {
    return LoadPath(pack, cameraPaths, name, ParseCameraPath, "Error loading camera path ", "Camera Path Error");
}

MeshPath* ResourceManager::GetMeshPath(std::string_view name) {
    return LoadPath(pack, meshPaths, name, ParseMeshPath, "Error loading mesh path ", "Mesh Path Error");
}

}  // namespace Mirel

MeshRecord GetMesh(std::string_view name) {
    return g_resourceManager ? g_resourceManager->LoadMesh(name) : MeshRecord{};
}

void PreloadTexture(Mirel::ResourceManager* manager, std::string_view name) { manager->GetTexture(name); }

void PreloadVertexShader(Mirel::ResourceManager* manager, std::string_view name) { manager->GetVertexShader(name); }

void PreloadPixelShader(Mirel::ResourceManager* manager, std::string_view name) { manager->GetPixelShader(name); }

void PreloadCameraPath(Mirel::ResourceManager* manager, std::string_view name) { manager->GetCameraPath(name); }
