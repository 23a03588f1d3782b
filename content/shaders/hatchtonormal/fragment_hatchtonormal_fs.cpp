// The colour scene's composite: the picture (sampler 0, the screen texture)
// with the blurred second output (sampler 1) laid over it as light, in
// screen blending so that nothing burns out to flat white.
// About 8 instructions, 2 texture fetches.
uniform sampler2D s0;
uniform sampler2D s1;
in vec2 texCoord;

void main() {
    vec3 picture = texture(s0, texCoord).rgb;
    vec3 glow = clamp(texture(s1, texCoord).rgb * 1.4, 0.0, 1.0);
    oC0 = vec4(1.0 - (1.0 - picture) * (1.0 - glow), 1.0);
}
