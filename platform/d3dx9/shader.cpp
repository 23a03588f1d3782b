// D3DXCompileShader over GLSL. The source is GLSL written against the register
// convention of docs/shaders.md; it is compiled with the convention's prelude
// on an OpenGL context (a live device's, else a hidden headless one) so that
// errors surface here, with the GL compiler's log as the error text. Where no
// OpenGL context can be made at all, sources are accepted unchecked and errors
// surface at CreateVertexShader/CreatePixelShader on an OpenGL device.
#include <cstring>
#include <string>

#include "platform/d3d9/shader_code.h"
#include "platform/d3dx9/d3dx9shader.h"

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

}  // namespace

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
    size_t length = sourceLength;
    const void* end = std::memchr(source, '\0', sourceLength);
    if (end) length = static_cast<size_t>(static_cast<const char*>(end) - source);
    text.append(source, length);

    std::string log;
    if (d3d9::CheckShaderText(stage, text, &log) == d3d9::ShaderCheck::Failed) return Fail(log, errorMessages);
    std::vector<uint8_t> code = d3d9::PackShaderCode(stage, text);
    return MakeBuffer(code.data(), code.size(), shader);
}
