// Vertical half of the glow blur, of sampler 0 (the scene's second output);
// c0.x is one texel row (1 / height). The whole glow kernel, per axis and
// after the horizontal blur and the composite's read, is 9 taps wide; down
// it weighs 0.15 at the centre, 0.125 at +-1 to +-3 and 0.05 at +-4. This
// pass gives rows -3, -2 and +1, +2 with 0.2, 0.3, 0.3, 0.2 in two filtered
// taps, each between its two rows where the stage's linear filter blends
// them in that ratio (the colour scene filters every stage linearly); the
// horizontal blur's rows -1 and +1 and the composite's 0 and +1 fill the
// gap. Each tap also takes columns 0 and +1 with a half each, by reading at
// the line between them. Taps are held between the first and the last
// texel centres, so the picture's edge repeats whatever the addressing (the
// stage wraps). The result is stored split by parity (glow_split.hlsl), for
// the horizontal blur to read pixels two apart in one tap.
// About 25 instructions, 2 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

#include "glow_split.hlsl"

float4 Rows(float2 at, float offset, float2 size, float2 texel) {
    return tex2Dlod(s0, float4(at.x, clamp(at.y + offset, 0.5, size.y - 0.5) * texel.y, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 columnTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(columnTexel.x, c0.x);
    float2 size = floor(1.0 / texel + 0.5);
    float2 pixel = SplitPixel(vpos, size);
    // In texels: the line after the pixel's column, and its row's centre.
    float2 at = float2(clamp(pixel.x + 1.0, 0.5, size.x - 0.5) * texel.x, pixel.y + 0.5);
    // Rows -3 and -2 as 0.4 : 0.6, rows +1 and +2 as 0.6 : 0.4.
    oC0 = (Rows(at, -2.4, size, texel) + Rows(at, 1.4, size, texel)) * 0.5;
}
