// The sea, from pencil to colour behind the same front as the island.
// c0 = (time, sweep, -, -). Samplers: 0 waves2 (tangent-space normal, R +x,
// G -z), 1 the sky cube map, 2 the mirrored island (drawn with this camera:
// the pixel's own place on the screen reads it; alpha 0 where the island
// is), 3-5 Hatch1, hatch0.jpg (long light strokes), hatch1.jpg (cross).
//
// Two layers of waves drift across each other; they bend the reflection of
// the sky and of the island, and a Fresnel term mixes it with the deep
// water. The sun's glints go to oC1 as well, where they glow.
// About 115 instructions, 8 texture fetches: the waves at their nearest
// level and the mirror image bilinear, the sky at a fixed coarse level, the
// hatching trilinear (one level all over draws a seam across the sea's
// strokes); on a side of the front that does not show, its fetches read one
// fixed texel (the cube map's, or the three hatch textures'), and so does the
// cross-hatching away from the island's reflection.
uniform sampler2D s0;
uniform samplerCube s1;
uniform sampler2D s2;
uniform sampler2D s3;
uniform sampler2D s4;
uniform sampler2D s5;
in vec3 worldPosition;
in vec3 toEye;

const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kDeep = vec3(0.025, 0.11, 0.16);
const vec3 kShallow = vec3(0.06, 0.26, 0.30);
const vec3 kPaper = vec3(0.965, 0.955, 0.925);
const vec3 kGraphite = vec3(0.20, 0.20, 0.24);
const vec3 kFrontGlow = vec3(1.0, 0.72, 0.38);
const float kFrontWidth = 9.0;
const float kAllColour = 1.45;  // fronts' widths behind it where a pixel is colour whatever its strokes

float FrontDistance(vec3 p) {
    float d = length(p.xz - vec2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

#include "sea_waves.glsl"

// sin(x) near enough for the front's wobble (within 0.06): a parabola a half
// wave, a few instructions where a true sine costs a software rasteriser
// some thirty.
float Wave(float x) {
    float t = fract(x * 0.1591549 + 0.5) * 2.0 - 1.0;
    return 4.0 * t * (1.0 - abs(t));
}

void main() {
    float time = c[0].x;
    vec2 p = worldPosition.xz;
    float distanceToEye = length(toEye);
    vec3 v = toEye / distanceToEye;

    // The front first: behind it the sea needs no strokes, ahead of it no
    // sky. A branch would not spare a software rasteriser the lookups (it
    // runs both sides), so a side that does not show reads one fixed texel
    // instead: one cached bilinear read, no blend of two levels.
    float wobble = 2.5 * Wave(p.x * 0.21 + p.y * 0.13) + 1.5 * Wave(p.y * 0.37 - p.x * 0.17);
    float ahead = c[0].y - FrontDistance(worldPosition) + wobble;
    bool showsColour = ahead > 0.0;
    bool showsPencil = ahead < kAllColour * kFrontWidth;
    float edge = exp(-abs(ahead - 0.25 * kFrontWidth) / 2.5) * step(-kFrontWidth, ahead);

    vec2 slope = WaveSlope(p, time, distanceToEye);
    vec3 n = normalize(vec3(slope.x, 1.0, -slope.y));

    // Sky in the waves, the island over it where the mirror image lies.
    vec3 r = reflect(-v, n);
    r.y = abs(r.y);
    // The sky changes slowly: its level 2 (64 texels a face) is enough, and
    // one level for every pixel is the cheapest cube read.
    vec3 sky = textureLod(s1, showsColour ? r : vec3(0.0, 1.0, 0.0), 2.0).rgb;
    vec2 screenSize = vec2(textureSize(s2, 0));
    vec2 ripple = vec2(slope.x, abs(slope.y)) * 0.06;
    vec4 mirrored = texture(s2, gl_FragCoord.xy / screenSize + ripple);
    float cover = 1.0 - mirrored.a;
    vec3 reflection = mix(sky, mirrored.rgb * 0.82, cover);

    float facing = clamp(dot(n, v), 0.0, 1.0);
    float away = 1.0 - facing, away2 = away * away;
    float fresnel = 0.03 + 0.97 * away2 * away2 * away;
    float nearShore = 1.0 - smoothstep(20.0, 70.0, length(p - vec2(-4.0, 4.0)));
    vec3 water = mix(kDeep, kShallow, nearShore * 0.6);
    vec3 colour = mix(water, reflection, clamp(fresnel + 0.25 * cover, 0.0, 1.0));
    vec3 halfway = normalize(v + kSun);
    float glint = pow(max(dot(n, halfway), 0.0), 420.0) * 6.0 * (1.0 - cover);
    colour += vec3(1.0, 0.95, 0.82) * glint;

    // Pencil: strokes laid along the horizon as the eye sees it (long across,
    // short in depth), cross-hatching under the island's reflection, bent a
    // little by the waves, fading to paper far out.
    vec2 across = normalize(vec2(-toEye.z, toEye.x));
    vec2 strokeAt = vec2(dot(p, across) / 34.0, dot(p, vec2(across.y, -across.x)) / 7.0) + slope * 0.05;
    strokeAt = showsPencil ? strokeAt : vec2(0.0);
    float open = texture(s3, strokeAt).r;
    float crossed = texture(s5, cover > 0.0 ? strokeAt * vec2(1.0, 0.4) : vec2(0.0)).r;
    float loose = texture(s4, strokeAt * 0.5).r;
    float paper = mix(1.0, open, 0.6) * mix(1.0, loose, 0.5);
    paper = mix(paper, paper * mix(1.0, crossed, 0.85), cover);
    paper = mix(paper, 1.0, smoothstep(120.0, 480.0, distanceToEye) * (1.0 - cover));
    vec3 pencil = mix(kGraphite, kPaper, paper);

    // Where the pencil does not show, the reveal is whole whatever `open` is;
    // where the colour does not, it is nil.
    float reveal = smoothstep(0.0, 1.0, ahead / kFrontWidth - 0.45 * (1.0 - open));
    oC0 = vec4(mix(pencil, colour, reveal) + kFrontGlow * edge * 0.18, 1.0);
    oC1 = vec4(kFrontGlow * edge * 0.75 + vec3(1.0, 0.9, 0.75) * min(glint, 2.0) * 0.5 * reveal, 1.0);
}
