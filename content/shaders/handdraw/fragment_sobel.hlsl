// Turns a sketch sheet (see fragment_handdraw.cpp: r smooth tone, g pencil
// strokes, a log distance, white paper everywhere nothing was drawn) into the
// pencil picture: edge filters on the tone and on the distance find the
// outlines, crests and the edge of the beach, which are drawn as firm pencil
// lines over the strokes and a light smudge of the tone, on paper with a
// fine tooth that does not move with the scene.
// Sampler 0: the sheet, one texel per pixel of the target, whose texel
// vertex_fs.cpp hands over, in clamp addressing (both scenes set it), so the
// edge texels repeat beyond the sheet. The edges come from the four diagonal
// neighbours: Sobel's kernels without the row (across) or the column (down)
// through the pixel, the same response to a step and to a slope (lines two
// pixels wide) from 4 reads instead of 8. Every read lies on a texel centre,
// where the point filter of the sketch scene and the linear filter of the
// hatching scene give the same texel.
// Writes the picture in rgb and how much pencil line lies on the pixel in a.
// About 50 instructions, 5 texel fetches.
sampler2D s0 : register(s0);

static const float3 kPaper = float3(0.985, 0.98, 0.965);
static const float3 kGraphite = float3(0.17, 0.18, 0.21);

#include "noise.hlsl"

float4 Texel(float2 texCoord, float2 offset, float2 texel) {
    return tex2Dlod(s0, float4(texCoord + offset * texel, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float4 nw = Texel(texCoord, float2(-1.0, -1.0), texel);
    float4 ne = Texel(texCoord, float2(1.0, -1.0), texel);
    float4 middle = Texel(texCoord, float2(0.0, 0.0), texel);
    float4 sw = Texel(texCoord, float2(-1.0, 1.0), texel);
    float4 se = Texel(texCoord, float2(1.0, 1.0), texel);

    float4 gx = ((ne + se) - (nw + sw)) / 4.0;
    float4 gy = ((sw + se) - (nw + ne)) / 4.0;
    float toneEdge = length(float2(gx.r, gy.r));
    float depthEdge = length(float2(gx.a, gy.a));

    // Paper tooth: graphite catches on the high points of the paper (a grain
    // of two pixels and one of one, a hash each).
    float2 pixel = vpos;
    float tooth = 0.6 * Hash(floor(pixel * 0.5)) + 0.4 * Hash(pixel + 17.0);

    float ink = max(smoothstep(0.018, 0.06, toneEdge), smoothstep(0.004, 0.016, depthEdge));
    ink *= 0.8 + 0.2 * tooth;
    float strokes = (1.0 - middle.g) * (0.7 + 0.3 * tooth);
    float smudge = 0.22 * (1.0 - middle.r);
    float cover = 1.0 - (1.0 - ink) * (1.0 - strokes) * (1.0 - smudge);

    float3 paper = kPaper * (0.975 + 0.025 * tooth);
    oC0 = float4(lerp(paper, kGraphite, cover), ink);
}
