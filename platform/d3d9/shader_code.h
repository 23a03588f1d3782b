// The code D3DXCompileShader hands out and CreateVertexShader/CreatePixelShader
// take: a self-describing block of 32-bit words,
//
//   word 0  magic 'G','L','S','L'
//   word 1  stage (0 vertex, 1 pixel)
//   word 2  length of the text in bytes
//   then    the GLSL text as written (without any #version line), a NUL, and
//           padding to a whole word.
//
// The device compiles the text with the register-convention prelude of
// docs/shaders.md around it (BuildGlsl).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

enum class ShaderStage : uint32_t { Vertex = 0, Pixel = 1 };

constexpr uint32_t kShaderCodeMagic = MAKEFOURCC('G', 'L', 'S', 'L');

std::vector<uint8_t> PackShaderCode(ShaderStage stage, const std::string& text);
// False when `code` is not shader code of `stage`.
bool UnpackShaderCode(const DWORD* code, ShaderStage stage, std::string* text);

// The shading languages a program's text is compiled as: desktop GLSL 3.30
// core, or GLSL ES 3.00 (OpenGL ES 3, WebGL 2). Only the prelude differs.
enum class GlslDialect { Desktop330, Es300 };

// The full GLSL source of a stage: prelude, the program's text, epilogue.
// `remapDepth` turns Direct3D's 0..1 clip depth into OpenGL's -1..1 where the
// GL has no glClipControl. GLSL ES has no gl_ClipDistance: there the user clip
// distances travel to the pixel stage, which discards what a plane clips.
// `alphaTest` gives a pixel stage the alpha test's discard; without it the
// stage discards nothing for the test (a discard costs early depth testing).
std::string BuildGlsl(ShaderStage stage, const std::string& text, bool remapDepth,
                      GlslDialect dialect = GlslDialect::Desktop330, bool alphaTest = false);

// Names of the vertex inputs, indexed by the attribute location the device
// binds them to (POSITION0 at 0, NORMAL0 at 1, ...).
constexpr int kAttributeCount = 16;
extern const char* const kAttributeNames[kAttributeCount];
// Attribute location of a declaration usage and index, or -1.
int AttributeLocation(BYTE usage, BYTE usageIndex);

// Compiles a program's text with the prelude on an OpenGL context: that of a
// live OpenGL device, else a hidden headless one made for the purpose.
enum class ShaderCheck { Compiled, Failed, NoCompiler };
ShaderCheck CheckShaderText(ShaderStage stage, const std::string& text, std::string* log);
// The dialect CheckShaderText compiles: that of a live device's context, else
// the process's.
GlslDialect CompilerDialect();

}  // namespace d3d9
