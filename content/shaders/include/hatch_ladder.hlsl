// The ladder of hatch tones, read from two of the hatch textures: each holds
// its own tone in red and the next three darker ones in green, blue and
// alpha. Paper value (1 white .. 0 graphite) at place `x` of the ladder: 0 is
// bare paper, 1 to 4 the tones in `light` (one texture's rgba), 5 and 6 the
// first two in `dark` (the green, blue and alpha of the texture three tones
// darker). Neighbouring tones are blended; each holds the strokes of the
// lighter ones, so the blend never swims. About 20 instructions.
float Ladder(float x, float4 light, float3 dark) {
    float paper = lerp(1.0, light.r, clamp(x, 0.0, 1.0));
    paper = lerp(paper, light.g, clamp(x - 1.0, 0.0, 1.0));
    paper = lerp(paper, light.b, clamp(x - 2.0, 0.0, 1.0));
    paper = lerp(paper, light.a, clamp(x - 3.0, 0.0, 1.0));
    paper = lerp(paper, dark.x, clamp(x - 4.0, 0.0, 1.0));
    return lerp(paper, dark.y, clamp(x - 5.0, 0.0, 1.0));
}
