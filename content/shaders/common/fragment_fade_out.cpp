// Fade out to a colour: the picture on sampler 0 (the screen texture) gives
// way to the colour in c0 as c1.x rises from 0 (all picture) to 1 (all
// colour). Values outside 0..1 are clamped.
// About 4 instructions, 1 texture fetch.
uniform sampler2D s0;
in vec2 texCoord;

void main() {
    float amount = clamp(c[1].x, 0.0, 1.0);
    oC0 = vec4(mix(texture(s0, texCoord).rgb, c[0].rgb, amount), 1.0);
}
