// Radial blur of sampler 0 towards the centre of the screen; c0.x is the
// strength (0 down to -0.2). Three filtered samples along the line to the
// centre (the colour scene filters the stage linearly, so each sample blends
// its four nearest texels), their spacing dithered per pixel so that the blur
// has no rings or steps. The farthest sample lies 0.15 of the strength of
// the way in (3 % at the strongest) and the samples weigh less the farther
// they lie, so the picture rushes without losing the island's shapes. At
// strength 0 every sample falls on the pixel's own texel centre and the
// picture passes unchanged.
// About 16 instructions, 3 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

void main(float2 texCoord : TEXCOORD0,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    const int kSamples = 3;
    float dither = frac(52.9829189 * frac(dot(vpos + 0.5, float2(0.06711056, 0.00583715))));
    // One sample's step along the line to the centre, and the first sample.
    float2 stride = (texCoord - (float2)0.5) * (0.15 * c0.x / float(kSamples));
    float2 at = texCoord + stride * dither;
    float3 sum = (float3)0.0;
    float weights = 0.0;
    for (int i = 0; i < kSamples; ++i) {
        float weight = 1.0 - 0.7 / float(kSamples) * (float(i) + 0.5);
        sum += weight * tex2Dlod(s0, float4(at + stride * float(i), 0.0, 0.0)).rgb;
        weights += weight;
    }
    oC0 = float4(sum / weights, 1.0);
}
