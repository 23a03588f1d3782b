// Sea for the hatching scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose, c8-c11 world, c12.xyz the eye, c13 = (sketch
// level, time, -, -). Texture coordinate 0 tiles the sea every 24 units.
// About 35 instructions.
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 worldPosition;
out vec3 worldNormal;
out vec3 eyePosition;
out float time;

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    worldNormal = NORMAL0 * mat3(mat4(c[4], c[5], c[6], c[7]));
    worldPosition = (vec4(POSITION0, 1.0) * mat4(c[8], c[9], c[10], c[11])).xyz;
    eyePosition = c[12].xyz;
    uv = TEXCOORD0;
    time = c[13].y;
}
