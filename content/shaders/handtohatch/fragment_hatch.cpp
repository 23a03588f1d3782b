// Plain hatching: the sun's light on the surface picks a tone between paper
// and the darkest hatch texture. Samplers 0-5: Hatch0 (light) to Hatch5
// (dark), wrapping; the hatching tiles eight times across the texture
// coordinates.
// About 25 instructions, 6 texture fetches.
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
uniform sampler2D s3;
uniform sampler2D s4;
uniform sampler2D s5;
in vec2 uv;
in vec3 worldNormal;

const vec3 kSun = vec3(0.5, 0.62, 0.6);

void main() {
    vec2 p = uv * 8.0;
    float light = clamp(dot(normalize(worldNormal), normalize(kSun)), 0.0, 1.0);
    float ladder = (1.0 - light) * 6.0;
    float tones[7];
    tones[0] = 1.0;
    tones[1] = texture(s0, p).r;
    tones[2] = texture(s1, p).r;
    tones[3] = texture(s2, p).r;
    tones[4] = texture(s3, p).r;
    tones[5] = texture(s4, p).r;
    tones[6] = texture(s5, p).r;
    int k = int(min(floor(ladder), 5.0));
    oC0 = vec4(vec3(mix(tones[k], tones[k + 1], ladder - float(k))), 1.0);
}
