// The open sea of the shatter scene: c0-c3 world x view-projection, c8-c11
// world, c12.xyz the eye (c4-c7 the normal matrix and c13.x the time are
// there too; the sea is flat and the waves are the fragment shader's).
in vec3 POSITION0;
out vec3 worldPosition;
out vec3 toEye;

void main() {
    mat4 worldViewProjection = mat4(c[0], c[1], c[2], c[3]);
    mat4 world = mat4(c[8], c[9], c[10], c[11]);
    gl_Position = vec4(POSITION0, 1.0) * worldViewProjection;
    worldPosition = (vec4(POSITION0, 1.0) * world).xyz;
    toEye = c[12].xyz - worldPosition;
}
