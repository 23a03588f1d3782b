#include "tools/contentgen/paths.h"

#include <cmath>
#include <cstring>

#include "tools/contentgen/groups.h"
#include "tools/contentgen/world.h"

namespace gen {
namespace {

constexpr float kKeySpacing = 0.5f;

// Position on the authored flight: Hermite segments between keyframes with
// tangents from the neighbours (Catmull-Rom on uneven times), straight on
// beyond the ends.
void FlightAt(const std::vector<CameraKeyframe>& k, float t, Vec3& eye, Vec3& target) {
    const size_t n = k.size();
    auto tangent = [&](size_t i, bool ofEye) {
        auto p = [&](size_t j) { return ofEye ? k[j].eye : k[j].target; };
        size_t a = i == 0 ? 0 : i - 1, b = i + 1 >= n ? n - 1 : i + 1;
        return (p(b) - p(a)) / (k[b].time - k[a].time);
    };
    if (t >= k.back().time) {
        float d = t - k.back().time;
        eye = k.back().eye + tangent(n - 1, true) * d;
        target = k.back().target + tangent(n - 1, false) * d;
        return;
    }
    if (t <= k.front().time) {
        float d = t - k.front().time;
        eye = k.front().eye + tangent(0, true) * d;
        target = k.front().target + tangent(0, false) * d;
        return;
    }
    size_t i = 0;
    while (k[i + 1].time < t) ++i;
    float h = k[i + 1].time - k[i].time, s = (t - k[i].time) / h;
    float h00 = 2 * s * s * s - 3 * s * s + 1, h10 = s * s * s - 2 * s * s + s, h01 = -2 * s * s * s + 3 * s * s,
          h11 = s * s * s - s * s;
    eye = k[i].eye * h00 + tangent(i, true) * (h10 * h) + k[i + 1].eye * h01 + tangent(i + 1, true) * (h11 * h);
    target =
        k[i].target * h00 + tangent(i, false) * (h10 * h) + k[i + 1].target * h01 + tangent(i + 1, false) * (h11 * h);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void PutFloat(std::vector<uint8_t>& out, float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    Put32(out, v);
}
void PutVec(std::vector<uint8_t>& out, Vec3 v) {
    PutFloat(out, v.x);
    PutFloat(out, v.y);
    PutFloat(out, v.z);
}
uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
float GetFloat(const uint8_t* p) {
    uint32_t v = Get32(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

// The credits card: 9 units in front of the fixed camera of the earth scene,
// a little below the middle of the picture, it rests facing the camera,
// reading left to right.
struct CardPose {
    Vec3 position;
    float spin;  // turn about the card's own vertical axis, radians
    float scale;
};

CardPose CardAt(float t) {
    using namespace world;
    Vec3 f = Normalize(Vec3{0, 0, 0} - kStarEye), r = Normalize(Cross({0, 1, 0}, f)), u = Cross(f, r);
    Vec3 rest = kStarEye + f * 9.0f - u * 1.9f;  // in the lower part of the picture, the globe above it
    Vec3 start = kStarEye + f * 15.0f + r * 10.0f - u * 3.0f;
    Vec3 away = kStarEye + f * 30.0f - r * 3.0f + u * 9.0f;
    const float arrive = 3.0f, leave = 10.5f, end = 14.6f;
    if (t < arrive) {  // sweeps in from the lower right, turning to face the camera
        float s = Smoothstep(0, arrive, t);
        return {Lerp(start, rest, s) + u * (1.5f * std::sin(s * kPi)), (1 - s) * 2.5f * kPi, 1};
    }
    if (t < leave) {  // rests, bobbing a little
        float s = t - arrive;
        return {rest + u * (0.12f * std::sin(s * 1.3f)) + r * (0.08f * std::sin(s * 0.7f)), 0.06f * std::sin(s * 0.9f),
                1};
    }
    float s = Smoothstep(leave, end, t);  // drifts up and away while the picture fades
    Vec3 bob = u * (0.12f * std::sin((leave - arrive) * 1.3f)) + r * (0.08f * std::sin((leave - arrive) * 0.7f));
    return {Lerp(rest + bob, away, s * s), 0.06f * std::sin((leave - arrive) * 0.9f) - s * 0.8f, 1 - 0.3f * s};
}

struct Quaternion {
    float x, y, z, w;
};

// The rotation quaternion of a row-vector rotation matrix with rows a, b, c
// (the images of the x, y and z axes), as D3DX composes them.
Quaternion FromRows(Vec3 a, Vec3 b, Vec3 c) {
    float m[3][3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}, {c.x, c.y, c.z}};
    float trace = m[0][0] + m[1][1] + m[2][2];
    Quaternion q;
    if (trace > 0) {
        float s = std::sqrt(trace + 1) * 2;
        q = {(m[1][2] - m[2][1]) / s, (m[2][0] - m[0][2]) / s, (m[0][1] - m[1][0]) / s, 0.25f * s};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        float s = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]) * 2;
        q = {0.25f * s, (m[0][1] + m[1][0]) / s, (m[0][2] + m[2][0]) / s, (m[1][2] - m[2][1]) / s};
    } else if (m[1][1] > m[2][2]) {
        float s = std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]) * 2;
        q = {(m[0][1] + m[1][0]) / s, 0.25f * s, (m[1][2] + m[2][1]) / s, (m[2][0] - m[0][2]) / s};
    } else {
        float s = std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]) * 2;
        q = {(m[0][2] + m[2][0]) / s, (m[1][2] + m[2][1]) / s, 0.25f * s, (m[0][1] - m[1][0]) / s};
    }
    return q;
}

}  // namespace

std::vector<CameraFlight> CameraFlights() {
    return {
        // The sketch and the turn to hatching: a slow half circle round the
        // island from the cliffs in the west to the bay, where the sea starts
        // to show at 22.8 s (from the bay's beach), then on to the east.
        {"HandDraw.cp",
         23.0f,
         {{0.0f, {-98, 44, -20}, {-4, 8, -4}},
          {5.0f, {-92, 40, 28}, {-4, 8, 0}},
          {10.0f, {-62, 36, 72}, {-2, 6, 6}},
          {15.0f, {-18, 30, 96}, {0, 4, 14}},
          {19.0f, {22, 26, 98}, {2, 2, 20}},
          {23.0f, {60, 24, 86}, {2, 2, 20}}}},
        // The whole scene turning to colour: in from the open sea, close past
        // the yacht's bow, up over the island's flank beside the peak and out
        // over the cliffs on the far side.
        {"HatchToNormal.cp",
         39.5f,
         {{0.0f, {100, 12, 134}, {0, 8, 12}},
          {6.0f, {72, 8, 110}, {3, 5, 32}},
          {12.0f, {42, 4, 82}, {6, 2, 42}},
          {17.0f, {24, 2, 62}, {6, 3, 42}},
          {21.0f, {-2, 4, 70}, {6, 4, 42}},
          {25.0f, {-12, 16, 60}, {-8, 16, 14}},
          {30.0f, {-36, 48, 38}, {-12, 22, -6}},
          {34.5f, {-66, 52, 8}, {-14, 12, -12}},
          {39.5f, {-98, 36, -20}, {-12, 6, -8}}}},
        // The yacht breaking up: a low arc round it over the open water of
        // the bay's mouth, the reflection in view, looking lower as the break
        // sinks from the masthead to the water.
        {"Shatter.cp",
         17.0f,
         {{0.0f, {30, 1.5f, 66}, {6, 6, 42}},
          {5.0f, {14, 0.5f, 72}, {6, 4, 42}},
          {10.0f, {-6, 1.0f, 68}, {6, 2, 42}},
          {14.0f, {-10, 2.5f, 62}, {6, 0, 42}},
          {17.0f, {-10, 4.0f, 58}, {6, -1, 42}}}},
    };
}

std::vector<uint8_t> WriteCameraPath(const CameraFlight& flight) {
    std::vector<Vec3> eyes, targets;
    int played = int(std::lround(flight.span / kKeySpacing));
    for (int i = 0; i <= played + 2; ++i) {
        Vec3 e, g;
        FlightAt(flight.keyframes, i * kKeySpacing, e, g);
        eyes.push_back(e);
        targets.push_back(g);
    }
    // The key "before the first": it gives the first segment its tangent.
    eyes.push_back(eyes[0] * 2 - eyes[1]);
    targets.push_back(targets[0] * 2 - targets[1]);
    uint32_t segments = uint32_t(eyes.size() - 1);
    std::vector<uint8_t> out;
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, segments);
    PutFloat(out, kKeySpacing * float(segments));
    for (uint32_t i = 0; i <= segments; ++i) {
        Put32(out, i);
        PutVec(out, eyes[i]);
        PutVec(out, targets[i]);
    }
    return out;
}

bool ParseCameraPathFile(const std::vector<uint8_t>& bytes, CameraPathKeys& keys) {
    if (bytes.size() < 16) return false;
    uint32_t n = Get32(&bytes[8]);
    if (n == UINT32_MAX || bytes.size() != 16 + size_t(n + 1) * 28) return false;
    keys.duration = GetFloat(&bytes[12]);
    keys.eyes.clear();
    keys.targets.clear();
    for (uint32_t i = 0; i <= n; ++i) {
        const uint8_t* r = &bytes[16 + size_t(i) * 28];
        keys.eyes.push_back({GetFloat(r + 4), GetFloat(r + 8), GetFloat(r + 12)});
        keys.targets.push_back({GetFloat(r + 16), GetFloat(r + 20), GetFloat(r + 24)});
    }
    return true;
}

void EvaluateCameraPath(const CameraPathKeys& keys, float t, Vec3& eye, Vec3& target) {
    const int k = int(keys.eyes.size());
    const float d = keys.duration;
    float r = std::fmod(t, d);
    if (t > d) r = d;
    float u = float(k - 1) * (r / d);
    int i = int(u);
    float s = u - float(i);
    int next = i + 1 >= k ? 0 : i + 1, next2 = i + 2 >= k ? 0 : i + 2, prev = i - 1 < 0 ? k - 1 : i - 1;
    auto spline = [&](const std::vector<Vec3>& p) {
        Vec3 t0 = (p[next] - p[prev]) * 0.5f, t1 = (p[next2] - p[i]) * 0.5f;
        return p[i] * (2 * s * s * s - 3 * s * s + 1) + t0 * (s * s * s - 2 * s * s + s) +
               p[next] * (-2 * s * s * s + 3 * s * s) + t1 * (s * s * s - s * s);
    };
    eye = spline(keys.eyes);
    target = spline(keys.targets);
}

std::vector<uint8_t> WriteCreditsPath() {
    using namespace world;
    const float duration = 14.6f;
    const uint32_t segments = 73;  // a key every 0.2 s: the demo blends keys linearly
    Vec3 f = Normalize(Vec3{0, 0, 0} - kStarEye), r = Normalize(Cross({0, 1, 0}, f)), u = Cross(f, r);
    std::vector<uint8_t> out;
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, segments);
    PutFloat(out, duration);
    Quaternion previous{0, 0, 0, 1};
    for (uint32_t i = 0; i <= segments; ++i) {
        CardPose pose = CardAt(duration * float(i) / float(segments));
        // The card's x, y and z axes: turned by `spin` about its vertical, then
        // onto the camera's right, up and forward (its face, -z, to the camera).
        float c = std::cos(pose.spin), s = std::sin(pose.spin);
        Vec3 ax = r * c - f * s, ay = u, az = r * s + f * c;
        Quaternion q = FromRows(ax, ay, az);
        if (q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w < 0) q = {-q.x, -q.y, -q.z, -q.w};
        previous = q;
        Put32(out, i);
        PutVec(out, pose.position);
        // The demo negates w on load, so w is stored negated.
        PutFloat(out, q.x);
        PutFloat(out, q.y);
        PutFloat(out, q.z);
        PutFloat(out, -q.w);
        PutVec(out, {pose.scale, pose.scale, pose.scale});
    }
    return out;
}

void CreditsCardFrame(float t, Vec3& position, Vec3 axes[3]) {
    using namespace world;
    Vec3 f = Normalize(Vec3{0, 0, 0} - kStarEye), r = Normalize(Cross({0, 1, 0}, f)), u = Cross(f, r);
    CardPose pose = CardAt(t);
    float c = std::cos(pose.spin), s = std::sin(pose.spin);
    position = pose.position;
    axes[0] = (r * c - f * s) * pose.scale;
    axes[1] = u * pose.scale;
    axes[2] = (r * s + f * c) * pose.scale;
}

void GeneratePaths(AssetSet& out) {
    for (const CameraFlight& flight : CameraFlights()) out.AddFile(flight.file, WriteCameraPath(flight));
    out.AddFile("meshtest.cp", WriteCreditsPath());
}

}  // namespace gen
