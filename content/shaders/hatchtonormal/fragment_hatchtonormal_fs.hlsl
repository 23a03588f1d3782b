// The colour scene's composite: the picture (sampler 0, the screen texture)
// with the blurred second output (sampler 1) laid over it as light, in
// screen blending so that nothing burns out to flat white.
// Both are screen-sized, so each pixel reads its own texel whole (at its
// centre, where every filter gives the texel itself).
// About 10 instructions, 2 texel fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

void main(float2 texCoord : TEXCOORD0,
          float2 texel : TEXCOORD9,
          float2 vpos : VPOS,
          out float4 oC0 : COLOR0) {
    float4 at = float4((vpos + 0.5) * texel, 0.0, 0.0);
    float3 picture = tex2Dlod(s0, at).rgb;
    float3 glow = clamp(tex2Dlod(s1, at).rgb * 1.4, 0.0, 1.0);
    oC0 = float4(1.0 - (1.0 - picture) * (1.0 - glow), 1.0);
}
