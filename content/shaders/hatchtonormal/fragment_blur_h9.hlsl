// Horizontal 9-tap blur of sampler 0; c0.x is one texel column (1 / width).
// The same kernel as the vertical blur, across: per column 0.12 at the
// centre, then 0.10, 0.10, 0.07, 0.07, 0.035, 0.035, 0.015, 0.015 on either
// side. Texels are read at their centres (whole, whatever the filter) and
// the edge columns repeated; the rows come from vertex_fs.cpp's texel.
// About 45 instructions, 17 texel fetches (unfiltered reads: on a software
// rasteriser two of them cost less than one filtered read).
float4 c0 : register(c0);
sampler2D s0 : register(s0);

float4 Column(float2 at, float offset, float last, float2 texel) {
    return tex2Dlod(s0, float4((float2(clamp(at.x + offset, 0.0, last), at.y) + 0.5) * texel, 0.0, 0.0));
}

void main(float2 texCoord : TEXCOORD0,
          float2 rowTexel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float2 texel = float2(c0.x, rowTexel.y);
    float2 at = vpos;
    float last = floor(1.0 / c0.x + 0.5) - 1.0;
    float4 sum = Column(at, 0.0, last, texel) * 0.12;
    sum += (Column(at, 1.0, last, texel) + Column(at, 2.0, last, texel) + Column(at, -1.0, last, texel) + Column(at, -2.0, last, texel)) * 0.10;
    sum += (Column(at, 3.0, last, texel) + Column(at, 4.0, last, texel) + Column(at, -3.0, last, texel) + Column(at, -4.0, last, texel)) * 0.07;
    sum += (Column(at, 5.0, last, texel) + Column(at, 6.0, last, texel) + Column(at, -5.0, last, texel) + Column(at, -6.0, last, texel)) * 0.035;
    sum += (Column(at, 7.0, last, texel) + Column(at, 8.0, last, texel) + Column(at, -7.0, last, texel) + Column(at, -8.0, last, texel)) * 0.015;
    oC0 = sum;
}
