// The colour scene's composite: the picture (sampler 0, the screen texture)
// with the blurred second output (sampler 1) laid over it as light, in
// screen blending so that nothing burns out to flat white.
// About 8 instructions, 2 texture fetches.
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);

void main(float2 texCoord : TEXCOORD0,
          out float4 oC0 : COLOR0) {
    float3 picture = tex2D(s0, texCoord).rgb;
    float3 glow = clamp(tex2D(s1, texCoord).rgb * 1.4, 0.0, 1.0);
    oC0 = float4(1.0 - (1.0 - picture) * (1.0 - glow), 1.0);
}
