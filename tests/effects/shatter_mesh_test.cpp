// The shattering copy of a mesh: per-triangle centroids, one random value
// per corner in the order of the one generator, and an untouched copy of a
// mesh without faces.
#include "effects/shatter_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "resources/resource_manager.h"
#include "tests/support/test_device.h"

namespace {

struct MeshVertex {
    float position[3], normal[3], uv[2], tangent[3], binormal[3];
};

// A mesh in the scene meshes' layout with `faces` triangles, each with three
// vertices of its own, the vertices numbered into every element so that a
// copy shows where each one came from.
ID3DXMesh* Triangles(IDirect3DDevice9* device, DWORD faces, DWORD vertices) {
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXCreateMesh(faces, vertices, D3DXMESH_MANAGED | D3DXMESH_32BIT, kMeshVertexDeclaration, device,
                              &mesh)))
        return nullptr;
    MeshVertex* v = nullptr;
    DWORD* indices = nullptr;
    mesh->LockVertexBuffer(0, reinterpret_cast<void**>(&v));
    for (DWORD i = 0; i < vertices; ++i) {
        const float f = static_cast<float>(i);
        v[i] = {{f, 2.0f * f + 0.1f, -f}, {0, 0, 1}, {0.5f * f, 1.0f}, {1, 0, 0}, {0, f, 1}};
    }
    mesh->UnlockVertexBuffer();
    mesh->LockIndexBuffer(0, reinterpret_cast<void**>(&indices));
    for (DWORD i = 0; i < 3 * faces; ++i) indices[i] = i;
    mesh->UnlockIndexBuffer();
    return mesh;
}

std::vector<ShatterVertex> Read(ID3DXMesh* mesh) {
    void* data = nullptr;
    std::vector<ShatterVertex> out(mesh->GetNumVertices());
    if (SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data))) {
        std::memcpy(out.data(), data, out.size() * sizeof(ShatterVertex));
        mesh->UnlockVertexBuffer();
    }
    return out;
}

std::vector<float> Floats(const D3DXVECTOR4& v) { return {v.x, v.y, v.z, v.w}; }
std::vector<float> Floats(float x, float y, float z, float w) { return {x, y, z, w}; }

float Component(int r) { return static_cast<float>(r * 360.0 / 2147483648.0); }

class ShatterMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gpu) << gpu.Error();
        ResetRand15();
    }
    // The random components of a built copy, corner by corner (x of a, y of b, z of c, ...).
    std::vector<float> Draws(ID3DXMesh* copy) {
        std::vector<float> draws;
        std::vector<ShatterVertex> v = Read(copy);
        for (size_t i = 0; i + 2 < v.size(); i += 3) {
            draws.push_back(v[i].random.x);
            draws.push_back(v[i + 1].random.y);
            draws.push_back(v[i + 2].random.z);
        }
        return draws;
    }
    TestDevice gpu{D3D9Backend::Recording, 8, 8};
};

TEST_F(ShatterMeshTest, CornersShareTheirTriangleCentroidAndEachHoldsItsOwnRandomComponent) {
    ID3DXMesh* source = Triangles(gpu.Get(), 2, 6);
    ASSERT_NE(source, nullptr);
    ID3DXMesh* copy = BuildShatterMesh(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetOptions(), static_cast<DWORD>(D3DXMESH_MANAGED | D3DXMESH_32BIT));
    EXPECT_EQ(copy->GetNumBytesPerVertex(), 88u);
    EXPECT_EQ(copy->GetNumFaces(), 2u);

    ResetRand15();
    std::vector<float> expected;
    for (int i = 0; i < 6; ++i) expected.push_back(Component(rand15()));

    std::vector<ShatterVertex> v = Read(copy);
    ASSERT_EQ(v.size(), 6u);
    for (size_t t = 0; t < 2; ++t) {
        const float first = static_cast<float>(3 * t);  // the corners are vertices 3t, 3t+1, 3t+2
        const D3DXVECTOR4 centroid(first + 1.0f, 2.0f * (first + 1.0f) + 0.1f, -(first + 1.0f), 0.0f);
        for (size_t k = 0; k < 3; ++k) {
            const ShatterVertex& corner = v[3 * t + k];
            EXPECT_NEAR(corner.centroid.x, centroid.x, 1e-6f);
            EXPECT_NEAR(corner.centroid.y, centroid.y, 1e-6f);
            EXPECT_NEAR(corner.centroid.z, centroid.z, 1e-6f);
            EXPECT_EQ(corner.centroid.w, 0.0f);
            EXPECT_EQ(corner.random.w, 0.0f);
            // The source's own elements come through unchanged.
            const float f = static_cast<float>(3 * t + k);
            EXPECT_EQ(corner.position, D3DXVECTOR3(f, 2.0f * f + 0.1f, -f));
            EXPECT_EQ(corner.texCoord.x, 0.5f * f);
            EXPECT_EQ(corner.texCoord.y, 1.0f);
            EXPECT_EQ(corner.binormal, D3DXVECTOR3(0.0f, f, 1.0f));
        }
        // Corner a's draw in x, b's in y, c's in z; nothing else.
        const ShatterVertex &a = v[3 * t], &b = v[3 * t + 1], &c = v[3 * t + 2];
        EXPECT_EQ(Floats(a.random), Floats(expected[3 * t], 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(Floats(b.random), Floats(0.0f, expected[3 * t + 1], 0.0f, 0.0f));
        EXPECT_EQ(Floats(c.random), Floats(0.0f, 0.0f, expected[3 * t + 2], 0.0f));
        for (float r : {a.random.x, b.random.y, c.random.z}) {
            EXPECT_GE(r, 0.0f);
            EXPECT_LT(r, 0.0055f);
        }
    }
    copy->Release();
    source->Release();
}

TEST_F(ShatterMeshTest, TwoMeshesDrawTheirValuesInTheOrderTheyAreBuilt) {
    ID3DXMesh* boat = Triangles(gpu.Get(), 3, 9);
    ID3DXMesh* cylinder = Triangles(gpu.Get(), 2, 6);
    ASSERT_TRUE(boat && cylinder);

    ID3DXMesh* boatFirst = BuildShatterMesh(boat);
    ID3DXMesh* cylinderSecond = BuildShatterMesh(cylinder);
    ResetRand15();
    ID3DXMesh* cylinderFirst = BuildShatterMesh(cylinder);
    ID3DXMesh* boatSecond = BuildShatterMesh(boat);

    ResetRand15();
    std::vector<float> sequence;
    for (int i = 0; i < 15; ++i) sequence.push_back(Component(rand15()));
    EXPECT_EQ(Draws(boatFirst), std::vector<float>(sequence.begin(), sequence.begin() + 9));
    EXPECT_EQ(Draws(cylinderSecond), std::vector<float>(sequence.begin() + 9, sequence.end()));
    EXPECT_NE(Draws(boatFirst), Draws(boatSecond));
    EXPECT_NE(Draws(cylinderFirst), Draws(cylinderSecond));

    for (ID3DXMesh* m : {boatFirst, cylinderSecond, cylinderFirst, boatSecond, boat, cylinder}) m->Release();
}

TEST_F(ShatterMeshTest, MeshWithoutFacesGivesAnUnchangedCopyAndDrawsNothing) {
    ID3DXMesh* source = Triangles(gpu.Get(), 0, 4);
    ASSERT_NE(source, nullptr);
    ID3DXMesh* copy = BuildShatterMesh(source);
    ASSERT_NE(copy, nullptr);
    std::vector<ShatterVertex> v = Read(copy);
    ASSERT_EQ(v.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const float f = static_cast<float>(i);
        EXPECT_EQ(v[i].position, D3DXVECTOR3(f, 2.0f * f + 0.1f, -f));
        EXPECT_EQ(v[i].normal, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
        EXPECT_EQ(v[i].tangent, D3DXVECTOR3(1.0f, 0.0f, 0.0f));
        EXPECT_EQ(Floats(v[i].centroid), Floats(0.0f, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(Floats(v[i].random), Floats(0.0f, 0.0f, 0.0f, 0.0f));
    }
    const int next = rand15();
    ResetRand15();
    EXPECT_EQ(next, rand15()) << "no value drawn";
    copy->Release();
    source->Release();
    EXPECT_EQ(BuildShatterMesh(nullptr), nullptr);
}

TEST(Rand15, StaysWithinFifteenBitsAndRepeatsFromTheStart) {
    ResetRand15();
    std::vector<int> first;
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        int r = rand15();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        highest = std::max(highest, r);
        if (i < 8) first.push_back(r);
    }
    EXPECT_GT(highest, 32000);
    ResetRand15();
    for (int r : first) EXPECT_EQ(rand15(), r);
}

}  // namespace
