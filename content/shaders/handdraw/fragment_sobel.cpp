// Turns a sketch sheet (see fragment_handdraw.cpp: r smooth tone, g pencil
// strokes, a log distance, white paper everywhere nothing was drawn) into the
// pencil picture: Sobel filters on the tone and on the distance find the
// outlines, crests and the edge of the beach, which are drawn as firm pencil
// lines over the strokes and a light smudge of the tone, on paper with a
// fine tooth that does not move with the scene.
// Sampler 0: the sheet, clamped and filtered linearly (as the start-up
// states leave it), one texel per pixel of the target.
// Writes the picture in rgb and how much pencil line lies on the pixel in a.
// About 45 instructions, 5 texture fetches.
uniform sampler2D s0;
in vec2 texCoord;

const vec3 kPaper = vec3(0.985, 0.98, 0.965);
const vec3 kGraphite = vec3(0.17, 0.18, 0.21);

#include "noise.glsl"

void main() {
    vec2 texel = 1.0 / vec2(textureSize(s0, 0));
    // Four filtered reads between the texels each average a 2 x 2 block:
    // their differences are the Sobel filters of the 3 x 3 block exactly.
    vec4 nw = texture(s0, texCoord + vec2(-0.5, -0.5) * texel);
    vec4 ne = texture(s0, texCoord + vec2(0.5, -0.5) * texel);
    vec4 sw = texture(s0, texCoord + vec2(-0.5, 0.5) * texel);
    vec4 se = texture(s0, texCoord + vec2(0.5, 0.5) * texel);
    vec4 middle = texture(s0, texCoord);

    vec4 gx = ((ne + se) - (nw + sw)) * 0.5;
    vec4 gy = ((sw + se) - (nw + ne)) * 0.5;
    float toneEdge = length(vec2(gx.r, gy.r));
    float depthEdge = length(vec2(gx.a, gy.a));

    // Paper tooth: graphite catches on the high points of the paper (a grain
    // of two pixels and one of one, a hash each).
    vec2 pixel = floor(texCoord / texel);
    float tooth = 0.6 * Hash(floor(pixel * 0.5)) + 0.4 * Hash(pixel + 17.0);

    float line = max(smoothstep(0.018, 0.06, toneEdge), smoothstep(0.004, 0.016, depthEdge));
    line *= 0.8 + 0.2 * tooth;
    float strokes = (1.0 - middle.g) * (0.7 + 0.3 * tooth);
    float smudge = 0.22 * (1.0 - middle.r);
    float cover = 1.0 - (1.0 - line) * (1.0 - strokes) * (1.0 - smudge);

    vec3 paper = kPaper * (0.975 + 0.025 * tooth);
    oC0 = vec4(mix(paper, kGraphite, cover), line);
}
