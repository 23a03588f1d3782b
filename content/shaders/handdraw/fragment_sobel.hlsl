// Turns a sketch sheet (see fragment_handdraw.cpp: r smooth tone, g pencil
// strokes, a log distance, white paper everywhere nothing was drawn) into the
// pencil picture: Sobel filters on the tone and on the distance find the
// outlines, crests and the edge of the beach, which are drawn as firm pencil
// lines over the strokes and a light smudge of the tone, on paper with a
// fine tooth that does not move with the scene.
// Sampler 0: the sheet, one texel per pixel of the target, whose texel
// vertex_fs.cpp hands over.
// Writes the picture in rgb and how much pencil line lies on the pixel in a.
// About 60 instructions, 9 texel fetches (unfiltered).
sampler2D s0 : register(s0);

static const float3 kPaper = float3(0.985, 0.98, 0.965);
static const float3 kGraphite = float3(0.17, 0.18, 0.21);

#include "noise.hlsl"

// The texel of the sheet at `at` (whole texels, the edge ones repeated), read
// at its centre, where every filter gives the texel itself.
float4 Texel(float2 at, float2 texel) {
    float2 last = floor(1.0 / texel + 0.5) - 1.0;
    return tex2Dlod(s0, float4((clamp(at, 0.0, last) + 0.5) * texel, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    // The 3 x 3 block round the pixel, read texel by texel.
    float2 at = vpos;
    float4 nw = Texel(at + float2(-1.0, -1.0), texel);
    float4 n = Texel(at + float2(0.0, -1.0), texel);
    float4 ne = Texel(at + float2(1.0, -1.0), texel);
    float4 w = Texel(at + float2(-1.0, 0.0), texel);
    float4 middle = Texel(at, texel);
    float4 e = Texel(at + float2(1.0, 0.0), texel);
    float4 sw = Texel(at + float2(-1.0, 1.0), texel);
    float4 s = Texel(at + float2(0.0, 1.0), texel);
    float4 se = Texel(at + float2(1.0, 1.0), texel);

    float4 gx = ((ne + 2.0 * e + se) - (nw + 2.0 * w + sw)) / 8.0;
    float4 gy = ((sw + 2.0 * s + se) - (nw + 2.0 * n + ne)) / 8.0;
    float toneEdge = length(float2(gx.r, gy.r));
    float depthEdge = length(float2(gx.a, gy.a));

    // Paper tooth: graphite catches on the high points of the paper (a grain
    // of two pixels and one of one, a hash each).
    float2 pixel = at;
    float tooth = 0.6 * Hash(floor(pixel * 0.5)) + 0.4 * Hash(pixel + 17.0);

    float ink = max(smoothstep(0.018, 0.06, toneEdge), smoothstep(0.004, 0.016, depthEdge));
    ink *= 0.8 + 0.2 * tooth;
    float strokes = (1.0 - middle.g) * (0.7 + 0.3 * tooth);
    float smudge = 0.22 * (1.0 - middle.r);
    float cover = 1.0 - (1.0 - ink) * (1.0 - strokes) * (1.0 - smudge);

    float3 paper = kPaper * (0.975 + 0.025 * tooth);
    oC0 = float4(lerp(paper, kGraphite, cover), ink);
}
