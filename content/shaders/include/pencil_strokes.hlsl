// Pencil strokes laid on the ground in world space, for the sketch sheets.
// Needs noise.hlsl (Hash). No loops: each layer of strokes is one lookup of
// a row of strokes and one hash, about 45 instructions.
//
// A layer is rows of strokes kGap units apart along a direction; each row is
// cut into strokes kLength long, shifted along the row by a hash of the row,
// each set a little off the row and slanting across it by a hash of its
// own, and each stroke is drawn once `density` (0..1) passes its rank, so the
// shading builds up stroke by stroke. Directions come in steps of a twelfth
// of a half turn: a patch of ground keeps one direction and its rows stay
// straight, as a hand draws a patch of strokes. `pixel` is the size of one
// pixel on the ground: strokes are kWidthPixels wide on the screen and fade
// to their mean cover where rows shrink to a few pixels.
static const float kGap = 0.5;
static const float kLength = 3.2;
static const float kWidthPixels = 1.5;
static const float kDirections = 12.0;

float StrokeLayer(float2 p, float2 dir, float density, float pixel, float seed) {
    // The direction, snapped to its step (strokes have no head or tail).
    float angle = atan2(dir.y, dir.x);
    float step = floor(frac(angle / 3.14159265) * kDirections + 0.5);
    float snapped = step * 3.14159265 / kDirections;
    float2 d = float2(cos(snapped), sin(snapped));
    float2 s = float2(dot(p, d), dot(p, float2(-d.y, d.x)));
    float row = floor(s.y / kGap);
    float along = s.x / kLength + Hash(float2(row, step + seed));
    float cell = floor(along);
    float h = Hash(float2(cell, row) + seed * 7.0 + step * 3.1);
    float rank = frac(h * 13.7);
    float shown = smoothstep(rank, rank + 0.1, density);
    float t = frac(along);
    // Each stroke a little off its row and slanting across it.
    float centre = (row + 0.5 + 0.4 * (frac(h * 7.3) - 0.5) + 1.2 * (t - 0.5) * (frac(h * 5.1) - 0.5)) * kGap;
    float taper = 1.0 - smoothstep(0.25, 0.5, abs(t - 0.5) * (1.1 + 0.4 * frac(h * 3.9)));
    float halfWidth = 0.5 * kWidthPixels * pixel * (0.5 + 0.5 * taper);
    float ink = clamp((halfWidth - abs(s.y - centre)) / pixel + 0.5, 0.0, 1.0) * taper;
    float cover = ink * shown * (0.6 + 0.4 * taper);
    float mean = clamp(0.6 * density * kWidthPixels * pixel / kGap, 0.0, 0.85);
    return lerp(cover, mean, smoothstep(0.2, 0.5, pixel / kGap));
}

// Strokes along `fall`, crossed at a slant by a second layer where
// `crossDensity` > 0.
float Layers(float2 q, float pixel, float2 fall, float density, float crossDensity, float seed) {
    float cover = StrokeLayer(q, fall, density, pixel, seed);
    if (crossDensity > 0.0) {
        float2 slant = float2(fall.x * 0.5 - fall.y * 0.866, fall.x * 0.866 + fall.y * 0.5);
        cover = 1.0 - (1.0 - cover) * (1.0 - 0.85 * StrokeLayer(q, slant, crossDensity, pixel, seed + 71.0));
    }
    return cover;
}

// Strokes down the fall line of the surface with normal `n`, laid out in the
// ground plane where the ground is gentle and in the upright plane that faces
// the surface best where it is steep; at most two planes, blended.
float Pencil(float3 p, float3 n, float density, float crossDensity) {
    float3 fall3 = float3(0.0, -1.0, 0.0) + n * n.y;  // down the slope, in the surface
    float steep = smoothstep(0.55, 0.8, 1.0 - abs(n.y));
    bool facesX = abs(n.x) > abs(n.z);
    float2 side = facesX ? p.zy : p.xy;
    float2 sideFall = facesX ? fall3.zy : fall3.xy;
    // Pixel sizes in each plane, taken before any branch.
    float topPixel = max(length(fwidth(p.xz)) * 0.75, 1.0e-4);
    float sidePixel = max(length(fwidth(side)) * 0.75, 1.0e-4);
    float cover = 0.0;
    if (steep < 0.99) {
        float2 fall = length(fall3.xz) > 0.05 ? fall3.xz : float2(0.6, -0.8);
        cover += (1.0 - steep) * Layers(p.xz, topPixel, fall, density, crossDensity, 0.0);
    }
    if (steep > 0.01) {
        float2 fall = length(sideFall) > 0.05 ? sideFall : float2(0.0, 1.0);
        cover += steep * Layers(side, sidePixel, fall, density, crossDensity, 13.0);
    }
    return cover;
}
