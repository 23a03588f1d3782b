// Vertical 9-tap blur of sampler 0; c0.x is one texel row (1 / height).
// The centre tap weighs 0.12; the others lie 1.5, 3.5, 5.5 and 7.5 rows out
// on either side, each the mean of the two rows it straddles, weighing 0.20,
// 0.14, 0.07 and 0.03: per row 0.12, 0.10, 0.10, 0.07, 0.07, 0.035, 0.035,
// 0.015, 0.015 from the centre out, 17 rows in all. Texels are read at their
// centres (whole, whatever the sampler states are) and the edge rows
// repeated; the columns come from vertex_fs.cpp's texel.
// About 45 instructions, 17 texel fetches (unfiltered reads: on a software
// rasteriser two of them cost less than one filtered read).
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Row(float2 at, float offset, float last, float2 texel) {
    return tex2Dlod(s0, float4((float2(at.x, clamp(at.y + offset, 0.0, last)) + 0.5) * texel, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 columnTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(columnTexel.x, c0.x);
    float2 at = vpos;
    float last = floor(1.0 / c0.x + 0.5) - 1.0;
    float4 sum = Row(at, 0.0, last, texel) * 0.12;
    sum += (Row(at, 1.0, last, texel) + Row(at, 2.0, last, texel) + Row(at, -1.0, last, texel) + Row(at, -2.0, last, texel)) * 0.10;
    sum += (Row(at, 3.0, last, texel) + Row(at, 4.0, last, texel) + Row(at, -3.0, last, texel) + Row(at, -4.0, last, texel)) * 0.07;
    sum += (Row(at, 5.0, last, texel) + Row(at, 6.0, last, texel) + Row(at, -5.0, last, texel) + Row(at, -6.0, last, texel)) * 0.035;
    sum += (Row(at, 7.0, last, texel) + Row(at, 8.0, last, texel) + Row(at, -7.0, last, texel) + Row(at, -8.0, last, texel)) * 0.015;
    oC0 = sum;
}
