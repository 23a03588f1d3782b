// The sky: the dome's picture (sampler 0, Sky02) once the colour front has
// climbed over it, from the horizon (sweep 130, as it leaves the island) to
// the zenith (sweep 330); before that white paper. The sun goes to oC1,
// where it glows. Where the vertex shader asks for it, a layer of low
// clouds (sampler 1, clouds1: shade in rgb, density in alpha) drifts over
// the picture on a flat ceiling, thinning towards the horizon and lit
// through at its edges where it passes the sun.
// About 60 instructions, 2 texture fetches (the clouds' too where they are
// not drawn: a branch does not spare a software rasteriser the lookup).
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.20, 0.20, 0.24);
static const float3 kFrontGlow = float3(1.0, 0.72, 0.38);

void main(float2 uv : TEXCOORD0,
          float3 direction : TEXCOORD1,
          float sweep : TEXCOORD8,
          float3 cloudLayer : TEXCOORD3,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float3 d = normalize(direction);
    // The picture (1024 texels round the dome) is magnified on any screen:
    // its level 0, one level for every pixel, is the cheapest read.
    float3 colour = tex2Dlod(s0, float4(uv, 0.0, 0.0)).rgb;
    // Powers of the sun's cosine by squaring: x^8 and x^60 = x^32 x^16 x^8 x^4,
    // a few multiplications where pow costs a logarithm and an exponential.
    float toSun = max(dot(d, kSun), 0.0);
    float toSun2 = toSun * toSun, toSun4 = toSun2 * toSun2, toSun8 = toSun4 * toSun4;
    float toSun16 = toSun8 * toSun8;
    float sunGlow = toSun16 * toSun16 * toSun16 * toSun8 * toSun4;

    if (cloudLayer.x > 0.0) {
        float up = max(d.y, 0.0);
        float2 onCeiling = d.xz / (up + 0.12) * 0.11 + cloudLayer.yz;
        float4 cloud = tex2D(s1, onCeiling);
        float cover = cloud.a * smoothstep(0.015, 0.22, up) * 0.85;
        float lit = toSun8;
        float3 shade = cloud.rgb * lerp(float3(0.80, 0.84, 0.92), float3(1.06, 1.02, 0.96), 0.55 + 0.45 * up);
        shade += float3(1.0, 0.92, 0.78) * lit * (1.0 - cloud.a) * 0.6;
        colour = lerp(colour, shade, cover);
    }

    // Pencil: plain paper, a breath of graphite where the sky is deepest.
    float blue = clamp((colour.b - colour.r) * 1.6, 0.0, 1.0);
    float3 pencil = lerp(kPaper, kGraphite, 0.06 * blue * max(d.y, 0.0));

    // The front wobbles five times round the dome: a parabola a half wave,
    // near enough to a sine.
    float wobble = frac(uv.x * 5.0 + 0.5) * 2.0 - 1.0;
    float ahead = sweep - (130.0 + 200.0 * max(d.y, 0.0)) + 24.0 * wobble * (1.0 - abs(wobble));
    float reveal = smoothstep(0.0, 1.0, ahead / 30.0);
    float edge = exp(-abs(ahead - 8.0) / 6.0) * step(-30.0, ahead);

    oC0 = float4(lerp(pencil, colour, reveal) + kFrontGlow * edge * 0.12, 1.0);
    oC1 = float4(kFrontGlow * edge * 0.5 + float3(1.0, 0.9, 0.7) * sunGlow * 0.8 * reveal, 1.0);
}
