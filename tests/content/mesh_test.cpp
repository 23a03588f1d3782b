// The scene meshes: their FLOATs are decimals any X reader takes, they load
// through the X-file loader, their faces turn the way the demo's culling
// needs, and they sit where the scenes expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>

#include "platform/d3dx9/image.h"
#include "resources/resource_manager.h"
#include "tests/content/content_files.h"
#include "tests/content/loaded_mesh.h"
#include "tests/support/test_device.h"
#include "tools/contentgen/island.h"
#include "tools/contentgen/world.h"

using namespace content_test;

namespace {

class SceneMeshes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        device = new TestDevice(D3D9Backend::Recording, 64, 64);
        for (const std::string& name : ContentFiles({".x", ".X"})) meshes[name] = LoadMesh(device->Get(), name);
    }
    static void TearDownTestSuite() {
        meshes.clear();
        delete device;
        device = nullptr;
    }
    static const LoadedMesh& Mesh(const std::string& name) { return meshes[name]; }

    static TestDevice* device;
    static std::map<std::string, LoadedMesh> meshes;
};
TestDevice* SceneMeshes::device = nullptr;
std::map<std::string, LoadedMesh> SceneMeshes::meshes;

// Fraction of faces (by count) whose normal agrees with `wanted` at the face.
template <typename Wanted>
double FacingShare(const LoadedMesh& m, Wanted wanted) {
    size_t agree = 0, faces = m.indices.size() / 3;
    for (size_t f = 0; f < faces; ++f) {
        D3DXVECTOR3 n = m.FaceNormal(f), w = wanted(m.FaceCentre(f));
        if (D3DXVec3Dot(&n, &w) > 0) ++agree;
    }
    return double(agree) / double(faces);
}

// The FLOAT tokens of a text X file, told apart from its integers by the
// templates of the objects the generator writes: each object's numbers in
// file order, where Mesh and MeshNormals hold a count and three FLOATs per
// vertex before their faces, MeshTextureCoords a count and two FLOATs per
// vertex, FrameTransformMatrix and Material FLOATs only, the rest integers.
struct XFloats {
    size_t checked = 0;
    std::vector<std::string> faults;  // FLOATs without a decimal point, objects of unknown types
};
XFloats CheckXFloats(const std::string& text) {
    static const std::regex decimal(R"(-?[0-9]+\.[0-9]+)");
    struct Open {
        std::string type;
        size_t numbers = 0;
        size_t count = 0;  // the first number: how many vertices follow
    };
    XFloats result;
    std::vector<Open> open;
    std::string type;
    size_t at = text.find('\n');  // past the header
    while (at < text.size()) {
        const char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c)) || c == ';' || c == ',') {
            ++at;
        } else if (c == '"') {
            at = text.find('"', at + 1) + 1;
        } else if (c == '{') {
            open.push_back({type});  // no type: a reference to a named object
            type.clear();
            ++at;
        } else if (c == '}') {
            if (!open.empty()) open.pop_back();
            ++at;
        } else {
            const size_t end = text.find_first_of(" \t\r\n;,{}\"", at);
            const std::string word = text.substr(at, end - at);
            at = end;
            if (std::isalpha(static_cast<unsigned char>(word[0])) || word[0] == '_') {
                if (type.empty()) type = word;  // a second name is the object's own
                continue;
            }
            if (open.empty()) continue;
            Open& object = open.back();
            const size_t index = object.numbers++;
            if (index == 0) object.count = std::strtoul(word.c_str(), nullptr, 10);
            const size_t perVertex = object.type == "Mesh" || object.type == "MeshNormals" ? 3
                                     : object.type == "MeshTextureCoords"                  ? 2
                                                                                           : 0;
            bool isFloat = object.type == "FrameTransformMatrix" || object.type == "Material" ||
                           (perVertex && index >= 1 && index <= object.count * perVertex);
            if (!isFloat && !perVertex && object.type != "MeshMaterialList") {
                result.faults.push_back("a number in an object of unknown type \"" + object.type + "\"");
                continue;
            }
            if (!isFloat) continue;
            ++result.checked;
            if (!std::regex_match(word, decimal)) result.faults.push_back(object.type + " FLOAT \"" + word + "\"");
        }
    }
    return result;
}

}  // namespace

// Another X reader takes a FLOAT only as a decimal number ("-2.0", not
// "-2"); every packed X file writes each of its FLOATs so.
TEST(XFileText, EveryFloatOfEveryPackedXFileHasADecimalPoint) {
    const std::vector<std::string> names = ContentFiles({".x", ".X"});
    ASSERT_EQ(names.size(), 7u);
    for (const std::string& name : names) {
        bool found = false;
        const std::vector<uint8_t> bytes = PackEntry(name, &found);
        ASSERT_TRUE(found) << name;
        const XFloats floats = CheckXFloats(std::string(bytes.begin(), bytes.end()));
        EXPECT_GT(floats.checked, 16u) << name;
        EXPECT_TRUE(floats.faults.empty())
            << name << ": " << floats.faults.size() << " faults, the first " << floats.faults.front();
    }
}

// As the demo loads them, through the resource manager over the build's
// data.pak (the tests run in the build folder): the meshes share their
// vertices, the cylinder excepted, which flies apart face by face; each names
// textures of the pack; normals and tangents come out whole.
TEST_F(SceneMeshes, LoadAsTheDemoLoadsThemWithTheirTexturesAndFiniteNormalsAndTangents) {
    Mirel::ResourceManager manager(device->Get());
    ASSERT_EQ(meshes.size(), 7u);
    for (const auto& [name, m] : meshes) {
        ASSERT_TRUE(m.loaded) << name;
        size_t faces = m.indices.size() / 3;
        if (name == "cylinder.X")
            EXPECT_EQ(m.positions.size(), faces * 3) << "every face of the cylinder has vertices of its own";
        else
            EXPECT_LT(m.positions.size(), faces * 3) << name << " shares its vertices";
        MeshRecord record = manager.LoadMesh("Media//" + name);
        ASSERT_NE(record.mesh, nullptr) << name;
        ASSERT_FALSE(record.materials.empty()) << name;
        EXPECT_FALSE(record.materials[0].textureName.empty()) << name << "'s first material has a texture";
        for (DWORD a : m.attributes) EXPECT_LT(a, record.materialCount) << name;
        for (const MeshMaterial& material : record.materials) {
            if (material.textureName.empty()) continue;
            EXPECT_NE(manager.GetTexture(material.textureName), nullptr) << name << ": " << material.textureName;
        }
        ASSERT_EQ(record.mesh->GetNumBytesPerVertex(), 56u);
        void* data = nullptr;
        ASSERT_EQ(record.mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        const float* v = static_cast<const float*>(data);
        size_t bad = 0;
        for (DWORD i = 0; i < record.mesh->GetNumVertices(); ++i, v += 14) {
            bool finite = true;
            for (int k = 0; k < 14; ++k) finite = finite && std::isfinite(v[k]);
            float normal = std::sqrt(v[3] * v[3] + v[4] * v[4] + v[5] * v[5]);
            float tangent = std::sqrt(v[8] * v[8] + v[9] * v[9] + v[10] * v[10]);
            if (!finite || std::fabs(normal - 1) > 0.01f || tangent < 0.5f) ++bad;
        }
        record.mesh->UnlockVertexBuffer();
        EXPECT_EQ(bad, 0u) << name << ": vertices with broken normals or tangents";
    }
    EXPECT_GE(manager.LoadMesh("Media//yachtAll2.x").materials.size(), 4u)
        << "hull, deck, rig and sails have materials of their own";
}

TEST_F(SceneMeshes, FacesTurnTowardsTheirViewers) {
    // Ground and sea face up; globe, cylinder out; the sky dome in; the card -z.
    auto up = [](D3DXVECTOR3) { return D3DXVECTOR3(0, 1, 0); };
    EXPECT_GT(FacingShare(Mesh("fy_faen_assSmall.X"), up), 0.999);
    EXPECT_EQ(FacingShare(Mesh("ocean.X"), up), 1.0);
    EXPECT_EQ(FacingShare(Mesh("sphere.x"), [](D3DXVECTOR3 c) { return c; }), 1.0);
    EXPECT_EQ(FacingShare(Mesh("skydome.X"), [](D3DXVECTOR3 c) { return -c; }), 1.0);
    EXPECT_EQ(FacingShare(Mesh("creditsPlane.x"), [](D3DXVECTOR3) { return D3DXVECTOR3(0, 0, -1); }), 1.0);
    const D3DXVECTOR3 centre(gen::world::kCylinderCentre.x, gen::world::kCylinderCentre.y,
                             gen::world::kCylinderCentre.z);
    EXPECT_EQ(FacingShare(Mesh("cylinder.X"), [&](D3DXVECTOR3 c) { return c - centre; }), 1.0);
}

TEST_F(SceneMeshes, IslandRisesFromTheSeaWithPartsBelowIt) {
    D3DXVECTOR3 lo, hi;
    Mesh("fy_faen_assSmall.X").Bounds(lo, hi);
    EXPECT_LT(lo.y, gen::world::kSeaLevel - 3);
    EXPECT_GT(hi.y, 20.0f);
    // The mesh samples the height function the paths are checked against.
    for (const D3DXVECTOR3& p : Mesh("fy_faen_assSmall.X").positions)
        ASSERT_NEAR(p.y, gen::IslandHeight(p.x, p.z), 1e-3f);
}

TEST_F(SceneMeshes, IslandMeshIsCoarseOnlyWhereTheGroundIsFlatHasNoCracksAndComesFromTheNorthFirst) {
    const LoadedMesh& island = Mesh("fy_faen_assSmall.X");
    const float half = gen::world::kIslandHalf, step = 2 * half / gen::kIslandGrid;
    const size_t faces = island.indices.size() / 3;
    // A full grid would take two triangles a cell; flat ground takes fewer,
    // and the ground under the sea none, but for a strip along the water
    // line.
    EXPECT_LT(faces, 9000u);
    EXPECT_GT(faces, 4000u);
    for (size_t f = 0; f < faces; ++f) {
        float top = std::max({island.positions[island.indices[3 * f]].y, island.positions[island.indices[3 * f + 1]].y,
                              island.positions[island.indices[3 * f + 2]].y});
        ASSERT_GE(top, gen::world::kSeaLevel - 0.5f) << "face " << f << " lies under the sea";
    }

    // Every grid point lies within the tolerance of the triangle above or
    // below it (four times that under the sea).
    auto point = [&](DWORD v) { return island.positions[v]; };
    float worst = 0, worstX = 0, worstZ = 0;
    for (size_t f = 0; f < faces; ++f) {
        D3DXVECTOR3 a = point(island.indices[3 * f]), b = point(island.indices[3 * f + 1]),
                    c = point(island.indices[3 * f + 2]);
        float area = (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
        int i0 = int(std::floor((std::min({a.x, b.x, c.x}) + half) / step + 0.5f));
        int i1 = int(std::floor((std::max({a.x, b.x, c.x}) + half) / step + 0.5f));
        int j0 = int(std::floor((std::min({a.z, b.z, c.z}) + half) / step + 0.5f));
        int j1 = int(std::floor((std::max({a.z, b.z, c.z}) + half) / step + 0.5f));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i) {
                float x = -half + i * step, z = -half + j * step;
                float wa = ((b.x - x) * (c.z - z) - (c.x - x) * (b.z - z)) / area;
                float wb = ((c.x - x) * (a.z - z) - (a.x - x) * (c.z - z)) / area;
                float wc = 1 - wa - wb;
                if (wa < -1e-4f || wb < -1e-4f || wc < -1e-4f) continue;
                float ground = gen::IslandHeight(x, z);
                float off = std::fabs(wa * a.y + wb * b.y + wc * c.y - ground);
                if (ground < gen::world::kSeaLevel - 0.5f) off *= gen::kIslandUnderSea;
                if (off > worst) worst = off, worstX = x, worstZ = z;
            }
    }
    EXPECT_LE(worst, gen::kIslandTolerance + 1e-3f) << "at " << worstX << ", " << worstZ;

    // No cracks: a side that only one triangle has is on the square's border
    // or under the sea, where triangles are left out.
    std::map<std::pair<long, long>, int> sides;
    auto key = [&](DWORD v) {
        return std::lround((point(v).x + half) / step) * 1000 + std::lround((point(v).z + half) / step);
    };
    for (size_t f = 0; f < faces; ++f)
        for (int k = 0; k < 3; ++k) {
            long p = key(island.indices[3 * f + k]), q = key(island.indices[3 * f + (k + 1) % 3]);
            ++sides[{std::min(p, q), std::max(p, q)}];
        }
    size_t open = 0;
    for (const auto& [side, count] : sides) {
        EXPECT_LE(count, 2);
        if (count != 1) continue;
        auto deepOrBorder = [&](long k) {
            long i = k / 1000, j = k % 1000;
            float x = -half + i * step, z = -half + j * step;
            return i == 0 || j == 0 || i == gen::kIslandGrid || j == gen::kIslandGrid ||
                   gen::IslandHeight(x, z) < gen::world::kSeaLevel - 0.5f;
        };
        if (!deepOrBorder(side.first) || !deepOrBorder(side.second)) ++open;
    }
    EXPECT_EQ(open, 0u) << "sides with one triangle on land or in shallow water";

    // Near ground first for cameras in the north and the west: faces from
    // north to south.
    size_t southFirst = 0;
    for (size_t f = 1; f < faces; ++f)
        if (island.FaceCentre(f).z > island.FaceCentre(f - 1).z + step) ++southFirst;
    EXPECT_EQ(southFirst, 0u);
}

TEST_F(SceneMeshes, IslandColourMapLinesUpWithItsTextureCoordinates) {
    // Every vertex carries the map's place above it, and the map there is
    // the dark teal seabed wherever the ground lies deep under water, and
    // something else (sand, grass, rock) where it stands above the water.
    // The island is not symmetric, so a turned or mirrored map fails.
    std::vector<uint8_t> bytes = PackEntry("island.jpg");
    d3dx::DecodedImage image;
    std::string error;
    ASSERT_TRUE(d3dx::DecodeImageFile(bytes.data(), bytes.size(), &image, &error)) << error;
    const d3dx::ImageLevel& map = image.Level(0, 0);
    const float half = gen::world::kIslandHalf;
    auto above = [&](float x, float z) { return D3DXVECTOR2((x + half) / (2 * half), (half - z) / (2 * half)); };
    const LoadedMesh& island = Mesh("fy_faen_assSmall.X");
    for (size_t i = 0; i < island.positions.size(); ++i) {
        D3DXVECTOR2 uv = above(island.positions[i].x, island.positions[i].z);
        ASSERT_NEAR(island.uvs[i].x, uv.x, 1e-4f) << i;
        ASSERT_NEAR(island.uvs[i].y, uv.y, 1e-4f) << i;
    }
    int deep = 0, deepDark = 0, dry = 0, dryLight = 0;
    for (float z = -half + 1; z < half; z += 2)
        for (float x = -half + 1; x < half; x += 2) {
            float y = gen::IslandHeight(x, z);
            D3DXVECTOR2 uv = above(x, z);
            uint32_t u = std::min(map.width - 1, uint32_t(uv.x * map.width));
            uint32_t v = std::min(map.height - 1, uint32_t(uv.y * map.height));
            uint32_t texel = map.pixels[size_t(v) * map.width + u];
            float r = float((texel >> 16) & 0xFF) / 255, g = float((texel >> 8) & 0xFF) / 255,
                  b = float(texel & 0xFF) / 255;
            bool seabed = g > r && b > 0.8f * g && r + g + b < 1.15f;  // dark teal
            if (y < -8.0f) {
                ++deep;
                if (seabed) ++deepDark;
            } else if (y > -1.0f) {
                ++dry;
                if (!seabed) ++dryLight;
            }
        }
    ASSERT_GT(deep, 100);
    ASSERT_GT(dry, 500);
    EXPECT_GT(deepDark, deep * 97 / 100);
    EXPECT_GT(dryLight, dry * 97 / 100);
}

TEST_F(SceneMeshes, YachtFloatsInTheBayWithItsMastTopBelowTheShatterFront) {
    D3DXVECTOR3 lo, hi;
    Mesh("yachtAll2.x").Bounds(lo, hi);
    EXPECT_GT(hi.y, 12.5f);
    EXPECT_LT(hi.y, 14.0f) << "the shatter front starts at 14";
    EXPECT_LT(lo.y, gen::world::kSeaLevel);
    EXPECT_GT(lo.y, gen::world::kSeaLevel - 2);
    // Nowhere under the yacht is the seabed shallower than its keel.
    for (const D3DXVECTOR3& p : Mesh("yachtAll2.x").positions)
        EXPECT_LT(gen::IslandHeight(p.x, p.z), lo.y - 0.5f) << p.x << ", " << p.z;
}

TEST_F(SceneMeshes, SkyDomeAndSeaCoverTheFarPlaneOfEveryCamera) {
    D3DXVECTOR3 lo, hi;
    Mesh("skydome.X").Bounds(lo, hi);
    float radius = std::max(hi.x, hi.z);
    EXPECT_GT(radius, 500.0f);
    EXPECT_LT(radius + 200.0f, 1000.0f) << "a camera 200 units from the origin still sees the whole dome";
    EXPECT_LT(lo.y, -0.1f * radius) << "the dome reaches below the horizon";
    Mesh("ocean.X").Bounds(lo, hi);
    EXPECT_GT(hi.x, 0.9f * radius);
}

TEST_F(SceneMeshes, SeaIsAFewLongTrianglesWithARoundRim) {
    // The sea is flat and drawn per pixel: a software rasteriser shades the
    // blocks along every triangle edge on screen once for each triangle, so
    // the disc is a fan of a few triangles, and its rim still reads as a
    // circle at the horizon.
    const LoadedMesh& sea = Mesh("ocean.X");
    ASSERT_TRUE(sea.loaded);
    const size_t faces = sea.indices.size() / 3;
    EXPECT_LE(faces, 64u);
    float radius = 0;
    for (const D3DXVECTOR3& p : sea.positions) radius = std::max(radius, std::hypot(p.x, p.z));
    for (size_t f = 0; f < faces; ++f)
        for (int k = 0; k < 3; ++k) {
            const D3DXVECTOR3 &a = sea.positions[sea.indices[3 * f + k]],
                              &b = sea.positions[sea.indices[3 * f + (k + 1) % 3]];
            if (std::hypot(a.x, a.z) < 0.999f * radius || std::hypot(b.x, b.z) < 0.999f * radius) continue;
            // A rim edge: its middle, the point furthest inside the circle.
            EXPECT_GT(std::hypot(a.x + b.x, a.z + b.z) * 0.5f, radius - 5.0f) << "face " << f;
        }
}
