#include "tools/contentgen/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "tools/contentgen/font.h"
#include "tools/contentgen/island.h"
#include "tools/contentgen/paths.h"
#include "tools/contentgen/raster.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

constexpr int kSheetWidth = 1600;
constexpr int kMargin = 16;
const Rgba kPaper{0.93f, 0.92f, 0.89f, 1};
const Rgba kInk{0.15f, 0.15f, 0.18f, 1};

// A camera looking at a mesh's bounding box from the direction `from`.
RasterView FrameBox(const Mesh& mesh, Vec3 from, float distanceScale = 1.0f) {
    Vec3 lo, hi;
    mesh.Bounds(lo, hi);
    Vec3 centre = (lo + hi) * 0.5f;
    float radius = Length(hi - lo) * 0.5f;
    RasterView view;
    view.target = centre;
    view.eye = centre + Normalize(from) * (radius / std::sin(view.fovY * 0.5f) * 0.9f * distanceScale);
    return view;
}

// The credits card moved along its path, for the earth scene's frame.
Mesh PlacedCard(const Mesh& card, float t) {
    Mesh placed = card;
    Vec3 position, axes[3];
    CreditsCardFrame(t, position, axes);
    for (size_t i = 0; i < card.positions.size(); ++i) {
        const Vec3& p = card.positions[i];
        placed.positions[i] = position + axes[0] * p.x + axes[1] * p.y + axes[2] * p.z;
    }
    placed.ComputeNormals();
    return placed;
}

struct MeshShot {
    std::string title;
    std::vector<RasterItem> items;
    RasterView view;
    Rgba background;
    std::shared_ptr<const Mesh> owned = nullptr;  // a mesh made for this shot
};

std::vector<MeshShot> MeshShots(const AssetSet& assets) {
    const auto& meshes = assets.Meshes();
    auto mesh = [&](const std::string& name) -> const Mesh* {
        auto it = meshes.find(name);
        return it == meshes.end() ? nullptr : &it->second;
    };
    static const Image white(1, 1, {1, 1, 1, 1});
    std::vector<MeshShot> shots;
    const Rgba sky{0.70f, 0.80f, 0.90f, 1};
    const Rgba space{0.02f, 0.02f, 0.04f, 1};
    if (const Mesh* m = mesh("fy_faen_assSmall.X")) {
        shots.push_back({"fy_faen_assSmall.X, from the bay", {{m}}, FrameBox(*m, {0.5f, 0.55f, 1}, 0.75f), sky});
        shots.push_back({"fy_faen_assSmall.X, from the cliffs", {{m}}, FrameBox(*m, {-0.7f, 0.35f, -1}, 0.75f), sky});
    }
    if (const Mesh* m = mesh("ocean.X")) {
        RasterView v;
        v.eye = {0, 60, -160};
        v.target = {0, -3, 60};
        shots.push_back({"ocean.X", {{m, false, &white, {0.25f, 0.45f, 0.6f, 1}}}, v, sky});
    }
    if (const Mesh* m = mesh("yachtAll2.x"))  // in its materials' colours: its texture is the dark hatching
        shots.push_back(
            {"yachtAll2.x (material colours)", {{m, false, &white}}, FrameBox(*m, {0.9f, 0.3f, -0.25f}, 0.8f), sky});
    if (const Mesh* m = mesh("skydome.X")) {
        RasterView v;
        v.eye = {0, 0, 0};
        v.target = {0.3f, 0.45f, 1};
        v.fovY = 1.6f;
        shots.push_back({"skydome.X", {{m, true}}, v, kPaper});
    }
    if (const Mesh* m = mesh("sphere.x")) shots.push_back({"sphere.x", {{m}}, FrameBox(*m, world::kStarEye), space});
    if (const Mesh* m = mesh("creditsPlane.x"))
        shots.push_back({"creditsPlane.x", {{m}}, FrameBox(*m, {0.3f, 0.2f, -1}), sky});
    if (const Mesh* m = mesh("cylinder.X"))
        shots.push_back({"cylinder.X", {{m}}, FrameBox(*m, world::kStarEye - world::kCylinderCentre), sky});
    // The two scenes as the demo frames them.
    const Mesh *island = mesh("fy_faen_assSmall.X"), *ocean = mesh("ocean.X"), *yacht = mesh("yachtAll2.x"),
               *dome = mesh("skydome.X");
    if (island && ocean && yacht && dome) {
        RasterView v;
        v.eye = {38, 6, 92};
        v.target = {2, 3, 30};
        shots.push_back({"island scene",
                         {{island}, {ocean, false, &white, {0.25f, 0.45f, 0.6f, 1}}, {yacht}, {dome, true}},
                         v,
                         sky});
    }
    const Mesh *sphere = mesh("sphere.x"), *cylinder = mesh("cylinder.X"), *card = mesh("creditsPlane.x");
    if (sphere && cylinder && card) {
        RasterView v;
        v.eye = world::kStarEye;
        v.target = {0, 0, 0};
        v.light = Normalize({-8.45f, 5.294f, -0.76f});
        shots.push_back({"earth scene at 90 s", {{sphere}, {cylinder}}, v, space});
        auto placed = std::make_shared<const Mesh>(PlacedCard(*card, 6.0f));
        shots.push_back({"earth scene at 101.4 s, credits", {{sphere}, {placed.get()}}, v, space, placed});
    }
    return shots;
}

struct PathShot {
    std::string title;
    RasterView view;
};

// Frames along the camera paths, as the demo's camera sees them.
std::vector<PathShot> PathShots(const AssetSet& assets) {
    std::vector<PathShot> shots;
    const struct {
        const char* file;
        float times[3];
    } picks[] = {{"HandDraw.cp", {0.5f, 11.5f, 22.5f}}, {"HatchToNormal.cp", {1, 18, 31}}, {"Shatter.cp", {1, 8, 16}}};
    for (const auto& pick : picks) {
        auto it = assets.Files().find(pick.file);
        CameraPathKeys keys;
        if (it == assets.Files().end() || !ParseCameraPathFile(it->second, keys)) continue;
        for (float t : pick.times) {
            RasterView v;
            EvaluateCameraPath(keys, t, v.eye, v.target);
            v.light = world::SunDirection();
            char title[96];
            std::snprintf(title, sizeof title, "%s at %.1f s", pick.file, double(t));
            shots.push_back({title, v});
        }
    }
    return shots;
}

// Top view of the island and the sea round it with the camera paths: eye
// tracks in colour, a tick towards the target every two seconds.
Image PathMap(const AssetSet& assets, int size) {
    const float half = 160;
    Image map(size, size, {0.33f, 0.47f, 0.58f, 1});
    auto island = assets.Previews().find("island.jpg");
    auto toPixel = [&](float x, float z) {
        return Vec2{(x + half) / (2 * half) * size, (half - z) / (2 * half) * size};
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float wx = (x + 0.5f) / size * 2 * half - half, wz = half - (y + 0.5f) / size * 2 * half;
            if (std::fabs(wx) >= world::kIslandHalf || std::fabs(wz) >= world::kIslandHalf ||
                island == assets.Previews().end())
                continue;
            if (IslandHeight(wx, wz) < world::kSeaLevel) continue;
            map.At(x, y) = island->second.Sample((wx + world::kIslandHalf) / (2 * world::kIslandHalf),
                                                 (world::kIslandHalf - wz) / (2 * world::kIslandHalf), false);
        }
    const Rgba colours[3] = {{0.85f, 0.15f, 0.1f, 1}, {0.95f, 0.85f, 0.2f, 1}, {0.1f, 0.1f, 0.1f, 1}};
    int index = 0;
    for (const CameraFlight& flight : CameraFlights()) {
        auto it = assets.Files().find(flight.file);
        CameraPathKeys keys;
        if (it == assets.Files().end() || !ParseCameraPathFile(it->second, keys)) continue;
        Stroke track;
        track.width = 2.5f;
        track.ink = colours[index];
        track.taper = 0;
        for (float t = 0; t <= flight.span; t += 0.1f) {
            Vec3 e, g;
            EvaluateCameraPath(keys, t, e, g);
            track.points.push_back(toPixel(e.x, e.z));
            if (std::fmod(t + 0.01f, 2.0f) < 0.1f) {
                Vec3 d = Normalize(g - e) * 12.0f;
                Stroke tick{{toPixel(e.x, e.z), toPixel(e.x + d.x, e.z + d.z)}, 1.5f, 1, colours[index], 0};
                DrawStroke(map, tick, StrokeMode::Cover, false);
            }
        }
        DrawStroke(map, track, StrokeMode::Cover, false);
        ++index;
    }
    return map;
}

void Label(Image& sheet, const Font& font, const std::string& text, int x, int y, float em) {
    font.Draw(sheet, text, float(x), float(y) + font.Ascent(em), em, kInk, nullptr);
}

Image Checker(int w, int h) {
    Image c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) c.At(x, y) = Grey(((x / 8 + y / 8) & 1) ? 0.78f : 0.62f);
    return c;
}

}  // namespace

Image ContactSheet(const AssetSet& assets, const std::string& fontPath) {
    Font font;
    bool haveFont = font.Load(fontPath);
    std::vector<MeshShot> shots = MeshShots(assets);
    std::vector<PathShot> pathShots = PathShots(assets);
    const int shotW = (kSheetWidth - kMargin * 5) / 4, shotH = shotW * 3 / 4, labelH = 22;
    const int cell = 148, cellLabel = 30, perRow = (kSheetWidth - kMargin) / (cell + kMargin);
    const auto& previews = assets.Previews();
    int meshRows = int(shots.size() + 3) / 4;
    int texRows = int(previews.size() + perRow - 1) / perRow;
    const int mapSize = 560, pathW = (kSheetWidth - kMargin * 5 - mapSize) / 3, pathH = pathW * 3 / 4;
    int pathRows = int(pathShots.size() + 2) / 3;
    int height = kMargin * 4 + 30 + meshRows * (shotH + labelH + kMargin) +
                 (pathRows ? 30 + std::max(mapSize + kMargin, pathRows * (pathH + labelH + kMargin)) : 0) + 30 +
                 texRows * (cell + cellLabel + kMargin);
    Image sheet(kSheetWidth, height, kPaper);

    int y = kMargin;
    if (haveFont) Label(sheet, font, "meshes", kMargin, y, 22);
    y += 30;
    for (size_t i = 0; i < shots.size(); ++i) {
        int x = kMargin + int(i % 4) * (shotW + kMargin), yy = y + int(i / 4) * (shotH + labelH + kMargin);
        sheet.Composite(Rasterise(shots[i].items, shots[i].view, shotW, shotH, previews, shots[i].background), x, yy);
        size_t triangles = 0;
        for (const RasterItem& item : shots[i].items) triangles += item.mesh->faces.size();
        char text[160];
        std::snprintf(text, sizeof text, "%s  (%zu triangles)", shots[i].title.c_str(), triangles);
        if (haveFont) Label(sheet, font, text, x, yy + shotH + 3, 15);
    }
    y += meshRows * (shotH + labelH + kMargin) + kMargin;
    if (pathRows) {
        if (haveFont)
            Label(sheet, font, "camera paths (red: HandDraw.cp, yellow: HatchToNormal.cp, black: Shatter.cp)", kMargin,
                  y, 22);
        y += 30;
        sheet.Composite(PathMap(assets, mapSize), kMargin, y);
        auto mesh = [&](const char* name) {
            auto it = assets.Meshes().find(name);
            return it == assets.Meshes().end() ? nullptr : &it->second;
        };
        const Mesh *island = mesh("fy_faen_assSmall.X"), *ocean = mesh("ocean.X"), *yacht = mesh("yachtAll2.x"),
                   *dome = mesh("skydome.X");
        static const Image white(1, 1, {1, 1, 1, 1});
        for (size_t i = 0; i < pathShots.size() && island && ocean && yacht && dome; ++i) {
            int x = kMargin * 2 + mapSize + int(i % 3) * (pathW + kMargin),
                yy = y + int(i / 3) * (pathH + labelH + kMargin);
            std::vector<RasterItem> items = {
                {island}, {ocean, false, &white, {0.25f, 0.45f, 0.6f, 1}}, {yacht}, {dome, true}};
            sheet.Composite(Rasterise(items, pathShots[i].view, pathW, pathH, previews, kPaper), x, yy);
            if (haveFont) Label(sheet, font, pathShots[i].title, x, yy + pathH + 3, 15);
        }
        y += std::max(mapSize + kMargin, pathRows * (pathH + labelH + kMargin));
    }
    if (haveFont) Label(sheet, font, "textures", kMargin, y, 22);
    y += 30;
    int i = 0;
    for (const auto& [name, image] : previews) {
        int x = kMargin + (i % perRow) * (cell + kMargin), yy = y + (i / perRow) * (cell + cellLabel + kMargin);
        float scale = std::min(float(cell) / image.Width(), float(cell) / image.Height());
        int w = std::max(1, int(image.Width() * scale)), h = std::max(1, int(image.Height() * scale));
        int ox = x + (cell - w) / 2, oy = yy + (cell - h) / 2;
        sheet.Composite(Checker(w, h), ox, oy);
        sheet.Composite(image.Resized(w, h), ox, oy);
        if (haveFont) {
            Label(sheet, font, name, x, yy + cell + 2, 13);
            char size[64];
            auto [w, h] = assets.FullSize(name);
            std::snprintf(size, sizeof size, "%d x %d", w, h);
            Label(sheet, font, size, x, yy + cell + 16, 11);
        }
        ++i;
    }
    return sheet;
}

}  // namespace gen
