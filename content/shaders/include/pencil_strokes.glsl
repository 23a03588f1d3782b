// Pencil strokes laid on the ground in world space, for the sketch sheets.
// Needs noise.glsl (Hash). No loops: each layer of strokes is one lookup of
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
const float kGap = 0.5;
const float kLength = 3.2;
const float kWidthPixels = 1.5;
const float kDirections = 12.0;

float StrokeLayer(vec2 p, vec2 dir, float density, float pixel, float seed) {
    // The direction, snapped to its step (strokes have no head or tail).
    float angle = atan(dir.y, dir.x);
    float step = floor(fract(angle / 3.14159265) * kDirections + 0.5);
    float snapped = step * 3.14159265 / kDirections;
    vec2 d = vec2(cos(snapped), sin(snapped));
    vec2 s = vec2(dot(p, d), dot(p, vec2(-d.y, d.x)));
    float row = floor(s.y / kGap);
    float along = s.x / kLength + Hash(vec2(row, step + seed));
    float cell = floor(along);
    float h = Hash(vec2(cell, row) + seed * 7.0 + step * 3.1);
    float rank = fract(h * 13.7);
    float shown = smoothstep(rank, rank + 0.1, density);
    float t = fract(along);
    // Each stroke a little off its row and slanting across it.
    float centre = (row + 0.5 + 0.4 * (fract(h * 7.3) - 0.5) + 1.2 * (t - 0.5) * (fract(h * 5.1) - 0.5)) * kGap;
    float taper = 1.0 - smoothstep(0.25, 0.5, abs(t - 0.5) * (1.1 + 0.4 * fract(h * 3.9)));
    float halfWidth = 0.5 * kWidthPixels * pixel * (0.5 + 0.5 * taper);
    float line = clamp((halfWidth - abs(s.y - centre)) / pixel + 0.5, 0.0, 1.0) * taper;
    float cover = line * shown * (0.6 + 0.4 * taper);
    float mean = clamp(0.6 * density * kWidthPixels * pixel / kGap, 0.0, 0.85);
    return mix(cover, mean, smoothstep(0.2, 0.5, pixel / kGap));
}

// Strokes along `fall`, crossed at a slant by a second layer where
// `crossDensity` > 0.
float Layers(vec2 q, float pixel, vec2 fall, float density, float crossDensity, float seed) {
    float cover = StrokeLayer(q, fall, density, pixel, seed);
    if (crossDensity > 0.0) {
        vec2 slant = vec2(fall.x * 0.5 - fall.y * 0.866, fall.x * 0.866 + fall.y * 0.5);
        cover = 1.0 - (1.0 - cover) * (1.0 - 0.85 * StrokeLayer(q, slant, crossDensity, pixel, seed + 71.0));
    }
    return cover;
}

// Strokes down the fall line of the surface with normal `n`, laid out in the
// ground plane where the ground is gentle and in the upright plane that faces
// the surface best where it is steep; at most two planes, blended.
float Pencil(vec3 p, vec3 n, float density, float crossDensity) {
    vec3 fall3 = vec3(0.0, -1.0, 0.0) + n * n.y;  // down the slope, in the surface
    float steep = smoothstep(0.55, 0.8, 1.0 - abs(n.y));
    bool facesX = abs(n.x) > abs(n.z);
    vec2 side = facesX ? p.zy : p.xy;
    vec2 sideFall = facesX ? fall3.zy : fall3.xy;
    // Pixel sizes in each plane, taken before any branch.
    float topPixel = max(length(fwidth(p.xz)) * 0.75, 1.0e-4);
    float sidePixel = max(length(fwidth(side)) * 0.75, 1.0e-4);
    float cover = 0.0;
    if (steep < 0.99) {
        vec2 fall = length(fall3.xz) > 0.05 ? fall3.xz : vec2(0.6, -0.8);
        cover += (1.0 - steep) * Layers(p.xz, topPixel, fall, density, crossDensity, 0.0);
    }
    if (steep > 0.01) {
        vec2 fall = length(sideFall) > 0.05 ? sideFall : vec2(0.0, 1.0);
        cover += steep * Layers(side, sidePixel, fall, density, crossDensity, 13.0);
    }
    return cover;
}
