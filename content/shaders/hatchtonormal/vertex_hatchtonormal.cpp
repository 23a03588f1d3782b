// The island in the colour scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose (for directions), c8-c11 world, c12.xyz the eye,
// c13 = (time, sweep, -, -). Hands the fragment shader the world position,
// the tangent frame, the way to the eye and the texture coordinate.
// About 40 instructions.
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
in vec3 TANGENT0;
in vec3 BINORMAL0;
out vec2 uv;
out vec3 worldPosition;
out vec3 worldNormal;
out vec3 worldTangent;
out vec3 worldBinormal;
out vec3 toEye;

void main() {
    mat4 worldViewProjection = mat4(c[0], c[1], c[2], c[3]);
    mat3 directions = mat3(mat4(c[4], c[5], c[6], c[7]));
    mat4 world = mat4(c[8], c[9], c[10], c[11]);
    gl_Position = vec4(POSITION0, 1.0) * worldViewProjection;
    worldPosition = (vec4(POSITION0, 1.0) * world).xyz;
    worldNormal = NORMAL0 * directions;
    worldTangent = TANGENT0 * directions;
    worldBinormal = BINORMAL0 * directions;
    toEye = c[12].xyz - worldPosition;
    uv = TEXCOORD0;
}
