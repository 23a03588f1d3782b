// A rough colour of the ground (0 dark .. 1 light) from its height and
// steepness alone: sand on the shore, rock on steep and high ground, grass
// elsewhere, weed below the sea (at height -3). About 20 instructions.
float GroundShade(float3 p, float3 n) {
    float rock = max(smoothstep(0.28, 0.5, 1.0 - n.y), smoothstep(21.0, 27.0, p.y));
    float sand = (1.0 - smoothstep(-1.6, 0.4, p.y)) * (1.0 - rock);
    float shade = lerp(lerp(0.40, 0.73, sand), 0.47, rock);
    return lerp(shade, 0.30, clamp((-3.3 - p.y) / 6.0, 0.0, 1.0));
}
