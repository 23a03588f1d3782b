// Horizontal 9-tap blur of sampler 0; c0.x is one texel column (1 / width).
// The same kernel as the vertical blur, across: per column 0.16 at the
// centre, then 0.14, 0.14, 0.07, 0.07 on either side, read in 5 filtered
// taps: the centre column at its centre, and each pair of equally weighted
// columns at the line between them, where the stage's linear filter gives
// their mean. Every tap is held between the first and the last column's
// centres, so the edge columns repeat whatever the addressing (the stage
// wraps); the rows come from vertex_fs.cpp's texel.
// About 25 instructions, 5 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Columns(float x, float y, float offset, float last, float2 texel) {
    return tex2Dlod(s0, float4(clamp(x + offset, 0.5, last) * texel.x, y, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 rowTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(c0.x, rowTexel.y);
    float x = vpos.x + 0.5;
    float y = (vpos.y + 0.5) * texel.y;
    float last = floor(1.0 / c0.x + 0.5) - 0.5;
    float4 sum = Columns(x, y, 0.0, last, texel) * 0.16;
    sum += (Columns(x, y, 1.5, last, texel) + Columns(x, y, -1.5, last, texel)) * 0.28;
    sum += (Columns(x, y, 3.5, last, texel) + Columns(x, y, -3.5, last, texel)) * 0.14;
    oC0 = sum;
}
