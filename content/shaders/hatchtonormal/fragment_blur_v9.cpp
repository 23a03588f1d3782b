// Vertical 9-tap blur of sampler 0; c0.x is one texel row (1 / height).
// The centre tap weighs 0.12; the others lie 1.5, 3.5, 5.5 and 7.5 rows out
// on either side, each the mean of the two rows it straddles, weighing 0.20,
// 0.14, 0.07 and 0.03: per row 0.12, 0.10, 0.10, 0.07, 0.07, 0.035, 0.035,
// 0.015, 0.015 from the centre out, 17 rows in all. Texels are fetched
// whole and the edge rows repeated, whatever the sampler states are.
// About 45 instructions, 17 texel fetches (unfiltered reads: on a software
// rasteriser two of them cost less than one filtered read).
uniform sampler2D s0;
in vec2 texCoord;

vec4 Row(ivec2 at, int offset, int last) {
    return texelFetch(s0, ivec2(at.x, clamp(at.y + offset, 0, last)), 0);
}

void main() {
    ivec2 size = textureSize(s0, 0);
    ivec2 at = ivec2(int(texCoord.x * float(size.x)), int(texCoord.y / c[0].x));
    int last = size.y - 1;
    vec4 sum = Row(at, 0, last) * 0.12;
    sum += (Row(at, 1, last) + Row(at, 2, last) + Row(at, -1, last) + Row(at, -2, last)) * 0.10;
    sum += (Row(at, 3, last) + Row(at, 4, last) + Row(at, -3, last) + Row(at, -4, last)) * 0.07;
    sum += (Row(at, 5, last) + Row(at, 6, last) + Row(at, -5, last) + Row(at, -6, last)) * 0.035;
    sum += (Row(at, 7, last) + Row(at, 8, last) + Row(at, -7, last) + Row(at, -8, last)) * 0.015;
    oC0 = sum;
}
