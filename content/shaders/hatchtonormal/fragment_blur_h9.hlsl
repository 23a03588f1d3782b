// Horizontal half of the glow blur, of sampler 0 (the vertical blur, stored
// split by parity: glow_split.hlsl); c0.x is one texel column (1 / width).
// Columns -3, -1, +1, +3 with 0.2, 0.3, 0.3, 0.2, read in two filtered taps,
// each taking two columns of one parity that lie side by side in the split
// target; each tap also takes rows -1 and +1 with a half each, which fill
// the gap the vertical blur leaves in the middle of its rows. With the
// vertical blur's columns 0 and +1 and the composite's -1 and 0 this gives
// the glow kernel across, 9 taps: 0.15 at the centre and at +-1, then
// 0.125, 0.1, 0.05 on either side.
// The sum is stored 1.4 times as bright, the glow's strength, which the
// 8-bit target holds at white.
// About 30 instructions, 2 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

#include "glow_split.hlsl"

void main(float2 texCoord : TEXCOORD0,
          float2 rowTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(c0.x, rowTexel.y);
    float2 size = floor(1.0 / texel + 0.5);
    // Columns -3 and +1 share a parity and lie two texels apart in its block.
    float2 start, count;
    float2 first = SplitBlock(vpos + float2(-3.0, -1.0), size, start, count);
    // Columns -3 and -1 weigh 0.2 and 0.3, +1 and +3 0.3 and 0.2; rows -1
    // and +1 a half each.
    float2 left = start + clamp(first + float2(0.6, 0.5), 0.5, count - 0.5);
    float2 right = start + clamp(first + float2(2.4, 0.5), 0.5, count - 0.5);
    float4 sum = tex2Dlod(s0, float4(left * texel, 0.0, 0.0)) + tex2Dlod(s0, float4(right * texel, 0.0, 0.0));
    oC0 = sum * (0.5 * 1.4);
}
