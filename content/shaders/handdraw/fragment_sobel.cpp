// Turns a sketch sheet (see fragment_handdraw.cpp: r smooth tone, g pencil
// strokes, a log distance, white paper everywhere nothing was drawn) into the
// pencil picture: Sobel filters on the tone and on the distance find the
// outlines, crests and the edge of the beach, which are drawn as firm pencil
// lines over the strokes and a light smudge of the tone, on paper with a
// fine tooth that does not move with the scene.
// Sampler 0: the sheet, one texel per pixel of the target.
// Writes the picture in rgb and how much pencil line lies on the pixel in a.
// About 60 instructions, 9 texel fetches (unfiltered).
uniform sampler2D s0;
in vec2 texCoord;

const vec3 kPaper = vec3(0.985, 0.98, 0.965);
const vec3 kGraphite = vec3(0.17, 0.18, 0.21);

#include "noise.glsl"

void main() {
    // The 3 x 3 block round the pixel, read texel by texel (unfiltered reads,
    // whatever the stage's filter, the edge texels repeated).
    ivec2 size = textureSize(s0, 0);
    ivec2 at = ivec2(texCoord * vec2(size));
    ivec2 last = size - 1;
    vec4 nw = texelFetch(s0, clamp(at + ivec2(-1, -1), ivec2(0), last), 0);
    vec4 n = texelFetch(s0, clamp(at + ivec2(0, -1), ivec2(0), last), 0);
    vec4 ne = texelFetch(s0, clamp(at + ivec2(1, -1), ivec2(0), last), 0);
    vec4 w = texelFetch(s0, clamp(at + ivec2(-1, 0), ivec2(0), last), 0);
    vec4 middle = texelFetch(s0, clamp(at, ivec2(0), last), 0);
    vec4 e = texelFetch(s0, clamp(at + ivec2(1, 0), ivec2(0), last), 0);
    vec4 sw = texelFetch(s0, clamp(at + ivec2(-1, 1), ivec2(0), last), 0);
    vec4 s = texelFetch(s0, clamp(at + ivec2(0, 1), ivec2(0), last), 0);
    vec4 se = texelFetch(s0, clamp(at + ivec2(1, 1), ivec2(0), last), 0);

    vec4 gx = ((ne + 2.0 * e + se) - (nw + 2.0 * w + sw)) / 8.0;
    vec4 gy = ((sw + 2.0 * s + se) - (nw + 2.0 * n + ne)) / 8.0;
    float toneEdge = length(vec2(gx.r, gy.r));
    float depthEdge = length(vec2(gx.a, gy.a));

    // Paper tooth: graphite catches on the high points of the paper (a grain
    // of two pixels and one of one, a hash each).
    vec2 pixel = vec2(at);
    float tooth = 0.6 * Hash(floor(pixel * 0.5)) + 0.4 * Hash(pixel + 17.0);

    float line = max(smoothstep(0.018, 0.06, toneEdge), smoothstep(0.004, 0.016, depthEdge));
    line *= 0.8 + 0.2 * tooth;
    float strokes = (1.0 - middle.g) * (0.7 + 0.3 * tooth);
    float smudge = 0.22 * (1.0 - middle.r);
    float cover = 1.0 - (1.0 - line) * (1.0 - strokes) * (1.0 - smudge);

    vec3 paper = kPaper * (0.975 + 0.025 * tooth);
    oC0 = vec4(mix(paper, kGraphite, cover), line);
}
