// The glow's middle target split by parity: the vertical blur stores the
// picture's even columns in the left block and its odd ones in the right,
// and likewise its even rows in the top block and its odd rows in the
// bottom, so that pixels two apart lie side by side and the horizontal
// blur's linear reads take two of them in one tap. `size` is the picture in
// pixels and the even block holds ceil(size / 2) of them. About 8
// instructions each.

// The pixel whose blur is stored at texel `cell`.
float2 SplitPixel(float2 cell, float2 size) {
    float2 evens = ceil(size * 0.5);
    float2 odd = step(evens, cell);
    return 2.0 * (cell - odd * evens) + odd;
}

// The block that holds pixel `first`'s parity: its first texel (`start`)
// and its count of texels (`count`); returns where pixel `first` lies in it,
// in texels from `start` to its texel centre. A read at that place plus
// `toward` takes pixels `first` and `first` + 2 with weights 1 - `toward` and
// `toward`; held between 0.5 and `count` - 0.5, it stays inside the block, so
// that the other block never bleeds in (the picture's edge repeats instead).
float2 SplitBlock(float2 first, float2 size, out float2 start, out float2 count) {
    float2 evens = ceil(size * 0.5);
    float2 odd = first - 2.0 * floor(first * 0.5);
    start = odd * evens;
    count = lerp(evens, size - evens, odd);
    return floor(first * 0.5) + 0.5;
}
