#include "tests/content/content_files.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "resources/resource_pack.h"

namespace content_test {

std::string ContentDir() { return std::string(DEMO_BINARY_DIR) + "/content"; }
std::string PackPath() { return std::string(DEMO_BINARY_DIR) + "/data.pak"; }
std::string MusicPath() { return std::string(DEMO_BINARY_DIR) + "/music/music.mp3"; }

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> PackEntry(const std::string& name, bool* found) {
    static std::unique_ptr<ResourcePack> pack;
    if (!pack) {
        pack = std::make_unique<ResourcePack>();
        pack->Open(PackPath().c_str());
    }
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> bytes(pack->ReadEntry(name.c_str(), &size));
    if (found) *found = bytes != nullptr;
    if (!bytes) return {};
    return std::vector<uint8_t>(bytes.get(), bytes.get() + size);
}

const std::vector<std::string>& MeshNames() {
    static const std::vector<std::string> names = {"fy_faen_assSmall.X", "ocean.X",        "yachtAll2.x", "skydome.X",
                                                   "sphere.x",           "creditsPlane.x", "cylinder.X"};
    return names;
}

const std::vector<std::string>& TextureNames() {
    static const std::vector<std::string> names = {
        "Loading.jpg",     "first.png",        "thereis.png",   "asketch.png",      "island.jpg",
        "islandNormal.jpg", "Hatch0.dds",      "Hatch1.dds",    "Hatch2.dds",       "Hatch3.dds",
        "Hatch4.dds",      "Hatch5.dds",       "waves2.dds",    "hatch0.jpg",       "hatch1.jpg",
        "shadowmap.tga",   "cubemap.dds",      "Sky02.jpg",     "then.png",         "acolour.png",
        "clouds1.tga",     "earthmap1k.jpg",   "earth_nrm.dds", "earth_day_color_spec.dds", "earth_clouds_alpha.dds",
        "credits_copy.jpg", "StarField.jpg",   "kelss.png",     "presents.png",     "tavo.png",
        "ost.png",         "quillet.png",      "kratka.jpg"};
    return names;
}

const std::vector<std::string>& PathNames() {
    static const std::vector<std::string> names = {"HandDraw.cp", "HatchToNormal.cp", "Shatter.cp", "meshtest.cp"};
    return names;
}

const std::vector<std::string>& ShaderNames() {
    static const std::vector<std::string> names = {
        "vertex_base.cpp", "fragment_base.cpp", "vertex_fs.cpp", "fragment_fs.cpp", "fragment_handdraw.cpp",
        "fragment_sobel.cpp", "vertex_hatch.cpp", "fragment_hatch.cpp", "vertex_handtohatch.cpp",
        "fragment_handtohatch.cpp", "vertex_handtohatch_water.cpp", "fragment_handtohatch_water.cpp",
        "fragment_empty.cpp", "fragment_handtohatch_fs.cpp", "vertex_hatchtonormal.cpp", "fragment_hatchtonormal.cpp",
        "vertex_water_hatchtonormal.cpp", "fragment_water_hatchtonormal.cpp", "fragment_boat_shatter.cpp",
        "vertex_skydome.cpp", "fragment_skydome.cpp", "fragment_blur_v9.cpp", "fragment_blur_h9.cpp",
        "fragment_hatchtonormal_fs.cpp", "fragment_radial_blur.cpp", "vertex_water.cpp", "fragment_water.cpp",
        "vertex_boat_shatter.cpp", "fragment_fade_out.cpp", "fragment_fade_in.cpp", "vertex_cylinder_shatter.cpp",
        "fragment_earth.cpp", "vertex_earth.cpp", "vertex_simple.cpp", "fragment_earth_hatch.cpp",
        "vertex_earth_hatch.cpp"};
    return names;
}

}  // namespace content_test
