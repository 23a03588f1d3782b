// --gles: the whole demo through an OpenGL ES 3.0 context, used only as far as
// WebGL 2 goes, with its shaders compiled as GLSL ES 3.00: what a web page
// runs, on Linux.
#pragma once

#include <string>
#include <vector>

// `args` without "--gles"; where it was there, every device and shader check
// from now on uses OpenGL ES.
std::vector<std::string> TakeGlesOption(std::vector<std::string> args);

// The option's line of the --help text.
extern const char kGlesUsage[];
