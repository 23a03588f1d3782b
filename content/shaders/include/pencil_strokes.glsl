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
