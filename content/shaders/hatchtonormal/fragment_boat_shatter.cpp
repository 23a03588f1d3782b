// The yacht: white paint and sails under the sun, or pencil strokes of
// sampler 0 (Hatch4) for the shading, behind the colour front round the
// yacht itself. Pairs with vertex_base.cpp in the colour scene and with
// vertex_boat_shatter.cpp in the shatter scene; both hand over the position
// the paint belongs to, the normal and `finish` = (how far the colour front
// has reached: the colour scene's sweep, or everywhere; a sun glint to add;
// the glow of the breaking line; the alpha to write).
// About 45 instructions, 1 texture fetch.
uniform sampler2D s0;
in vec2 uv;
in vec3 worldPosition;
in vec3 worldNormal;
in vec4 finish;

const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kPaper = vec3(0.965, 0.955, 0.925);
const vec3 kGraphite = vec3(0.20, 0.20, 0.24);

void main() {
    vec3 n = normalize(worldNormal);
    float sun = abs(dot(n, kSun));
    float skyLight = 0.6 + 0.4 * abs(n.y);
    float waterline = smoothstep(-2.75, -2.6, worldPosition.y);
    vec3 paint = mix(vec3(0.08, 0.14, 0.32), vec3(0.93, 0.92, 0.88), waterline);
    vec3 colour = paint * (vec3(0.36, 0.44, 0.56) * skyLight + vec3(1.05, 0.97, 0.86) * sun * 0.85);

    // The pencil shades by the side of the sun: lit faces lighter, faces
    // turned away darker (a face square to the sun, as the credits card is
    // made to be, keeps the plain tone), so round shapes read as round.
    float strokes = texture(s0, vec2(worldPosition.x + worldPosition.z, worldPosition.y) / 5.0).r;
    float towards = dot(n, kSun);
    float tone = clamp(1.05 - 0.35 * skyLight - 0.7 * max(towards, 0.0) + 0.5 * max(-towards, 0.0), 0.0, 1.0);
    vec3 pencil = mix(kGraphite, kPaper, mix(1.0, strokes, tone));

    colour += vec3(1.0, 0.95, 0.85) * finish.y + vec3(1.0, 0.74, 0.42) * finish.z;

    float ahead = finish.x - length(worldPosition.xz - vec2(6.0, 42.0));
    float reveal = smoothstep(0.0, 1.0, ahead / 9.0 - 0.45 * (1.0 - strokes));
    oC0 = vec4(mix(pencil, colour, reveal), finish.w);
    oC1 = vec4(0.0, 0.0, 0.0, 1.0);
}
