// Camera-facing particle squares: each vertex carries its corner (-1 or +1 on x and y), the
// particle's colour and, in texture coordinate 0, its centre and size.

float4 up;
float4 right;
float4x4 worldViewProjMatrix;

struct VertexInput
{
    float3 corner : POSITION;
    float4 color : COLOR0;
    float4 centreAndSize : TEXCOORD0;
};

struct VertexOutput
{
    float4 position : POSITION;
    float4 color : COLOR0;
    float2 uv : TEXCOORD0;
};

VertexOutput main(VertexInput input)
{
    VertexOutput output;
    float size = input.centreAndSize.w;
    float3 world = input.centreAndSize.xyz + right.xyz * (input.corner.x * size) +
                   up.xyz * (input.corner.y * size);
    output.position = mul(float4(world, 1.0), worldViewProjMatrix);
    output.color = input.color;
    output.uv = float2(input.corner.x * 0.5 + 0.5, 0.5 - input.corner.y * 0.5);
    return output;
}
