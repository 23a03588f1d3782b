// --shaders: sources staged from the folder exactly as the build stages the
// pack's entries, and, in a run inside the test process, a shader changed on
// disk in use within two frames, a broken one keeping the last good program
// with its compiler message given once, and a changed include rebuilding
// every shader that includes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "run/shader_folder.h"
#include "tests/support/demo_process.h"
#include "tests/support/in_process_run.h"

namespace {

namespace fs = std::filesystem;

const fs::path kShaders = fs::path(DEMO_SOURCE_DIR) / "content" / "shaders";

class ShaderFolder : public DemoProcessTest {};

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST_F(ShaderFolder, StagesEverySourceAsThePackHoldsIt) {
    int staged = 0, withIncludes = 0;
    for (const auto& entry : fs::directory_iterator(kBuild / "content")) {
        if (entry.path().extension() != ".cpp") continue;
        SCOPED_TRACE(entry.path().filename().string());
        std::string text;
        std::vector<std::string> includes;
        ASSERT_TRUE(StageShaderSource(kShaders, entry.path().filename().string(), &text, &includes));
        EXPECT_EQ(text, ReadText(entry.path()));
        ++staged;
        withIncludes += !includes.empty();
    }
    EXPECT_GT(staged, 20);
    EXPECT_GT(withIncludes, 0) << "no source includes a shared part: the splicing went untested";
    std::string text;
    std::vector<std::string> includes;
    EXPECT_FALSE(StageShaderSource(kShaders, "fragment_nowhere.cpp", &text, &includes));
}

TEST_F(ShaderFolder, ChangedShadersAreSwappedBetweenFramesAndABrokenOneKeepsTheLastGood) {
    const fs::path shaders = folder / "shaders";
    fs::copy(kShaders, shaders, fs::copy_options::recursive);
    const fs::path copyShader = shaders / "common" / "fragment_fs.hlsl";
    const std::string asFirstWritten = ReadText(copyShader);
    const std::string red =
        "float4 main(float2 texCoord : TEXCOORD0) : COLOR0 { return float4(1.0, 0.0, 0.0, 1.0); }\n";
    // The shaders that include the noise helpers, by the build's staging.
    std::set<std::string> noiseUsers;
    for (const auto& entry : fs::directory_iterator(kBuild / "content")) {
        std::string text;
        std::vector<std::string> includes;
        if (entry.path().extension() == ".cpp" &&
            StageShaderSource(kShaders, entry.path().filename().string(), &text, &includes) &&
            std::find(includes.begin(), includes.end(), "noise.hlsl") != includes.end())
            noiseUsers.insert(entry.path().filename().string());
    }
    ASSERT_FALSE(noiseUsers.empty());

    int frames = 0, firstRed = -1;
    bool redWhileBroken = true;
    std::string errorWhileBroken, errorWhenMended;
    constexpr uint32_t kRed = 0xFFFF0000;
    DemoOptions options = SmallRun(64, 48, 30);
    options.shaders = shaders.string();
    testing::internal::CaptureStderr();
    const int status = RunInProcess(options, [&] {
        ++frames;
        const bool isRed = Presented().At(32, 24) == kRed;
        if (frames == 3) Write(copyShader, red);
        if (frames > 3 && frames <= 5 && isRed && firstRed < 0) firstRed = frames;
        if (frames == 6) Write(copyShader, "void main() { this is not a shader }\n");
        if (frames > 6 && frames <= 10) {
            redWhileBroken = redWhileBroken && isRed;
            errorWhileBroken = ShaderReloadError();
        }
        if (frames == 10) Write(copyShader, asFirstWritten);
        if (frames == 12) {
            errorWhenMended = ShaderReloadError();
            std::ofstream(shaders / "include" / "noise.hlsl", std::ios::app) << "// touched\n";
        }
        if (frames == 14) g_demoState.quit = true;
    });
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, 0) << errors;
    EXPECT_EQ(firstRed, 4) << "the changed shader was not in use in the next frame";
    EXPECT_TRUE(redWhileBroken) << "a broken shader replaced the last good one";
    EXPECT_NE(errorWhileBroken.find("fragment_fs.cpp"), std::string::npos) << errorWhileBroken;
    EXPECT_EQ(Count(errors, "Shader fragment_fs.cpp does not compile"), 1u) << errors;
    EXPECT_EQ(errorWhenMended, "");
    for (const std::string& name : noiseUsers)
        EXPECT_EQ(Count(errors, "Reloaded shader " + name + "."), 1u) << name << "\n" << errors;
    EXPECT_EQ(Count(errors, "Reloaded shader fragment_fs.cpp."), 2u) << errors;
}

}  // namespace
