// What each scene's Init loads, in its order: read from the order in which
// the recording device made the textures and shaders (the labels it gives
// device objects count up), each scene on a resource manager of its own.
// Camera and mesh paths make no device objects and are not in the table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effects/begin_effect.h"
#include "effects/hand_draw_effect.h"
#include "effects/hand_to_hatch_effect.h"
#include "effects/hatch_to_normal_effect.h"
#include "effects/shatter_effect.h"
#include "effects/star_effect.h"
#include "resources/resource_manager.h"
#include "shell/demo_state.h"
#include "tests/effects/scene_doubles.h"
#include "tests/support/effect_fixture.h"

namespace {

class PreloadOrder : public EffectFixture {
protected:
    // The number in the label of what `name` names ("vertex_…", "fragment_…" or a texture).
    int Made(const std::string& name) {
        Mirel::ResourceManager& resources = *g_demoState.resources;
        return Number(name.rfind("vertex_", 0) == 0     ? RecordedName(device, resources.GetVertexShader(name))
                      : name.rfind("fragment_", 0) == 0 ? RecordedName(device, resources.GetPixelShader(name))
                                                        : RecordedName(device, resources.GetTexture(name)));
    }
    static int Number(const std::string& label) { return std::atoi(label.c_str() + label.find('#') + 1); }
};

TEST_F(PreloadOrder, EachSceneLoadsWhatItUsesInItsOrder) {
    struct Scene {
        const char* name;
        std::function<Mirel::Effect*()> make;
        std::vector<std::string> loads;
    };
    const Scene scenes[] = {
        {"begin",
         [] { return new Mirel::BeginEffect(&g_demoState); },
         {"Textures//kelss.png", "Textures//presents.png", "Textures//tavo.png", "Textures//ost.png",
          "Textures//quillet.png", "Textures//kratka.jpg"}},
        {"hand draw",
         [] { return new Mirel::HandDrawEffect(&g_demoState); },
         {"vertex_base.cpp", "fragment_handdraw.cpp", "Textures//first.png", "Textures//thereis.png",
          "Textures//asketch.png", "Textures//island.jpg", "Textures//islandNormal.jpg", "vertex_fs.cpp",
          "fragment_sobel.cpp"}},
        {"hand to hatch",
         [] { return new Mirel::HandToHatchEffect(&g_demoState); },
         {"Textures//Hatch0.dds", "Textures//Hatch1.dds", "Textures//Hatch2.dds", "Textures//Hatch3.dds",
          "Textures//Hatch4.dds", "Textures//Hatch5.dds", "Textures//hatch0.jpg", "Textures//hatch1.jpg",
          "vertex_hatch.cpp", "fragment_hatch.cpp", "vertex_handtohatch.cpp", "fragment_handtohatch.cpp",
          "fragment_handtohatch_fs.cpp", "vertex_handtohatch_water.cpp", "fragment_handtohatch_water.cpp",
          "fragment_empty.cpp"}},
        {"hatch to normal",
         [] { return new Mirel::HatchToNormalEffect(&g_demoState); },
         {"vertex_hatchtonormal.cpp",
          "fragment_hatchtonormal.cpp",
          "vertex_water_hatchtonormal.cpp",
          "fragment_water_hatchtonormal.cpp",
          "fragment_boat_shatter.cpp",
          "vertex_skydome.cpp",
          "fragment_skydome.cpp",
          "fragment_blur_v9.cpp",
          "fragment_blur_h9.cpp",
          "fragment_radial_blur.cpp",
          "fragment_hatchtonormal_fs.cpp",
          "Textures//island.jpg",
          "Textures//islandNormal.jpg",
          "Textures//waves2.dds",
          "Textures//shadowmap.tga",
          "Textures//Sky02.jpg",
          "Textures//then.png",
          "Textures//thereis.png",
          "Textures//acolour.png",
          "Textures//cubemap.dds"}},
        {"shatter",
         [] { return new Mirel::ShatterEffect(&g_demoState); },
         {"Textures//island.jpg", "Textures//islandNormal.jpg", "Textures//shadowmap.tga", "Textures//clouds1.tga",
          "Textures//cubemap.dds", "vertex_base.cpp", "fragment_base.cpp", "vertex_water.cpp", "fragment_water.cpp",
          "vertex_boat_shatter.cpp", "fragment_boat_shatter.cpp"}},
        {"star",
         [] { return new Mirel::StarEffect(&g_demoState); },
         {"Textures//earthmap1k.jpg", "Textures//earth_nrm.dds", "Textures//earth_day_color_spec.dds",
          "Textures//earth_clouds_alpha.dds", "vertex_cylinder_shatter.cpp", "fragment_fade_out.cpp",
          "fragment_fade_in.cpp", "Textures//credits_copy.jpg", "Textures//StarField.jpg", "fragment_earth.cpp",
          "vertex_earth.cpp", "vertex_simple.cpp", "fragment_earth_hatch.cpp", "vertex_earth_hatch.cpp"}},
    };
    LoadSceneMeshes();
    Mirel::ResourceManager* shared = g_demoState.resources;
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        Mirel::ResourceManager own(device);
        g_demoState.resources = g_resourceManager = &own;
        std::unique_ptr<Mirel::Effect> effect(scene.make());
        effect->Init();
        const int afterInit = Number(RecordedName(device, gpu.RenderTarget(1, 1)));
        int previous = 0;
        for (const std::string& name : scene.loads) {
            const int made = Made(name);
            EXPECT_GT(made, previous) << name << " loaded out of order";
            EXPECT_LT(made, afterInit) << name << " not loaded by Init";
            previous = made;
        }
        effect->Stop();
        g_demoState.resources = g_resourceManager = shared;
    }
}

}  // namespace
