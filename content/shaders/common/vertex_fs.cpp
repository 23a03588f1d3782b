// Full-screen pass: the quad arrives in clip space with texture coordinate 0,
// (0, 0) at the top left of the target. c0.xy holds one screen texel in
// texture coordinates; sampling needs no half-texel shift here, so it is not
// used. Pixel shaders paired with this one read `in vec2 texCoord;`.
// About 2 instructions.
in vec3 POSITION0;
in vec2 TEXCOORD0;
out vec2 texCoord;

void main() {
    gl_Position = vec4(POSITION0, 1.0);
    texCoord = TEXCOORD0;
}
