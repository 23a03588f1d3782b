#include "tools/contentgen/shapes.h"

#include <cmath>

namespace gen {

Mesh LatLongGrid(Vec3 centre, float radius, float top, float bottom, int rings, int segments, bool inward,
                 const Material& material) {
    Mesh mesh;
    mesh.materials.push_back(material);
    // Longitude runs so that u grows to the right for a viewer on the facing side.
    float handed = inward ? -1.0f : 1.0f;
    for (int k = 0; k <= rings; ++k) {
        float lat = top + (bottom - top) * float(k) / rings;
        for (int j = 0; j <= segments; ++j) {
            float lon = 2 * kPi * float(j) / segments - kPi;
            Vec3 dir{std::cos(lat) * std::cos(lon), std::sin(lat), handed * std::cos(lat) * std::sin(lon)};
            mesh.AddVertex(centre + dir * radius, {float(j) / segments, float(k) / rings}, inward ? -dir : dir);
        }
    }
    auto at = [&](int k, int j) { return uint32_t(k * (segments + 1) + j); };
    for (int k = 0; k < rings; ++k)
        for (int j = 0; j < segments; ++j) {
            uint32_t a = at(k, j), b = at(k, j + 1), c = at(k + 1, j + 1), d = at(k + 1, j);
            Vec3 mid = (mesh.positions[a] + mesh.positions[c]) * 0.5f - centre;
            Vec3 facing = inward ? -mid : mid;
            // Skip the degenerate halves at the poles.
            if (Length(mesh.positions[a] - mesh.positions[b]) > 1e-6f * radius)
                mesh.AddTriangleFacing(a, b, c, 0, facing);
            if (Length(mesh.positions[c] - mesh.positions[d]) > 1e-6f * radius)
                mesh.AddTriangleFacing(a, c, d, 0, facing);
        }
    mesh.ComputeNormals();
    return mesh;
}

Mesh Disc(float y, float radius, int rings, int segments, float tile, const Material& material) {
    Mesh mesh;
    mesh.materials.push_back(material);
    auto uv = [&](float x, float z) { return Vec2{x / tile, -z / tile}; };
    uint32_t centre = mesh.AddVertex({0, y, 0}, uv(0, 0));
    for (int k = 1; k <= rings; ++k) {
        float t = float(k) / rings, r = radius * t * t;
        for (int j = 0; j < segments; ++j) {
            float a = 2 * kPi * float(j) / segments;
            float x = r * std::cos(a), z = r * std::sin(a);
            mesh.AddVertex({x, y, z}, uv(x, z));
        }
    }
    auto at = [&](int k, int j) { return uint32_t(1 + (k - 1) * segments + (j % segments)); };
    const Vec3 up{0, 1, 0};
    for (int j = 0; j < segments; ++j) mesh.AddTriangleFacing(centre, at(1, j), at(1, j + 1), 0, up);
    for (int k = 1; k < rings; ++k)
        for (int j = 0; j < segments; ++j) {
            mesh.AddTriangleFacing(at(k, j), at(k + 1, j), at(k + 1, j + 1), 0, up);
            mesh.AddTriangleFacing(at(k, j), at(k + 1, j + 1), at(k, j + 1), 0, up);
        }
    mesh.ComputeNormals();
    return mesh;
}

}  // namespace gen
