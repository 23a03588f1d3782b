// Vertical 9-tap blur of sampler 0; c0.x is one texel row (1 / height).
// Per row 0.12 at the centre, then 0.10, 0.10, 0.07, 0.07, 0.035, 0.035,
// 0.015, 0.015 on either side, 17 rows in all, read in 9 filtered taps: the
// centre row at its centre, and each pair of equally weighted rows at the
// line between them, where the sampler's linear filter gives their mean.
// Every tap is held between the first and the last row's centres, so the
// edge rows repeat whatever the addressing (the stage wraps); the columns
// come from vertex_fs.cpp's texel.
// About 35 instructions, 9 filtered texture fetches (on a software
// rasteriser a filtered read costs about two whole-texel reads, so the
// pairs halve the cost of 17 reads).
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Rows(float2 at, float offset, float last, float2 texel) {
    float y = clamp(at.y + 0.5 + offset, 0.5, last + 0.5);
    return tex2Dlod(s0, float4((at.x + 0.5) * texel.x, y * texel.y, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 columnTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(columnTexel.x, c0.x);
    float2 at = vpos;
    float last = floor(1.0 / c0.x + 0.5) - 1.0;
    float4 sum = Rows(at, 0.0, last, texel) * 0.12;
    sum += (Rows(at, 1.5, last, texel) + Rows(at, -1.5, last, texel)) * 0.20;
    sum += (Rows(at, 3.5, last, texel) + Rows(at, -3.5, last, texel)) * 0.14;
    sum += (Rows(at, 5.5, last, texel) + Rows(at, -5.5, last, texel)) * 0.07;
    sum += (Rows(at, 7.5, last, texel) + Rows(at, -7.5, last, texel)) * 0.03;
    oC0 = sum;
}
