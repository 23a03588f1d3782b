// The D3DX 9 stand-in, all of it.
#pragma once

#include "platform/d3dx9/d3dx9core.h"
#include "platform/d3dx9/d3dx9math.h"
#include "platform/d3dx9/d3dx9mesh.h"
#include "platform/d3dx9/d3dx9shader.h"
#include "platform/d3dx9/d3dx9tex.h"
