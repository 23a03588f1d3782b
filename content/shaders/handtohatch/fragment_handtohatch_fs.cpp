// Final picture of the hatching scene: the sketch gives way to the hatching.
// Sampler 0: the hatched scene (the screen texture). Sampler 1: the sketch of
// the scene drawn by fragment_sobel.cpp, its pencil lines' cover in alpha.
// c0.x: how far the change has come, 0 to 1 (the rest of c0 is not used).
// The hatching comes in patch by patch, as if drawn over the sketch, and
// keeps the sketch's outlines on top of it.
// About 90 instructions, 2 texture fetches.
uniform sampler2D s0;
uniform sampler2D s1;
in vec2 texCoord;

const vec3 kGraphite = vec3(0.17, 0.18, 0.21);
const vec3 kPaper = vec3(0.985, 0.98, 0.965);

#include "noise.glsl"

void main() {
    vec2 size = vec2(textureSize(s0, 0));
    vec2 pixel = texCoord * size;
    vec4 sketch = texture(s1, texCoord);
    float hatch = texture(s0, texCoord).r;

    // Same paper and tooth as the sketch.
    vec2 grain = floor(pixel);
    float tooth = 0.6 * Hash(floor(grain * 0.5)) + 0.4 * Hash(grain + 17.0);
    vec3 paper = kPaper * (0.975 + 0.025 * tooth);
    float cover = 1.0 - (1.0 - (1.0 - hatch) * (0.75 + 0.25 * tooth)) * (1.0 - sketch.a);
    vec3 hatched = mix(paper, kGraphite, cover);

    // Patches a fifth of the screen high, drawn in over the first seconds.
    float patchLevel = Noise(pixel / (size.y * 0.2));
    float reach = clamp(c[0].x, 0.0, 1.0) * 1.4 - 0.2;
    float amount = smoothstep(patchLevel - 0.2, patchLevel + 0.2, reach);
    oC0 = vec4(mix(sketch.rgb, hatched, amount), 1.0);
}
