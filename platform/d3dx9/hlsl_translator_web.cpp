// The web page has no HLSL compiler: its shaders come from the shader cache.
#include "platform/d3dx9/hlsl_translator.h"

namespace d3dx9 {

bool TranslateHlsl(d3d9::ShaderStage, const std::string&, d3d9::GlslDialect, std::string*, std::string* error) {
    *error = "ERROR: this build has no HLSL compiler, and shaders.cache has no translation of this source\n";
    return false;
}

const std::string& TranslatorVersion() {
    static const std::string none;
    return none;
}

}  // namespace d3dx9
