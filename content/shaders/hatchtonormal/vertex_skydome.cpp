// The sky dome, drawn with an identity world: c0-c3 view-projection. The
// dome pass sets nothing else and reads what the scene's earlier passes
// left behind:
// - the colour scene draws the yacht last, with its world (the identity)
//   in c8-c11 and (time, sweep) in c13: the sky turns to colour by sweep;
//   its sampler 1 holds the sea's cube map, so there is no cloud layer;
// - the shatter scene draws the yacht last with (localTime, shatterFront,
//   0, 0) in c8, never (1, 0, 0, 0), and the sea with the time in c13.x:
//   the sky is in full colour and the cloud layer of sampler 1 drifts by.
in vec3 POSITION0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 direction;
out float sweep;
out vec3 cloudLayer;  // x 1 where the cloud layer is drawn; yz its drift

const vec2 kWind = vec2(-0.9889, 0.1483);

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    direction = POSITION0;
    uv = TEXCOORD0;
    bool openSea = c[8] != vec4(1.0, 0.0, 0.0, 0.0);
    sweep = openSea ? 1.0e4 : c[13].y;
    cloudLayer = openSea ? vec3(1.0, kWind * c[13].x * 0.012) : vec3(0.0);
}
