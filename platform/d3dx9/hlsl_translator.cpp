#include "platform/d3dx9/hlsl_translator.h"

#include <glslang/Include/Types.h>
#include <glslang/MachineIndependent/localintermediate.h>
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <glslang/build_info.h>
#include <spirv_cross/spirv_cross_c.h>
#include <spirv_cross/spirv_glsl.hpp>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <regex>
#include <sstream>

namespace d3dx9 {

namespace {

using d3d9::GlslDialect;
using d3d9::ShaderStage;

void StartGlslang() {
    static std::once_flag once;
    std::call_once(once, [] { glslang::InitializeProcess(); });
}

// glslang's log without its summary lines.
std::string CompilerMessages(const char* log) {
    std::istringstream lines(log ? log : "");
    std::string kept, line;
    while (std::getline(lines, line))
        if (!line.empty() && line.find("compilation errors.") == std::string::npos &&
            line.find("No code generated") == std::string::npos)
            kept += line + "\n";
    return kept.empty() ? "the HLSL source does not compile\n" : kept;
}

// The line of the first "TYPE name" in the source (glslang keeps no place for
// a sampler), or 0.
int DeclarationLine(const std::string& hlsl, const std::string& name) {
    const std::regex declaration("\\b\\w+\\s+" + name + "\\b");
    std::smatch found;
    if (!std::regex_search(hlsl, found, declaration)) return 0;
    return 1 + int(std::count(hlsl.begin(), hlsl.begin() + found.position(0), '\n'));
}

// The global constants and samplers, each of which must carry its register:
// register(cN) or register(sN).
bool EveryUniformHasARegister(const glslang::TIntermediate& intermediate, const std::string& hlsl, std::string* error) {
    glslang::TIntermAggregate* root =
        intermediate.getTreeRoot() ? intermediate.getTreeRoot()->getAsAggregate() : nullptr;
    if (!root) return true;
    for (TIntermNode* node : root->getSequence()) {
        glslang::TIntermAggregate* objects = node->getAsAggregate();
        if (!objects || objects->getOp() != glslang::EOpLinkerObjects) continue;
        for (TIntermNode* object : objects->getSequence()) {
            glslang::TIntermSymbol* symbol = object->getAsSymbolNode();
            if (symbol && symbol->getType().getBasicType() == glslang::EbtSampler &&
                !symbol->getQualifier().hasBinding()) {
                const std::string name = symbol->getName().c_str();
                *error = "ERROR: hlsl:" + std::to_string(DeclarationLine(hlsl, name)) + ": sampler '" + name +
                         "' has no register(sN)\n";
                return false;
            }
            if (!symbol || symbol->getQualifier().storage != glslang::EvqUniform || !symbol->getType().isStruct() ||
                symbol->getType().getBasicType() != glslang::EbtBlock)
                continue;
            for (const glslang::TTypeLoc& member : *symbol->getType().getStruct()) {
                if (member.type->getQualifier().hasOffset()) continue;
                *error = "ERROR: hlsl:" + std::to_string(member.loc.line) + ": constant '" +
                         std::string(member.type->getFieldName().c_str()) + "' has no register(cN)\n";
                return false;
            }
        }
    }
    return true;
}

bool CompileToSpirv(ShaderStage stage, const std::string& hlsl, std::vector<uint32_t>* spirv, std::string* error) {
    StartGlslang();
    const EShLanguage language = stage == ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
    glslang::TShader shader(language);
    const char* text = hlsl.c_str();
    const int length = int(hlsl.size());
    const char* name = "hlsl";
    shader.setStringsWithLengthsAndNames(&text, &length, &name, 1);
    shader.setEntryPoint("main");
    shader.setSourceEntryPoint("main");
    shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientOpenGL, 100);
    shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setEnvTargetHlslFunctionality1();
    const EShMessages messages = EShMessages(EShMsgReadHlsl | EShMsgSpvRules | EShMsgHlslDX9Compatible);
    if (!shader.parse(GetDefaultResources(), 100, false, messages)) {
        *error = CompilerMessages(shader.getInfoLog());
        return false;
    }
    glslang::TProgram program;
    program.addShader(&shader);
    if (!program.link(messages)) {
        *error = CompilerMessages(program.getInfoLog());
        return false;
    }
    const glslang::TIntermediate& intermediate = *program.getIntermediate(language);
    if (!EveryUniformHasARegister(intermediate, hlsl, error)) return false;
    glslang::SpvOptions options;
    options.disableOptimizer = true;
    options.validate = false;
    spv::SpvBuildLogger logger;
    glslang::GlslangToSpv(intermediate, *spirv, &logger, &options);
    if (spirv->empty()) {
        *error = "ERROR: no SPIR-V: " + logger.getAllMessages();
        return false;
    }
    return true;
}

// Names the translation gives to the device's own variables, which nothing
// of the shader's may take: its registers, its outputs, varyings, samplers,
// vertex inputs and reserved names.
bool DevicesName(const std::string& name) {
    if (name == "c" || name == "oC0" || name == "oC1" || name.starts_with("v_") || name.starts_with("d3d_") ||
        name.starts_with("gl_"))
        return true;
    if (name.size() > 1 && name[0] == 's' &&
        std::all_of(name.begin() + 1, name.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }))
        return true;
    for (const char* attribute : d3d9::kAttributeNames)
        if (name == attribute) return true;
    return false;
}

// The SPIR-V made ready for GLSL:
// - GLSL's mod (what SPIR-V's OpFMod means) takes the sign of y; Direct3D's
//   fmod that of x, which is OpFRem;
// - a name of the shader's own that is one of the device's is dropped (a
//   parameter `oC0` would otherwise become a local hiding the output), and
//   SPIRV-Cross makes up another.
std::vector<uint32_t> ForGlsl(const std::vector<uint32_t>& spirv) {
    std::vector<uint32_t> out(spirv.begin(), spirv.begin() + std::min<size_t>(5, spirv.size()));
    for (size_t at = 5; at < spirv.size();) {
        const uint32_t count = spirv[at] >> 16, opcode = spirv[at] & 0xffff;
        if (count == 0 || at + count > spirv.size()) break;
        if (opcode == spv::OpName && count > 2) {
            const char* name = reinterpret_cast<const char*>(&spirv[at + 2]);
            if (DevicesName(std::string(name, strnlen(name, (count - 2) * 4)))) {
                at += count;
                continue;
            }
        }
        const size_t first = out.size();
        out.insert(out.end(), spirv.begin() + long(at), spirv.begin() + long(at + count));
        if (opcode == spv::OpFMod) out[first] = (count << 16) | spv::OpFRem;
        at += count;
    }
    return out;
}

// "texcoord1" -> "TEXCOORD1", "POSITION" -> "POSITION0".
std::string Semantic(const std::string& written) {
    std::string semantic;
    for (char ch : written) semantic += char(std::toupper(static_cast<unsigned char>(ch)));
    if (semantic.empty() || !std::isdigit(static_cast<unsigned char>(semantic.back()))) semantic += '0';
    return semantic;
}

class Translation {
public:
    Translation(ShaderStage stage, std::vector<uint32_t> spirv) : stage(stage), glsl(std::move(spirv)) {}

    bool Run(GlslDialect dialect, std::string* text, std::string* error) {
        spirv_cross::CompilerGLSL::Options options;
        options.version = dialect == GlslDialect::Es300 ? 300 : 330;
        options.es = dialect == GlslDialect::Es300;
        options.enable_420pack_extension = false;
        options.fragment.default_float_precision = spirv_cross::CompilerGLSL::Options::Highp;
        options.fragment.default_int_precision = spirv_cross::CompilerGLSL::Options::Highp;
        glsl.set_common_options(options);

        const spirv_cross::ShaderResources resources = glsl.get_shader_resources();
        if (!Constants(resources, error) || !Samplers(resources, error)) return false;
        for (const spirv_cross::Resource& input : resources.stage_inputs)
            if (!Input(input, error)) return false;
        for (const spirv_cross::Resource& output : resources.stage_outputs)
            if (!Output(output, error)) return false;
        try {
            *text = glsl.compile();
            const size_t afterVersion = text->starts_with("#version") ? text->find('\n') + 1 : 0;
            text->insert(afterVersion, defines);
        } catch (const spirv_cross::CompilerError& failure) {
            *error = std::string("ERROR: no GLSL: ") + failure.what() + "\n";
            return false;
        }
        return true;
    }

private:
    std::string SemanticOf(spirv_cross::ID id) const {
        return Semantic(glsl.get_decoration_string(id, spv::DecorationUserSemantic));
    }

    // A variable the prelude declares or GLSL builds in: only its name is written.
    void Provided(spirv_cross::ID id, const std::string& name) {
        glsl.set_name(id, name);
        glsl.set_remapped_variable_state(id, true);
    }

    bool Constants(const spirv_cross::ShaderResources& resources, std::string* error) {
        for (const spirv_cross::Resource& block : resources.uniform_buffers) {
            if (resources.uniform_buffers.size() > 1) {
                *error = "ERROR: constants belong to the global scope, each with register(cN)\n";
                return false;
            }
            glsl.flatten_buffer_block(block.id);
            Provided(block.id, "c");
            glsl.set_name(block.base_type_id, "c");
        }
        return true;
    }

    bool Samplers(const spirv_cross::ShaderResources& resources, std::string* error) {
        for (const spirv_cross::Resource& sampler : resources.sampled_images) {
            if (!glsl.has_decoration(sampler.id, spv::DecorationBinding)) {
                *error = "ERROR: sampler '" + sampler.name + "' has no register(sN)\n";
                return false;
            }
            glsl.set_name(sampler.id, "s" + std::to_string(glsl.get_decoration(sampler.id, spv::DecorationBinding)));
            glsl.unset_decoration(sampler.id, spv::DecorationBinding);
            glsl.unset_decoration(sampler.id, spv::DecorationDescriptorSet);
        }
        if (!resources.separate_images.empty() || !resources.separate_samplers.empty()) {
            *error = "ERROR: textures are read through sampler2D or samplerCUBE on register(sN)\n";
            return false;
        }
        return true;
    }

    bool Input(const spirv_cross::Resource& input, std::string* error) {
        glsl.unset_decoration(input.id, spv::DecorationLocation);
        const std::string semantic = SemanticOf(input.id);
        if (stage == ShaderStage::Vertex) {
            glsl.set_name(input.id, semantic);
            return true;
        }
        const spirv_cross::SPIRType& type = glsl.get_type(input.type_id);
        if (semantic == "VPOS0" || semantic == "VFACE0") {
            const bool position = semantic == "VPOS0";
            if (type.vecsize != (position ? 2u : 1u)) {
                *error = std::string("ERROR: ") + (position ? "VPOS is a float2" : "VFACE is a float") + "\n";
                return false;
            }
            const std::string name = position ? "d3d_VPOS" : "d3d_VFACE";
            defines +=
                "#define " + name + (position ? " (gl_FragCoord.xy - 0.5)\n" : " (gl_FrontFacing ? 1.0 : -1.0)\n");
            Provided(input.id, name);
            return true;
        }
        glsl.set_name(input.id, "v_" + semantic);
        return true;
    }

    bool Output(const spirv_cross::Resource& output, std::string* error) {
        glsl.unset_decoration(output.id, spv::DecorationLocation);
        const std::string semantic = SemanticOf(output.id);
        if (stage == ShaderStage::Vertex) {
            if (semantic == "POSITION0")
                Provided(output.id, "gl_Position");
            else
                glsl.set_name(output.id, "v_" + semantic);
            return true;
        }
        if (semantic == "COLOR0" || semantic == "COLOR1")
            Provided(output.id, "oC" + semantic.substr(5));
        else if (semantic == "DEPTH0")
            Provided(output.id, "gl_FragDepth");
        else {
            *error = "ERROR: pixel output " + semantic + ": COLOR0, COLOR1 or DEPTH\n";
            return false;
        }
        return true;
    }

    ShaderStage stage;
    spirv_cross::CompilerGLSL glsl;
    std::string defines;
};

}  // namespace

bool TranslateHlsl(ShaderStage stage, const std::string& hlsl, GlslDialect dialect, std::string* glsl,
                   std::string* error) {
    std::vector<uint32_t> spirv;
    if (!CompileToSpirv(stage, hlsl, &spirv, error)) return false;
    try {
        Translation translation(stage, ForGlsl(spirv));
        return translation.Run(dialect, glsl, error);
    } catch (const spirv_cross::CompilerError& failure) {
        *error = std::string("ERROR: no GLSL: ") + failure.what() + "\n";
        return false;
    }
}

const std::string& TranslatorVersion() {
    static const std::string version =
        "glslang " + std::to_string(GLSLANG_VERSION_MAJOR) + "." + std::to_string(GLSLANG_VERSION_MINOR) + "." +
        std::to_string(GLSLANG_VERSION_PATCH) + GLSLANG_VERSION_FLAVOR + ", SPIRV-Cross " +
        std::to_string(SPVC_C_API_VERSION_MAJOR) + "." + std::to_string(SPVC_C_API_VERSION_MINOR) + "." +
        std::to_string(SPVC_C_API_VERSION_PATCH);
    return version;
}

}  // namespace d3dx9
