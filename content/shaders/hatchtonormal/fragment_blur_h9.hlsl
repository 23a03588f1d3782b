// Horizontal 9-tap blur of sampler 0; c0.x is one texel column (1 / width).
// The same kernel as the vertical blur, across: per column 0.12 at the
// centre, then 0.10, 0.10, 0.07, 0.07, 0.035, 0.035, 0.015, 0.015 on either
// side, read in 9 filtered taps: the centre column at its centre, and each
// pair of equally weighted columns at the line between them, where the
// sampler's linear filter gives their mean. Every tap is held between the
// first and the last column's centres, so the edge columns repeat whatever
// the addressing (the stage wraps); the rows come from vertex_fs.cpp's texel.
// About 35 instructions, 9 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Columns(float2 at, float offset, float last, float2 texel) {
    float x = clamp(at.x + 0.5 + offset, 0.5, last + 0.5);
    return tex2Dlod(s0, float4(x * texel.x, (at.y + 0.5) * texel.y, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 rowTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(c0.x, rowTexel.y);
    float2 at = vpos;
    float last = floor(1.0 / c0.x + 0.5) - 1.0;
    float4 sum = Columns(at, 0.0, last, texel) * 0.12;
    sum += (Columns(at, 1.5, last, texel) + Columns(at, -1.5, last, texel)) * 0.20;
    sum += (Columns(at, 3.5, last, texel) + Columns(at, -3.5, last, texel)) * 0.14;
    sum += (Columns(at, 5.5, last, texel) + Columns(at, -5.5, last, texel)) * 0.07;
    sum += (Columns(at, 7.5, last, texel) + Columns(at, -7.5, last, texel)) * 0.03;
    oC0 = sum;
}
