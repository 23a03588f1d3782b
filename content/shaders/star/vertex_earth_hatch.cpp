// The globe, hatched: the inputs of vertex_earth.cpp (c0-c3 world x
// view-projection, c4-c7 the world's inverse transpose, c8.xyz the eye, c9
// earthVector), with the same sun; the pencil needs no relief. The strokes
// lie on the picture plane, as a hand shades a drawn ball: `paper` is the
// point's place across and up the view from the eye to the globe's centre
// (the origin), one hatch tile to 5.5 units, about a texel to a pixel at
// 600 rows.
in vec3 POSITION0;
in vec3 NORMAL0;
out vec3 normal;
out vec3 toEye;
out vec3 toSun;
out vec2 paper;

// earthVector's direction turned by `angle` about the world's y axis (as in
// vertex_earth.cpp).
vec3 SunFrom(vec3 side, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return normalize(vec3(side.x * k - side.z * s, side.y * 0.35, side.x * s + side.z * k));
}

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    normal = NORMAL0 * mat3(mat4(c[4], c[5], c[6], c[7]));
    toEye = c[8].xyz - POSITION0;
    toSun = SunFrom(c[9].xyz, -1.25);
    vec3 forward = normalize(-c[8].xyz);
    vec3 across = normalize(cross(vec3(0.0, 1.0, 0.0), forward));
    vec3 up = cross(forward, across);
    // Strokes slanting up to the right, as a right hand draws them.
    vec2 level = vec2(dot(POSITION0, across), -dot(POSITION0, up)) / 5.5;
    paper = vec2(level.x * 0.866 + level.y * 0.5, level.y * 0.866 - level.x * 0.5);
}
