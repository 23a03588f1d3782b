// Scene mesh with its tangent frame, for the sketch and the boat: c0-c3 world
// x view-projection, c4-c7 world (the scene meshes' world is the identity, so
// a caller that puts the inverse transpose there gets the same picture),
// c8.xyz the camera eye where the caller gives it. `finish` is for
// fragment_boat_shatter.cpp: (the colour front's reach, c13.y where the
// caller gives it; no glint; no glow; alpha 1).
// About 35 instructions.
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
out vec3 eyePosition;
out vec4 finish;

void main() {
    mat4 worldViewProjection = mat4(c[0], c[1], c[2], c[3]);
    mat4 world = mat4(c[4], c[5], c[6], c[7]);
    gl_Position = vec4(POSITION0, 1.0) * worldViewProjection;
    worldPosition = (vec4(POSITION0, 1.0) * world).xyz;
    worldNormal = NORMAL0 * mat3(world);
    worldTangent = TANGENT0 * mat3(world);
    worldBinormal = BINORMAL0 * mat3(world);
    eyePosition = c[8].xyz;
    uv = TEXCOORD0;
    finish = vec4(c[13].y, 0.0, 0.0, 1.0);
}
