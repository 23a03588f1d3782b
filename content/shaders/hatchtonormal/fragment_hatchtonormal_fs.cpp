// The colour scene's composite: the picture (sampler 0, the screen texture)
// with the blurred second output (sampler 1) laid over it as light, in
// screen blending so that nothing burns out to flat white.
// Both are screen-sized, so each pixel reads its own texel whole.
// About 10 instructions, 2 texel fetches.
uniform sampler2D s0;
uniform sampler2D s1;
in vec2 texCoord;

void main() {
    ivec2 at = ivec2(texCoord * vec2(textureSize(s0, 0)));
    vec3 picture = texelFetch(s0, at, 0).rgb;
    vec3 glow = clamp(texelFetch(s1, at, 0).rgb * 1.4, 0.0, 1.0);
    oC0 = vec4(1.0 - (1.0 - picture) * (1.0 - glow), 1.0);
}
