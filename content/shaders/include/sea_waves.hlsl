// The slope of the sea at world point p (x, z): two layers of waves from the
// wave map on sampler 0 drifting across each other, calmer with distance so
// that the far sea neither shimmers nor turns to noise.
float2 WaveSlope(float2 p, float time, float distanceToEye) {
    float2 w1 = tex2D(s0, p / 29.0 + float2(0.011, 0.007) * time).xy * 2.0 - 1.0;
    float2 w2 = tex2D(s0, float2(p.x + p.y, p.y - p.x) / 17.0 + float2(-0.013, 0.019) * time).xy * 2.0 - 1.0;
    return (w1 + float2(w2.x - w2.y, w2.x + w2.y) * 0.5) * (0.42 / (1.0 + distanceToEye / 160.0));
}
