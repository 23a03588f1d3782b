// ID3DXMesh, X-file loading, cloning, normals and tangents on a recording device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/d3dx9/d3dx9.h"
#include "tests/platform/d3dx9/corpus.h"
#include "tests/platform/d3dx9/recording_device.h"
#include "tests/platform/d3dx9/xfile_samples.h"
#include "tests/support/math_checks.h"
#include "tests/support/scene_mesh.h"

namespace {

struct XVertex {
    D3DXVECTOR3 position, normal;
    D3DXVECTOR2 texcoord;
};

class MeshTest : public RecordingDeviceTest {
protected:
    void TearDown() override {
        for (ID3DXMesh* mesh : meshes) mesh->Release();
        for (ID3DXBuffer* buffer : buffers) buffer->Release();
        RecordingDeviceTest::TearDown();
    }

    ID3DXMesh* Keep(ID3DXMesh* mesh) {
        if (mesh) meshes.push_back(mesh);
        return mesh;
    }

    // Loads an X file; `materials` and `count` receive the material buffer.
    HRESULT Load(const std::string& text, DWORD options, ID3DXMesh** mesh, ID3DXBuffer** materials = nullptr,
                 DWORD* count = nullptr) {
        HRESULT hr = D3DXLoadMeshFromXInMemory(text.data(), static_cast<DWORD>(text.size()), options, device, nullptr,
                                               materials, nullptr, count, mesh);
        Keep(*mesh);
        if (materials && *materials) buffers.push_back(*materials);
        return hr;
    }

    template <class Vertex>
    std::vector<Vertex> Vertices(ID3DXMesh* mesh) {
        EXPECT_EQ(mesh->GetNumBytesPerVertex(), sizeof(Vertex));
        std::vector<Vertex> out(mesh->GetNumVertices());
        void* data = nullptr;
        EXPECT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        std::memcpy(out.data(), data, out.size() * sizeof(Vertex));
        mesh->UnlockVertexBuffer();
        return out;
    }

    std::vector<uint32_t> Indices(ID3DXMesh* mesh) {
        std::vector<uint32_t> out(mesh->GetNumFaces() * 3);
        void* data = nullptr;
        EXPECT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = (mesh->GetOptions() & D3DXMESH_32BIT) ? static_cast<uint32_t*>(data)[i]
                                                           : static_cast<uint16_t*>(data)[i];
        mesh->UnlockIndexBuffer();
        return out;
    }

    std::vector<DWORD> Attributes(ID3DXMesh* mesh) {
        DWORD* data = nullptr;
        EXPECT_EQ(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        std::vector<DWORD> out(data, data + mesh->GetNumFaces());
        mesh->UnlockAttributeBuffer();
        return out;
    }

    std::vector<ID3DXMesh*> meshes;
    std::vector<ID3DXBuffer*> buffers;
};

}  // namespace

// ---- loading --------------------------------------------------------------------

TEST_F(MeshTest, LoadsSampleWithMaterialsAndPositionLayoutInShortOrWideIndices) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 99;
    ASSERT_EQ(Load(xsamples::kTwoFrames, D3DXMESH_SYSTEMMEM, &mesh, &materials, &count), D3D_OK);
    EXPECT_EQ(mesh->GetNumFaces(), 4u);
    EXPECT_EQ(mesh->GetNumVertices(), 5u);
    EXPECT_EQ(mesh->GetFVF(), DWORD{D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1});
    EXPECT_EQ(mesh->GetOptions() & D3DXMESH_32BIT, 0u);

    EXPECT_EQ(Indices(mesh), (std::vector<uint32_t>{0, 3, 2, 0, 2, 1, 3, 4, 2, 0, 1, 2}));
    ID3DXMesh* wide = nullptr;
    ASSERT_EQ(Load(xsamples::kTwoFrames, D3DXMESH_MANAGED | D3DXMESH_32BIT, &wide), D3D_OK);
    EXPECT_NE(wide->GetOptions() & D3DXMESH_32BIT, 0u);
    EXPECT_EQ(Indices(wide), Indices(mesh));

    ASSERT_EQ(count, 3u);
    ASSERT_NE(materials, nullptr);
    ASSERT_GE(materials->GetBufferSize(), 3 * sizeof(D3DXMATERIAL));
    const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    const char* begin = static_cast<const char*>(materials->GetBufferPointer());
    EXPECT_FLOAT_EQ(records[0].MatD3D.Power, 20);
    ASSERT_NE(records[0].pTextureFilename, nullptr);
    EXPECT_STREQ(records[0].pTextureFilename, "shiny.png");
    EXPECT_LT(records[0].pTextureFilename, begin + materials->GetBufferSize());  // the names live in the buffer
    EXPECT_EQ(records[1].pTextureFilename, nullptr);
    EXPECT_FLOAT_EQ(records[2].MatD3D.Emissive.b, 0.25f);
}

TEST_F(MeshTest, FacesAreSortedByMaterialAndAFileWithoutMaterialsHasNone) {
    std::string text = R"(xof 0303txt 0032
Mesh { 4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;; 3; 3;0,1,2;, 3;1,3,2;, 3;0,2,3;;
 MeshMaterialList { 2; 3; 1, 0, 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }
)";
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(Load(text, 0, &mesh), D3D_OK);
    EXPECT_EQ(Attributes(mesh), (std::vector<DWORD>{0, 1, 1}));
    EXPECT_EQ(Indices(mesh), (std::vector<uint32_t>{1, 3, 2, 0, 1, 2, 0, 2, 3}));

    // Without a material list: count zero, no buffer, every face material 0.
    text = "xof 0303txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
    ID3DXBuffer* materials = nullptr;
    DWORD count = 7;
    ASSERT_EQ(Load(text, 0, &mesh, &materials, &count), D3D_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(materials, nullptr);
    EXPECT_EQ(Attributes(mesh), (std::vector<DWORD>{0}));
}

TEST_F(MeshTest, InvalidFilesFailWithInvalidData) {
    for (const std::string& text : {std::string("xof 0303bin 0032 binary"), std::string("garbage"), std::string(),
                                    std::string("xof 0303txt 0032\nMesh { 5; 0;0;0;; }")}) {
        ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(1);
        ID3DXBuffer* materials = reinterpret_cast<ID3DXBuffer*>(1);
        DWORD count = 5;
        HRESULT hr = D3DXLoadMeshFromXInMemory(text.data(), static_cast<DWORD>(text.size()), 0, device, nullptr,
                                               &materials, nullptr, &count, &mesh);
        EXPECT_EQ(hr, D3DXERR_INVALIDDATA) << text;
        EXPECT_EQ(mesh, nullptr);
        EXPECT_EQ(materials, nullptr);
        EXPECT_EQ(count, 0u);
    }
}

TEST_F(MeshTest, EveryCorpusFileLoadsOrFailsCleanly) {
    if (!corpus::Available("x")) GTEST_SKIP() << "shared X corpus not found under " << DEMO_SHARED_DIR;
    const std::pair<const char*, bool> files[] = {
        {"test.x", true},
        {"test_cube_text.x", true},
        {"malformed_skinweights_oob.x", true},
        {"kwxport_test_cubewithvcolors.x", true},
        {"anim_test.x", true},
        {"BCN_Epileptic.X", true},
        {"Testwuson.X", true},
        {"test_cube_binary.x", false},
        {"fromtruespace_bin32.x", false},
        {"test_cube_compressed.x", false},
        {"OV_GetNextToken.x", false},
        {"empty.x", false},
    };
    for (const auto& [name, loads] : files) {
        auto bytes = corpus::Read("x", name);
        ID3DXMesh* mesh = nullptr;
        ID3DXBuffer* materials = nullptr;
        DWORD count = 0;
        HRESULT hr = D3DXLoadMeshFromXInMemory(bytes.data(), static_cast<DWORD>(bytes.size()), D3DXMESH_SYSTEMMEM,
                                               device, nullptr, &materials, nullptr, &count, &mesh);
        if (!loads) {
            EXPECT_EQ(hr, D3DXERR_INVALIDDATA) << name;
            EXPECT_EQ(mesh, nullptr) << name;
            continue;
        }
        ASSERT_EQ(hr, D3D_OK) << name;
        // The load path of the resource manager: clone, then recompute the frames.
        ID3DXMesh* scene = nullptr;
        ASSERT_EQ(mesh->CloneMesh(D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device, &scene), D3D_OK);
        EXPECT_EQ(D3DXComputeNormals(scene, nullptr), D3D_OK) << name;
        EXPECT_EQ(D3DXComputeTangent(scene, 0, 0, 0, TRUE, nullptr), D3D_OK) << name;
        EXPECT_EQ(scene->GetNumFaces(), mesh->GetNumFaces());
        scene->Release();
        mesh->Release();
        if (materials) materials->Release();
    }
}

// ---- drawing --------------------------------------------------------------------

// Drawing reads the mesh's own copy of its indices and attributes, which
// follows what was written through the locks.
TEST_F(MeshTest, DrawSubsetDrawsTheFacesOfItsMaterialAsLastWritten) {
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(Load(xsamples::kTwoFrames, 0, &mesh), D3D_OK);
    ClearCalls();
    ASSERT_EQ(mesh->DrawSubset(0), D3D_OK);
    EXPECT_EQ(D3D9_RecordedCalls(device).size(), 4u);  // stream, indices, declaration and one draw, no read-back
    ASSERT_EQ(Calls("SetStreamSource(").size(), 1u);
    EXPECT_NE(Calls("SetStreamSource(")[0].find(", 0, 32)"), std::string::npos) << Calls("SetStreamSource(")[0];
    ASSERT_EQ(mesh->DrawSubset(2), D3D_OK);
    ASSERT_EQ(mesh->DrawSubset(3), D3D_OK);  // no such material: nothing
    // Faces 0 and 1 use vertices 0 to 3; face 3 (0, 1, 2) starts at index 9.
    EXPECT_EQ(Calls("DrawIndexedPrimitive("),
              (std::vector<std::string>{"DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2)",
                                        "DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 9, 1)"}));

    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(0, &attributes), D3D_OK);
    attributes[0] = 1, attributes[1] = 0, attributes[2] = 1, attributes[3] = 2;
    ASSERT_EQ(mesh->UnlockAttributeBuffer(), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(0, &data), D3D_OK);
    uint16_t* indices = static_cast<uint16_t*>(data);
    indices[9] = 4, indices[10] = 3, indices[11] = 2;  // the last face now uses vertices 2 to 4
    ASSERT_EQ(mesh->UnlockIndexBuffer(), D3D_OK);
    ClearCalls();
    ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
    ASSERT_EQ(mesh->DrawSubset(2), D3D_OK);
    EXPECT_EQ(Calls("DrawIndexedPrimitive("),
              (std::vector<std::string>{"DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 1)",
                                        "DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 2, 3, 6, 1)",
                                        "DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 2, 3, 9, 1)"}));
}

// ---- creation and cloning --------------------------------------------------------------

TEST_F(MeshTest, CloneIntoSceneLayoutCopiesMatchingElementsAndZeroesNewOnes) {
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(Load(xsamples::kTwoFrames, D3DXMESH_SYSTEMMEM, &mesh), D3D_OK);
    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(mesh->CloneMesh(D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device, &clone), D3D_OK);
    Keep(clone);
    EXPECT_EQ(clone->GetOptions(), DWORD{D3DXMESH_MANAGED | D3DXMESH_32BIT});
    EXPECT_EQ(clone->GetNumFaces(), 4u);
    auto source = Vertices<XVertex>(mesh);
    auto copied = Vertices<SceneVertex>(clone);
    ASSERT_EQ(copied.size(), source.size());
    for (size_t v = 0; v < copied.size(); ++v) {
        EXPECT_EQ(copied[v].position, source[v].position);
        EXPECT_EQ(copied[v].normal, source[v].normal);
        EXPECT_EQ(copied[v].uv.y, source[v].texcoord.y);
        EXPECT_EQ(copied[v].binormal, D3DXVECTOR3(0, 0, 0));
    }
    EXPECT_EQ(Indices(clone), Indices(mesh));
    EXPECT_EQ(Attributes(clone), Attributes(mesh));
}

// ---- normals and tangents -------------------------------------------------------------

TEST_F(MeshTest, ComputeNormalsWeightsFacesByArea) {
    // A big triangle facing -z and a small one facing -x share vertex 0.
    std::vector<SceneVertex> v(5);
    v[0].position = {0, 0, 0};
    v[1].position = {0, 4, 0};
    v[2].position = {4, 0, 0};
    v[3].position = {0, 0, 1};
    v[4].position = {0, 1, 0};
    v[0].normal = {9, 9, 9};
    MeshHandle mesh = SceneMesh(device, v, {0, 1, 2, 0, 3, 4});
    ASSERT_EQ(D3DXComputeNormals(mesh.get(), nullptr), D3D_OK);
    auto out = Vertices<SceneVertex>(mesh.get());
    ExpectNear(out[2].normal, {0, 0, -1});
    ExpectNear(out[3].normal, {-1, 0, 0});
    // Areas 8 and 0.5: the shared normal leans 16 to 1 towards -z.
    float length = std::sqrt(16.0f * 16.0f + 1.0f);
    ExpectNear(out[0].normal, {-1 / length, 0, -16 / length});
}

TEST_F(MeshTest, ComputeTangentHandlesTiledCoordinatesAndMirroredFaces) {
    // u runs 0 -> 3 along +x on the first face; the second face is mirrored (u runs along -x).
    std::vector<SceneVertex> v(6);
    v[0].position = {0, 0, 0}, v[0].uv = {0, 0};
    v[1].position = {0, 1, 0}, v[1].uv = {0, -2};
    v[2].position = {1, 0, 0}, v[2].uv = {3, 0};
    v[3].position = {5, 0, 0}, v[3].uv = {0, 0};
    v[4].position = {5, 1, 0}, v[4].uv = {0, -1};
    v[5].position = {6, 0, 0}, v[5].uv = {-1, 0};
    MeshHandle mesh = SceneMesh(device, v, {0, 1, 2, 3, 4, 5});
    ASSERT_EQ(D3DXComputeNormals(mesh.get(), nullptr), D3D_OK);
    ASSERT_EQ(D3DXComputeTangent(mesh.get(), 0, 0, 0, TRUE, nullptr), D3D_OK);
    auto out = Vertices<SceneVertex>(mesh.get());
    ExpectNear(out[0].tangent, {1, 0, 0});
    ExpectNear(out[0].binormal, {0, -1, 0});
    ExpectNear(out[3].tangent, {-1, 0, 0});
    ExpectNear(out[3].binormal, {0, -1, 0});
}
