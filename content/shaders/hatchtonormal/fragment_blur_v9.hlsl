// Vertical 9-tap blur of sampler 0; c0.x is one texel row (1 / height).
// Per row 0.16 at the centre, then 0.14, 0.14, 0.07, 0.07 on either side,
// 9 rows in all, read in 5 filtered taps: the centre row at its centre, and
// each pair of equally weighted rows at the line between them, where the
// stage's linear filter gives their mean (the colour scene filters every
// stage linearly). Every tap is held between the first and the last row's
// centres, so the edge rows repeat whatever the addressing (the stage
// wraps); the columns come from vertex_fs.cpp's texel.
// About 25 instructions, 5 filtered texture fetches.
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Rows(float x, float y, float offset, float last, float2 texel) {
    return tex2Dlod(s0, float4(x, clamp(y + offset, 0.5, last) * texel.y, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 columnTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(columnTexel.x, c0.x);
    float x = (vpos.x + 0.5) * texel.x;
    float y = vpos.y + 0.5;
    float last = floor(1.0 / c0.x + 0.5) - 0.5;
    float4 sum = Rows(x, y, 0.0, last, texel) * 0.16;
    sum += (Rows(x, y, 1.5, last, texel) + Rows(x, y, -1.5, last, texel)) * 0.28;
    sum += (Rows(x, y, 3.5, last, texel) + Rows(x, y, -3.5, last, texel)) * 0.14;
    oC0 = sum;
}
