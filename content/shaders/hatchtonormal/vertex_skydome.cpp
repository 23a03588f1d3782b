// The sky dome, drawn with an identity world: c0-c3 view-projection, and
// c4 what the dome pass of each scene binds for it: x the colour front
// (the colour scene's sweep: the sky turns to colour as it climbs; the open
// sea sends 1e4, all colour), y 1 where the cloud layer of sampler 1
// (clouds1) is drawn and 0 where sampler 1 is not the dome's and is never
// read, z the demo time the clouds drift by.
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
    sweep = c[4].x;
    cloudLayer = c[4].y > 0.5 ? vec3(1.0, kWind * c[4].z * 0.012) : vec3(0.0);
}
