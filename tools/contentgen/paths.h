// Camera paths and the credits' mesh path, written in the demo's path file
// layout: a 16-byte header (two words of 0, the number of segments N, the
// duration) and N + 1 key records (28 bytes for a camera key: index, eye,
// target; 44 for a mesh key: index, translation, rotation x y z w, scale).
//
// The demo plays a camera path as a uniform Catmull-Rom spline through its
// keys whose end tangents wrap round to the other end of the key list. So
// each camera path is written as a dense run of keys (one every half second)
// sampled from a smooth flight, followed by three keys that are never
// reached: two more along the flight (so that the segment just past the span,
// which the frame that changes scenes may show, keeps its proper tangents),
// and a last one placed where a key before the first would be, which gives
// the first segment its proper tangent. The duration therefore runs one and a
// half seconds past the span the effects play.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/contentgen/vecmath.h"

namespace gen {

struct CameraKeyframe {
    float time;
    Vec3 eye, target;
};

struct CameraFlight {
    std::string file;
    float span;                             // seconds the effects play of it
    std::vector<CameraKeyframe> keyframes;  // the authored flight, times 0 .. span
};

// The three camera flights of the demo.
std::vector<CameraFlight> CameraFlights();

// Bytes of a camera path file for a flight (key spacing 0.5 s).
std::vector<uint8_t> WriteCameraPath(const CameraFlight& flight);

// The demo's evaluation of a camera path (keys evenly spaced over the
// duration, Catmull-Rom with wrapped neighbours), on parsed keys.
struct CameraPathKeys {
    float duration = 0;
    std::vector<Vec3> eyes, targets;
};
bool ParseCameraPathFile(const std::vector<uint8_t>& bytes, CameraPathKeys& keys);
void EvaluateCameraPath(const CameraPathKeys& keys, float t, Vec3& eye, Vec3& target);

// The credits card's mesh path file "meshtest.cp": 14.6 s (95.4 s to the end
// of the demo), a key every 0.2 s: it sweeps in, rests facing the earth
// scene's fixed camera and drifts away as the picture fades.
std::vector<uint8_t> WriteCreditsPath();
// The card's pose at local time t as the path carries it: where its centre
// is and where its x, y and z axes point (scale included).
void CreditsCardFrame(float t, Vec3& position, Vec3 axes[3]);

}  // namespace gen
