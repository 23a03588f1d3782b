// Text X files parsed into the merged CPU mesh, without a device.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/d3dx9/xfile.h"
#include "tests/platform/d3dx9/corpus.h"
#include "tests/platform/d3dx9/xfile_samples.h"
#include "tests/support/math_checks.h"

using d3dx::XMeshData;
using d3dx::XMeshResult;

namespace {

XMeshResult Parse(const std::string& text, XMeshData* mesh, std::string* error = nullptr) {
    std::string ignored;
    return d3dx::ParseXMesh(reinterpret_cast<const uint8_t*>(text.data()), text.size(), mesh, error ? error : &ignored);
}

std::string Header() { return "xof 0303txt 0032\n"; }

// A one-triangle mesh body for malformed-input cases.
std::string MeshWith(const std::string& body) { return Header() + "Mesh {\n" + body + "\n}\n"; }

}  // namespace

TEST(XFileMesh, HierarchyMaterialsAndSharedVerticesOfSample) {
    XMeshData mesh;
    std::string error;
    ASSERT_EQ(Parse(xsamples::kTwoFrames, &mesh, &error), XMeshResult::Ok) << error;
    ASSERT_EQ(mesh.positions.size(), 5u);  // shared corners stay shared
    // Inner frame scales by 2 and lifts by 5; the outer one moves by 10 along x.
    ExpectNear(mesh.positions[2], {12, 7, 0});
    ExpectNear(mesh.positions[4], {10, 9, 0});
    ExpectNear(mesh.normals[3], {0, 0, -1});
    EXPECT_FLOAT_EQ(mesh.texcoords[4].y, -1);
    // The quad is split into a fan from its first corner.
    const std::vector<uint32_t> indices = {0, 3, 2, 0, 2, 1, 3, 4, 2, 0, 1, 2};
    EXPECT_EQ(mesh.indices, indices);
    EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 0, 1, 2}));
    ASSERT_EQ(mesh.materials.size(), 3u);
    // Material 0 is referenced from the top level, 1 and 2 are inline.
    EXPECT_FLOAT_EQ(mesh.materials[0].power, 20);
    EXPECT_FLOAT_EQ(mesh.materials[0].specular.g, 0.5f);
    EXPECT_EQ(mesh.materials[0].textureFile, "shiny.png");
    EXPECT_FLOAT_EQ(mesh.materials[1].diffuse.a, 0.5f);
    EXPECT_TRUE(mesh.materials[1].textureFile.empty());
    EXPECT_FLOAT_EQ(mesh.materials[2].emissive.b, 0.25f);
    EXPECT_EQ(mesh.materials[2].textureFile, "blue.dds");
}

TEST(XFileMesh, CornersWithDifferentNormalsGetTheirOwnVertices) {
    std::string text = Header() + R"(
Mesh {
 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;
 2; 3;0,2,1;, 3;0,3,2;;
 MeshNormals { 2; 0;0;-1;, 0;1;0;; 2; 3;0,0,0;, 3;1,1,1;; }
}
)";
    XMeshData mesh;
    ASSERT_EQ(Parse(text, &mesh), XMeshResult::Ok);
    // Vertices 0 and 2 appear with both normals: two extra vertices.
    ASSERT_EQ(mesh.positions.size(), 6u);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 2, 1, 4, 3, 5}));
    ExpectNear(mesh.normals[4], {0, 1, 0});
    ExpectNear(mesh.positions[5], {1, 1, 0});
}

TEST(XFileMesh, MeshesMergeWithOffsetMaterials) {
    std::string text = Header() + R"(
Mesh A {
 3; 0;0;0;, 1;0;0;, 0;1;0;;
 1; 3;0,1,2;;
 MeshMaterialList { 1; 1; 0;; Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; } }
}
Mesh B {
 3; 0;0;1;, 1;0;1;, 0;1;1;;
 2; 3;0,1,2;, 3;2,1,0;;
 MeshMaterialList { 2; 2; 1, 0;; Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } Material { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; } }
}
Mesh C { 3; 0;0;2;, 1;0;2;, 0;1;2;; 1; 3;0,1,2;; }
)";
    XMeshData mesh;
    ASSERT_EQ(Parse(text, &mesh), XMeshResult::Ok);
    EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 5, 4, 3, 6, 7, 8}));
    // C has no material list: it gets an extra white material.
    EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 2, 1, 3}));
    ASSERT_EQ(mesh.materials.size(), 4u);
    EXPECT_FLOAT_EQ(mesh.materials[2].diffuse.b, 1);
    EXPECT_FLOAT_EQ(mesh.materials[3].diffuse.g, 1);
}

// Tools write an empty list with the face count but no indices; a short
// index list repeats its last entry.
TEST(XFileMesh, EmptyMaterialListMeansNoneAndAShortIndexListRepeatsItsLastEntry) {
    for (const char* list : {"", "MeshMaterialList { 0; 1; }"}) {
        XMeshData mesh;
        ASSERT_EQ(Parse(Header() + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; " + list + " }", &mesh),
                  XMeshResult::Ok)
            << list;
        EXPECT_TRUE(mesh.materials.empty());
        EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0}));
    }
    std::string text = Header() + R"(
Mesh { 4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;; 3; 3;0,1,2;, 3;1,3,2;, 3;0,2,1;;
 MeshMaterialList { 2; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }
)";
    XMeshData mesh;
    ASSERT_EQ(Parse(text, &mesh), XMeshResult::Ok);
    EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{1, 1, 1}));
}

TEST(XFileMesh, CommentsSeparatorQuirksAndCaseOfTypeNames) {
    std::string text = Header() + R"(
// a comment { with braces }
# another comment "with a quote
template Foo { <12345678-1234-1234-1234-123456789abc> DWORD a; array FLOAT b[a]; [...] }
Frame f-1 {
  FrameTransformMatrix relative { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }
  Mesh m.1 {
    3;
    0.0; -0.5; 1e1;,
    +1;0;0;,
    0;1;0;;;
    1;
    3;0,1,2;;,
    meshmateriallist { 1;1;0;; material { 0.5;0.5;0.5;1;;2;0;0;0;;0;0;0;; TextureFileName { "a b.png"; } } }
  }
}
)";
    XMeshData mesh;
    std::string error;
    ASSERT_EQ(Parse(text, &mesh, &error), XMeshResult::Ok) << error;
    ExpectNear(mesh.positions[0], {0, -0.5f, 10});
    ExpectNear(mesh.positions[1], {1, 0, 0});
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].textureFile, "a b.png");
}

TEST(XFileMesh, OtherFormatsAreNotText) {
    for (const char* header : {"xof 0303bin 0032", "xof 0303tzip0032", "xof 0303bzip0032", "not an x file!!!", "xof"}) {
        std::string text = std::string(header) + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
        XMeshData mesh;
        EXPECT_EQ(Parse(text, &mesh), XMeshResult::NotText) << header;
    }
    XMeshData mesh;
    EXPECT_EQ(Parse("", &mesh), XMeshResult::NotText);
}

// One case for each of the parser's refusals.
TEST(XFileMesh, MalformedFilesFailWithReason) {
    const std::pair<const char*, std::string> cases[] = {
        {"vertex count beyond data", MeshWith("5; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;")},
        {"huge face count", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 4294967295; 3;0,1,2;;")},
        {"face index out of range", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;;")},
        {"two-corner face", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;;")},
        {"corner count beyond data", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 300000;0,1,2;;")},
        {"string for a number", MeshWith("3; 0;0;0;, 1;\"x\";0;, 0;1;0;; 1; 3;0,1,2;;")},
        {"normals face count",
         MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 2; 3;0,0,0;; }")},
        {"normals face size",
         MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; }")},
        {"normal index", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;1;; 1; 3;0,1,0;; }")},
        {"texcoord count", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshTextureCoords { 2; 0;0;, 1;1;; }")},
        {"material index", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; Material { "
                                    "1;1;1;1;; 0; 0;0;0;; 0;0;0;; } }")},
        {"missing material", MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 2; 1; 0;; Material { "
                                      "1;1;1;1;; 0; 0;0;0;; 0;0;0;; } }")},
        {"unresolved reference",
         MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Nowhere } }")},
        {"short material",
         MeshWith("3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; } }")},
        {"unterminated object", Header() + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;"},
        {"unterminated string", Header() + "Material { \"abc"},
        {"unterminated template", Header() + "template T { <1-2-3> DWORD a;"},
        {"stray character", Header() + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; @ }"},
        {"stray closing brace", Header() + "}"},
        {"no mesh", Header() + "Frame A { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }"},
        {"short matrix",
         Header() + "Frame A { FrameTransformMatrix { 1,0,0;; } Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; } }"},
        {"bad float size", "xof 0303txt 0016Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }"},
    };
    for (const auto& [what, text] : cases) {
        XMeshData mesh;
        std::string error;
        EXPECT_EQ(Parse(text, &mesh, &error), XMeshResult::Malformed) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_TRUE(mesh.positions.empty()) << what;
    }
}

TEST(XFileMesh, DeepNestingFailsInsteadOfOverflowingTheStack) {
    std::string text = Header();
    for (int i = 0; i < 5000; ++i) text += "Frame {";
    XMeshData mesh;
    EXPECT_EQ(Parse(text, &mesh), XMeshResult::Malformed);
}

TEST(XFileMesh, LongRunsOfGuidsAndSeparatorsAreRead) {
    std::string text = Header() + "Mesh { <1>";
    for (int i = 0; i < 300000; ++i) text += "<a>;";
    text += "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }";
    XMeshData mesh;
    EXPECT_EQ(Parse(text, &mesh), XMeshResult::Ok);
}

TEST(XFileMesh, RepeatedReferencesCannotExpandWithoutBound) {
    // Each three-byte reference would add 60 vertices and 20 faces.
    std::string text = Header() + "Mesh M { 60;";
    for (int i = 0; i < 60; ++i) text += "0;0;0;,";
    text += "; 20;";
    for (int i = 0; i < 20; ++i) text += "3;0,1,2;,";
    text += "; }\nFrame F {";
    for (int i = 0; i < 20000; ++i) text += "{M}";
    text += "}";
    XMeshData mesh;
    EXPECT_EQ(Parse(text, &mesh), XMeshResult::Malformed);
}

TEST(XFileMesh, FrameReferencesInstanceAMesh) {
    std::string text = Header() + R"(
Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }
Frame F { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,7,1;; } { M } }
)";
    XMeshData mesh;
    ASSERT_EQ(Parse(text, &mesh), XMeshResult::Ok);
    ASSERT_EQ(mesh.positions.size(), 6u);
    ExpectNear(mesh.positions[3], {0, 0, 7});
}

TEST(XFileMesh, EveryTruncationOfTheSampleFailsCleanly) {
    std::string text = xsamples::kTwoFrames;
    size_t lastBrace = text.rfind('}');
    for (size_t size = 0; size < lastBrace; ++size) {
        XMeshData mesh;
        EXPECT_NE(Parse(text.substr(0, size), &mesh), XMeshResult::Ok) << size;
    }
}

// ---- the shared corpus ---------------------------------------------------------

namespace {

XMeshResult ParseCorpus(const std::string& name, XMeshData* mesh, std::string* error) {
    auto bytes = corpus::Read("x", name);
    return d3dx::ParseXMesh(bytes.data(), bytes.size(), mesh, error);
}

}  // namespace

TEST(XFileCorpus, CubeWithReferencedMaterialAndRotatedRootFrame) {
    if (!corpus::Available("x")) GTEST_SKIP() << "shared X corpus not found under " << DEMO_SHARED_DIR;
    for (const char* name : {"test_cube_text.x", "malformed_skinweights_oob.x"}) {
        XMeshData mesh;
        std::string error;
        ASSERT_EQ(ParseCorpus(name, &mesh, &error), XMeshResult::Ok) << name << ": " << error;
        EXPECT_EQ(mesh.indices.size(), 36u);
        EXPECT_EQ(mesh.positions.size(), 24u);
        ASSERT_EQ(mesh.materials.size(), 1u);
        EXPECT_NEAR(mesh.materials[0].diffuse.r, 0.639216f, 1e-6f);
        EXPECT_NEAR(mesh.materials[0].power, 96.07843f, 1e-4f);
        EXPECT_TRUE(mesh.materials[0].textureFile.empty());
        // Root swaps y and z: (-1, -1, 1) lands on (-1, 1, -1).
        ExpectNear(mesh.positions[0], {-1, 1, -1});
    }
}

TEST(XFileCorpus, ExporterFilesLoadWithTheirMaterials) {
    if (!corpus::Available("x")) GTEST_SKIP() << "shared X corpus not found under " << DEMO_SHARED_DIR;
    XMeshData mesh;
    std::string error;
    ASSERT_EQ(ParseCorpus("test.x", &mesh, &error), XMeshResult::Ok) << error;
    EXPECT_EQ(mesh.indices.size(), 36u);
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_EQ(mesh.materials[0].textureFile, ".\\\\test.png");  // kept as written

    ASSERT_EQ(ParseCorpus("kwxport_test_cubewithvcolors.x", &mesh, &error), XMeshResult::Ok) << error;
    ASSERT_EQ(mesh.materials.size(), 3u);
    EXPECT_EQ(mesh.attributes[11], 2u);
    EXPECT_TRUE(mesh.materials[2].textureFile.ends_with("data\\\\updown.tga")) << mesh.materials[2].textureFile;
    // The frame lowers everything by 0.492126.
    float lowest = 1e9f;
    for (const auto& p : mesh.positions) lowest = std::min(lowest, p.y);
    EXPECT_NEAR(lowest, -0.492126f, 1e-5f);

    ASSERT_EQ(ParseCorpus("anim_test.x", &mesh, &error), XMeshResult::Ok) << error;
    EXPECT_EQ(mesh.indices.size(), 840u * 3);
    ASSERT_EQ(mesh.materials.size(), 1u);
    EXPECT_TRUE(mesh.materials[0].textureFile.empty());  // written as ""
}

TEST(XFileCorpus, SkinnedFilesWithoutMaterialsMergeTheirMeshes) {
    if (!corpus::Available("x")) GTEST_SKIP() << "shared X corpus not found under " << DEMO_SHARED_DIR;
    XMeshData mesh;
    std::string error;
    ASSERT_EQ(ParseCorpus("BCN_Epileptic.X", &mesh, &error), XMeshResult::Ok) << error;
    EXPECT_EQ(mesh.indices.size(), (1966u + 2036u + 1124u) * 3);
    EXPECT_GE(mesh.positions.size(), 1170u + 1196u + 648u);
    EXPECT_TRUE(mesh.materials.empty());
    for (uint32_t a : mesh.attributes) ASSERT_EQ(a, 0u);

    ASSERT_EQ(ParseCorpus("Testwuson.X", &mesh, &error), XMeshResult::Ok) << error;
    EXPECT_EQ(mesh.indices.size(), 3732u * 3);
    EXPECT_TRUE(mesh.materials.empty());
}
