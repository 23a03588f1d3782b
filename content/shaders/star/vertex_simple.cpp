// The credits card on its path: c0-c3 the path's matrix x view-projection.
// The piece shader (fragment_boat_shatter.cpp) draws sampler 0 in pencil at
// (x + z, y) / 5 of the position it is handed, lit by its own sun through the
// normal, with colour only where `finish.x` says its front has reached (then
// a glint, a glow and the alpha). The card hands over its texture coordinates
// in that form, so the picture lands on it whole and upright; a level normal
// square to that sun, which gives the picture its full contrast (the
// lettering graphite, the card paper); a front that never reaches it, no
// glint, no glow, opaque.
// About 20 instructions.
in vec3 POSITION0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 worldPosition;
out vec3 worldNormal;
out vec4 finish;

// Level and square to (0.5014, 0.6217, 0.6017), the piece shader's sun.
const vec3 kFlat = vec3(0.7682, 0.0, -0.6402);

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    worldPosition = vec3(TEXCOORD0.x * 5.0, TEXCOORD0.y * 5.0, 0.0);
    worldNormal = kFlat;
    finish = vec4(-1000.0, 0.0, 0.0, 1.0);
    uv = TEXCOORD0;
}
