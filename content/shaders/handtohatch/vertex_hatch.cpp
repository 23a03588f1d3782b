// Scene mesh for plain hatching: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose, c8-c11 world.
// About 20 instructions.
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 worldNormal;

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    worldNormal = NORMAL0 * mat3(mat4(c[4], c[5], c[6], c[7]));
    uv = TEXCOORD0;
}
