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
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
in vec4 TEXCOORD1;
in vec4 TEXCOORD2;
out vec2 uv;
out vec3 worldPosition;
out vec3 worldNormal;
out vec4 finish;

const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kMooring = vec3(6.0, -3.0, 42.0);
const vec3 kBow = vec3(0.4350, 0.0, 0.9004);
const vec3 kStarboard = vec3(0.9004, 0.0, -0.4350);
const vec3 kWind = vec3(-0.9889, 0.0, 0.1483);
const float kWaterLevel = -3.0;
// The random values are r x 360 / 2^31 for r up to 32767: this brings them to 0..1.
const float kRandomToUnit = 2147483648.0 / 360.0 / 32768.0;

// Three values in 0..1 from a point.
vec3 Hash3(vec3 p) {
    p = fract(p * vec3(0.1031, 0.1030, 0.0973));
    p += dot(p, p.yxz + 33.33);
    return fract((p.xxy + p.yxx) * p.zyx);
}

// Rotation by `angle` about the unit vector `axis` (column vectors).
mat3 Turn(vec3 axis, float angle) {
    float s = sin(angle);
    float k = 1.0 - cos(angle);
    return mat3(1.0 + k * (axis.x * axis.x - 1.0), axis.z * s + k * axis.x * axis.y, -axis.y * s + k * axis.x * axis.z,
                -axis.z * s + k * axis.x * axis.y, 1.0 + k * (axis.y * axis.y - 1.0), axis.x * s + k * axis.y * axis.z,
                axis.y * s + k * axis.x * axis.z, -axis.x * s + k * axis.y * axis.z, 1.0 + k * (axis.z * axis.z - 1.0));
}

// The swell: roll about the keel line and a little pitch.
mat3 Attitude(float t) {
    float roll = 0.035 * sin(0.9 * t) + 0.012 * sin(2.1 * t + 1.0);
    float pitch = 0.012 * sin(1.3 * t + 0.5);
    return Turn(kBow, roll) * Turn(kStarboard, pitch);
}
float Heave(float t) { return 0.06 * sin(1.1 * t) + 0.025 * sin(2.3 * t + 2.0); }

// The eye in the space the positions are in: the point that c0-c3 sends to
// clip x = y = w = 0 (below the water in the mirror pass).
vec3 Eye() {
    vec3 u = cross(c[1].xyz, c[3].xyz);
    vec3 v = cross(c[3].xyz, c[0].xyz);
    vec3 w = cross(c[0].xyz, c[1].xyz);
    return -(c[0].w * u + c[1].w * v + c[3].w * w) / dot(c[0].xyz, u);
}

// A corner's lead: how far the front has sunk below a height.
float Lead(float height) { return max(height - c[8].y, 0.0); }

void main() {
    float time = c[8].x;
    vec3 middle = TEXCOORD1.xyz;
    float age = Lead(middle.y);
    float brokeAt = time - age;

    mat3 held = Attitude(brokeAt);
    vec3 start = kMooring + held * (middle - kMooring) + vec3(0.0, Heave(brokeAt), 0.0);
    vec3 offset = held * (POSITION0 - middle);
    vec3 normal = held * NORMAL0;

    vec3 key = vec3(dot(middle, kBow), middle.y, 0.0) * 7.31;
    vec3 r = Hash3(key);
    vec3 s = Hash3(key + vec3(19.7, 3.1, 11.3));

    float loose = smoothstep(0.0, 0.35, age);
    float spin = max(TEXCOORD2.w - 1000.0 * (Lead(POSITION0.y) - age), 0.0);
    vec3 axis = normalize(r - 0.5 + vec3(0.001, 0.002, 0.0));
    mat3 turn = Turn(axis, 0.001 * spin * (1.0 + 2.5 * s.x) * loose);
    float own = (TEXCOORD2.x + TEXCOORD2.y + TEXCOORD2.z) * kRandomToUnit;
    float crack = 1.0 - (0.06 + 0.22 * own) * smoothstep(0.0, 0.7, TEXCOORD1.w);
    float lifter = step(0.72, s.y);
    float dwindle = 1.0 - lifter * smoothstep(5.0, 10.0, age);
    offset = turn * offset * (crack * dwindle);
    normal = turn * normal;

    vec3 launch = kWind * (0.9 + 1.4 * s.z) + kStarboard * (r.y - 0.5) * 1.8 + kBow * (r.z - 0.5) * 1.2 +
                  vec3(0.0, 0.5 + 0.9 * r.x, 0.0);
    float gravity = mix(-0.85, 0.22, lifter);
    vec3 flutter = vec3(sin(2.7 * age + 6.3 * r.x), 0.0, cos(2.3 * age + 6.3 * r.z)) * 0.25 * loose;
    vec3 centre = start + (launch * age + vec3(0.0, 0.5 * gravity * age * age, 0.0) + flutter) * loose;
    vec3 position = centre + offset;

    gl_Position = vec4(position, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    worldPosition = POSITION0;
    worldNormal = normal * mat3(mat4(c[4], c[5], c[6], c[7]));
    uv = TEXCOORD0;

    // A loose piece flashes as it turns through the sun's mirror angle.
    vec3 eye = Eye();
    vec3 halfway = normalize(normalize(eye - position) + kSun);
    float glint = pow(abs(dot(normalize(normal), halfway)), 60.0) * 1.4 * loose;
    // The glow warms the yacht just under the front and fades from a corner
    // in the first half second after the front has passed it.
    float glow = TEXCOORD1.w > 0.0 ? exp(-TEXCOORD1.w * 3.0) : exp(-(c[8].y - POSITION0.y) * 7.0);
    finish = vec4(1.0e4, glint, 0.7 * glow, eye.y < kWaterLevel ? 0.0 : 1.0);
}
