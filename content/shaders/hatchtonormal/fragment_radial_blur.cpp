// Radial blur of sampler 0 towards the centre of the screen; c0.x is the
// strength (0 down to -0.2). Each of the 8 samples reads the nearest texel
// whole (an unfiltered read costs a software rasteriser about half a
// bilinear one; the blur hides the difference); their spacing is dithered
// per pixel, so the blur has no rings or steps. The farthest sample lies 0.15
// of the strength of the way in (3 % at the strongest) and the samples weigh
// less the farther they lie, so the picture rushes without losing the
// island's shapes; at strength 0 the picture passes unchanged.
// About 60 instructions, 8 texel fetches (1 filtered fetch at strength 0).
uniform sampler2D s0;
in vec2 texCoord;

void main() {
    float amount = c[0].x;
    if (amount == 0.0) {
        oC0 = vec4(texture(s0, texCoord).rgb, 1.0);
        return;
    }
    const int kSamples = 8;
    vec2 size = vec2(textureSize(s0, 0));
    float dither = fract(52.9829189 * fract(dot(gl_FragCoord.xy, vec2(0.06711056, 0.00583715))));
    vec2 fromCentre = texCoord - vec2(0.5);
    vec3 sum = vec3(0.0);
    float weights = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        float t = (float(i) + dither) / float(kSamples);
        float weight = 1.0 - 0.7 * t;
        sum += weight * texelFetch(s0, ivec2((vec2(0.5) + fromCentre * (1.0 + 0.15 * amount * t)) * size), 0).rgb;
        weights += weight;
    }
    oC0 = vec4(sum / weights, 1.0);
}
