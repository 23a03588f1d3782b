// The sky dome, drawn with an identity world: c0-c3 view-projection. The
// dome pass sets nothing else, so c13 still holds the (time, sweep) the
// yacht was drawn with; the sky turns to colour by it too.
in vec3 POSITION0;
in vec2 TEXCOORD0;
out vec2 uv;
out vec3 direction;
out float sweep;

void main() {
    gl_Position = vec4(POSITION0, 1.0) * mat4(c[0], c[1], c[2], c[3]);
    direction = POSITION0;
    uv = TEXCOORD0;
    sweep = c[13].y;
}
