// Fade in from a colour: the picture on sampler 0 (the screen texture) shows
// through the colour in c0 as c1.x rises from 0 (all colour) to 1 (all
// picture). c1.x may overshoot 1 in the last frame of a fade; it is clamped.
// About 4 instructions, 1 texture fetch.
uniform sampler2D s0;
in vec2 texCoord;

void main() {
    float amount = clamp(c[1].x, 0.0, 1.0);
    oC0 = vec4(mix(c[0].rgb, texture(s0, texCoord).rgb, amount), 1.0);
}
