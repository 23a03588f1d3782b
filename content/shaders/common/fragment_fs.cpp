// Plain copy of the picture on sampler 0 (the screen texture or the loading
// picture) to the target, with whatever sampler states are in force.
// 1 instruction, 1 texture fetch.
uniform sampler2D s0;
in vec2 texCoord;

void main() {
    oC0 = texture(s0, texCoord);
}
