// Radial blur of sampler 0 towards the centre of the screen; c0.x is the
// strength (0 down to -0.2): the farthest of the 16 samples lies 0.35 of
// that fraction of the way in (7 % at the strongest), enough to rush the
// picture without losing it. Samples are blended by hand from the four texels
// round them and their spacing is dithered per pixel, so the blur is smooth
// whatever the sampler states, without rings or steps; at strength 0 the
// picture passes unchanged.
uniform sampler2D s0;
in vec2 texCoord;

vec3 Bilinear(vec2 at, ivec2 size) {
    vec2 p = at * vec2(size) - 0.5;
    vec2 f = fract(p);
    ivec2 i = ivec2(floor(p));
    ivec2 last = size - 1;
    vec3 a = texelFetch(s0, clamp(i, ivec2(0), last), 0).rgb;
    vec3 b = texelFetch(s0, clamp(i + ivec2(1, 0), ivec2(0), last), 0).rgb;
    vec3 d = texelFetch(s0, clamp(i + ivec2(0, 1), ivec2(0), last), 0).rgb;
    vec3 e = texelFetch(s0, clamp(i + ivec2(1, 1), ivec2(0), last), 0).rgb;
    return mix(mix(a, b, f.x), mix(d, e, f.x), f.y);
}

void main() {
    ivec2 size = textureSize(s0, 0);
    float amount = c[0].x;
    if (amount == 0.0) {
        oC0 = vec4(texelFetch(s0, ivec2(texCoord * vec2(size)), 0).rgb, 1.0);
        return;
    }
    const int kSamples = 16;
    float dither = fract(52.9829189 * fract(dot(gl_FragCoord.xy, vec2(0.06711056, 0.00583715))));
    vec2 fromCentre = texCoord - vec2(0.5);
    vec3 sum = vec3(0.0);
    for (int i = 0; i < kSamples; ++i) {
        float t = (float(i) + dither) / float(kSamples);
        sum += Bilinear(vec2(0.5) + fromCentre * (1.0 + 0.35 * amount * t), size);
    }
    oC0 = vec4(sum / float(kSamples), 1.0);
}
