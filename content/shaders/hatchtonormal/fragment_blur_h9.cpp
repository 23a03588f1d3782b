// Horizontal 9-tap blur of sampler 0; c0.x is one texel column (1 / width).
// The same kernel as the vertical blur, across: the centre tap weighs 0.12,
// the others lie 1.5, 3.5, 5.5 and 7.5 columns out on either side, each one
// filtered read of the two columns it straddles, weighing 0.20, 0.14, 0.07
// and 0.03; taps are held within the edge columns, which repeat.
// About 30 instructions, 9 texture fetches.
uniform sampler2D s0;
in vec2 texCoord;

vec4 Tap(float columns) {
    float step = c[0].x;
    return texture(s0, vec2(clamp(texCoord.x + columns * step, 0.5 * step, 1.0 - 0.5 * step), texCoord.y));
}

void main() {
    vec4 sum = Tap(0.0) * 0.12;
    sum += (Tap(1.5) + Tap(-1.5)) * 0.20;
    sum += (Tap(3.5) + Tap(-3.5)) * 0.14;
    sum += (Tap(5.5) + Tap(-5.5)) * 0.07;
    sum += (Tap(7.5) + Tap(-7.5)) * 0.03;
    oC0 = sum;
}
