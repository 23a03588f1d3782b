// The cylinder bursting into its triangles, moved by constants alone.
// Input: the shattering layout; c0-c3 view-projection (the cylinder's world
// is the identity), c8.x seconds since the scene started, c8.y frame time,
// c9.xyz the point the pieces fly from, c9.w dissolve: 0 until the break,
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
in vec3 POSITION0;
in vec3 NORMAL0;
in vec2 TEXCOORD0;
in vec4 TEXCOORD1;
in vec4 TEXCOORD2;
out vec2 uv;
out vec3 worldPosition;
out vec3 worldNormal;
out vec4 finish;

// The break starts 5.4 s into the scene; dissolve counts its first 2 s.
const float kBreakAt = 5.4;
// The random values are r x 360 / 2^31 for r up to 32767: this brings them to 0..1.
const float kRandomToUnit = 2147483648.0 / 360.0 / 32768.0;
// The piece shader's sun, and the light the cylinder is drawn under.
const vec3 kSun = vec3(0.5014, 0.6217, 0.6017);
const vec3 kDrawnLight = vec3(0.216, 0.556, 0.803);

vec3 Hash3(vec3 p) {
    vec3 q = vec3(dot(p, vec3(127.1, 311.7, 74.7)), dot(p, vec3(269.5, 183.3, 246.1)), dot(p, vec3(113.5, 271.9, 124.6)));
    return fract(sin(q) * 43758.5453);
}

// `p` turned by `angle` about the unit `axis`.
vec3 Turn(vec3 p, vec3 axis, float angle) {
    float s = sin(angle);
    float k = cos(angle);
    return p * k + cross(axis, p) * s + axis * dot(axis, p) * (1.0 - k);
}

void main() {
    vec3 middle = TEXCOORD1.xyz;
    vec3 from = c[9].xyz;
    float dissolve = c[9].w;
    vec3 r = Hash3(middle);
    vec3 r2 = Hash3(middle.zxy + 17.0);

    // Seconds since the break: dissolve while it runs, then the clock.
    float broken = dissolve < 1.0 ? 2.0 * dissolve : max(2.0, c[8].x - kBreakAt);
    float t = max(broken - 0.35 * r.x, 0.0);

    vec3 outwards = middle - from;
    vec3 direction = normalize(outwards + (r2 - 0.5) * 0.9 + vec3(0.0, 0.15, 0.0));
    float speed = 1.6 + 2.4 * r.y;
    float travel = speed * (1.0 - exp(-1.3 * t)) / 1.3 + 0.12 * t;
    float life = 2.5 + 2.0 * r.z;
    float size = 1.0 - smoothstep(0.35 * life, life, t);
    vec3 axis = normalize(r2 * 2.0 - 1.0 + vec3(0.001, 0.0, 0.0));
    float angle = t * (1.5 + 5.0 * r2.y) * (r.x < 0.5 ? -1.0 : 1.0);

    float own = (TEXCOORD2.x + TEXCOORD2.y + TEXCOORD2.z) * kRandomToUnit;
    float shape = 1.0 - 0.35 * own * smoothstep(0.0, 0.4, t);
    vec3 corner = Turn(POSITION0 - middle, axis, angle) * (t > 0.0 ? size * shape : 1.0);
    vec3 place = middle + direction * travel + corner;
    gl_Position = vec4(place, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    // Mirrored across the plane between the two lights: what faces the
    // drawn light faces the shader's sun.
    vec3 mirror = normalize(kDrawnLight - kSun);
    vec3 turned = Turn(NORMAL0, axis, angle);
    worldNormal = turned - 2.0 * mirror * dot(mirror, turned);
    worldPosition = vec3(TEXCOORD0, 0.0);
    uv = TEXCOORD0;
    // Drawn in pencil, opaque, without glint or glow: the piece shader's colour
    // front never reaches it.
    finish = vec4(-1000.0, 0.0, 0.0, 1.0);
}
