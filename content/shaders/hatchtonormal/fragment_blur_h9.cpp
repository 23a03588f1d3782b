// Horizontal 9-tap blur of sampler 0; c0.x is one texel column (1 / width).
// The same kernel as the vertical blur, across: per column 0.12 at the
// centre, then 0.10, 0.10, 0.07, 0.07, 0.035, 0.035, 0.015, 0.015 on either
// side. Texels are fetched whole and the edge columns repeated.
// About 45 instructions, 17 texel fetches (unfiltered reads: on a software
// rasteriser two of them cost less than one filtered read).
uniform sampler2D s0;
in vec2 texCoord;

vec4 Column(ivec2 at, int offset, int last) {
    return texelFetch(s0, ivec2(clamp(at.x + offset, 0, last), at.y), 0);
}

void main() {
    ivec2 size = textureSize(s0, 0);
    ivec2 at = ivec2(int(texCoord.x / c[0].x), int(texCoord.y * float(size.y)));
    int last = size.x - 1;
    vec4 sum = Column(at, 0, last) * 0.12;
    sum += (Column(at, 1, last) + Column(at, 2, last) + Column(at, -1, last) + Column(at, -2, last)) * 0.10;
    sum += (Column(at, 3, last) + Column(at, 4, last) + Column(at, -3, last) + Column(at, -4, last)) * 0.07;
    sum += (Column(at, 5, last) + Column(at, 6, last) + Column(at, -5, last) + Column(at, -6, last)) * 0.035;
    sum += (Column(at, 7, last) + Column(at, 8, last) + Column(at, -7, last) + Column(at, -8, last)) * 0.015;
    oC0 = sum;
}
