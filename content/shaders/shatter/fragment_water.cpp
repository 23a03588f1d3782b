// The open sea under the breaking yacht, in the colour scene's colours.
// c0.x = the time. Samplers: 0 waves2 (tangent-space normal, R +x, G -z),
// 1 the sky cube map, 2 the mirrored yacht (drawn with this camera, so the
// pixel's own place on the screen reads it; alpha 0 where the yacht is,
// opaque black elsewhere; with no texture bound the read is opaque black
// too, and the sea mirrors the sky alone).
//
// Two layers of waves drift across each other and bend the reflections of
// the sky and of the yacht; a Fresnel term mixes them with the deep water,
// and the sun glitters on the crests.
// About 90 instructions, 5 texture fetches.
uniform sampler2D s0;
uniform samplerCube s1;
uniform sampler2D s2;
in vec3 worldPosition;
in vec3 toEye;

const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kDeep = vec3(0.025, 0.11, 0.16);
const vec3 kSwell = vec3(0.04, 0.17, 0.22);

#include "sea_waves.glsl"

void main() {
    float time = c[0].x;
    vec2 p = worldPosition.xz;
    float distanceToEye = length(toEye);
    vec3 v = toEye / distanceToEye;

    vec2 slope = WaveSlope(p, time, distanceToEye);
    vec3 n = normalize(vec3(slope.x, 1.0, -slope.y));

    // The sky in the waves, the yacht over it where its mirror image lies;
    // the image wavers with the waves, more the further it lies below the
    // water line on the screen.
    vec3 r = reflect(-v, n);
    r.y = abs(r.y);
    vec3 sky = texture(s1, r).rgb;
    vec2 screenSize = vec2(textureSize(s2, 0));
    vec2 ripple = vec2(slope.x, abs(slope.y)) * 0.05;
    vec4 mirrored = texture(s2, gl_FragCoord.xy / max(screenSize, vec2(1.0)) + ripple);
    float cover = 1.0 - mirrored.a;
    vec3 reflection = mix(sky, mirrored.rgb * vec3(0.78, 0.84, 0.86), cover);

    float facing = clamp(dot(n, v), 0.0, 1.0);
    float fresnel = 0.03 + 0.97 * pow(1.0 - facing, 5.0);
    vec3 water = mix(kDeep, kSwell, clamp(slope.x * 1.5 + 0.5, 0.0, 1.0) * 0.5);
    vec3 colour = mix(water, reflection, clamp(fresnel + 0.3 * cover, 0.0, 1.0));
    vec3 halfway = normalize(v + kSun);
    float glint = pow(max(dot(n, halfway), 0.0), 420.0) * 6.0 * (1.0 - cover);
    colour += vec3(1.0, 0.95, 0.82) * glint;

    oC0 = vec4(colour, 1.0);
}
