// The sea of the hatching scene, growing outward as hatched waves.
// c0 = (origin x, y, z, growth): the sea covers the ground within `growth`
// units of the origin (a point on the beach), its front ragged by the heights
// of the slow waves; the rest of the disc stays bare paper, so the island's
// drowned skirt shows there as the sketch leaves it. Samplers (0-2 wrapping):
// 0 waves2.dds (normal in rgb, height in a), 1 Hatch1.dds (tones 1-4: finer
// strokes, crossed on the darkest water), 2 hatch0.jpg (long wavy strokes);
// 3 (hatch1.jpg) is not read. The waves roll with the time in the vertex
// shader's c13.y, passed on as `time`.
// Colour 0: the waves in hatching, darker on the flanks turned from the sun,
// with pencil ripples running just behind the front. Colour 1: the sketch
// sheet of the same sea (see fragment_handdraw.cpp) with the ripples as its
// strokes; its distance jumps at the front, so the edge pass outlines it.
// About 110 instructions and 4 texture fetches, each one bilinear read at a
// whole mip level (one of them at a fixed texel on light water).
float4 c0 : register(c0);
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);

static const float3 kSun = float3(0.5, 0.62, 0.6);

float Strokes(float phase, float footprint, float widthPixels) {
    footprint = max(footprint, 1.0e-4);
    float pixelsToLine = (0.5 - abs(frac(phase) - 0.5)) / footprint;
    float ink = clamp(0.5 * widthPixels - pixelsToLine + 0.5, 0.0, 1.0);
    float mean = clamp(widthPixels * footprint, 0.0, 1.0);
    return lerp(ink, mean, smoothstep(0.2, 0.45, footprint));
}

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 eyePosition : TEXCOORD5,
          float time : TEXCOORD8,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float3 origin = c0.xyz;
    float growth = c0.w;
    float2 fromOrigin = worldPosition.xz - origin.xz;
    float radius = length(fromOrigin);

    // Every read at one mip level, the whole one nearest to what the pixel
    // covers: a texture read `k` times across uv, `size` texels a side, at
    // floor(uvLevel + log2(k * size) + 0.5). One bilinear read each, no blend
    // of two levels.
    float2 dx = ddx(uv), dy = ddy(uv);
    float uvLevel = 0.5 * log2(max(max(dot(dx, dx), dot(dy, dy)), 1.0e-12));

    // Two layers of waves rolling in different directions.
    float2 atA = uv * 0.8 + time * float2(0.011, 0.006);
    float2 atB = uv * 1.9 + time * float2(-0.008, 0.013) + 0.37;
    float4 wavesA = tex2Dlod(s0, float4(atA, 0.0, max(floor(uvLevel + 8.18), 0.0)));
    float4 wavesB = tex2Dlod(s0, float4(atB, 0.0, max(floor(uvLevel + 9.43), 0.0)));

    // The front, ragged by the heights of the slow waves under it, so that
    // it creeps on with them.
    float front = growth - 4.0 * wavesA.a - 1.0;
    float behind = front - radius;  // units inside the front
    // Ripples just behind the front, a pencil ring every 2.5 units, bent a
    // little by the faster waves.
    float ringPhase = (radius - growth) / 2.5 + 0.3 * wavesB.a;
    float ringFootprint = fwidth(ringPhase);
    // A soft band of paper where the front passes, so it is no hard cut.
    float edge = clamp(behind / max(fwidth(radius) * 1.5, 1.0e-3), 0.0, 1.0);

    float3 bump = (wavesA.xyz + wavesB.xyz) - 1.0;
    // Tangent frame of the sea: u along +x, v along -z, out is +y.
    float3 n = normalize(float3(bump.x, 1.6, -bump.y));
    float3 toEye = normalize(eyePosition - worldPosition);
    float light = clamp(dot(n, normalize(kSun)) * 0.9 + 0.1, 0.0, 1.0);
    float facing = clamp(dot(n, toEye), 0.0, 1.0);
    // Far water is bright with the sky; near water and wave flanks darker.
    float away = 1.0 - facing;
    float skyward = away * away * away;
    float darkness = clamp(0.62 - 0.55 * light + 0.25 * (1.0 - skyward) - 0.35 * skyward, 0.0, 1.0);

    // The finer strokes come in on darker water, crossed on the darkest:
    // the hatch tones 1 and 4 of Hatch1 (tone 4 holds tone 1's strokes and
    // crosses them). On light water the lookup reads one fixed texel (a
    // branch would not spare a software rasteriser the lookup: it runs both
    // sides; a fixed texel costs it one cached read).
    float2 flow = uv * 0.5 + bump.xy * 0.03;
    float wavy = tex2Dlod(s2, float4(flow, 0.0, max(floor(uvLevel + 8.5), 0.0))).r;
    bool fines = darkness > 0.25;
    float4 tones = tex2Dlod(s1, float4(fines ? uv * 2.5 + bump.xy * 0.02 : (float2)0.0, 0.0,
                                       fines ? max(floor(uvLevel + 9.82), 0.0) : 0.0));
    float fine = lerp(tones.r, tones.a, smoothstep(0.5, 0.8, darkness));
    float hatch = lerp(wavy, wavy * fine, smoothstep(0.25, 0.5, darkness));
    hatch = lerp(1.0, hatch, smoothstep(0.05, 0.3, darkness));

    float ringFade = 1.0 - smoothstep(2.0, 14.0, behind);
    float rings = Strokes(ringPhase, ringFootprint, 1.8 * ringFade);
    float picture = hatch * (1.0 - 0.8 * rings);
    if (behind < 0.0) discard;
    oC0 = float4(float3(lerp(1.0, picture, edge)), 1.0);

    float tone = 0.88 - 0.2 * darkness;
    float sketch = 0.5 * (1.0 - wavy) * smoothstep(0.2, 0.6, darkness) + 0.9 * rings;
    float depthCode = clamp(log2(distance(worldPosition, eyePosition)) / 10.0, 0.0, 0.95);
    oC1 = float4(tone, 1.0 - clamp(sketch, 0.0, 1.0) * edge, tone, lerp(1.0, depthCode, edge));
}
