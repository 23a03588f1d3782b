// The resource manager on the recording Direct3D device: what is created,
// loaded, cached, retried and reported.
#include "resources/resource_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "tools/pack/pack_writer.h"
#include "tests/platform/d3dx9/dds_builder.h"
#include "tests/resources/path_file_builder.h"
#include "tests/support/test_files.h"
#include "tests/support/pictures.h"
#include "tests/support/test_device.h"

namespace {

std::vector<uint8_t> Png(int size) {
    std::vector<uint8_t> pixels(size_t(size * size * 4), 0x80);
    return PngFile(size, size, pixels.data());
}

// A 1 x 1 A8R8G8B8 cube map, six faces.
std::vector<uint8_t> CubeDds() {
    ddsfile::Header header = ddsfile::Argb32(1, 1, 1);
    header.caps2 = 0xFE00;
    return ddsfile::Build(header, std::vector<uint8_t>(6 * 4, 0xC0));
}

// Two triangles, each with its own material: the first textured, the
// second not. The stored normals point the wrong way on purpose.
const char kTwoMaterialMesh[] = R"(xof 0303txt 0032
Mesh { 4; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;1.0;0.0;; 2; 3;0,2,1;, 3;1,2,3;;
 MeshNormals { 1; 1.0;0.0;0.0;; 2; 3;0,0,0;, 3;0,0,0;; }
 MeshTextureCoords { 4; 0.0;1.0;, 1.0;1.0;, 0.0;0.0;, 1.0;0.0;; }
 MeshMaterialList { 2; 2; 0, 1;;
  Material { 1.0;0.5;0.25;0.75;; 8.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "first.png"; } }
  Material { 0.2;0.3;0.4;1.0;; 8.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; } } }
)";

const char kPlainMesh[] = "xof 0303txt 0032\nMesh { 3; 0.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;; 1; 3;0,1,2;; }\n";

const char kVertexShader[] = R"(float4x4 transform : register(c0);
float4 main(float3 position : POSITION0) : POSITION { return mul(float4(position, 1.0), transform); }
)";
const char kPixelShader[] = "float4 colour : register(c0);\nfloat4 main() : COLOR0 { return colour; }\n";
const char kBrokenPixelShader[] = "float4 main() : COLOR0 { return undeclared_thing; }\n";

std::vector<PackFile> Content() {
    return {
        {"first.png", Png(4)},
        {"broken.png", Bytes("not a picture")},
        {"sky.dds", CubeDds()},
        {"boat.x", Bytes(kTwoMaterialMesh)},
        {"plain.x", Bytes(kPlainMesh)},
        {"broken.x", Bytes("xof 0303txt 0032\nMesh { 3; 0.0;")},
        {"vertex_base.cpp", Bytes(kVertexShader)},
        {"fragment_base.cpp", Bytes(kPixelShader)},
        {"fragment_broken.cpp", Bytes(kBrokenPixelShader)},
        {"HandDraw.cp",
         PathFile(0, 0, 1, 8.0f).U32(0).Floats({1, 2, 3, 4, 5, 6}).U32(1).Floats({7, 8, 9, 10, 11, 12}).bytes},
        {"meshtest.cp", PathFile(0, 0, 0, 3.0f).U32(0).Floats({1, 2, 3, 0, 0, 0, 1, 1, 1, 1}).bytes},
        {"Short.cp", PathFile(0, 0, 2, 8.0f).U32(0).Floats({1, 2, 3, 4, 5, 6}).bytes},
    };
}

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Win32_SetBackend(Win32Backend::Headless);
        ASSERT_TRUE(gpu);
        device = gpu.Get();
        manager = std::make_unique<Mirel::ResourceManager>(device);
        packPath = WritePack(Content());
        OpenPack(packPath);
        g_resourceManager = manager.get();
        boxes = Win32_MessageBoxCount();
    }
    void TearDown() override {
        g_resourceManager = nullptr;
        manager.reset();
    }

    std::string WritePack(const std::vector<PackFile>& files, const std::string& name = "data.pak") {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(BuildPack(files, 1, 0x6B, bytes, error)) << error;
        return dir.Write(name, bytes);
    }
    void OpenPack(const std::string& path) {
        manager->Pack().Reset();
        ASSERT_TRUE(manager->Pack().Open(path.c_str()));
    }
    // Proves that later requests are answered from the cache alone.
    void RemovePack() { ASSERT_EQ(std::remove(packPath.c_str()), 0); }
    int Calls(const std::string& prefix) const {
        const auto& calls = D3D9_RecordedCalls(device);
        return int(std::count_if(calls.begin(), calls.end(),
                                 [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
    }
    int NewMessages() const { return Win32_MessageBoxCount() - boxes; }
    void ExpectLastMessage(const char* text, const char* caption) const {
        EXPECT_STREQ(Win32_LastMessageBoxText(), text);
        EXPECT_STREQ(Win32_LastMessageBoxCaption(), caption);
    }

    TempDir dir;
    TestDevice gpu{D3D9Backend::Recording, 64, 64};
    IDirect3DDevice9* device = nullptr;
    std::unique_ptr<Mirel::ResourceManager> manager;
    std::string packPath;
    int boxes = 0;
};

IDirect3DBaseTexture9* AsBase(IDirect3DTexture9* texture) { return reinterpret_cast<IDirect3DBaseTexture9*>(texture); }

}  // namespace

// Every kind of resource is made once, whatever folder its name is asked
// under: later requests are answered from the cache alone.
TEST_F(ResourceManagerTest, EveryKindIsLoadedOnceAndSharedAcrossDirectoryParts) {
    IDirect3DTexture9* texture = manager->GetTexture("Textures//first.png");
    manager->LoadCubeTexture("Textures//sky.dds");
    IDirect3DVertexShader9* vertex = manager->GetVertexShader("vertex_base.cpp");
    IDirect3DPixelShader9* pixel = manager->GetPixelShader("Shaders//fragment_base.cpp");
    MeshRecord mesh = GetMesh("Media//boat.x");
    CameraPath* camera = manager->GetCameraPath("Media//HandDraw.cp");
    MeshPath* meshPath = manager->GetMeshPath("Media//meshtest.cp");
    ASSERT_TRUE(texture && vertex && pixel && mesh.mesh && camera && meshPath);
    RemovePack();

    EXPECT_EQ(manager->GetTexture("other//first.png"), texture);
    EXPECT_EQ(manager->GetTexture("first.png"), texture);
    IDirect3DTexture9* cube = manager->GetTexture("Textures//sky.dds");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(AsBase(cube)->GetType(), D3DRTYPE_CUBETEXTURE);
    manager->LoadCubeTexture("elsewhere/sky.dds");
    manager->LoadCubeTexture("Textures//first.png");  // cached as a plain texture: left as it is
    EXPECT_EQ(manager->GetTexture("Textures//first.png"), texture);
    EXPECT_EQ(manager->GetVertexShader("Shaders//vertex_base.cpp"), vertex);
    EXPECT_EQ(manager->GetPixelShader("fragment_base.cpp"), pixel);
    MeshRecord again = GetMesh("Elsewhere//boat.x");
    EXPECT_EQ(again.mesh, mesh.mesh);
    ASSERT_EQ(again.materials.size(), 2u);
    EXPECT_EQ(again.materials[0].textureName, mesh.materials[0].textureName);
    EXPECT_EQ(manager->GetCameraPath("elsewhere/HandDraw.cp"), camera);
    EXPECT_EQ(manager->GetMeshPath("meshtest.cp"), meshPath);

    for (const char* create : {"CreateTexture(", "CreateCubeTexture(", "CreateVertexShader(", "CreatePixelShader("})
        EXPECT_EQ(Calls(create), 1) << create;
    EXPECT_EQ(NewMessages(), 0);
}

// The mesh is cloned into the scene layout with normals and tangents computed
// afresh; its materials name their textures, which load with it.
TEST_F(ResourceManagerTest, MeshGetsTheSharedLayoutFreshNormalsAndTangentsAndItsMaterialsTextures) {
    MeshRecord record = GetMesh("Media//boat.x");
    ASSERT_NE(record.mesh, nullptr);
    D3DVERTEXELEMENT9 declaration[MAX_FVF_DECL_SIZE] = {};
    ASSERT_EQ(record.mesh->GetDeclaration(declaration), D3D_OK);
    EXPECT_EQ(std::memcmp(declaration, kMeshVertexDeclaration, sizeof(kMeshVertexDeclaration)), 0);
    float* vertices = nullptr;
    ASSERT_EQ(record.mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&vertices)), D3D_OK);
    const float* first = vertices;    // position, normal, uv, tangent, binormal
    EXPECT_FLOAT_EQ(first[3], 0.0f);  // the file's normal (1, 0, 0) is replaced
    EXPECT_FLOAT_EQ(std::abs(first[5]), 1.0f);
    EXPECT_NE(first[8] * first[8] + first[9] * first[9] + first[10] * first[10], 0.0f);
    record.mesh->UnlockVertexBuffer();

    ASSERT_EQ(record.materials.size(), 2u);
    EXPECT_EQ(record.materials[0].textureName, "Textures//first.png");
    EXPECT_EQ(record.materials[0].diffuse[3], 0.75f);
    EXPECT_EQ(record.materials[1].textureName, "");
    EXPECT_EQ(record.materials[1].diffuse[2], 0.4f);
    EXPECT_EQ(Calls("CreateTexture("), 1);
    EXPECT_TRUE(GetMesh("Media//plain.x").materials.empty());
    g_resourceManager = nullptr;
    EXPECT_EQ(GetMesh("Media//boat.x").mesh, nullptr) << "without a manager: an empty record";
}

// Every failure gives nothing. Textures fail silently and are tried again;
// cube textures, meshes and shader sources are reported on every request;
// a path that fails is cached empty and reported once.
TEST_F(ResourceManagerTest, FailuresAreReportedAsEachKindReportsThem) {
    Mirel::ResourceManager& m = *manager;
    struct Case {
        const char* what;
        std::function<bool()> loads;  // one request: whether it gave something usable
        int messages;                 // after two requests
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {"missing texture", [&] { return m.GetTexture("Textures//late.png"); }, 0, "", ""},
        {"broken texture", [&] { return m.GetTexture("Textures//broken.png"); }, 0, "", ""},
        {"texture without a name", [&] { return m.GetTexture("Textures//"); }, 0, "", ""},
        {"missing cube texture",
         [&] {
             m.LoadCubeTexture("Textures//missing.dds");
             return m.GetTexture("missing.dds");
         },
         2, "Error loading texture missing.dds", "ERROR!"},
        {"broken cube texture",
         [&] {
             m.LoadCubeTexture("Textures//broken.png");
             return m.GetTexture("broken.png");
         },
         2, "Error loading texture broken.png", "ERROR!"},
        {"broken mesh", [&] { return GetMesh("Media//broken.x").mesh; }, 2, "Error loading mesh broken.x", "ERROR!"},
        {"missing mesh", [&] { return GetMesh("Media//missing.x").mesh; }, 2, "Error loading mesh missing.x", "ERROR!"},
        {"missing vertex shader", [&] { return m.GetVertexShader("vertex_missing.cpp"); }, 2,
         "Error loading vertex shader vertex_missing.cpp", "Vertex Shader error"},
        {"missing pixel shader", [&] { return m.GetPixelShader("fragment_missing.cpp"); }, 2,
         "Error loading pixel shader fragment_missing.cpp", "Pixel Shader error"},
        {"missing camera path", [&] { return m.GetCameraPath("Media//Missing.cp")->Usable(); }, 1,
         "Error loading camera path Missing.cp", "Camera Path Error"},
        {"camera path without a name", [&] { return m.GetCameraPath("Media//")->Usable(); }, 1,
         "Error loading camera path ", "Camera Path Error"},
        {"short camera path", [&] { return m.GetCameraPath("Media//Short.cp")->Usable(); }, 1,
         "Error loading camera path Short.cp", "Camera Path Error"},
        {"short mesh path", [&] { return !m.GetMeshPath("Media//Short.cp")->keys.empty(); }, 1,
         "Error loading mesh path Short.cp", "Mesh Path Error"},
        {"camera keys read as a mesh path", [&] { return !m.GetMeshPath("HandDraw.cp")->keys.empty(); }, 1,
         "Error loading mesh path HandDraw.cp", "Mesh Path Error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = Win32_MessageBoxCount();
        EXPECT_FALSE(c.loads());
        EXPECT_FALSE(c.loads());
        EXPECT_EQ(Win32_MessageBoxCount() - before, c.messages);
        if (c.messages) ExpectLastMessage(c.text, c.caption);
    }
    EXPECT_EQ(m.GetCameraPath("HandDraw.cp")->keys.size(), 2u) << "camera and mesh paths are cached apart";
    std::vector<PackFile> files = Content();
    files.push_back({"late.png", Png(2)});
    OpenPack(WritePack(files, "second.pak"));
    EXPECT_NE(m.GetTexture("Textures//late.png"), nullptr);
}

// A shader that does not compile is reported with the compiler's text and
// tried again; one the device refuses is cached as null and reported once.
TEST_F(ResourceManagerTest, ShaderThatDoesNotCompileIsRetriedAndOneTheDeviceRefusesIsNot) {
    EXPECT_EQ(manager->GetPixelShader("fragment_broken.cpp"), nullptr);
    EXPECT_EQ(manager->GetPixelShader("fragment_broken.cpp"), nullptr);
    EXPECT_EQ(NewMessages(), 2);
    std::string text = Win32_LastMessageBoxText();
    EXPECT_NE(text.find("undeclared_thing"), std::string::npos) << text;
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Pixel Shader error");
    std::vector<PackFile> files = Content();
    files[8].data = Bytes(kPixelShader);  // the source mended
    OpenPack(WritePack(files, "second.pak"));
    EXPECT_NE(manager->GetPixelShader("fragment_broken.cpp"), nullptr);

    D3D9_RefuseCalls(device, "CreateVertexShader", -1);
    EXPECT_EQ(manager->GetVertexShader("Shaders//vertex_base.cpp"), nullptr);
    ExpectLastMessage("Error creating vertex shader vertex_base.cpp", "Vertex Shader error");
    EXPECT_EQ(manager->GetVertexShader("vertex_base.cpp"), nullptr);
    EXPECT_EQ(NewMessages(), 3);
    EXPECT_EQ(Calls("CreateVertexShader("), 1);
}

TEST_F(ResourceManagerTest, DestructionReleasesEveryCachedObject) {
    IDirect3DTexture9* texture = manager->GetTexture("first.png");
    manager->LoadCubeTexture("sky.dds");
    IDirect3DBaseTexture9* cube = AsBase(manager->GetTexture("sky.dds"));
    IDirect3DVertexShader9* vertex = manager->GetVertexShader("vertex_base.cpp");
    IDirect3DPixelShader9* pixel = manager->GetPixelShader("fragment_base.cpp");
    ID3DXMesh* mesh = GetMesh("plain.x").mesh;
    ASSERT_TRUE(texture && cube && vertex && pixel && mesh);
    for (IUnknown* object : std::initializer_list<IUnknown*>{texture, cube, vertex, pixel, mesh})
        EXPECT_EQ(object->AddRef(), 2u);
    manager.reset();
    for (IUnknown* object : std::initializer_list<IUnknown*>{texture, cube, vertex, pixel, mesh})
        EXPECT_EQ(object->Release(), 0u);
}
