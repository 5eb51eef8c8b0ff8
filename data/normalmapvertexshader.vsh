// Per-pixel point light through the fixed stages: stage 0 dots the normal-map texel with the
// light direction carried in the diffuse colour, stage 1 multiplies by the falloff volume at
// texture coordinate set 1, stage 2 by the light colour carried in the specular colour.

float4x4 worldViewProj;
float4x4 invWorld;
float4 lightPosition;
float4 diffuseColor;
float radius;

struct VertexInput
{
    float3 position : POSITION;
    float3 normal : NORMAL;
    float2 uv : TEXCOORD0;
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

struct VertexOutput
{
    float4 position : POSITION;
    float4 lightVector : COLOR0;
    float4 lightColor : COLOR1;
    float2 uv : TEXCOORD0;
    float3 falloff : TEXCOORD1;
};

VertexOutput main(VertexInput input)
{
    VertexOutput output;
    output.position = mul(float4(input.position, 1.0), worldViewProj);

    // Both ends of the light vector in object space, where the tangent frame lives.
    float3 light = mul(lightPosition, invWorld).xyz;
    float3 toLight = light - input.position;
    float lengthSquared = max(dot(toLight, toLight), 1e-12);
    toLight *= rsqrt(lengthSquared);
    float3 tangentSpace = float3(dot(toLight, input.tangent), dot(toLight, input.binormal),
                                 dot(toLight, input.normal));

    // The dot-product stage expands colours from [0, 1] back to [-1, 1].
    output.lightVector = float4(tangentSpace * 0.5 + 0.5, 1.0);
    output.lightColor = diffuseColor;
    output.uv = input.uv;
    output.falloff = (input.position - light) * radius;
    return output;
}
