// The sea before it appears: nothing is drawn, not even depth, so the white
// paper and the island's sketch stay as they are.
// 1 instruction, no texture fetch.
void main(out float4 oC0 : COLOR0) {
    discard;
}
