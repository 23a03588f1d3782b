// The island in the colour scene: c0-c3 world x view-projection, c4-c7 the
// world's inverse transpose (for directions), c8-c11 world, c12.xyz the eye,
// c13 = (time, sweep, -, -). Hands the fragment shader the world position,
// the tangent frame, the way to the eye and the texture coordinate, and what
// changes slowly over the island (its cells are about a unit across): how
// far the colour front is past the point, the haze and the cliff faces' map
// level.
// About 70 instructions.
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
out vec3 slow;  // x how far the front is past the point, y haze, z cliff map level

float FrontDistance(vec3 p) {
    float d = length(p.xz - vec2(6.0, 42.0));
    return d < 100.0 ? d : 100.0 + (d - 100.0) * 0.35;
}

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

    // The front is a circle round the yacht (6, 42) whose radius is the
    // sweep, wobbling a little (waves some 15 units long, so the cells
    // follow them).
    float wobble = 2.5 * sin(worldPosition.x * 0.21 + worldPosition.z * 0.13) +
                   1.5 * sin(worldPosition.z * 0.37 - worldPosition.x * 0.17);
    float distanceToEye = length(toEye);
    slow = vec3(c[13].y - FrontDistance(worldPosition) + wobble, 1.0 - exp(-distanceToEye / 420.0),
                max(log2(distanceToEye / 29.0), 0.0));
}
