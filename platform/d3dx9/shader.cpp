// D3DXCompileShader over HLSL. The source, shader model 3 HLSL, becomes the
// GLSL of the register convention (hlsl_translator.h), taken from the shader
// cache where it holds the source (shader_cache.h), which is then compiled
// with the convention's prelude on an OpenGL context (a live device's, else a
// hidden headless one) so that errors surface here. The error text is the
// HLSL compiler's, naming the source line. Where no OpenGL context can be
// made at all, the GLSL is accepted unchecked and errors surface at
// CreateVertexShader/CreatePixelShader on an OpenGL device.
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/d3d9/shader_code.h"
#include "platform/d3dx9/d3dx9_platform.h"
#include "platform/d3dx9/d3dx9shader.h"
#include "platform/d3dx9/hlsl_translator.h"
#include "platform/d3dx9/shader_cache.h"

namespace {

HRESULT MakeBuffer(const void* bytes, size_t size, ID3DXBuffer** out) {
    if (!out) return D3D_OK;
    *out = nullptr;
    HRESULT hr = D3DXCreateBuffer(static_cast<DWORD>(size), out);
    if (SUCCEEDED(hr) && size) std::memcpy((*out)->GetBufferPointer(), bytes, size);
    return hr;
}

HRESULT Fail(const std::string& message, ID3DXBuffer** errors) {
    MakeBuffer(message.c_str(), message.size() + 1, errors);
    return E_FAIL;
}

struct CacheFile {
    std::string path = "shaders.cache";
    bool read = false;
    d3dx9::ShaderCache cache;
};

CacheFile& TheCacheFile() {
    static CacheFile file;
    return file;
}

// The cache file's entries, read at the first compile; empty when the file is
// missing, damaged or made by another translator than this build's.
const d3dx9::ShaderCache& Cache() {
    CacheFile& file = TheCacheFile();
    if (file.read) return file.cache;
    file.read = true;
    std::ifstream in(file.path, std::ios::binary);
    if (!in) return file.cache;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string error;
    const std::string& translator = d3dx9::TranslatorVersion();
    if (!file.cache.Parse(bytes.str(), &error) || (!translator.empty() && file.cache.Version() != translator))
        file.cache = d3dx9::ShaderCache();
    return file.cache;
}

}  // namespace

void D3DX_UseShaderCache(const char* path) {
    CacheFile& file = TheCacheFile();
    file = CacheFile();
    file.path = path ? path : "";
}

size_t D3DX_ShaderCacheSize() { return Cache().Size(); }

HRESULT D3DXCompileShader(LPCSTR source, UINT sourceLength, const D3DXMACRO* defines, LPD3DXINCLUDE include,
                          LPCSTR functionName, LPCSTR profile, DWORD flags, ID3DXBuffer** shader,
                          ID3DXBuffer** errorMessages, ID3DXConstantTable** constantTable) {
    (void)include, (void)flags;
    if (shader) *shader = nullptr;
    if (errorMessages) *errorMessages = nullptr;
    if (constantTable) *constantTable = nullptr;
    if (!source || !shader) return D3DERR_INVALIDCALL;
    if (!functionName || std::strcmp(functionName, "main") != 0)
        return Fail(std::string("entry point '") + (functionName ? functionName : "") + "' not found: only main",
                    errorMessages);
    d3d9::ShaderStage stage;
    if (profile && std::strcmp(profile, "vs_3_0") == 0)
        stage = d3d9::ShaderStage::Vertex;
    else if (profile && std::strcmp(profile, "ps_3_0") == 0)
        stage = d3d9::ShaderStage::Pixel;
    else
        return Fail(std::string("unsupported profile '") + (profile ? profile : "") + "': vs_3_0 or ps_3_0",
                    errorMessages);

    std::string text;
    for (const D3DXMACRO* macro = defines; macro && macro->Name; ++macro)
        text += std::string("#define ") + macro->Name + " " + (macro->Definition ? macro->Definition : "") + "\n";
    if (!text.empty()) text += "#line 1\n";
    size_t length = sourceLength;
    const void* end = std::memchr(source, '\0', sourceLength);
    if (end) length = static_cast<size_t>(static_cast<const char*>(end) - source);
    text.append(source, length);

    const d3d9::GlslDialect dialect = d3d9::CompilerDialect();
    std::string glsl, log;
    if (const std::string* cached = Cache().Find(stage, dialect, text))
        glsl = *cached;
    else if (!d3dx9::TranslateHlsl(stage, text, dialect, &glsl, &log))
        return Fail(log, errorMessages);

    if (d3d9::CheckShaderText(stage, glsl, &log) == d3d9::ShaderCheck::Failed)
        return Fail("the GLSL it translates to does not compile:\n" + log, errorMessages);
    std::vector<uint8_t> code = d3d9::PackShaderCode(stage, glsl);
    return MakeBuffer(code.data(), code.size(), shader);
}
