// The slope of the sea at world point p (x, z): two layers of waves from the
// wave map on sampler 0 (256 texels a side) drifting across each other,
// calmer with distance so that the far sea neither shimmers nor turns to
// noise. Each layer is read at the map level nearest to what the pixel
// covers: one bilinear read, not a blend of two levels.
float2 WaveSlope(float2 p, float time, float distanceToEye) {
    float2 dx = ddx(p), dy = ddy(p);
    float footprint = 0.5 * log2(max(max(dot(dx, dx), dot(dy, dy)), 1.0e-8));
    float level1 = max(floor(footprint + 3.1420 + 0.5), 0.0);  // log2(256 / 29)
    float level2 = max(floor(footprint + 4.4122 + 0.5), 0.0);  // log2(256 * sqrt(2) / 17)
    float2 w1 = tex2Dlod(s0, float4(p / 29.0 + float2(0.011, 0.007) * time, 0.0, level1)).xy * 2.0 - 1.0;
    float2 w2 = tex2Dlod(s0, float4(float2(p.x + p.y, p.y - p.x) / 17.0 + float2(-0.013, 0.019) * time, 0.0, level2)).xy * 2.0 - 1.0;
    return (w1 + float2(w2.x - w2.y, w2.x + w2.y) * 0.5) * (0.42 / (1.0 + distanceToEye / 160.0));
}
