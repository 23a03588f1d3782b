// The yacht "yachtAll2.x": a twelve-unit sloop lying at anchor in the bay,
// built in its own frame (x to starboard, y up, z to the bow) and then turned
// to its heading and moved to its mooring. Four parts, each its own mesh in
// the file: the hull (topsides, and antifouling below the water line), the
// deck with its cabin, the rig (mast, boom, stays) and the two sails (each
// sail two-sided: one skin per side). The rig's and the sails' faces have
// vertices of their own, so that they can break apart. The water line is y = -3, the mast top
// y = 13.
#include <algorithm>
#include <cmath>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

using namespace world;

constexpr float kLength = 12.0f, kHalfBeam = 1.9f;
constexpr int kStations = 28, kSectionSteps = 9;

float Station(int i) { return float(i) / kStations; }  // 0 stern .. 1 bow
float StationZ(float s) { return -kLength / 2 + kLength * s; }

float HalfBreadth(float s) {
    if (s > 0.42f) {
        float t = (s - 0.42f) / 0.58f;
        return kHalfBeam * std::pow(std::max(0.0f, 1 - t * t), 0.75f);
    }
    float t = (0.42f - s) / 0.42f;
    return kHalfBeam * (1 - 0.24f * t * t);
}
float KeelY(float s) { return -3.8f + 0.75f * Smoothstep(0.72f, 1.0f, s) + 0.3f * Smoothstep(0.25f, 0.0f, s); }
float SheerY(float s) { return -1.75f + 0.55f * (s - 0.45f) * (s - 0.45f) + 0.25f * Smoothstep(0.8f, 1.0f, s); }

// A point of the hull's starboard half-section at station s, t from the keel (0) to the sheer (1).
Vec3 HullPoint(float s, float t) {
    float theta = t * kPi / 2;
    const float e = 2.0f / 2.6f;  // a slightly boxy section
    float x = HalfBreadth(s) * std::pow(std::max(0.0f, std::sin(theta)), e);
    float y = SheerY(s) - (SheerY(s) - KeelY(s)) * std::pow(std::max(0.0f, std::cos(theta)), e);
    return {x, y, StationZ(s)};
}

// Mirrors a starboard point to port.
Vec3 Port(Vec3 p) { return {-p.x, p.y, p.z}; }

void Hull(Mesh& m) {
    enum { kTopsides, kBottom };
    m.materials = {{"Topsides", {0.93f, 0.94f, 0.96f, 1}, 30, {0.5f, 0.5f, 0.5f}, {0, 0, 0}, "Hatch4.dds"},
                   {"Antifouling", {0.50f, 0.13f, 0.11f, 1}, 10, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, "Hatch4.dds"}};
    for (int side = 0; side < 2; ++side) {
        uint32_t base = uint32_t(m.positions.size());
        for (int i = 0; i <= kStations; ++i)
            for (int k = 0; k <= kSectionSteps; ++k) {
                Vec3 p = HullPoint(Station(i), float(k) / kSectionSteps);
                if (side) p = Port(p);
                m.AddVertex(p, {p.z * 0.25f, -p.y * 0.25f + (side ? 0.5f : 0.0f)});
            }
        auto at = [&](int i, int k) { return base + uint32_t(i * (kSectionSteps + 1) + k); };
        for (int i = 0; i < kStations; ++i)
            for (int k = 0; k < kSectionSteps; ++k) {
                uint32_t a = at(i, k), b = at(i + 1, k), c = at(i + 1, k + 1), d = at(i, k + 1);
                Vec3 mid = (m.positions[a] + m.positions[c]) * 0.5f;
                Vec3 out{mid.x, mid.y - SheerY(Station(i)), 0};
                uint32_t mat = mid.y < kSeaLevel + 0.12f ? kBottom : kTopsides;
                if (Length(m.positions[b] - m.positions[c]) > 1e-4f) m.AddTriangleFacing(a, b, c, mat, out);
                if (Length(m.positions[a] - m.positions[d]) > 1e-4f) m.AddTriangleFacing(a, c, d, mat, out);
            }
    }
    // The transom closes the stern: a fan from its centre.
    uint32_t centre = m.AddVertex({0, (SheerY(0) + KeelY(0)) * 0.5f, StationZ(0)}, {0, 0});
    std::vector<uint32_t> rim;
    for (int k = 0; k <= kSectionSteps; ++k) {
        Vec3 p = HullPoint(0, float(k) / kSectionSteps);
        rim.push_back(m.AddVertex(p, {p.x * 0.25f, -p.y * 0.25f}));
    }
    for (int k = kSectionSteps; k >= 0; --k) {
        Vec3 p = Port(HullPoint(0, float(k) / kSectionSteps));
        rim.push_back(m.AddVertex(p, {p.x * 0.25f, -p.y * 0.25f}));
    }
    for (size_t k = 0; k + 1 < rim.size(); ++k) m.AddTriangleFacing(centre, rim[k], rim[k + 1], kTopsides, {0, 0, -1});
}

// Deck height across the beam: the sheer at the edge, a little camber in the middle.
float DeckY(float s, float across) { return SheerY(s) + 0.08f * (1 - across * across); }

void DeckAndCabin(Mesh& m) {
    enum { kTeak, kCabin, kWindows };
    m.materials = {{"Deck", {0.72f, 0.57f, 0.38f, 1}, 8, {0.1f, 0.1f, 0.1f}, {0, 0, 0}, "Hatch4.dds"},
                   {"Cabin", {0.95f, 0.95f, 0.92f, 1}, 20, {0.4f, 0.4f, 0.4f}, {0, 0, 0}, "Hatch4.dds"},
                   {"Windows", {0.16f, 0.20f, 0.26f, 1}, 60, {0.9f, 0.9f, 0.9f}, {0, 0, 0}, ""}};
    const int across = 4;
    uint32_t base = uint32_t(m.positions.size());
    for (int i = 0; i <= kStations; ++i)
        for (int k = -across; k <= across; ++k) {
            float s = Station(i), a = float(k) / across;
            Vec3 p{HalfBreadth(s) * a, DeckY(s, a), StationZ(s)};
            m.AddVertex(p, {p.x * 0.25f, p.z * 0.25f});
        }
    auto at = [&](int i, int k) { return base + uint32_t(i * (2 * across + 1) + k + across); };
    for (int i = 0; i < kStations; ++i)
        for (int k = -across; k < across; ++k) {
            uint32_t a = at(i, k), b = at(i + 1, k), c = at(i + 1, k + 1), d = at(i, k + 1);
            if (Length(m.positions[b] - m.positions[c]) > 1e-4f) m.AddTriangleFacing(a, b, c, kTeak, {0, 1, 0});
            if (Length(m.positions[a] - m.positions[d]) > 1e-4f) m.AddTriangleFacing(a, c, d, kTeak, {0, 1, 0});
        }
    // The cabin: a low house with sloping sides and front, a window band along each side.
    const float z0 = -2.6f, z1 = 1.0f, foot = 1.15f, top = 0.9f, height = 0.75f;
    auto deckAt = [&](float z) { return DeckY((z + kLength / 2) / kLength, 0.6f); };
    auto quad = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 d, uint32_t mat, Vec3 facing) {
        uint32_t ia = m.AddVertex(a, {a.x * 0.4f + a.z * 0.4f, -a.y * 0.4f}),
                 ib = m.AddVertex(b, {b.x * 0.4f + b.z * 0.4f, -b.y * 0.4f});
        uint32_t ic = m.AddVertex(c, {c.x * 0.4f + c.z * 0.4f, -c.y * 0.4f}),
                 id = m.AddVertex(d, {d.x * 0.4f + d.z * 0.4f, -d.y * 0.4f});
        m.AddTriangleFacing(ia, ib, ic, mat, facing);
        m.AddTriangleFacing(ia, ic, id, mat, facing);
    };
    float y0a = deckAt(z0) - 0.05f, y0b = deckAt(z1) - 0.05f;
    float ya = y0a + height, yb = y0b + height * 0.85f;
    float wl = 0.45f, wh = 0.7f;  // window band, as fractions of the side's height
    for (int side = -1; side <= 1; side += 2) {
        float fx = foot * side, tx = top * side;
        auto sidePoint = [&](float z, float f) {
            float yb0 = z == z0 ? y0a : y0b, yt = z == z0 ? ya : yb;
            return Vec3{Lerp(fx, tx, f), Lerp(yb0, yt, f), z};
        };
        Vec3 facing{float(side), 0.2f, 0};
        quad(sidePoint(z0, 0), sidePoint(z1, 0), sidePoint(z1, wl), sidePoint(z0, wl), kCabin, facing);
        quad(sidePoint(z0 + 0.4f, wl), sidePoint(z1 - 0.5f, wl), sidePoint(z1 - 0.5f, wh), sidePoint(z0 + 0.4f, wh),
             kWindows, facing);
        quad(sidePoint(z0, wl), sidePoint(z0 + 0.4f, wl), sidePoint(z0 + 0.4f, wh), sidePoint(z0, wh), kCabin, facing);
        quad(sidePoint(z1 - 0.5f, wl), sidePoint(z1, wl), sidePoint(z1, wh), sidePoint(z1 - 0.5f, wh), kCabin, facing);
        quad(sidePoint(z0, wh), sidePoint(z1, wh), sidePoint(z1, 1), sidePoint(z0, 1), kCabin, facing);
    }
    quad({-top, ya, z0}, {top, ya, z0}, {top, yb, z1}, {-top, yb, z1}, kCabin, {0, 1, 0});       // roof
    quad({-foot, y0a, z0}, {foot, y0a, z0}, {top, ya, z0}, {-top, ya, z0}, kCabin, {0, 0, -1});  // back
    quad({-foot, y0b, z1}, {foot, y0b, z1}, {top, yb, z1 - 0.35f}, {-top, yb, z1 - 0.35f}, kCabin,
         {0, 0.4f, 1});  // sloping front
}

// A round spar from a to b of `radius`, `sides` faces round, capped, in
// lengths of at most half a unit (so that it breaks into short pieces).
void Spar(Mesh& m, Vec3 a, Vec3 b, float radius, int sides, uint32_t material) {
    Vec3 axis = Normalize(b - a);
    Vec3 side = Normalize(Cross(std::fabs(axis.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0}, axis));
    Vec3 up = Cross(axis, side);
    uint32_t base = uint32_t(m.positions.size());
    float length = Length(b - a);
    int lengths = std::max(1, int(std::ceil(length / 0.5f)));
    for (int ring = 0; ring <= lengths; ++ring)
        for (int k = 0; k <= sides; ++k) {
            float ang = 2 * kPi * k / sides, t = float(ring) / lengths;
            Vec3 off = (side * std::cos(ang) + up * std::sin(ang)) * radius;
            m.AddVertex(Lerp(a, b, t) + off, {float(k) / sides, t * length * 0.5f});
        }
    for (int ring = 0; ring < lengths; ++ring)
        for (int k = 0; k < sides; ++k) {
            uint32_t p = base + uint32_t(ring * (sides + 1) + k), q = p + 1, r = q + uint32_t(sides + 1),
                     s = p + uint32_t(sides + 1);
            Vec3 out = m.positions[p] + m.positions[q] - Lerp(a, b, float(ring) / lengths) * 2;
            m.AddTriangleFacing(p, q, r, material, out);
            m.AddTriangleFacing(p, r, s, material, out);
        }
    for (int end = 0; end < 2; ++end) {
        uint32_t centre = m.AddVertex(end ? b : a, {0.5f, 0.5f});
        uint32_t ring = base + uint32_t(end * lengths * (sides + 1));
        for (int k = 0; k < sides; ++k)
            m.AddTriangleFacing(centre, ring + k, ring + k + 1, material, end ? axis : -axis);
    }
}

constexpr float kMastZ = 1.3f, kBoomY = -0.35f, kBoomEnd = -4.7f;
float DeckAtMast() { return DeckY((kMastZ + kLength / 2) / kLength, 0); }
const Vec3 kStemHead{0, SheerY(1.0f) + 0.05f, kLength / 2 - 0.05f};
const Vec3 kForestayTop{0, kMastTop - 1.2f, kMastZ};

void Rig(Mesh& m) {
    m.materials = {{"Spars", {0.78f, 0.79f, 0.81f, 1}, 50, {0.8f, 0.8f, 0.8f}, {0, 0, 0}, ""}};
    Spar(m, {0, DeckAtMast(), kMastZ}, {0, kMastTop, kMastZ}, 0.1f, 10, 0);
    Spar(m, {0, kBoomY, kMastZ - 0.12f}, {0, kBoomY + 0.15f, kBoomEnd}, 0.07f, 8, 0);
    Spar(m, kStemHead, kForestayTop, 0.025f, 4, 0);  // forestay
    Spar(m, {0, SheerY(0.0f) + 0.05f, -kLength / 2 + 0.3f}, {0, kMastTop - 0.1f, kMastZ - 0.05f}, 0.025f, 4,
         0);                                   // backstay
    for (int side = -1; side <= 1; side += 2)  // shrouds
        Spar(m, {side * (kHalfBeam - 0.1f), SheerY(0.47f) + 0.05f, kMastZ - 0.5f}, {0, kMastTop - 2.0f, kMastZ}, 0.02f,
             4, 0);
}

// A sail: the triangle luff-foot-head bellied out by `belly` (towards +x),
// most in the middle of each horizontal chord. Two skins, one per side,
// a hair apart so that they never fight over depth.
void Sail(Mesh& m, Vec3 tack, Vec3 head, Vec3 clew, float belly, uint32_t material) {
    const int rows = 24, cols = 14;
    for (int skin = 0; skin < 2; ++skin) {
        float offset = skin ? -0.012f : 0.012f;
        uint32_t base = uint32_t(m.positions.size());
        for (int r = 0; r <= rows; ++r)
            for (int c = 0; c <= cols; ++c) {
                float h = float(r) / rows, w = float(c) / cols;
                Vec3 luff = Lerp(tack, head, h), leech = Lerp(clew, head, h);
                Vec3 p = Lerp(luff, leech, w);
                p.x += belly * (1 - h * 0.6f) * std::sin(kPi * w) + offset;
                m.AddVertex(p, {w, 1 - h});
            }
        auto at = [&](int r, int c) { return base + uint32_t(r * (cols + 1) + c); };
        Vec3 facing{skin ? -1.0f : 1.0f, 0, 0};
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                m.AddTriangleFacing(at(r, c), at(r, c + 1), at(r + 1, c + 1), material, facing);
                if (r + 1 < rows) m.AddTriangleFacing(at(r, c), at(r + 1, c + 1), at(r + 1, c), material, facing);
            }
    }
}

void Sails(Mesh& m) {
    m.materials = {{"Sailcloth", {0.97f, 0.96f, 0.91f, 1}, 4, {0.05f, 0.05f, 0.05f}, {0, 0, 0}, "Hatch4.dds"}};
    Sail(m, {0.08f, kBoomY + 0.15f, kMastZ - 0.15f}, {0.08f, kMastTop - 0.4f, kMastZ - 0.15f},
         {0.08f, kBoomY + 0.3f, kBoomEnd + 0.2f}, 0.35f, 0);
    Vec3 tack = Lerp(kStemHead, kForestayTop, 0.03f), head = Lerp(kStemHead, kForestayTop, 0.9f);
    Sail(m, tack + Vec3{0.05f, 0, 0}, head + Vec3{0.05f, 0, 0}, {0.7f, SheerY(0.6f) + 0.8f, kMastZ - 0.9f}, 0.3f, 0);
}

// Turns a part from the boat's frame to its heading and mooring.
void Place(Mesh& m) {
    float c = std::cos(kBoatHeading), s = std::sin(kBoatHeading);
    for (Vec3& p : m.positions) p = {kBoatX + p.x * c + p.z * s, p.y, kBoatZ - p.x * s + p.z * c};
    m.ComputeNormals();
}

}  // namespace

void GenerateYacht(AssetSet& out) {
    Mesh hull, deck, rig, sails;
    Hull(hull);
    DeckAndCabin(deck);
    Rig(rig);
    Sails(sails);
    for (Mesh* m : {&hull, &deck, &rig, &sails}) Place(*m);
    // The rig and the sails break into their triangles at 73 s: every face
    // of theirs gets vertices of its own. The hull and the deck, which the
    // break reaches only after the picture has gone black, stay smooth.
    rig = rig.Unwelded();
    sails = sails.Unwelded();
    out.AddFile("yachtAll2.x",
                WriteXFile("Yacht", {{"Hull", &hull}, {"Deck", &deck}, {"Rig", &rig}, {"Sails", &sails}}));
    Mesh all;
    for (Mesh* m : {&hull, &deck, &rig, &sails}) all.Append(*m);
    out.AddMeshPreview("yachtAll2.x", all);
}

}  // namespace gen
