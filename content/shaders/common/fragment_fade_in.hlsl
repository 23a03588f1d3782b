// Fade in from a colour: the picture on sampler 0 (the screen texture) shows
// through the colour in c0 as c1.x rises from 0 (all colour) to 1 (all
// picture). c1.x may overshoot 1 in the last frame of a fade; it is clamped.
// About 4 instructions, 1 texture fetch.
float4 c0 : register(c0);
float4 c1 : register(c1);
sampler2D s0 : register(s0);

void main(float2 texCoord : TEXCOORD0,
          out float4 oC0 : COLOR0) {
    float amount = clamp(c1.x, 0.0, 1.0);
    oC0 = float4(lerp(c0.rgb, tex2D(s0, texCoord).rgb, amount), 1.0);
}
