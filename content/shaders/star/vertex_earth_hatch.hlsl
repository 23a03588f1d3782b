// The globe, hatched: the inputs of vertex_earth.cpp (c0-c3 world x
// view-projection, c4-c7 the world's inverse transpose, c8.xyz the eye, c9
// earthVector, which the pixel shader reads itself as its c0); the pencil
// needs no relief. The strokes lie on the globe as a hand shades a drawn
// ball, curving round it: `paper` is the point's longitude and latitude
// about the view's up axis (the eye looks at the globe's centre, the
// origin), in globe radii over 3.5 units, one hatch tile each, so that a
// stroke is two to three pixels wide at 480 rows in the middle of the disc
// and the strokes crowd together towards the limb. The longitude's seam
// lies on the far side, out of view.
// About 45 instructions.
float4x4 worldViewProjection : register(c0);
float4x4 worldInverseTranspose : register(c4);
float4 eye : register(c8);

void main(float3 position : POSITION0,
          float3 normalIn : NORMAL0,
          out float4 clipPosition : POSITION,
          out float3 normal : TEXCOORD2,
          out float3 toEye : TEXCOORD6,
          out float2 paper : TEXCOORD8) {
    clipPosition = mul(float4(position, 1.0), worldViewProjection);
    normal = mul(normalIn, (float3x3)worldInverseTranspose);
    toEye = eye.xyz - position;
    float3 forward = normalize(-eye.xyz);
    float3 across = normalize(cross(float3(0.0, 1.0, 0.0), forward));
    float3 up = cross(forward, across);
    float3 along = normalize(position);
    float longitude = atan2(dot(along, across), -dot(along, forward));
    float latitude = asin(clamp(dot(along, up), -1.0, 1.0));
    // Strokes slanting up to the right, as a right hand draws them.
    float2 level = float2(longitude, -latitude) * (length(position) / 3.5);
    paper = float2(level.x * 0.866 + level.y * 0.5, level.y * 0.866 - level.x * 0.5);
}
