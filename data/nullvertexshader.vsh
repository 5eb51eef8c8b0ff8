// Unlit mesh transform: the ambient, base-texture and glow passes read the material colour as
// the stages' diffuse argument and the mesh's texture coordinates on set 0.

float4x4 worldViewProj;
float4 diffuseColor;

struct VertexInput
{
    float3 position : POSITION;
    float2 uv : TEXCOORD0;
};

struct VertexOutput
{
    float4 position : POSITION;
    float4 diffuse : COLOR0;
    float2 uv : TEXCOORD0;
};

VertexOutput main(VertexInput input)
{
    VertexOutput output;
    output.position = mul(float4(input.position, 1.0), worldViewProj);
    output.diffuse = diffuseColor;
    output.uv = input.uv;
    return output;
}
