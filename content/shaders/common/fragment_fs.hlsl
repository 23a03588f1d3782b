// Plain copy of the picture on sampler 0 (the screen texture or the loading
// picture) to the target, with whatever sampler states are in force.
// 1 instruction, 1 texture fetch.
sampler2D s0 : register(s0);

void main(float2 texCoord : TEXCOORD0,
          out float4 oC0 : COLOR0) {
    oC0 = tex2D(s0, texCoord);
}
