// The yacht: white paint and sails under the sun, or pencil strokes of
// sampler 0 (Hatch4) for the shading, behind the colour front round the
// yacht itself. Pairs with vertex_base.cpp in the colour scene and with
// vertex_boat_shatter.cpp in the shatter scene; both hand over the position
// the paint belongs to, the normal and `finish` = (how far the colour front
// has reached: the colour scene's sweep, or everywhere; a sun glint to add;
// the glow of the breaking line; the alpha to write).
// About 45 instructions, 1 texture fetch.
sampler2D s0 : register(s0);

static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kPaper = float3(0.965, 0.955, 0.925);
static const float3 kGraphite = float3(0.20, 0.20, 0.24);

void main(float2 uv : TEXCOORD0,
          float3 worldPosition : TEXCOORD1,
          float3 worldNormal : TEXCOORD2,
          float4 finish : TEXCOORD7,
          out float4 oC0 : COLOR0,
          out float4 oC1 : COLOR1) {
    float3 n = normalize(worldNormal);
    float sun = abs(dot(n, kSun));
    float skyLight = 0.6 + 0.4 * abs(n.y);
    float waterline = smoothstep(-2.75, -2.6, worldPosition.y);
    float3 paint = lerp(float3(0.08, 0.14, 0.32), float3(0.93, 0.92, 0.88), waterline);
    float3 colour = paint * (float3(0.36, 0.44, 0.56) * skyLight + float3(1.05, 0.97, 0.86) * sun * 0.85);

    // The pencil shades by the side of the sun: lit faces lighter, faces
    // turned away darker (a face square to the sun, as the credits card is
    // made to be, keeps the plain tone), so round shapes read as round.
    // Where the colour has come in whatever the strokes are (the reveal below
    // is whole from 1.45 fronts' widths on) the read takes one fixed texel:
    // no derivatives, one level, where the strokes' own place blends two.
    float ahead = finish.x - length(worldPosition.xz - float2(6.0, 42.0));
    float2 strokesAt = ahead < 13.05 ? float2(worldPosition.x + worldPosition.z, worldPosition.y) / 5.0 : (float2)0.0;
    float strokes = tex2D(s0, strokesAt).r;
    float towards = dot(n, kSun);
    float tone = clamp(1.05 - 0.35 * skyLight - 0.7 * max(towards, 0.0) + 0.5 * max(-towards, 0.0), 0.0, 1.0);
    float3 pencil = lerp(kGraphite, kPaper, lerp(1.0, strokes, tone));

    colour += float3(1.0, 0.95, 0.85) * finish.y + float3(1.0, 0.74, 0.42) * finish.z;

    float reveal = smoothstep(0.0, 1.0, ahead / 9.0 - 0.45 * (1.0 - strokes));
    oC0 = float4(lerp(pencil, colour, reveal), finish.w);
    oC1 = float4(0.0, 0.0, 0.0, 1.0);
}
