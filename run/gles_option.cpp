#include "run/gles_option.h"

#include <algorithm>

#include "platform/d3d9/d3d9_platform.h"

std::vector<std::string> TakeGlesOption(std::vector<std::string> args) {
    auto kept = std::remove(args.begin(), args.end(), std::string("--gles"));
    if (kept != args.end()) D3D9_SetGLApi(D3D9GLApi::Es3);
    args.erase(kept, args.end());
    return args;
}

const char kGlesUsage[] =
    "  --gles                render through OpenGL ES 3.0 (as far as WebGL 2 goes)\n"
    "                        with the shaders as GLSL ES 3.00\n";
