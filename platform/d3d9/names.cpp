#include "platform/d3d9/names.h"

#include <cstdio>
#include <cstring>

namespace d3d9 {
namespace {

struct Name {
    DWORD value;
    const char* name;
};

template <size_t N>
std::string Lookup(const Name (&table)[N], DWORD value) {
    for (const Name& entry : table)
        if (entry.value == value) return entry.name;
    return std::to_string(value);
}

template <size_t N>
std::string Flags(const Name (&table)[N], DWORD flags) {
    if (flags == 0) return "0";
    std::string out;
    for (const Name& entry : table) {
        if ((flags & entry.value) == entry.value && entry.value != 0) {
            if (!out.empty()) out += '|';
            out += entry.name;
            flags &= ~entry.value;
        }
    }
    if (flags) {
        if (!out.empty()) out += '|';
        out += Hex(flags);
    }
    return out;
}

// The name tables are laid out by hand.
// clang-format off
#define N(x) {x, #x}
const Name kRenderStates[] = {
    N(D3DRS_ZENABLE), N(D3DRS_FILLMODE), N(D3DRS_SHADEMODE), N(D3DRS_ZWRITEENABLE), N(D3DRS_ALPHATESTENABLE),
    N(D3DRS_LASTPIXEL), N(D3DRS_SRCBLEND), N(D3DRS_DESTBLEND), N(D3DRS_CULLMODE), N(D3DRS_ZFUNC),
    N(D3DRS_ALPHAREF), N(D3DRS_ALPHAFUNC), N(D3DRS_DITHERENABLE), N(D3DRS_ALPHABLENDENABLE), N(D3DRS_FOGENABLE),
    N(D3DRS_SPECULARENABLE), N(D3DRS_FOGCOLOR), N(D3DRS_FOGTABLEMODE), N(D3DRS_FOGSTART), N(D3DRS_FOGEND),
    N(D3DRS_FOGDENSITY), N(D3DRS_RANGEFOGENABLE), N(D3DRS_STENCILENABLE), N(D3DRS_STENCILFAIL),
    N(D3DRS_STENCILZFAIL), N(D3DRS_STENCILPASS), N(D3DRS_STENCILFUNC), N(D3DRS_STENCILREF), N(D3DRS_STENCILMASK),
    N(D3DRS_STENCILWRITEMASK), N(D3DRS_TEXTUREFACTOR), N(D3DRS_WRAP0), N(D3DRS_CLIPPING), N(D3DRS_LIGHTING),
    N(D3DRS_AMBIENT), N(D3DRS_FOGVERTEXMODE), N(D3DRS_COLORVERTEX), N(D3DRS_LOCALVIEWER),
    N(D3DRS_NORMALIZENORMALS), N(D3DRS_DIFFUSEMATERIALSOURCE), N(D3DRS_SPECULARMATERIALSOURCE),
    N(D3DRS_AMBIENTMATERIALSOURCE), N(D3DRS_EMISSIVEMATERIALSOURCE), N(D3DRS_VERTEXBLEND),
    N(D3DRS_CLIPPLANEENABLE), N(D3DRS_POINTSIZE), N(D3DRS_MULTISAMPLEANTIALIAS), N(D3DRS_MULTISAMPLEMASK),
    N(D3DRS_COLORWRITEENABLE), N(D3DRS_BLENDOP), N(D3DRS_SCISSORTESTENABLE), N(D3DRS_SLOPESCALEDEPTHBIAS),
    N(D3DRS_TWOSIDEDSTENCILMODE), N(D3DRS_COLORWRITEENABLE1), N(D3DRS_BLENDFACTOR), N(D3DRS_SRGBWRITEENABLE),
    N(D3DRS_DEPTHBIAS), N(D3DRS_SEPARATEALPHABLENDENABLE), N(D3DRS_SRCBLENDALPHA), N(D3DRS_DESTBLENDALPHA),
    N(D3DRS_BLENDOPALPHA),
};
const Name kBools[] = {{0, "FALSE"}, {1, "TRUE"}};
const Name kFill[] = {N(D3DFILL_POINT), N(D3DFILL_WIREFRAME), N(D3DFILL_SOLID)};
const Name kCull[] = {N(D3DCULL_NONE), N(D3DCULL_CW), N(D3DCULL_CCW)};
const Name kCmp[] = {N(D3DCMP_NEVER), N(D3DCMP_LESS), N(D3DCMP_EQUAL), N(D3DCMP_LESSEQUAL),
                     N(D3DCMP_GREATER), N(D3DCMP_NOTEQUAL), N(D3DCMP_GREATEREQUAL), N(D3DCMP_ALWAYS)};
const Name kBlend[] = {N(D3DBLEND_ZERO), N(D3DBLEND_ONE), N(D3DBLEND_SRCCOLOR), N(D3DBLEND_INVSRCCOLOR),
                       N(D3DBLEND_SRCALPHA), N(D3DBLEND_INVSRCALPHA), N(D3DBLEND_DESTALPHA),
                       N(D3DBLEND_INVDESTALPHA), N(D3DBLEND_DESTCOLOR), N(D3DBLEND_INVDESTCOLOR),
                       N(D3DBLEND_SRCALPHASAT), N(D3DBLEND_BOTHSRCALPHA), N(D3DBLEND_BOTHINVSRCALPHA),
                       N(D3DBLEND_BLENDFACTOR), N(D3DBLEND_INVBLENDFACTOR)};
const Name kBlendOp[] = {N(D3DBLENDOP_ADD), N(D3DBLENDOP_SUBTRACT), N(D3DBLENDOP_REVSUBTRACT), N(D3DBLENDOP_MIN),
                         N(D3DBLENDOP_MAX)};
const Name kStencilOp[] = {N(D3DSTENCILOP_KEEP), N(D3DSTENCILOP_ZERO), N(D3DSTENCILOP_REPLACE),
                           N(D3DSTENCILOP_INCRSAT), N(D3DSTENCILOP_DECRSAT), N(D3DSTENCILOP_INVERT),
                           N(D3DSTENCILOP_INCR), N(D3DSTENCILOP_DECR)};
const Name kSamplerStates[] = {N(D3DSAMP_ADDRESSU), N(D3DSAMP_ADDRESSV), N(D3DSAMP_ADDRESSW),
                               N(D3DSAMP_BORDERCOLOR), N(D3DSAMP_MAGFILTER), N(D3DSAMP_MINFILTER),
                               N(D3DSAMP_MIPFILTER), N(D3DSAMP_MIPMAPLODBIAS), N(D3DSAMP_MAXMIPLEVEL),
                               N(D3DSAMP_MAXANISOTROPY), N(D3DSAMP_SRGBTEXTURE), N(D3DSAMP_ELEMENTINDEX),
                               N(D3DSAMP_DMAPOFFSET)};
const Name kAddress[] = {N(D3DTADDRESS_WRAP), N(D3DTADDRESS_MIRROR), N(D3DTADDRESS_CLAMP), N(D3DTADDRESS_BORDER),
                         N(D3DTADDRESS_MIRRORONCE)};
const Name kFilter[] = {N(D3DTEXF_NONE), N(D3DTEXF_POINT), N(D3DTEXF_LINEAR), N(D3DTEXF_ANISOTROPIC)};
const Name kStageStates[] = {
    N(D3DTSS_COLOROP), N(D3DTSS_COLORARG1), N(D3DTSS_COLORARG2), N(D3DTSS_ALPHAOP), N(D3DTSS_ALPHAARG1),
    N(D3DTSS_ALPHAARG2), N(D3DTSS_BUMPENVMAT00), N(D3DTSS_BUMPENVMAT01), N(D3DTSS_BUMPENVMAT10),
    N(D3DTSS_BUMPENVMAT11), N(D3DTSS_TEXCOORDINDEX), N(D3DTSS_BUMPENVLSCALE), N(D3DTSS_BUMPENVLOFFSET),
    N(D3DTSS_TEXTURETRANSFORMFLAGS), N(D3DTSS_COLORARG0), N(D3DTSS_ALPHAARG0), N(D3DTSS_RESULTARG),
    N(D3DTSS_CONSTANT)};
const Name kTextureOps[] = {N(D3DTOP_DISABLE), N(D3DTOP_SELECTARG1), N(D3DTOP_SELECTARG2), N(D3DTOP_MODULATE),
                            N(D3DTOP_MODULATE2X), N(D3DTOP_MODULATE4X), N(D3DTOP_ADD)};
const Name kTextureArgs[] = {N(D3DTA_DIFFUSE), N(D3DTA_CURRENT), N(D3DTA_TEXTURE), N(D3DTA_TFACTOR)};
const Name kPrimitives[] = {N(D3DPT_POINTLIST), N(D3DPT_LINELIST), N(D3DPT_LINESTRIP), N(D3DPT_TRIANGLELIST),
                            N(D3DPT_TRIANGLESTRIP), N(D3DPT_TRIANGLEFAN)};
const Name kTransformNames[] = {N(D3DTS_VIEW), N(D3DTS_PROJECTION), N(D3DTS_TEXTURE0), N(D3DTS_WORLD)};
const Name kFormats[] = {
    N(D3DFMT_UNKNOWN), N(D3DFMT_R8G8B8), N(D3DFMT_A8R8G8B8), N(D3DFMT_X8R8G8B8), N(D3DFMT_R5G6B5),
    N(D3DFMT_X1R5G5B5), N(D3DFMT_A1R5G5B5), N(D3DFMT_A4R4G4B4), N(D3DFMT_A8), N(D3DFMT_A8B8G8R8),
    N(D3DFMT_X8B8G8R8), N(D3DFMT_L8), N(D3DFMT_A8L8), N(D3DFMT_D32), N(D3DFMT_D24S8), N(D3DFMT_D24X8),
    N(D3DFMT_D16), N(D3DFMT_VERTEXDATA), N(D3DFMT_INDEX16), N(D3DFMT_INDEX32), N(D3DFMT_A16B16G16R16F),
    N(D3DFMT_R32F), N(D3DFMT_A32B32G32R32F), N(D3DFMT_DXT1), N(D3DFMT_DXT2), N(D3DFMT_DXT3), N(D3DFMT_DXT4),
    N(D3DFMT_DXT5)};
const Name kPools[] = {N(D3DPOOL_DEFAULT), N(D3DPOOL_MANAGED), N(D3DPOOL_SYSTEMMEM), N(D3DPOOL_SCRATCH)};
const Name kUsage[] = {N(D3DUSAGE_RENDERTARGET), N(D3DUSAGE_DEPTHSTENCIL), N(D3DUSAGE_WRITEONLY),
                       N(D3DUSAGE_DYNAMIC), N(D3DUSAGE_AUTOGENMIPMAP)};
const Name kClear[] = {N(D3DCLEAR_TARGET), N(D3DCLEAR_ZBUFFER), N(D3DCLEAR_STENCIL)};
const Name kLock[] = {N(D3DLOCK_READONLY), N(D3DLOCK_DISCARD), N(D3DLOCK_NOOVERWRITE)};
const Name kFvf[] = {N(D3DFVF_XYZ), N(D3DFVF_XYZRHW), N(D3DFVF_NORMAL), N(D3DFVF_DIFFUSE), N(D3DFVF_SPECULAR),
                     N(D3DFVF_TEX2), N(D3DFVF_TEX1)};
const Name kDeclTypes[] = {{D3DDECLTYPE_FLOAT1, "FLOAT1"},     {D3DDECLTYPE_FLOAT2, "FLOAT2"},
                           {D3DDECLTYPE_FLOAT3, "FLOAT3"},     {D3DDECLTYPE_FLOAT4, "FLOAT4"},
                           {D3DDECLTYPE_D3DCOLOR, "D3DCOLOR"}, {D3DDECLTYPE_UBYTE4, "UBYTE4"},
                           {D3DDECLTYPE_SHORT2, "SHORT2"},     {D3DDECLTYPE_SHORT4, "SHORT4"},
                           {D3DDECLTYPE_UBYTE4N, "UBYTE4N"},   {D3DDECLTYPE_SHORT2N, "SHORT2N"},
                           {D3DDECLTYPE_SHORT4N, "SHORT4N"},   {D3DDECLTYPE_USHORT2N, "USHORT2N"},
                           {D3DDECLTYPE_USHORT4N, "USHORT4N"}, {D3DDECLTYPE_UNUSED, "UNUSED"}};
const Name kDeclUsages[] = {{D3DDECLUSAGE_POSITION, "POSITION"},   {D3DDECLUSAGE_BLENDWEIGHT, "BLENDWEIGHT"},
                            {D3DDECLUSAGE_BLENDINDICES, "BLENDINDICES"}, {D3DDECLUSAGE_NORMAL, "NORMAL"},
                            {D3DDECLUSAGE_PSIZE, "PSIZE"},         {D3DDECLUSAGE_TEXCOORD, "TEXCOORD"},
                            {D3DDECLUSAGE_TANGENT, "TANGENT"},     {D3DDECLUSAGE_BINORMAL, "BINORMAL"},
                            {D3DDECLUSAGE_TESSFACTOR, "TESSFACTOR"}, {D3DDECLUSAGE_POSITIONT, "POSITIONT"},
                            {D3DDECLUSAGE_COLOR, "COLOR"},         {D3DDECLUSAGE_FOG, "FOG"},
                            {D3DDECLUSAGE_DEPTH, "DEPTH"},         {D3DDECLUSAGE_SAMPLE, "SAMPLE"}};
const Name kStateBlockTypes[] = {N(D3DSBT_ALL), N(D3DSBT_PIXELSTATE), N(D3DSBT_VERTEXSTATE)};
const Name kCubeFaces[] = {N(D3DCUBEMAP_FACE_POSITIVE_X), N(D3DCUBEMAP_FACE_NEGATIVE_X),
                           N(D3DCUBEMAP_FACE_POSITIVE_Y), N(D3DCUBEMAP_FACE_NEGATIVE_Y),
                           N(D3DCUBEMAP_FACE_POSITIVE_Z), N(D3DCUBEMAP_FACE_NEGATIVE_Z)};
#undef N
// clang-format on

}  // namespace

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

std::string Float(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Floats(const float* values, size_t count) {
    std::string out = "[";
    for (size_t i = 0; i < count; ++i) {
        if (i) out += ", ";
        out += Float(values[i]);
    }
    return out + "]";
}

std::string RenderStateName(DWORD state) { return Lookup(kRenderStates, state); }

std::string RenderStateValue(DWORD state, DWORD value) {
    switch (state) {
    case D3DRS_ZENABLE:
    case D3DRS_ZWRITEENABLE:
    case D3DRS_ALPHATESTENABLE:
    case D3DRS_LASTPIXEL:
    case D3DRS_DITHERENABLE:
    case D3DRS_ALPHABLENDENABLE:
    case D3DRS_FOGENABLE:
    case D3DRS_SPECULARENABLE:
    case D3DRS_RANGEFOGENABLE:
    case D3DRS_STENCILENABLE:
    case D3DRS_CLIPPING:
    case D3DRS_LIGHTING:
    case D3DRS_COLORVERTEX:
    case D3DRS_LOCALVIEWER:
    case D3DRS_NORMALIZENORMALS:
    case D3DRS_MULTISAMPLEANTIALIAS:
    case D3DRS_SCISSORTESTENABLE:
    case D3DRS_TWOSIDEDSTENCILMODE:
    case D3DRS_SRGBWRITEENABLE:
    case D3DRS_SEPARATEALPHABLENDENABLE: return Lookup(kBools, value);
    case D3DRS_FILLMODE: return Lookup(kFill, value);
    case D3DRS_CULLMODE: return Lookup(kCull, value);
    case D3DRS_ZFUNC:
    case D3DRS_ALPHAFUNC:
    case D3DRS_STENCILFUNC: return Lookup(kCmp, value);
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND:
    case D3DRS_SRCBLENDALPHA:
    case D3DRS_DESTBLENDALPHA: return Lookup(kBlend, value);
    case D3DRS_BLENDOP:
    case D3DRS_BLENDOPALPHA: return Lookup(kBlendOp, value);
    case D3DRS_STENCILFAIL:
    case D3DRS_STENCILZFAIL:
    case D3DRS_STENCILPASS: return Lookup(kStencilOp, value);
    case D3DRS_FOGCOLOR:
    case D3DRS_TEXTUREFACTOR:
    case D3DRS_AMBIENT:
    case D3DRS_BLENDFACTOR:
    case D3DRS_STENCILMASK:
    case D3DRS_STENCILWRITEMASK:
    case D3DRS_MULTISAMPLEMASK:
    case D3DRS_COLORWRITEENABLE:
    case D3DRS_COLORWRITEENABLE1: return Hex(value);
    case D3DRS_FOGSTART:
    case D3DRS_FOGEND:
    case D3DRS_FOGDENSITY:
    case D3DRS_POINTSIZE:
    case D3DRS_DEPTHBIAS:
    case D3DRS_SLOPESCALEDEPTHBIAS: {
        float f;
        std::memcpy(&f, &value, sizeof f);
        return Float(f) + "f";
    }
    default: return std::to_string(value);
    }
}

std::string SamplerStateName(DWORD type) { return Lookup(kSamplerStates, type); }

std::string SamplerStateValue(DWORD type, DWORD value) {
    switch (type) {
    case D3DSAMP_ADDRESSU:
    case D3DSAMP_ADDRESSV:
    case D3DSAMP_ADDRESSW: return Lookup(kAddress, value);
    case D3DSAMP_MAGFILTER:
    case D3DSAMP_MINFILTER:
    case D3DSAMP_MIPFILTER: return Lookup(kFilter, value);
    case D3DSAMP_BORDERCOLOR: return Hex(value);
    case D3DSAMP_MIPMAPLODBIAS: {
        float f;
        std::memcpy(&f, &value, sizeof f);
        return Float(f) + "f";
    }
    default: return std::to_string(value);
    }
}

std::string StageStateName(DWORD type) { return Lookup(kStageStates, type); }

std::string StageStateValue(DWORD type, DWORD value) {
    switch (type) {
    case D3DTSS_COLOROP:
    case D3DTSS_ALPHAOP: return Lookup(kTextureOps, value);
    case D3DTSS_COLORARG0:
    case D3DTSS_COLORARG1:
    case D3DTSS_COLORARG2:
    case D3DTSS_ALPHAARG0:
    case D3DTSS_ALPHAARG1:
    case D3DTSS_ALPHAARG2:
    case D3DTSS_RESULTARG: return Lookup(kTextureArgs, value);
    case D3DTSS_CONSTANT: return Hex(value);
    default: return std::to_string(value);
    }
}

std::string PrimitiveName(DWORD type) { return Lookup(kPrimitives, type); }
std::string TransformName(DWORD state) { return Lookup(kTransformNames, state); }
std::string FormatName(DWORD format) { return Lookup(kFormats, format); }
std::string PoolName(DWORD pool) { return Lookup(kPools, pool); }
std::string UsageFlags(DWORD usage) { return Flags(kUsage, usage); }
std::string ClearFlags(DWORD flags) { return Flags(kClear, flags); }
std::string LockFlags(DWORD flags) { return Flags(kLock, flags); }
std::string FvfFlags(DWORD fvf) { return Flags(kFvf, fvf); }
std::string DeclTypeName(DWORD type) { return Lookup(kDeclTypes, type); }
std::string DeclUsageName(DWORD usage) { return Lookup(kDeclUsages, usage); }
std::string StateBlockTypeName(DWORD type) { return Lookup(kStateBlockTypes, type); }
std::string CubeFaceName(DWORD face) { return Lookup(kCubeFaces, face); }

}  // namespace d3d9
