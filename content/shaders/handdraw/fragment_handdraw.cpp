// The island as a pencil sketch on white paper. Writes a sketch sheet that
// fragment_sobel.cpp turns into the picture:
//   r, b  the smooth tone (light on the broad form and the blurred colour map,
//         no strokes, no fine bumps): the edge finder draws its lines where
//         this tone turns sharply (crests, the edge of the beach);
//   g     the pencil strokes, 1 for bare paper, lower for graphite;
//   a     the distance from the eye, log-scaled (1 is paper): the edge finder
//         draws outlines where it jumps, and along the water line, below
//         which the sheet is left as paper.
// The strokes are short pencil strokes scattered over the ground in world
// space (so they stay put as the camera moves), laid down the fall line of
// the slope; where the ground turns further from the sun a second layer
// crosses them along the slope. Each stroke has a rank and is drawn once the
// ground is dark enough for it, so the shading builds up stroke by stroke;
// the fine bumps of the normal map and the colour map decide how dark.
// Samplers: 0 island colour, 1 island normal map (tangent space).
uniform sampler2D s0;
uniform sampler2D s1;
in vec2 uv;
in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 worldBinormal;
in vec3 eyePosition;

const vec3 kSun = vec3(0.5, 0.62, 0.6);
const float kShoreLine = -3.25;  // just under the sea, so the sea hides it once drawn

float Hash(vec2 p) {
    vec3 q = fract(vec3(p.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

// Short strokes scattered over the ground plane `p` (world x, z), two to a
// cell of kCell units, each laid along `dir` (a unit vector in x-z) with a
// tilt of its own and drawn once `density` (0..1) passes its rank. `pixel` is
// the size of one pixel on the ground; strokes are kWidthPixels wide on the
// screen and fade to their mean cover where cells shrink to a few pixels.
const float kCell = 1.4;
const float kWidthPixels = 1.6;

float StrokeField(vec2 p, vec2 dir, float density, float pixel, float seed) {
    vec2 cell = floor(p / kCell);
    float cover = 0.0;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            vec2 id = cell + vec2(float(i), float(j));
            for (int k = 0; k < 2; ++k) {
                vec2 key = id + vec2(float(k) * 0.37 + seed, seed * 1.9);
                float rank = (float(k) + Hash(key * 1.13 + 0.5)) * 0.5;
                float shown = smoothstep(rank, rank + 0.1, density);
                vec2 centre = (id + vec2(Hash(key), Hash(key + 17.7))) * kCell;
                float tilt = (Hash(key + 29.3) - 0.5) * 0.6;
                vec2 d = vec2(dir.x * cos(tilt) - dir.y * sin(tilt), dir.x * sin(tilt) + dir.y * cos(tilt));
                vec2 rel = p - centre;
                float along = dot(rel, d);
                float halfLength = kCell * (0.55 + 0.4 * Hash(key + 41.1));
                float bow = 0.12 * kCell * (Hash(key + 53.9) - 0.5) * (along * along / (halfLength * halfLength));
                float across = abs(dot(rel, vec2(-d.y, d.x)) - bow);
                float taper = 1.0 - smoothstep(0.5, 1.0, abs(along) / halfLength);
                float halfWidth = 0.5 * kWidthPixels * pixel * (0.6 + 0.4 * taper);
                float line = clamp((halfWidth - across) / pixel + 0.5, 0.0, 1.0);
                line *= clamp((halfLength - abs(along)) / pixel + 0.5, 0.0, 1.0);
                cover = max(cover, line * shown * (0.6 + 0.4 * taper));
            }
        }
    }
    float mean = clamp(3.0 * density * kWidthPixels * pixel / kCell, 0.0, 0.85);
    return mix(cover, mean, smoothstep(0.12, 0.3, pixel / kCell));
}

// Strokes down the fall line of the surface with normal `n` (and across it
// where `crossDensity` > 0), laid out in the plane that faces the surface
// best: the ground plane for gentle slopes, an upright plane for cliffs.
float Layers(vec2 q, float pixel, vec2 fall, float density, float crossDensity, float seed) {
    float cover = StrokeField(q, fall, density, pixel, seed);
    if (crossDensity > 0.0) cover = 1.0 - (1.0 - cover) * (1.0 - 0.85 * StrokeField(q, vec2(-fall.y, fall.x), crossDensity, pixel, seed + 71.0));
    return cover;
}

vec2 Fall(vec2 f, vec2 slant) {
    float size = length(f);
    vec2 d = f / max(size, 1.0e-4);
    d *= sign(dot(d, slant) + 1.0e-3);  // a stroke has no head or tail
    return normalize(mix(slant, d, smoothstep(0.05, 0.2, size)));
}

float Pencil(vec3 p, vec3 n, float density, float crossDensity) {
    vec3 fall3 = vec3(0.0, -1.0, 0.0) + n * n.y;  // down the slope, in the surface
    vec3 weights = pow(abs(n), vec3(4.0));
    weights /= weights.x + weights.y + weights.z;
    // Pixel sizes in each plane, taken before any branch.
    vec3 pixels = max(vec3(length(fwidth(p.zy)), length(fwidth(p.xz)), length(fwidth(p.xy))) * 0.75, vec3(1.0e-4));
    float cover = 0.0;
    if (weights.y > 0.02) cover += weights.y * Layers(p.xz, pixels.y, Fall(fall3.xz, vec2(0.6, -0.8)), density, crossDensity, 0.0);
    if (weights.x > 0.02) cover += weights.x * Layers(p.zy, pixels.x, Fall(fall3.zy, vec2(0.0, 1.0)), density, crossDensity, 13.0);
    if (weights.z > 0.02) cover += weights.z * Layers(p.xy, pixels.z, Fall(fall3.xy, vec2(0.0, 1.0)), density, crossDensity, 29.0);
    return cover;
}

void main() {
    vec3 n = normalize(worldNormal);
    vec3 t = normalize(worldTangent);
    vec3 b = normalize(worldBinormal);
    vec3 bump = texture(s1, uv).xyz * 2.0 - 1.0;
    vec3 detailNormal = normalize(t * bump.x + b * bump.y + n * max(bump.z, 0.2));
    vec3 sun = normalize(kSun);

    // Broad light and colour: what the edge finder sees.
    float albedo = dot(texture(s0, uv, 4.0).rgb, vec3(0.3, 0.55, 0.15));
    float broadLight = clamp((dot(n, sun) + 0.25) / 1.25, 0.0, 1.0);
    float smoothTone = clamp(0.35 + 0.65 * broadLight, 0.0, 1.0) * mix(0.8, 1.1, albedo);

    // Fine light and colour: what chooses the strokes.
    float fineAlbedo = dot(texture(s0, uv).rgb, vec3(0.3, 0.55, 0.15));
    float light = clamp((dot(detailNormal, sun) + 0.2) / 1.2, 0.0, 1.0);
    float darkness = clamp(1.0 - light * mix(0.75, 1.15, fineAlbedo), 0.0, 1.0);

    float density = smoothstep(0.35, 0.85, darkness);
    float crossDensity = smoothstep(0.68, 1.0, darkness);
    float strokes = Pencil(worldPosition, n, density, crossDensity);
    float graphite = strokes;

    // Nothing below the water line; the edge finder draws the line itself.
    float above = clamp((worldPosition.y - kShoreLine) / max(fwidth(worldPosition.y), 1.0e-3) + 0.5, 0.0, 1.0);
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);

    float tone = mix(1.0, smoothTone, above);
    oC0 = vec4(tone, 1.0 - graphite * above, tone, mix(1.0, depthCode, above));
}
