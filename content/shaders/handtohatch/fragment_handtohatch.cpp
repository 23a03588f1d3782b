// The island in pencil hatching, and its pencil sketch beside it.
// c0 = (sketch level, time, -, -); samplers 0-5 the hatch tones Hatch0 (light)
// to Hatch5 (dark); sampler 0 is left clamped by the previous post pass, so
// every tone is read with its coordinates wrapped here and its gradients
// given explicitly.
//
// Colour 0, the hatching: the light on the ground picks a tone between bare
// paper and Hatch5, blending the two nearest. The sketch level (falling 2 a
// second, and faster on every loud beat of the music's band 40) darkens the
// tones as it falls, so the hatching fills in over the first seconds of the
// scene, and moves the strokes to a new place whenever it passes a step, as
// if the hatching were drawn again: the music sets the pace of the redrawing.
// Colour 1, the sketch sheet of fragment_handdraw.cpp (r, b smooth tone, g
// strokes, a log distance) from the ground's shape and height alone, so that
// fragment_sobel.cpp gives back the sketch of the scene before.
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
uniform sampler2D s3;
uniform sampler2D s4;
uniform sampler2D s5;
in vec2 uv;
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 eyePosition;

const vec3 kSun = vec3(0.5, 0.62, 0.6);
const vec2 kPeak = vec2(-10.0, -8.0);
const float kSeaLevel = -3.0;
const float kHatchTile = 7.0;     // world units a hatch tile covers
const float kRedrawStep = 1.5;    // sketch-level step between two redrawings

float Hash(vec2 p) {
    vec3 q = fract(vec3(p.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

float Noise(vec2 p) {
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    return mix(mix(Hash(i), Hash(i + vec2(1.0, 0.0)), u.x), mix(Hash(i + vec2(0.0, 1.0)), Hash(i + vec2(1.0, 1.0)), u.x),
               u.y);
}

float Strokes(float phase, float footprint, float widthPixels) {
    footprint = max(footprint, 1.0e-4);
    float pixelsToLine = (0.5 - abs(fract(phase) - 0.5)) / footprint;
    float line = clamp(0.5 * widthPixels - pixelsToLine + 0.5, 0.0, 1.0);
    float mean = clamp(widthPixels * footprint, 0.0, 1.0);
    return mix(line, mean, smoothstep(0.2, 0.45, footprint));
}

// Tone k of the ladder: 0 is bare paper, 1 to 6 are Hatch0 to Hatch5.
float Tone(int k, vec2 p, vec2 dx, vec2 dy) {
    vec2 q = fract(p);
    if (k <= 0) return 1.0;
    if (k == 1) return textureGrad(s0, q, dx, dy).r;
    if (k == 2) return textureGrad(s1, q, dx, dy).r;
    if (k == 3) return textureGrad(s2, q, dx, dy).r;
    if (k == 4) return textureGrad(s3, q, dx, dy).r;
    if (k == 5) return textureGrad(s4, q, dx, dy).r;
    return textureGrad(s5, q, dx, dy).r;
}

// Hatching of `darkness` (0 paper .. 1 the darkest tone) in one projection.
float Hatching(float darkness, vec2 p) {
    vec2 dx = dFdx(p);
    vec2 dy = dFdy(p);
    float ladder = clamp(darkness, 0.0, 1.0) * 6.0;
    int k = int(floor(ladder));
    float between = ladder - float(k);
    return mix(Tone(k, p, dx, dy), Tone(k + 1, p, dx, dy), between);
}

// A rough colour of the ground from its height and steepness (sand on the
// shore, rock on steep and high ground, grass elsewhere, weed below the water).
float GroundShade(vec3 p, vec3 n) {
    float rock = max(smoothstep(0.28, 0.5, 1.0 - n.y), smoothstep(21.0, 27.0, p.y));
    float sand = (1.0 - smoothstep(-1.6, 0.4, p.y)) * (1.0 - rock);
    float shade = mix(mix(0.40, 0.73, sand), 0.47, rock);
    return mix(shade, 0.30, clamp((kSeaLevel - 0.3 - p.y) / 6.0, 0.0, 1.0));
}

void main() {
    float sketchLevel = c[0].x;
    vec3 n = normalize(worldNormal);
    vec3 sun = normalize(kSun);
    float above = smoothstep(kSeaLevel - 1.5, kSeaLevel + 1.0, worldPosition.y);
    float albedo = GroundShade(worldPosition, n);
    float broadLight = clamp((dot(n, sun) + 0.25) / 1.25, 0.0, 1.0);

    // Colour 0: hatching in the plane that faces the ground best.
    float fill = clamp((15.0 - sketchLevel) / 24.0, 0.0, 1.0);
    float darkness = (1.0 - broadLight * mix(0.8, 1.2, albedo)) * mix(0.6, 1.05, fill);
    float redraw = floor(sketchLevel / kRedrawStep);
    vec2 shift = vec2(Hash(vec2(redraw, 3.0)), Hash(vec2(redraw, 11.0)));
    vec3 weights = pow(abs(n), vec3(6.0));
    weights /= weights.x + weights.y + weights.z;
    vec3 p = worldPosition / kHatchTile;
    float hatch = weights.y * Hatching(darkness, p.xz + shift);
    hatch += weights.x * Hatching(darkness, p.zy + shift.yx);
    hatch += weights.z * Hatching(darkness, p.xy + shift);
    oC0 = vec4(vec3(mix(1.0, hatch, above)), 1.0);

    // Colour 1: the sketch sheet.
    float light = clamp((dot(n, sun) + 0.2) / 1.2, 0.0, 1.0);
    float sketchDarkness = clamp(1.0 - light * mix(0.75, 1.15, albedo), 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * mix(0.8, 1.1, albedo);
    vec2 ground = worldPosition.xz;
    float wobble = Noise(ground * 0.35) - 0.5;
    float dashes = smoothstep(0.25, 0.55, Noise(ground * 0.9 + wobble));
    float contourPhase = worldPosition.y / 0.9 + 0.6 * wobble;
    float contour = Strokes(contourPhase, fwidth(contourPhase),
                            2.2 * smoothstep(0.12, 0.55, sketchDarkness) * mix(0.4, 1.0, dashes));
    vec2 fromPeak = ground - kPeak;
    float radius = max(length(fromPeak), 1.0e-3);
    float around = atan(fromPeak.y, fromPeak.x) * (96.0 / 6.2831853) + 0.8 * wobble;
    float aroundFootprint = (fwidth(ground.x) + fwidth(ground.y)) / radius * (96.0 / 6.2831853);
    float downhill = Strokes(around, aroundFootprint, 1.8 * smoothstep(0.42, 0.75, sketchDarkness));
    downhill *= smoothstep(3.0, 9.0, radius);
    float crossPhase = dot(ground, vec2(0.62, 0.78)) / 0.8 + 0.5 * wobble;
    float crossHatch = Strokes(crossPhase, fwidth(crossPhase), 1.6 * smoothstep(0.62, 0.9, sketchDarkness));
    float graphite = 1.0 - (1.0 - 0.85 * contour) * (1.0 - 0.7 * downhill) * (1.0 - 0.75 * crossHatch);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);
    float tone = mix(1.0, smoothTone, above);
    oC1 = vec4(tone, 1.0 - graphite * above, tone, mix(1.0, depthCode, above));
}
