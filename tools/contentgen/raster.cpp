#include "tools/contentgen/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gen {
namespace {

struct ClipVertex {
    Vec3 camera;  // camera-space position
    Vec3 normal;
    Vec2 uv;
};

ClipVertex LerpVertex(const ClipVertex& a, const ClipVertex& b, float t) {
    return {
        Lerp(a.camera, b.camera, t), Lerp(a.normal, b.normal, t), {Lerp(a.uv.x, b.uv.x, t), Lerp(a.uv.y, b.uv.y, t)}};
}

// Clips a polygon to camera z >= near.
std::vector<ClipVertex> ClipNear(const std::vector<ClipVertex>& in, float near) {
    std::vector<ClipVertex> out;
    for (size_t i = 0; i < in.size(); ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % in.size()];
        bool ina = a.camera.z >= near, inb = b.camera.z >= near;
        if (ina) out.push_back(a);
        if (ina != inb) out.push_back(LerpVertex(a, b, (near - a.camera.z) / (b.camera.z - a.camera.z)));
    }
    return out;
}

}  // namespace

Image Rasterise(const std::vector<RasterItem>& items, const RasterView& view, int width, int height,
                const std::map<std::string, Image>& textures, Rgba background) {
    const int W = width * 2, H = height * 2;
    Image target(W, H, background);
    std::vector<float> depth(size_t(W) * H, std::numeric_limits<float>::infinity());
    Vec3 fz = Normalize(view.target - view.eye);
    Vec3 fx = Normalize(Cross({0, 1, 0}, fz));
    Vec3 fy = Cross(fz, fx);
    const float tanHalf = std::tan(view.fovY * 0.5f), aspect = float(W) / H, near = 0.05f;

    for (const RasterItem& item : items) {
        const Mesh& m = *item.mesh;
        std::vector<const Image*> matTex(m.materials.size(), item.texture);
        for (size_t i = 0; i < m.materials.size() && !item.texture; ++i) {
            auto it = textures.find(m.materials[i].texture);
            matTex[i] = it == textures.end() ? nullptr : &it->second;
        }
        for (size_t f = 0; f < m.faces.size(); ++f) {
            uint32_t mat = m.faceMaterials[f];
            std::vector<ClipVertex> poly;
            for (uint32_t vi : m.faces[f]) {
                Vec3 p = m.positions[vi] - view.eye;
                poly.push_back({{Dot(p, fx), Dot(p, fy), Dot(p, fz)}, m.normals[vi], m.uvs[vi]});
            }
            poly = ClipNear(poly, near);
            if (poly.size() < 3) continue;
            struct Screen {
                float x, y, invZ;
            };
            std::vector<Screen> s;
            for (const ClipVertex& v : poly) {
                float iz = 1 / v.camera.z;
                s.push_back({(v.camera.x * iz / (tanHalf * aspect) + 1) * 0.5f * W,
                             (1 - v.camera.y * iz / tanHalf) * 0.5f * H, iz});
            }
            Rgba diffuse = m.materials[mat].diffuse;
            for (size_t k = 1; k + 1 < poly.size(); ++k) {
                const size_t idx[3] = {0, k, k + 1};
                float area = (s[idx[1]].x - s[idx[0]].x) * (s[idx[2]].y - s[idx[0]].y) -
                             (s[idx[2]].x - s[idx[0]].x) * (s[idx[1]].y - s[idx[0]].y);
                if (std::fabs(area) < 1e-9f) continue;
                int x0 = std::max(0, int(std::floor(std::min({s[idx[0]].x, s[idx[1]].x, s[idx[2]].x}))));
                int x1 = std::min(W - 1, int(std::ceil(std::max({s[idx[0]].x, s[idx[1]].x, s[idx[2]].x}))));
                int y0 = std::max(0, int(std::floor(std::min({s[idx[0]].y, s[idx[1]].y, s[idx[2]].y}))));
                int y1 = std::min(H - 1, int(std::ceil(std::max({s[idx[0]].y, s[idx[1]].y, s[idx[2]].y}))));
                for (int y = y0; y <= y1; ++y)
                    for (int x = x0; x <= x1; ++x) {
                        float px = x + 0.5f, py = y + 0.5f;
                        float w[3];
                        for (int e = 0; e < 3; ++e) {
                            const Screen& a = s[idx[(e + 1) % 3]];
                            const Screen& b = s[idx[(e + 2) % 3]];
                            w[e] = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
                        }
                        if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
                        float invZ = w[0] * s[idx[0]].invZ + w[1] * s[idx[1]].invZ + w[2] * s[idx[2]].invZ;
                        float z = 1 / invZ;
                        float& d = depth[size_t(y) * W + x];
                        if (z >= d) continue;
                        d = z;
                        Vec3 n{0, 0, 0};
                        Vec2 uv{0, 0};
                        Vec3 camPos{0, 0, 0};
                        for (int e = 0; e < 3; ++e) {
                            float pw = w[e] * s[idx[e]].invZ * z;
                            const ClipVertex& v = poly[idx[e]];
                            n += v.normal * pw;
                            uv.x += v.uv.x * pw;
                            uv.y += v.uv.y * pw;
                            camPos += v.camera * pw;
                        }
                        Rgba c = diffuse;
                        if (matTex[mat]) {
                            Rgba t = matTex[mat]->Sample(uv.x, uv.y, true);
                            c = {c.r * t.r, c.g * t.g, c.b * t.b, 1};
                        }
                        c = {c.r * item.tint.r, c.g * item.tint.g, c.b * item.tint.b, 1};
                        if (!item.unlit) {
                            n = Normalize(n);
                            Vec3 toEye = -(fx * camPos.x + fy * camPos.y + fz * camPos.z);
                            if (Dot(n, toEye) < 0) n = -n;  // both sides lit
                            float light = 0.38f + 0.62f * std::max(0.0f, Dot(n, view.light));
                            c = {c.r * light, c.g * light, c.b * light, 1};
                        }
                        target.At(x, y) = c;
                    }
            }
        }
    }
    return target.Halved();
}

}  // namespace gen
