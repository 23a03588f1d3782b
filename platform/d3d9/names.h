// Readable names of Direct3D 9 enumeration values and flags, for the
// recording backend's call log. Unknown values print as decimal numbers.
#pragma once

#include <string>

#include "platform/d3d9/d3d9.h"

namespace d3d9 {

std::string RenderStateName(DWORD state);
std::string RenderStateValue(DWORD state, DWORD value);
std::string SamplerStateName(DWORD type);
std::string SamplerStateValue(DWORD type, DWORD value);
std::string StageStateName(DWORD type);
std::string StageStateValue(DWORD type, DWORD value);
std::string PrimitiveName(DWORD type);
std::string TransformName(DWORD state);
std::string FormatName(DWORD format);
std::string PoolName(DWORD pool);
std::string UsageFlags(DWORD usage);
std::string ClearFlags(DWORD flags);
std::string LockFlags(DWORD flags);
std::string FvfFlags(DWORD fvf);
std::string DeclTypeName(DWORD type);
std::string DeclUsageName(DWORD usage);
std::string StateBlockTypeName(DWORD type);
std::string CubeFaceName(DWORD face);

std::string Hex(DWORD value);
std::string Float(float value);
std::string Floats(const float* values, size_t count);

}  // namespace d3d9
