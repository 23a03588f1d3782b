// The sky dome, drawn with an identity world: c0-c3 view-projection, and
// c4 what the dome pass of each scene binds for it: x the colour front
// (the colour scene's sweep: the sky turns to colour as it climbs; the open
// sea sends 1e4, all colour), y 1 where the cloud layer of sampler 1
// (clouds1) is drawn and 0 where sampler 1 is not the dome's and is never
// read, z the demo time the clouds drift by.
// About 10 instructions.
float4x4 viewProjection : register(c0);
float4 dome : register(c4);

static const float2 kWind = float2(-0.9889, 0.1483);

void main(float3 position : POSITION0,
          float2 texCoord : TEXCOORD0,
          out float4 clipPosition : POSITION,
          out float2 uv : TEXCOORD0,
          out float3 direction : TEXCOORD1,
          out float sweep : TEXCOORD8,
          out float3 cloudLayer : TEXCOORD3) {  // x 1 where the cloud layer is drawn; yz its drift
    clipPosition = mul(float4(position, 1.0), viewProjection);
    direction = position;
    uv = texCoord;
    sweep = dome.x;
    cloudLayer = dome.y > 0.5 ? float3(1.0, kWind * dome.z * 0.012) : float3(0.0, 0.0, 0.0);
}
