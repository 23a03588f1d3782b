// The globe, hatched over its shading. c0 = earthVector is not read: the
// strokes draw light and shade, which stay put while the globe turns under
// them, on the picture plane (`paper`, from the vertex shader). Samplers 0-5
// hold Hatch0 (light) to Hatch5 (dark); only 0-2 are filtered by this scene
// (stages 3-5 keep the start-up point sampling without mip levels, which
// would shimmer), so the three darkest tones are cross-hatched from the
// first three turned most of a quarter round.
//
// Blended as source x source colour + destination x source alpha: alpha
// darkens the shaded globe under graphite strokes on the day side, and on
// the night side the colour adds light strokes, like white pencil on dark
// paper.
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
in vec3 normal;
in vec3 toEye;
in vec3 toSun;
in vec2 paper;

const vec3 kChalk = vec3(0.55, 0.62, 0.78);
const vec3 kPaper = vec3(0.965, 0.955, 0.925);

// Paper value (1 white .. 0 graphite) of the hatching for a tone 0..1.
float Hatching(float tone, vec2 at) {
    vec2 across = vec2(at.x * 0.259 + at.y * 0.966, at.y * 0.259 - at.x * 0.966) * 1.13 + vec2(0.37, 0.61);
    float level = clamp(tone, 0.0, 1.0) * 6.0;
    float t0 = texture(s0, at).r;
    float t1 = texture(s1, at).r;
    float t2 = texture(s2, at).r;
    float paper = mix(1.0, t0, clamp(level, 0.0, 1.0));
    paper = mix(paper, t1, clamp(level - 1.0, 0.0, 1.0));
    paper = mix(paper, t2, clamp(level - 2.0, 0.0, 1.0));
    paper = mix(paper, t2 * texture(s0, across).r, clamp(level - 3.0, 0.0, 1.0));
    paper = mix(paper, t2 * texture(s1, across).r, clamp(level - 4.0, 0.0, 1.0));
    paper = mix(paper, t2 * texture(s2, across).r, clamp(level - 5.0, 0.0, 1.0));
    return paper;
}

void main() {
    vec2 at = paper;

    vec3 n = normalize(normal);
    vec3 v = normalize(toEye);
    float facing = dot(n, normalize(toSun));
    float day = smoothstep(-0.12, 0.22, facing);
    float rim = 1.0 - smoothstep(0.0, 0.45, dot(n, v));

    // Day: the less light, the more strokes; the limb drawn round.
    float dayTone = clamp(0.9 * pow(1.0 - clamp(facing, 0.0, 1.0), 1.6) + 0.12 + 0.3 * rim, 0.0, 1.0);
    float graphite = 1.0 - Hatching(dayTone, at);
    float darken = 1.0 - graphite * 0.6 * day;
    // A thin wash of paper over the day side, as if the colour were laid on it.
    float wash = 0.1 * day;

    // Night: light strokes, thicker towards the terminator and the limb.
    float nightTone = clamp(0.12 + 0.3 * smoothstep(-0.6, 0.0, facing) + 0.2 * rim, 0.0, 0.45);
    float chalk = (1.0 - Hatching(nightTone, at + vec2(0.5, 0.25))) * (1.0 - day);

    oC0 = vec4(sqrt(kChalk * chalk * 0.32 + kPaper * wash), darken * (1.0 - wash));
}
