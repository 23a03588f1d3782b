// Radial blur of sampler 0 towards the centre of the screen; c0.x is the
// strength (0 down to -0.2). Each of the 8 samples reads the nearest texel
// whole, at its centre (an unfiltered read costs a software rasteriser about
// half a bilinear one; the blur hides the difference), the screen's texel
// coming from vertex_fs.cpp; their spacing is dithered
// per pixel, so the blur has no rings or steps. The farthest sample lies 0.15
// of the strength of the way in (3 % at the strongest) and the samples weigh
// less the farther they lie, so the picture rushes without losing the
// island's shapes; at strength 0 the picture passes unchanged.
// About 60 instructions, 8 texel fetches (1 filtered fetch at strength 0).
float4 c0 : register(c0);
sampler2D s0 : register(s0);

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float amount = c0.x;
    if (amount == 0.0) {
        oC0 = float4(tex2D(s0, texCoord).rgb, 1.0);
        return;
    }
    const int kSamples = 8;
    float2 size = floor(1.0 / texel + 0.5);
    float dither = frac(52.9829189 * frac(dot(vpos + 0.5, float2(0.06711056, 0.00583715))));
    float2 fromCentre = texCoord - (float2)0.5;
    float3 sum = (float3)0.0;
    float weights = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        float t = (float(i) + dither) / float(kSamples);
        float weight = 1.0 - 0.7 * t;
        float2 at = floor(((float2)0.5 + fromCentre * (1.0 + 0.15 * amount * t)) * size) + 0.5;
        sum += weight * tex2Dlod(s0, float4(at * texel, 0.0, 0.0)).rgb;
        weights += weight;
    }
    oC0 = float4(sum / weights, 1.0);
}
