// The island, from pencil hatching to colour. c0 = (time, sweep, -, -).
// Samplers: 2 the light map (the ground lit by sun and sky, cast shadows and
// detail normals included, as the square root of a 1.6th in rgb; the light
// as the pencil sees it in alpha), 3-8 the hatch tones Hatch0 (light) to
// Hatch5 (dark), a tonal art map on white paper: Hatch0 carries the four
// lightest tones in its channels (hatch_ladder.hlsl). The colour and normal
// maps on 0 and 1 and stages 4-8 are not read.
//
// The colour front is a circle round the yacht (6, 42) whose radius is the
// sweep (farther out it runs ahead, so the sea reaches the horizon by the
// time the sweep is about 350). Behind the front the island is in colour; a
// band of strokes about 9 units wide leads it, the paper filling in between
// the strokes first. oC1 carries what glows: a warm line along the front and
// the sunlit rock and sand. Pixels under the sea leave at once: the sea
// covers them.
// The front's place, the haze, the cliff faces' level direction and the
// pencil's darkening at the silhouette change slowly and come from the
// vertex shader. The island's maps lie on the world position
// seen from above, so no texture coordinate comes in. The light map is read
// at one level, the nearest to what the pixel covers, and so is the
// hatching, at the nearest level of its plane; one pair of the position's
// derivatives gives both.
// About 90 instructions, 2 bilinear texture fetches; ahead of the front
// that does not show, the hatching reads one fixed texel.
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kSunColour = float3(1.05, 0.97, 0.86);
static const float3 kSkyColour = float3(0.36, 0.44, 0.56);
static const float3 kHaze = float3(0.72, 0.80, 0.90);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.15, 0.15, 0.19);
static const float3 kFrontGlow = float3(1.0, 0.72, 0.38);
static const float kIslandHalf = 72.0;  // the maps cover |x| and |z| up to this, u along +x, v along -z
// Levels: half the log2 of the square units a pixel covers, plus log2 of the
// map's texels a unit (1024 over 144 for the island's maps, 256 over 17 for
// the hatching), plus a half to round.
static const float kMapLevelOffset = 3.3301;
static const float kHatchLevelOffset = 4.4125;
static const float kFrontWidth = 9.0;
static const float kSteepPlane = 0.675;  // |normal.y| over which strokes lie on the ground plane
static const float kAllColour = 1.45;  // fronts' widths behind it where a pixel is colour whatever its strokes

#include "hatch_ladder.hlsl"

// Paper value of the hatching for a tone 0..1, from the one texture Hatch0,
// which carries the four lightest tones (0-3) of the ladder; darker than
// those its strokes stay and graphite is rubbed into the paper between
// them. `level` is the mip level: one level, the nearest to what the pixel
// covers.
float Hatching(float tone, float2 at, float level) {
    float x = clamp(tone, 0.0, 1.0) * 6.0;
    float4 light = tex2Dlod(s3, float4(at, 0.0, level));
    return Ladder(x, light, light.aaa) * (1.0 - 0.1 * clamp(x - 4.0, 0.0, 2.0));
}

void main(float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float3 alongSlope : TEXCOORD3,  // level, across the slope
          float4 slow : TEXCOORD6,  // x how far the front is past the point, y haze, w rim
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    // The front first: behind it the island needs no strokes, ahead of it no
    // colour map. A branch would not spare a software rasteriser the lookups
    // (it runs both sides), so a side that does not show reads one fixed
    // texel instead: one cached bilinear read, no blend of two levels.
    if (worldPosition.y < -3.0) discard;
    float ahead = slow.x;
    bool showsPencil = ahead < kAllColour * kFrontWidth;

    // Every map lies on the position, so one pair of its derivatives gives
    // each map its level: the one nearest to what the pixel covers, for one
    // bilinear read instead of a blend of two levels.
    float3 px = ddx(worldPosition), py = ddy(worldPosition);
    float coverAbove = max(dot(px.xz, px.xz), dot(py.xz, py.xz));  // square units of the ground seen from above
    float2 uv = worldPosition.xz * float2(0.5, -0.5) / kIslandHalf + 0.5;
    float level = max(floor(0.5 * log2(coverAbove) + kMapLevelOffset), 0.0);
    float4 lightMap = tex2Dlod(s2, float4(uv, 0.0, level));
    float3 colour = lightMap.rgb * lightMap.rgb * 1.6;
    float light = lightMap.a;

    // Cliff faces: the maps, seen from above, have a texel or two across
    // them; there the mesh's normal lights the face, and its colour is banded
    // by strata. The face's light over the ground's turns the light map's
    // colour into the face's (the cast shadow comes back from the pencil's
    // light: its sun over what the sun would give unshadowed). A map of
    // detail normals read on the face would cost a software rasteriser a
    // fifth of the pass for grain that the radial blur smears.
    float3 n0 = normalize(worldNormal);
    float wall = smoothstep(0.55, 0.3, abs(n0.y));
    float sky = 0.55 + 0.45 * n0.y, sun = dot(n0, kSun), sunGround = max(sun, 0.05);
    float shadow = clamp((light - 0.12 * sky) / (0.88 * sunGround), 0.0, 1.0);
    float sunFace = max(sun, 0.0) * shadow;
    float3 onGround = kSkyColour * sky + kSunColour * 1.25 * sunGround * shadow;
    float3 onFace = kSkyColour * sky + kSunColour * 1.25 * sunFace;
    // Strata: a sine's worth of bands from a parabola, one wave every 2.7
    // units of height, tilted a little along the face.
    float phase = frac((worldPosition.y * 2.3 + dot(worldPosition, alongSlope) * 0.11) * 0.1591549) * 2.0 - 1.0;
    float strata = 4.0 * phase * (1.0 - abs(phase));
    colour *= lerp((float3)1.0, onFace / onGround * (0.97 + 0.1 * strata), wall);
    light = lerp(light, 0.12 * sky + 0.88 * sunFace, wall);
    float haze = slow.y;

    // Colour: the lit ground, thinned by haze with distance.
    colour = lerp(colour, kHaze, haze * 0.8);

    // Pencil: the light as a tone, darker at the silhouette, on paper. The
    // strokes lie on the ground seen from above and on the slopes seen from
    // the side, one plane a pixel, as a hand lays one patch beside the next;
    // the level from the chosen plane's own coordinates, so that the seam
    // between the planes does not read a coarse level.
    bool ground = abs(n0.y) > kSteepPlane;
    float2 fromAbove = worldPosition.xz / 17.0;
    float2 fromSide = float2(worldPosition.x * 0.7 + worldPosition.z * 0.7, worldPosition.y) / 17.0;
    float2 strokesAt = showsPencil ? (ground ? fromAbove : fromSide) : (float2)0.0;
    float2 sx = float2(0.7 * (px.x + px.z), px.y), sy = float2(0.7 * (py.x + py.z), py.y);
    float cover = ground ? coverAbove : max(dot(sx, sx), dot(sy, sy));
    float hatchLevel = showsPencil ? max(floor(0.5 * log2(cover) + kHatchLevelOffset), 0.0) : 0.0;
    float shade = 1.0 - light;  // to the power 0.85, near enough
    float tone = clamp(0.92 * shade * (1.2 - 0.2 * shade) + 0.3 * slow.w, 0.0, 1.0);
    float paper = Hatching(tone, strokesAt, hatchLevel);
    float3 pencil = lerp(kGraphite, kPaper, paper);
    pencil = lerp(pencil, kPaper, haze * 0.6);

    // The front: ahead of it pencil, behind it colour, strokes between (where
    // the pencil does not show, the reveal is whole whatever the paper is;
    // where the colour does not, it is nil). The warm line along it falls off
    // as e to the -distance / 2.5, taken as (1 - distance / 20) to the 8th.
    float reveal = smoothstep(0.0, 1.0, ahead / kFrontWidth - 0.45 * (1.0 - paper));
    float3 picture = lerp(pencil, colour, reveal);
    float edge = clamp(1.0 - abs(ahead - 0.25 * kFrontWidth) / 20.0, 0.0, 1.0);
    edge *= edge;
    edge *= edge;
    edge *= edge * step(-kFrontWidth, ahead);

    oC0 = float4(picture + kFrontGlow * edge * 0.18, 1.0);
    float bright = max(max(colour.r, colour.g), colour.b);
    oC1 = float4(kFrontGlow * edge * 0.75 + colour * reveal * smoothstep(0.7, 1.0, bright) * 0.5, 1.0);
}
