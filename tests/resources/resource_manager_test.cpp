// The resource manager on the recording Direct3D device: what is created,
// loaded, cached, retried and reported.
#include "resources/resource_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/d3d9/d3d9_platform.h"
#include "platform/win32/win32_platform.h"
#include "tools/pack/pack_writer.h"
#include "tests/d3dx9/dds_builder.h"
#include "tests/resources/path_file_builder.h"
#include "tests/resources/test_files.h"
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

const char kVertexShader[] = R"(in vec3 POSITION0;
void main() { gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]); }
)";
const char kPixelShader[] = "void main() { oC0 = c[0]; }\n";
const char kBrokenPixelShader[] = "void main() { oC0 = undeclared_thing; }\n";

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

TEST_F(ResourceManagerTest, TextureIsCreatedOnceAndSharedAcrossDirectoryParts) {
    IDirect3DTexture9* texture = manager->GetTexture("Textures//first.png");
    ASSERT_NE(texture, nullptr);
    RemovePack();
    EXPECT_EQ(manager->GetTexture("Textures//first.png"), texture);
    EXPECT_EQ(manager->GetTexture("other//first.png"), texture);
    EXPECT_EQ(manager->GetTexture("first.png"), texture);
    EXPECT_EQ(Calls("CreateTexture("), 1);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(ResourceManagerTest, FailedTextureIsNullSilentAndRetried) {
    EXPECT_EQ(manager->GetTexture("Textures//late.png"), nullptr);
    EXPECT_EQ(manager->GetTexture("Textures//broken.png"), nullptr);
    EXPECT_EQ(manager->GetTexture("Textures//"), nullptr);
    EXPECT_EQ(NewMessages(), 0);

    std::vector<PackFile> files = Content();
    files.push_back({"late.png", Png(2)});
    OpenPack(WritePack(files, "second.pak"));
    EXPECT_NE(manager->GetTexture("Textures//late.png"), nullptr);
}

TEST_F(ResourceManagerTest, CubeTextureIsFetchedThroughGetTextureAndLoadedOnce) {
    manager->LoadCubeTexture("Textures//sky.dds");
    EXPECT_EQ(Calls("CreateCubeTexture("), 1);
    IDirect3DTexture9* texture = manager->GetTexture("Textures//sky.dds");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(AsBase(texture)->GetType(), D3DRTYPE_CUBETEXTURE);
    manager->LoadCubeTexture("elsewhere/sky.dds");
    EXPECT_EQ(Calls("CreateCubeTexture("), 1);
    EXPECT_EQ(Calls("CreateTexture("), 0);
    // Nor does it load a name already cached as a plain texture.
    IDirect3DTexture9* plain = manager->GetTexture("Textures//first.png");
    ASSERT_NE(plain, nullptr);
    manager->LoadCubeTexture("Textures//first.png");
    EXPECT_EQ(Calls("CreateCubeTexture("), 1);
    EXPECT_EQ(manager->GetTexture("Textures//first.png"), plain);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(ResourceManagerTest, FailedCubeTextureIsReportedOnEveryRequest) {
    manager->LoadCubeTexture("Textures//missing.dds");
    ExpectLastMessage("Error loading texture missing.dds", "ERROR!");
    manager->LoadCubeTexture("Textures//broken.png");
    ExpectLastMessage("Error loading texture broken.png", "ERROR!");
    manager->LoadCubeTexture("Textures//missing.dds");
    EXPECT_EQ(NewMessages(), 3);
    EXPECT_EQ(manager->GetTexture("Textures//missing.dds"), nullptr);
}

TEST_F(ResourceManagerTest, MeshIsClonedIntoTheSharedLayoutWithFreshNormalsAndTangents) {
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
}

// Materials name their textures, loaded with the mesh; a second request,
// under any folder, is a copy of the cached record.
TEST_F(ResourceManagerTest, MeshMaterialsNameTheirLoadedTexturesAndASecondRequestCopiesTheRecord) {
    MeshRecord first = GetMesh("Media//boat.x");
    ASSERT_EQ(first.materials.size(), 2u);
    EXPECT_EQ(first.materials[0].textureName, "Textures//first.png");
    EXPECT_EQ(first.materials[0].diffuse[3], 0.75f);
    EXPECT_EQ(first.materials[1].textureName, "");
    EXPECT_EQ(first.materials[1].diffuse[2], 0.4f);
    EXPECT_EQ(Calls("CreateTexture("), 1);
    EXPECT_TRUE(GetMesh("Media//plain.x").materials.empty());
    RemovePack();
    EXPECT_NE(manager->GetTexture("Textures//first.png"), nullptr);
    MeshRecord second = GetMesh("Elsewhere//boat.x");
    EXPECT_EQ(second.mesh, first.mesh);
    ASSERT_EQ(second.materials.size(), 2u);
    EXPECT_EQ(second.materials[0].textureName, first.materials[0].textureName);
    EXPECT_EQ(NewMessages(), 0);
    g_resourceManager = nullptr;
    EXPECT_EQ(GetMesh("Media//boat.x").mesh, nullptr) << "without a manager: an empty record";
}

TEST_F(ResourceManagerTest, FailedMeshIsReportedOnEveryRequest) {
    MeshRecord record = GetMesh("Media//broken.x");
    EXPECT_EQ(record.mesh, nullptr);
    EXPECT_EQ(record.materialCount, 0u);
    ExpectLastMessage("Error loading mesh broken.x", "ERROR!");
    GetMesh("Media//broken.x");
    GetMesh("Media//missing.x");
    ExpectLastMessage("Error loading mesh missing.x", "ERROR!");
    EXPECT_EQ(NewMessages(), 3);
}

TEST_F(ResourceManagerTest, ShadersAreCompiledOnceAndShared) {
    IDirect3DVertexShader9* vertex = manager->GetVertexShader("vertex_base.cpp");
    IDirect3DPixelShader9* pixel = manager->GetPixelShader("Shaders//fragment_base.cpp");
    ASSERT_NE(vertex, nullptr);
    ASSERT_NE(pixel, nullptr);
    RemovePack();
    EXPECT_EQ(manager->GetVertexShader("vertex_base.cpp"), vertex);
    EXPECT_EQ(manager->GetPixelShader("fragment_base.cpp"), pixel);
    EXPECT_EQ(Calls("CreateVertexShader("), 1);
    EXPECT_EQ(Calls("CreatePixelShader("), 1);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(ResourceManagerTest, ShaderWithASyntaxErrorIsReportedOnEveryRequestAndNotCached) {
    EXPECT_EQ(manager->GetPixelShader("fragment_broken.cpp"), nullptr);
    EXPECT_EQ(NewMessages(), 1);
    std::string text = Win32_LastMessageBoxText();
    EXPECT_NE(text.find("undeclared_thing"), std::string::npos) << text;
    EXPECT_STREQ(Win32_LastMessageBoxCaption(), "Pixel Shader error");
    EXPECT_EQ(manager->GetPixelShader("fragment_broken.cpp"), nullptr);
    EXPECT_EQ(NewMessages(), 2);
    EXPECT_EQ(Calls("CreatePixelShader("), 0);

    std::vector<PackFile> files = Content();
    files[8].data = Bytes(kPixelShader);  // the source mended
    OpenPack(WritePack(files, "second.pak"));
    EXPECT_NE(manager->GetPixelShader("fragment_broken.cpp"), nullptr);
}

TEST_F(ResourceManagerTest, MissingShaderSourceIsReportedOnEveryRequest) {
    EXPECT_EQ(manager->GetVertexShader("vertex_missing.cpp"), nullptr);
    ExpectLastMessage("Error loading vertex shader vertex_missing.cpp", "Vertex Shader error");
    EXPECT_EQ(manager->GetPixelShader("fragment_missing.cpp"), nullptr);
    ExpectLastMessage("Error loading pixel shader fragment_missing.cpp", "Pixel Shader error");
    EXPECT_EQ(manager->GetVertexShader("vertex_missing.cpp"), nullptr);
    EXPECT_EQ(NewMessages(), 3);
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

TEST_F(ResourceManagerTest, FailedShaderCreationIsCachedAsNullAndReportedOnce) {
    D3D9_RefuseCalls(device, "CreatePixelShader", -1);
    D3D9_RefuseCalls(device, "CreateVertexShader", -1);
    EXPECT_EQ(manager->GetPixelShader("fragment_base.cpp"), nullptr);
    ExpectLastMessage("Error creating pixel shader fragment_base.cpp", "Pixel Shader error");
    EXPECT_EQ(manager->GetPixelShader("Shaders//fragment_base.cpp"), nullptr);

    EXPECT_EQ(manager->GetVertexShader("Shaders//vertex_base.cpp"), nullptr);
    ExpectLastMessage("Error creating vertex shader vertex_base.cpp", "Vertex Shader error");
    EXPECT_EQ(manager->GetVertexShader("vertex_base.cpp"), nullptr);

    EXPECT_EQ(NewMessages(), 2);
    EXPECT_EQ(Calls("CreatePixelShader("), 1);
    EXPECT_EQ(Calls("CreateVertexShader("), 1);
}

TEST_F(ResourceManagerTest, CameraPathIsLoadedOnceAndShared) {
    CameraPath* path = manager->GetCameraPath("Media//HandDraw.cp");
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->keys.size(), 2u);
    EXPECT_EQ(path->keys[1].target.z, 12.0f);
    EXPECT_EQ(path->duration, 8.0f);
    EXPECT_FALSE(path->loop);
    EXPECT_EQ(manager->GetCameraPath("elsewhere/HandDraw.cp"), path);
    EXPECT_EQ(NewMessages(), 0);
}

TEST_F(ResourceManagerTest, MeshPathIsLoadedWithRotationWNegated) {
    PreloadCameraPath(manager.get(), "Media//HandDraw.cp");
    MeshPath* path = manager->GetMeshPath("Media//meshtest.cp");
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->keys.size(), 1u);
    EXPECT_EQ(path->keys[0].rotation.w, -1.0f);
    EXPECT_EQ(path->keys[0].scale.y, 1.0f);
    EXPECT_EQ(manager->GetMeshPath("meshtest.cp"), path);
}

TEST_F(ResourceManagerTest, MissingCameraPathIsReportedOnceAndCachedEmpty) {
    CameraPath* path = manager->GetCameraPath("Media//Missing.cp");
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(path->keys.empty());
    EXPECT_FALSE(path->Usable());
    EXPECT_EQ(NewMessages(), 1);
    ExpectLastMessage("Error loading camera path Missing.cp", "Camera Path Error");
    EXPECT_EQ(manager->GetCameraPath("Media//Missing.cp"), path);
    EXPECT_EQ(NewMessages(), 1);
    EXPECT_TRUE(manager->GetCameraPath("Media//")->keys.empty());
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading camera path ");
}

TEST_F(ResourceManagerTest, TruncatedPathFailsWithTheLoadMessage) {
    MeshPath* path = manager->GetMeshPath("Media//Short.cp");
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(path->keys.empty());
    ExpectLastMessage("Error loading mesh path Short.cp", "Mesh Path Error");
    CameraPath* camera = manager->GetCameraPath("Media//Short.cp");
    EXPECT_TRUE(camera->keys.empty());
    EXPECT_STREQ(Win32_LastMessageBoxText(), "Error loading camera path Short.cp");
    EXPECT_EQ(NewMessages(), 2);
}

TEST_F(ResourceManagerTest, CameraAndMeshPathsOfOneNameAreSeparate) {
    CameraPath* camera = manager->GetCameraPath("HandDraw.cp");
    MeshPath* mesh = manager->GetMeshPath("HandDraw.cp");  // 16 + 2 * 28 bytes: too short for mesh keys
    EXPECT_EQ(camera->keys.size(), 2u);
    EXPECT_TRUE(mesh->keys.empty());
    EXPECT_EQ(NewMessages(), 1);
}
