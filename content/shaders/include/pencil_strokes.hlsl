// Pencil strokes laid on the ground in world space, for the sketch sheets.
// Needs noise.hlsl (Hash). No loops and no trigonometry: each layer of
// strokes is one row of strokes and two hashes, about 40 instructions.
//
// A layer is rows of strokes kGap units apart along a direction; each row is
// cut into strokes kLength long, shifted along the row by a hash of the row,
// each set a little off the row and slanting across it by a hash of its
// own, and each stroke is drawn once `density` (0..1) passes its rank, so the
// shading builds up stroke by stroke. Directions are snapped to the points
// of a small lattice (StrokeDirection): a patch of ground keeps one direction
// and its rows stay straight, as a hand draws a patch of strokes. `pixel` is
// the size of one pixel on the ground: strokes are kWidthPixels wide on the
// screen and fade to their mean cover where rows shrink to a few pixels.
static const float kGap = 0.5;
static const float kLength = 3.2;
static const float kWidthPixels = 1.5;

// `dir` snapped to one of twelve directions of a half turn (strokes have no
// head or tail): the nearest point of the lattice on a circle of radius 3,
// 11 to 18 degrees apart. xy the unit direction, zw the lattice point (a
// seed that tells the directions apart).
float4 StrokeDirection(float2 dir) {
    float2 a = dir * rsqrt(max(dot(dir, dir), 1.0e-8));
    a = a.y < 0.0 ? -a : a;
    float2 step = floor(a * 3.0 + 0.5);
    return float4(normalize(step), step);
}

// One layer along the unit direction `d`; `seed` sets the strokes apart.
float StrokeLayer(float2 p, float2 d, float density, float pixel, float seed) {
    float2 s = float2(dot(p, d), dot(p, float2(-d.y, d.x)));
    float row = floor(s.y / kGap);
    float along = s.x / kLength + Hash(float2(row, seed));
    float cell = floor(along);
    float h = Hash(float2(cell, row) + seed * 7.0);
    float rank = frac(h * 13.7);
    float shown = clamp((density - rank) * 10.0, 0.0, 1.0);
    float t = frac(along);
    // Each stroke a little off its row and slanting across it.
    float centre = (row + 0.5 + 0.4 * (frac(h * 7.3) - 0.5) + 1.2 * (t - 0.5) * (frac(h * 5.1) - 0.5)) * kGap;
    float taper = clamp((0.5 - abs(t - 0.5) * (1.1 + 0.4 * frac(h * 3.9))) * 4.0, 0.0, 1.0);
    float halfWidth = 0.5 * kWidthPixels * pixel * (0.5 + 0.5 * taper);
    float ink = clamp((halfWidth - abs(s.y - centre)) / pixel + 0.5, 0.0, 1.0) * taper;
    float cover = ink * shown * (0.6 + 0.4 * taper);
    float mean = clamp(0.6 * density * kWidthPixels * pixel / kGap, 0.0, 0.85);
    return lerp(cover, mean, smoothstep(0.2, 0.5, pixel / kGap));
}

// Strokes along the snapped direction `d` (StrokeDirection), crossed at a
// slant (the direction turned by 60 degrees) by a second layer where
// `crossDensity` > 0.
float Layers(float2 q, float pixel, float4 d, float density, float crossDensity, float seed) {
    float s = seed + dot(d.zw, float2(3.1, 9.7));
    float cover = StrokeLayer(q, d.xy, density, pixel, s);
    float2 slant = float2(d.x * 0.5 - d.y * 0.866, d.x * 0.866 + d.y * 0.5);
    float crossed = StrokeLayer(q, slant, crossDensity, pixel, s + 71.0);
    return 1.0 - (1.0 - cover) * (1.0 - 0.85 * crossed);
}

// Strokes down the fall line of the surface with normal `n`: laid out in the
// ground plane where the ground is gentle (|n.y| >= kSteepPlane) and in the
// upright plane that faces the surface best where it is steep, one plane a
// pixel, as a hand lays one patch of strokes beside the next. Each plane's
// pixel size is taken in that plane. xy the plane's point, z its pixel
// size, w the seed of the plane; `fall` gets the strokes' direction.
static const float kSteepPlane = 0.325;

float4 PencilPlane(float3 p, float3 n, out float2 fall) {
    float3 fall3 = float3(0.0, -1.0, 0.0) + n * n.y;  // down the slope, in the surface
    bool steep = abs(n.y) < kSteepPlane;
    bool facesX = abs(n.x) > abs(n.z);
    float2 side = facesX ? p.zy : p.xy;
    float2 at = steep ? side : p.xz;
    float2 along = steep ? (facesX ? fall3.zy : fall3.xy) : fall3.xz;
    fall = length(along) > 0.05 ? along : (steep ? float2(0.0, 1.0) : float2(0.6, -0.8));
    float pixel = max(length(steep ? fwidth(side) : fwidth(p.xz)) * 0.75, 1.0e-4);
    return float4(at, pixel, steep ? 13.0 : 0.0);
}

float Pencil(float3 p, float3 n, float density, float crossDensity) {
    float2 fall;
    float4 plane = PencilPlane(p, n, fall);
    return Layers(plane.xy, plane.z, StrokeDirection(fall), density, crossDensity, plane.w);
}
