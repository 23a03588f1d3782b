// Plain hatching: the sun's light on the surface picks a tone between paper
// and the darkest hatch texture. Samplers 0-5: Hatch0 (light) to Hatch5
// (dark), wrapping; the hatching tiles eight times across the texture
// coordinates.
// About 25 instructions, 6 texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);
sampler2D s4 : register(s4);
sampler2D s5 : register(s5);

static const float3 kSun = float3(0.5, 0.62, 0.6);

void main(float2 uv : TEXCOORD0,
          float3 worldNormal : TEXCOORD2,
          out float4 oC0 : COLOR0) {
    float2 p = uv * 8.0;
    float light = clamp(dot(normalize(worldNormal), normalize(kSun)), 0.0, 1.0);
    float ladder = (1.0 - light) * 6.0;
    float tones[7];
    tones[0] = 1.0;
    tones[1] = tex2D(s0, p).r;
    tones[2] = tex2D(s1, p).r;
    tones[3] = tex2D(s2, p).r;
    tones[4] = tex2D(s3, p).r;
    tones[5] = tex2D(s4, p).r;
    tones[6] = tex2D(s5, p).r;
    int k = int(min(floor(ladder), 5.0));
    oC0 = float4((float3)lerp(tones[k], tones[k + 1], ladder - float(k)), 1.0);
}
