// The island as a pencil sketch on white paper. Writes a sketch sheet that
// fragment_sobel.cpp turns into the picture:
//   r, b  the smooth tone (light on the broad form and the blurred colour map,
//         no strokes, no fine bumps): the edge finder draws its lines where
//         this tone turns sharply (crests, the edge of the beach);
//   g     the pencil strokes, 1 for bare paper, lower for graphite;
//   a     the distance from the eye, log-scaled (1 is paper): the edge finder
//         draws outlines where it jumps.
// Strokes lie in world space so they stay on the ground as the camera moves:
// contour strokes along the level lines of the height, then strokes running
// downhill from the peak, then a diagonal cross-hatch, each family coming in
// as the ground turns from the sun; the fine bumps of the normal map bend the
// light that chooses them. Below the water line the sketch thins out to paper.
// Samplers: 0 island colour, 1 island normal map (tangent space).
uniform sampler2D s0;
uniform sampler2D s1;
in vec2 uv;
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 worldBinormal;
in vec3 eyePosition;

const vec3 kSun = vec3(0.5, 0.62, 0.6);
const vec2 kPeak = vec2(-10.0, -8.0);
const float kSeaLevel = -3.0;

float Hash(vec2 p) {
    vec3 q = fract(vec3(p.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

float Noise(vec2 p) {
    vec2 i = floor(p);
    vec2 f = fract(p);
    vec2 u = f * f * (3.0 - 2.0 * f);
    float a = Hash(i);
    float b = Hash(i + vec2(1.0, 0.0));
    float d = Hash(i + vec2(0.0, 1.0));
    float e = Hash(i + vec2(1.0, 1.0));
    return mix(mix(a, b, u.x), mix(d, e, u.x), u.y);
}

// Coverage of a family of parallel strokes whose centre lines are the whole
// numbers of `phase`, each `widthPixels` wide on the screen like a pencil
// line; `footprint` is how far `phase` moves across one pixel. Where the
// strokes come closer than a few pixels they fade to their mean cover.
float Strokes(float phase, float footprint, float widthPixels) {
    footprint = max(footprint, 1.0e-4);
    float pixelsToLine = (0.5 - abs(fract(phase) - 0.5)) / footprint;
    float line = clamp(0.5 * widthPixels - pixelsToLine + 0.5, 0.0, 1.0);
    float mean = clamp(widthPixels * footprint, 0.0, 1.0);
    return mix(line, mean, smoothstep(0.2, 0.45, footprint));
}

void main() {
    vec3 n = normalize(worldNormal);
    vec3 t = normalize(worldTangent);
    vec3 b = normalize(worldBinormal);
    vec3 bump = texture(s1, uv).xyz * 2.0 - 1.0;
    vec3 detailNormal = normalize(t * bump.x + b * bump.y + n * max(bump.z, 0.2));
    vec3 sun = normalize(kSun);

    // Broad light and colour: what the edge finder sees.
    float albedo = dot(texture(s0, uv, 4.0).rgb, vec3(0.3, 0.55, 0.15));
    float broadLight = clamp((dot(n, sun) + 0.25) / 1.25, 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * mix(0.8, 1.1, albedo);

    // Fine light and colour: what chooses the strokes.
    float fineAlbedo = dot(texture(s0, uv).rgb, vec3(0.3, 0.55, 0.15));
    float light = clamp((dot(detailNormal, sun) + 0.2) / 1.2, 0.0, 1.0);
    float darkness = clamp(1.0 - light * mix(0.75, 1.15, fineAlbedo), 0.0, 1.0);

    vec2 ground = worldPosition.xz;
    float wobble = Noise(ground * 0.35) - 0.5;
    float dashes = smoothstep(0.25, 0.55, Noise(ground * vec2(0.9, 0.9) + wobble));

    // Contours: level lines of the height, a stroke every 0.9 units of height.
    float contourPhase = worldPosition.y / 0.9 + 0.6 * wobble;
    float contour = Strokes(contourPhase, fwidth(contourPhase),
                            2.2 * smoothstep(0.12, 0.55, darkness) * mix(0.4, 1.0, dashes));
    // Downhill strokes, radiating from the peak.
    vec2 fromPeak = ground - kPeak;
    float radius = max(length(fromPeak), 1.0e-3);
    float around = atan(fromPeak.y, fromPeak.x) * (96.0 / 6.2831853) + 0.8 * wobble;
    // The angle wraps behind the peak; its footprint comes from the ground's instead.
    float aroundFootprint = (fwidth(ground.x) + fwidth(ground.y)) / radius * (96.0 / 6.2831853);
    float downhill = Strokes(around, aroundFootprint, 1.8 * smoothstep(0.42, 0.75, darkness));
    downhill *= smoothstep(3.0, 9.0, radius);
    // Cross-hatch in the deepest shade.
    float crossPhase = dot(ground, vec2(0.62, 0.78)) / 0.8 + 0.5 * wobble;
    float crossHatch = Strokes(crossPhase, fwidth(crossPhase), 1.6 * smoothstep(0.62, 0.9, darkness));

    float graphite = 1.0 - (1.0 - 0.85 * contour) * (1.0 - 0.7 * downhill) * (1.0 - 0.75 * crossHatch);

    // The sketch thins out below the water line.
    float above = smoothstep(kSeaLevel - 1.5, kSeaLevel + 1.0, worldPosition.y);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);

    float tone = mix(1.0, smoothTone, above);
    oC0 = vec4(tone, 1.0 - graphite * above, tone, mix(1.0, depthCode, above));
}
