// The island seen in the sea (drawn mirrored, cut at the water line): the
// colour map under sun and sky, the detail normals and the cast shadows of
// samplers 0-2. Pairs with vertex_base.cpp. Alpha 0 marks where the island
// is: the target is cleared to opaque black, and the sea reads 1 - alpha as
// the island's cover.
// The three maps share their coordinates and are read at one level, the
// nearest to what the pixel covers (the shadow map is half the size): one
// bilinear read each instead of a blend of two levels.
// About 50 instructions, 3 texture fetches.
uniform sampler2D s0;
uniform sampler2D s1;
uniform sampler2D s2;
in vec2 uv;
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 worldBinormal;
in vec3 eyePosition;

const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kSunColour = vec3(1.05, 0.97, 0.86);
const vec3 kSkyColour = vec3(0.36, 0.44, 0.56);
const vec3 kHaze = vec3(0.72, 0.80, 0.90);

void main() {
    vec2 texels = uv * vec2(textureSize(s1, 0));
    vec2 dx = dFdx(texels), dy = dFdy(texels);
    float level = max(floor(0.5 * log2(max(dot(dx, dx), dot(dy, dy))) + 0.5), 0.0);
    vec3 detail = textureLod(s1, uv, level).xyz * 2.0 - 1.0;
    vec3 n = normalize(worldNormal * detail.z + worldTangent * detail.x + worldBinormal * detail.y);
    float inLight = clamp((textureLod(s2, uv, max(level - 1.0, 0.0)).r - 0.5) * 2.0, 0.0, 1.0);
    float sun = max(dot(n, kSun), 0.0) * inLight;
    float skyLight = 0.55 + 0.45 * n.y;
    vec3 colour = textureLod(s0, uv, level).rgb * (kSkyColour * skyLight + kSunColour * sun * 1.25);
    float haze = 1.0 - exp(-length(eyePosition - worldPosition) / 420.0);
    oC0 = vec4(mix(colour, kHaze, haze * 0.8), 0.0);
    oC1 = vec4(0.0);
}
