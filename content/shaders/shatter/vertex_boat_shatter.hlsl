// The yacht breaking up, in the shatter scene's mirror pass and main pass:
// c0-c3 world x view-projection (with the mirror in the mirror pass), c4-c7
// the normal matrix, c8.x seconds since the scene began, c8.y the height of
// the breaking front (it sinks one unit a second). The yacht's world is the
// identity: positions are taken as world positions before c0-c3.
//
// The yacht rides the swell at its mooring. A triangle whose centroid the
// front has passed comes loose as a whole, leaves from where the swell held
// it at that moment, turns about an axis of its own and drifts off
// downwind, most pieces falling into the sea, some lifting away and
// dwindling.
//
// What the effect writes into the yacht's copy, and what each value does
// here. This shader sees one corner at a time: a value that differs between
// a triangle's corners may shape the piece but must not carry it off or
// turn it apart.
// - TEXCOORD1.xyz, the centroid, is the same at all three corners: the
//   piece's clock (the time since the front passed it, its height over
//   c8.y), its path and its dice (from its place along the yacht and its
//   height, so that the two skins of a sail, a hair apart, fly together)
//   come from it, and the piece moves as one.
// - TEXCOORD2.w, the spin, turns the piece. The effect adds 1000 a second
//   from the frame in which the front passed this corner, so corners at
//   different heights differ; less the corner's own lead over the centroid
//   (1000 for every unit the corner stands higher above the front) it is
//   the piece's spin, the same at all three corners to within one frame.
//   1000 radians a second would strobe; each unit of spin turns the piece
//   by 1/1000 radian times its own rate (1 to 3.5), so that its corners
//   disagree by one frame's turn at most, a few degrees at 30 frames a
//   second on pieces half a unit across.
// - TEXCOORD1.w, the progress (2 a second, counted the same way), opens the
//   crack: the corner draws in towards the centroid as its own progress
//   grows, and the warm glow of the breaking line fades from it. Both
//   change only the piece's outline and colour.
// - TEXCOORD2.xyz hold one random value per corner, in the component of its
//   place in the triangle (the other two 0), each below 0.0055: their sum
//   is this corner's own value, and it decides how far the corner draws in,
//   so that the shards come out irregular. They cannot choose the piece's
//   axis, speed or path: each corner would choose differently.
//
// Outputs for fragment_boat_shatter.cpp: the position the paint belongs to
// (where the vertex sat on the yacht), the turned normal, and `finish` =
// (colour everywhere, the sun's glint on the piece, the warm glow of the
// breaking line, alpha: 0 in the mirror pass, where the sea reads it as the
// yacht's cover, 1 otherwise).
// About 150 instructions (two sines and cosines for the turn among them), no
// texture fetches; a vertex shader, run once a corner.
float4 transform[4] : register(c0);  // world x view-projection, one column a register
float4x4 normalMatrix : register(c4);
float4 clock : register(c8);
static const float3 kSun = float3(0.5014, 0.6217, 0.6017);
static const float3 kMooring = float3(6.0, -3.0, 42.0);
static const float3 kBow = float3(0.4350, 0.0, 0.9004);
static const float3 kStarboard = float3(0.9004, 0.0, -0.4350);
static const float3 kWind = float3(-0.9889, 0.0, 0.1483);
static const float kWaterLevel = -3.0;
// The random values are r x 360 / 2^31 for r up to 32767: this brings them to 0..1.
static const float kRandomToUnit = 2147483648.0 / 360.0 / 32768.0;

// Three values in 0..1 from a point.
float3 Hash3(float3 p) {
    p = frac(p * float3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yxz + 33.33);
    return frac((p.xxy + p.yxx) * p.zyx);
}

// Rotation by `angle` about the unit vector `axis`, for row vectors: mul(v, Turn(axis, angle)).
float3x3 Turn(float3 axis, float angle) {
    float s = sin(angle);
    float k = 1.0 - cos(angle);
    return float3x3(1.0 + k * (axis.x * axis.x - 1.0), axis.z * s + k * axis.x * axis.y, -axis.y * s + k * axis.x * axis.z,
                -axis.z * s + k * axis.x * axis.y, 1.0 + k * (axis.y * axis.y - 1.0), axis.x * s + k * axis.y * axis.z,
                axis.y * s + k * axis.x * axis.z, -axis.x * s + k * axis.y * axis.z, 1.0 + k * (axis.z * axis.z - 1.0));
}

// The swell: roll about the keel line and a little pitch.
float3x3 Attitude(float t) {
    float roll = 0.035 * sin(0.9 * t) + 0.012 * sin(2.1 * t + 1.0);
    float pitch = 0.012 * sin(1.3 * t + 0.5);
    return mul(Turn(kStarboard, pitch), Turn(kBow, roll));
}
float Heave(float t) { return 0.06 * sin(1.1 * t) + 0.025 * sin(2.3 * t + 2.0); }

// The eye in the space the positions are in: the point that c0-c3 sends to
// clip x = y = w = 0 (below the water in the mirror pass).
float3 Eye() {
    float3 u = cross(transform[1].xyz, transform[3].xyz);
    float3 v = cross(transform[3].xyz, transform[0].xyz);
    float3 w = cross(transform[0].xyz, transform[1].xyz);
    return -(transform[0].w * u + transform[1].w * v + transform[3].w * w) / dot(transform[0].xyz, u);
}

// A corner's lead: how far the front has sunk below a height.
float Lead(float height) { return max(height - clock.y, 0.0); }

void main(float3 restPosition : POSITION0,
          float3 restNormal : NORMAL0,
          float2 texCoord : TEXCOORD0,
          float4 piece : TEXCOORD1,   // centroid, progress
          float4 corner : TEXCOORD2,  // random values, spin
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 worldPosition : TEXCOORD1,
          out float3 worldNormal : TEXCOORD2,
          out float4 finish : TEXCOORD7) {
    float time = clock.x;
    float3 middle = piece.xyz;
    float age = Lead(middle.y);
    float brokeAt = time - age;

    float3x3 held = Attitude(brokeAt);
    float3 start = kMooring + mul(middle - kMooring, held) + float3(0.0, Heave(brokeAt), 0.0);
    float3 offset = mul(restPosition - middle, held);
    float3 normal = mul(restNormal, held);

    float3 key = float3(dot(middle, kBow), middle.y, 0.0) * 7.31;
    float3 r = Hash3(key);
    float3 s = Hash3(key + float3(19.7, 3.1, 11.3));

    float loose = smoothstep(0.0, 0.35, age);
    float spin = max(corner.w - 1000.0 * (Lead(restPosition.y) - age), 0.0);
    float3 axis = normalize(r - 0.5 + float3(0.001, 0.002, 0.0));
    float3x3 turn = Turn(axis, 0.001 * spin * (1.0 + 2.5 * s.x) * loose);
    float own = (corner.x + corner.y + corner.z) * kRandomToUnit;
    float crack = 1.0 - (0.06 + 0.22 * own) * smoothstep(0.0, 0.7, piece.w);
    float lifter = step(0.72, s.y);
    float dwindle = 1.0 - lifter * smoothstep(5.0, 10.0, age);
    offset = mul(offset, turn) * (crack * dwindle);
    normal = mul(normal, turn);

    float3 launch = kWind * (0.9 + 1.4 * s.z) + kStarboard * (r.y - 0.5) * 1.8 + kBow * (r.z - 0.5) * 1.2 +
                  float3(0.0, 0.5 + 0.9 * r.x, 0.0);
    float gravity = lerp(-0.85, 0.22, lifter);
    float3 flutter = float3(sin(2.7 * age + 6.3 * r.x), 0.0, cos(2.3 * age + 6.3 * r.z)) * 0.25 * loose;
    float3 centre = start + (launch * age + float3(0.0, 0.5 * gravity * age * age, 0.0) + flutter) * loose;
    float3 position = centre + offset;

    clipPosition = mul(float4x4(transform[0], transform[1], transform[2], transform[3]), float4(position, 1.0));
    worldPosition = restPosition;
    worldNormal = mul(normal, (float3x3)normalMatrix);
    uv = texCoord;

    // A loose piece flashes as it turns through the sun's mirror angle.
    float3 eye = Eye();
    float3 halfway = normalize(normalize(eye - position) + kSun);
    float glint = pow(abs(dot(normalize(normal), halfway)), 60.0) * 1.4 * loose;
    // The glow warms the yacht just under the front and fades from a corner
    // in the first half second after the front has passed it.
    float glow = piece.w > 0.0 ? exp(-piece.w * 3.0) : exp(-(clock.y - restPosition.y) * 7.0);
    finish = float4(1.0e4, glint, 0.7 * glow, eye.y < kWaterLevel ? 0.0 : 1.0);
}
