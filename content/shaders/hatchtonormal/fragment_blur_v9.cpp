// Vertical 9-tap blur of sampler 0; c0.x is one texel row (1 / height).
// The centre tap weighs 0.12; the others lie 1.5, 3.5, 5.5 and 7.5 rows out
// on either side, each the mean of the two rows it straddles, weighing 0.20,
// 0.14, 0.07 and 0.03: per row 0.12, 0.10, 0.10, 0.07, 0.07, 0.035, 0.035,
// 0.015, 0.015 from the centre out, 17 rows in all. Sampler 0 is filtered
// linearly (the colour scene's state block puts the start-up states back
// before its post passes), so each tap is one filtered read; taps are held
// within the edge rows, which repeat as with clamped addressing.
// About 30 instructions, 9 texture fetches.
uniform sampler2D s0;
in vec2 texCoord;

vec4 Tap(float rows) {
    float step = c[0].x;
    return texture(s0, vec2(texCoord.x, clamp(texCoord.y + rows * step, 0.5 * step, 1.0 - 0.5 * step)));
}

void main() {
    vec4 sum = Tap(0.0) * 0.12;
    sum += (Tap(1.5) + Tap(-1.5)) * 0.20;
    sum += (Tap(3.5) + Tap(-3.5)) * 0.14;
    sum += (Tap(5.5) + Tap(-5.5)) * 0.07;
    sum += (Tap(7.5) + Tap(-7.5)) * 0.03;
    oC0 = sum;
}
