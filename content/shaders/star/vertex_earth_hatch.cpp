// The globe, hatched: the inputs of vertex_earth.cpp (c0-c3 world x
// view-projection, c4-c7 the world's inverse transpose, c8.xyz the eye, c9
// earthVector, which the pixel shader reads itself as its c0); the pencil
// needs no relief. The strokes lie on the picture plane, as a hand shades a
// drawn ball: `paper` is the point's place across and up the view from the
// eye to the globe's centre (the origin), one hatch tile to 3.5 units, so
// that a stroke is two to three pixels wide at 480 rows.
// About 30 instructions.
in vec3 POSITION0;
in vec3 NORMAL0;
out vec3 normal;
out vec3 toEye;
out vec2 paper;

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    normal = NORMAL0 * mat3(mat4(c[4], c[5], c[6], c[7]));
    toEye = c[8].xyz - POSITION0;
    vec3 forward = normalize(-c[8].xyz);
    vec3 across = normalize(cross(vec3(0.0, 1.0, 0.0), forward));
    vec3 up = cross(forward, across);
    // Strokes slanting up to the right, as a right hand draws them.
    vec2 level = vec2(dot(POSITION0, across), -dot(POSITION0, up)) / 3.5;
    paper = vec2(level.x * 0.866 + level.y * 0.5, level.y * 0.866 - level.x * 0.5);
}
