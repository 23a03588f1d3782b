// Turns a sketch sheet (see fragment_handdraw.cpp: r smooth tone, g pencil
// strokes, a log distance, white paper everywhere nothing was drawn) into the
// pencil picture: Sobel filters on the tone and on the distance find the
// outlines, crests and the edge of the beach, which are drawn as firm pencil
// lines over the strokes and a light smudge of the tone, on paper with a
// fine tooth that does not move with the scene.
// Sampler 0: the sheet, clamped, one texel per pixel of the target.
// Writes the picture in rgb and how much pencil line lies on the pixel in a.
uniform sampler2D s0;
in vec2 texCoord;

const vec3 kPaper = vec3(0.985, 0.98, 0.965);
const vec3 kGraphite = vec3(0.17, 0.18, 0.21);

#include "noise.glsl"

void main() {
    vec2 texel = 1.0 / vec2(textureSize(s0, 0));
    vec4 nw = texture(s0, texCoord + vec2(-1.0, -1.0) * texel);
    vec4 n = texture(s0, texCoord + vec2(0.0, -1.0) * texel);
    vec4 ne = texture(s0, texCoord + vec2(1.0, -1.0) * texel);
    vec4 w = texture(s0, texCoord + vec2(-1.0, 0.0) * texel);
    vec4 middle = texture(s0, texCoord);
    vec4 e = texture(s0, texCoord + vec2(1.0, 0.0) * texel);
    vec4 sw = texture(s0, texCoord + vec2(-1.0, 1.0) * texel);
    vec4 s = texture(s0, texCoord + vec2(0.0, 1.0) * texel);
    vec4 se = texture(s0, texCoord + vec2(1.0, 1.0) * texel);

    vec4 gx = ((ne + 2.0 * e + se) - (nw + 2.0 * w + sw)) / 8.0;
    vec4 gy = ((sw + 2.0 * s + se) - (nw + 2.0 * n + ne)) / 8.0;
    float toneEdge = length(vec2(gx.r, gy.r));
    float depthEdge = length(vec2(gx.a, gy.a));

    // Paper tooth: graphite catches on the high points of the paper.
    vec2 pixel = texCoord / texel;
    float tooth = 0.6 * Noise(pixel * 0.55) + 0.4 * Noise(pixel * 1.7 + 17.0);

    float line = max(smoothstep(0.018, 0.06, toneEdge), smoothstep(0.004, 0.016, depthEdge));
    line *= 0.8 + 0.2 * tooth;
    float strokes = (1.0 - middle.g) * (0.7 + 0.3 * tooth);
    float smudge = 0.22 * (1.0 - middle.r);
    float cover = 1.0 - (1.0 - line) * (1.0 - strokes) * (1.0 - smudge);

    vec3 paper = kPaper * (0.975 + 0.025 * tooth);
    oC0 = vec4(mix(paper, kGraphite, cover), line);
}
