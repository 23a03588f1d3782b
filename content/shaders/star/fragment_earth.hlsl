// The globe, shaded. c0 = earthVector: w turns the globe (and, a little
// faster, its clouds) eastwards. Samplers: 0 colour map, 1 relief in tangent
// space (R east, G south), 2 daylight colour with the specular mask in alpha
// (the oceans shine), 3 cloud cover in alpha. The scene sets stages 0-2 to
// wrap with linear filtering and mip levels every frame; stage 3 has the same
// states (the colour scene's state block puts back its start-up record of
// stages 0-8 every frame, and no later pass changes stage 3), so the clouds
// are read filtered and mip-mapped like the rest. Drawn with source alpha
// over nothing: alpha is 1.
// About 100 instructions, 5 texture fetches (trilinear).
float4 c0 : register(c0);
sampler2D s0 : register(s0);
sampler2D s1 : register(s1);
sampler2D s2 : register(s2);
sampler2D s3 : register(s3);

static const float3 kSunColour = float3(1.06, 1.0, 0.92);
static const float3 kNightTint = float3(0.10, 0.14, 0.26);
static const float3 kAir = float3(0.38, 0.62, 1.0);
static const float3 kDusk = float3(1.0, 0.46, 0.22);
static const float kTurn = 0.05;        // of the map per unit of earthVector.w
static const float kCloudDrift = 0.012;

// Cover of the cloud map at `at`.
float CloudCover(float2 at) {
    return tex2D(s3, at).a;
}

void main(float2 uv : TEXCOORD0,
          float3 normal : TEXCOORD2,
          float3 tangent : TEXCOORD3,
          float3 binormal : TEXCOORD4,
          float3 toEye : TEXCOORD6,
          float3 toSun : TEXCOORD7,
          out float4 oC0 : COLOR0) {
    float2 ground = float2(uv.x - c0.w * kTurn, uv.y);
    float2 sky = float2(uv.x - c0.w * (kTurn + kCloudDrift), uv.y);

    float3 n0 = normalize(normal);
    float3 relief = tex2D(s1, ground).xyz * 2.0 - 1.0;
    float3 n = normalize(n0 * relief.z + normalize(tangent) * relief.x + normalize(binormal) * relief.y);
    float3 v = normalize(toEye);
    float3 l = normalize(toSun);

    // Day and night meet in a soft band; the relief shades only the day.
    float facing = dot(n0, l);
    float day = smoothstep(-0.12, 0.22, facing);
    float lambert = clamp(dot(n, l), 0.0, 1.0);

    float4 daylight = tex2D(s2, ground);
    float3 albedo = lerp(tex2D(s0, ground).rgb, daylight.rgb, 0.6);
    float cloud = CloudCover(sky);
    // The clouds' shadows fall a little away from the sun.
    float shadow = CloudCover(sky + float2(-l.z, l.y) * 0.004);

    // Oceans and land under the sun, with a glint where the sea mirrors it.
    float3 lit = albedo * kSunColour * (0.04 + 1.05 * lambert) * (1.0 - 0.35 * shadow * day);
    float3 h = normalize(l + v);
    float nh = max(dot(n, h), 0.0);
    // nh to the powers 30 and 220 by squaring: a dozen products where two
    // pows cost a software rasteriser two logarithms and two exponentials.
    float nh2 = nh * nh, nh4 = nh2 * nh2, nh8 = nh4 * nh4, nh16 = nh8 * nh8;
    float nh28 = nh16 * nh8 * nh4, nh64 = nh16 * nh16 * nh16 * nh16;
    float glint = daylight.a * (nh64 * nh64 * nh28 * 0.8 + nh28 * nh2 * 0.07) * (1.0 - cloud) * day;
    lit += kSunColour * glint;

    // The night: the land by faint blue light, the sea darker.
    float3 night = albedo * kNightTint * (0.9 - 0.5 * daylight.a) + float3(0.004, 0.006, 0.014);

    float3 colour = lerp(night, lit, day);
    float3 cloudLight = lerp(float3(0.05, 0.06, 0.10), float3(0.98, 0.98, 1.0) * (0.12 + 0.95 * max(facing, 0.0)), day);
    colour = lerp(colour, cloudLight, cloud * 0.92);

    // The air: blue along the lit limb, warm where the terminator meets it.
    float edgeOn = 1.0 - clamp(dot(n0, v), 0.0, 1.0);
    float limb = edgeOn * edgeOn * edgeOn;
    float dusk = exp(-facing * facing * 40.0);
    colour += (kAir * smoothstep(-0.25, 0.4, facing) + kDusk * dusk * 0.3) * limb * 1.1;
    colour = lerp(colour, kAir * 0.9, limb * limb * smoothstep(-0.3, 0.3, facing) * 0.6);

    oC0 = float4(colour, 1.0);
}
