// The globe, hatched: the inputs of vertex_earth.cpp (c0-c3 world x
// view-projection, c4-c7 the world's inverse transpose, c8.xyz the eye, c9
// earthVector, which the pixel shader reads itself as its c0); the pencil
// needs no relief. The strokes lie on the globe as a hand shades a drawn
// ball, curving round it: `paper` is the point's longitude and latitude
// about the view's up axis (the eye looks at the globe's centre, the
// origin), in globe radii over 3.5 units, one hatch tile each, so that a
// stroke is two to three pixels wide at 480 rows in the middle of the disc
// and the strokes crowd together towards the limb. The longitude's seam
// lies on the far side, out of view.
// About 45 instructions.
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
    vec3 along = normalize(POSITION0);
    float longitude = atan(dot(along, across), -dot(along, forward));
    float latitude = asin(clamp(dot(along, up), -1.0, 1.0));
    // Strokes slanting up to the right, as a right hand draws them.
    vec2 level = vec2(longitude, -latitude) * (length(POSITION0) / 3.5);
    paper = vec2(level.x * 0.866 + level.y * 0.5, level.y * 0.866 - level.x * 0.5);
}
