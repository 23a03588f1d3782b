// The flat sea: its place on the screen, in the world and seen from the eye.
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
