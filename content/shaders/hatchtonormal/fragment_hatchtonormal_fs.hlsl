// The colour scene's composite: the picture (sampler 0, the screen texture)
// with the glow (sampler 1, the blurred second output, already at its
// strength) laid over it as light, in screen blending so that nothing burns
// out to flat white. The picture is read at the pixel's own texel centre;
// the glow at the corner of the pixel's texel that joins columns -1 and 0
// and rows 0 and +1, where the linear filter gives the four texels' mean:
// the last step of the glow kernel (fragment_blur_h9.cpp), held inside the
// target at its edges.
// About 12 instructions, 2 filtered texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float3 picture = tex2Dlod(s0, float4((vpos + 0.5) * texel, 0.0, 0.0)).rgb;
    float2 corner = clamp(vpos + float2(0.0, 1.0), (float2)0.5, 1.0 / texel - 0.5) * texel;
    float3 glow = tex2Dlod(s1, float4(corner, 0.0, 0.0)).rgb;
    oC0 = float4(picture + glow - picture * glow, 1.0);
}
