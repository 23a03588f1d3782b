// Shader model 3 HLSL to the GLSL of the register convention (docs/shaders.md).
// glslang's HLSL front end, in its Direct3D 9 mode, makes SPIR-V of the
// source; SPIRV-Cross writes that out as GLSL 3.30 or GLSL ES 3.00 with
//   - every constant in the one register array: `float4 x : register(c5)` is
//     c[5] (a constant without register() is an error);
//   - vertex inputs named after their semantic (POSITION0, TEXCOORD0, ...);
//   - varyings named v_ + semantic (v_TEXCOORD0, v_COLOR0), so that the two
//     stages meet by semantic as they do in Direct3D;
//   - POSITION written to gl_Position; pixel outputs COLOR0/COLOR1 as oC0/oC1,
//     DEPTH as gl_FragDepth, VPOS and VFACE read from gl_FragCoord and
//     gl_FrontFacing;
//   - samplers named after their register (`register(s2)` is s2);
//   - fmod with Direct3D's meaning, x - y * trunc(x / y).
// The text that comes out goes between the device's prelude and epilogue.
#pragma once

#include <string>

#include "platform/d3d9/shader_code.h"

namespace d3dx9 {

// False when the build has no HLSL compiler (the web page) or the source does
// not compile; `error` then says why, naming the HLSL line.
bool TranslateHlsl(d3d9::ShaderStage stage, const std::string& hlsl, d3d9::GlslDialect dialect, std::string* glsl,
                   std::string* error);

// The compiler versions a translation depends on, or "" without a compiler.
const std::string& TranslatorVersion();

}  // namespace d3dx9
