// The cylinder bursting into its triangles, moved by constants alone.
// Input: the shattering layout; c0-c3 view-projection (the cylinder's world
// is the identity), clock.x seconds since the scene started, c8.y frame time,
// burst.xyz the point the pieces fly from, burst.w dissolve: 0 until the break,
// then up to 1 in 2 s.
//
// Every corner of a triangle carries the same centroid (TEXCOORD1.xyz), so
// whatever is drawn from the centroid (direction, speed, spin, delay, life)
// moves the triangle as one piece. Each piece is thrown out from the point,
// slows, tumbles and shrinks to nothing within 2.5 to 4.5 s.
//
// TEXCOORD2.xyz hold one random value per corner, in the component of its
// place in the triangle (the other two 0), each below 0.0055: their sum is
// this corner's own value, and it shapes the shard: as the piece breaks
// loose the corner draws in towards the centroid by its own share, so that
// the shards come out irregular rather than as the cylinder's even
// triangles. The values cannot choose a piece's direction, speed, spin or
// life: the three corners would choose differently and tear it apart.
// TEXCOORD1.w and TEXCOORD2.w (progress and spin) stay 0 here: this scene
// writes no vertex data.
//
// The piece shader shades by the side of the colour scene's sun, which
// lights the cylinder from behind as this camera sees it: the whole side in
// view would take one flat tone. So the normal handed on is mirrored to
// light it from the left, a little from above and in front, as the globe
// behind it is lit: the lit side stays pale, the turn away and the edges
// fill with strokes. The strokes lie on the cylinder's own surface
// (TEXCOORD0: round it and along it, in hatch-tile units; the shader reads
// them from x + z and y of `worldPosition`), so they wrap round its curve
// and go with each piece when it breaks.
// About 75 instructions.
float4x4 viewProjection : register(c0);
float4 clock : register(c8);
float4 burst : register(c9);
// The break starts 5.4 s into the scene; dissolve counts its first 2 s.
static const float kBreakAt = 5.4;
// The random values are r x 360 / 2^31 for r up to 32767: this brings them to 0..1.
static const float kRandomToUnit = 2147483648.0 / 360.0 / 32768.0;
// The piece shader's sun, and the light the cylinder is drawn under.
static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kDrawnLight = float3(0.216, 0.556, 0.803);

float3 Hash3(float3 p) {
    float3 q = float3(dot(p, float3(127.1, 311.7, 74.7)), dot(p, float3(269.5, 183.3, 246.1)), dot(p, float3(113.5, 271.9, 124.6)));
    return frac(sin(q) * 43758.5453);
}

// `p` turned by `angle` about the unit `axis`.
float3 Turn(float3 p, float3 axis, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return p * k + cross(axis, p) * s + axis * dot(axis, p) * (1.0 - k);
}

void main(float3 position : POSITION0,
          float3 normal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          float4 pieceCentre : TEXCOORD1,
          float4 cornerRandom : TEXCOORD2,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float4 finish : TEXCOORD7) {
    float3 middle = pieceCentre.xyz;
    float3 from = burst.xyz;
    float dissolve = burst.w;
    float3 r = Hash3(middle);
    float3 r2 = Hash3(middle.zxy + 17.0);

    // Seconds since the break: dissolve while it runs, then the clock.
    float broken = dissolve < 1.0 ? 2.0 * dissolve : max(2.0, clock.x - kBreakAt);
    float t = max(broken - 0.35 * r.x, 0.0);

    float3 outwards = middle - from;
    float3 direction = normalize(outwards + (r2 - 0.5) * 0.9 + float3(0.0, 0.15, 0.0));
    float speed = 1.6 + 2.4 * r.y;
    float travel = speed * (1.0 - exp(-1.3 * t)) / 1.3 + 0.12 * t;
    float life = 2.5 + 2.0 * r.z;
    float size = 1.0 - smoothstep(0.35 * life, life, t);
    float3 axis = normalize(r2 * 2.0 - 1.0 + float3(0.001, 0.0, 0.0));
    float angle = t * (1.5 + 5.0 * r2.y) * (r.x < 0.5 ? -1.0 : 1.0);

    float own = (cornerRandom.x + cornerRandom.y + cornerRandom.z) * kRandomToUnit;
    float shape = 1.0 - 0.35 * own * smoothstep(0.0, 0.4, t);
    float3 corner = Turn(position - middle, axis, angle) * (t > 0.0 ? size * shape : 1.0);
    float3 place = middle + direction * travel + corner;
    clipPosition = mul(float4(place, 1.0), viewProjection);
    // Mirrored across the plane between the two lights: what faces the
    // drawn light faces the shader's sun.
    float3 mirror = normalize(kDrawnLight - kSun);
    float3 turned = Turn(normal, axis, angle);
    worldNormal = turned - 2.0 * mirror * dot(mirror, turned);
    worldPosition = float3(texCoord, 0.0);
    uv = texCoord;
    // Drawn in pencil, opaque, without glint or glow: the piece shader's colour
    // front never reaches it.
    finish = float4(-1000.0, 0.0, 0.0, 1.0);
}
