// The globe, shaded: c0-c3 world x view-projection, c4-c7 the inverse
// transpose of its world (the identity: the globe stands where its mesh file
// puts it, so model space is world space), c8.xyz the eye, c9 earthVector.
// The sun stands a third of a turn round the globe from earthVector's side
// (which is close to the camera's), so the camera sees a lit face, the
// terminator and a rim of night.
// About 45 instructions.
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
in vec3 TANGENT0;
in vec3 BINORMAL0;
out vec2 uv;
out vec3 normal;
out vec3 tangent;
out vec3 binormal;
out vec3 toEye;
out vec3 toSun;

// earthVector's direction turned by `angle` about the world's y axis.
vec3 SunFrom(vec3 side, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return normalize(vec3(side.x * k - side.z * s, side.y * 0.35, side.x * s + side.z * k));
}

void main() {
    mat3 inverseTranspose = mat3(mat4(c[4], c[5], c[6], c[7]));
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    normal = NORMAL0 * inverseTranspose;
    tangent = TANGENT0 * inverseTranspose;
    binormal = BINORMAL0 * inverseTranspose;
    toEye = c[8].xyz - POSITION0;
    toSun = SunFrom(c[9].xyz, -1.25);
    uv = TEXCOORD0;
}
