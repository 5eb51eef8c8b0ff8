// Seven blur taps along one axis of the glow target for glowpixelshader.psh. The quad arrives
// in clip space; "offset" is half a texel so that each tap lands on a texel centre.

float blur;
bool hdir;
float4 offset;

struct VertexInput
{
    float3 position : POSITION;
    float2 uv : TEXCOORD0;
};

struct VertexOutput
{
    float4 position : POSITION;
    float2 tap0 : TEXCOORD0;
    float2 tap1 : TEXCOORD1;
    float2 tap2 : TEXCOORD2;
    float2 tap3 : TEXCOORD3;
    float2 tap4 : TEXCOORD4;
    float2 tap5 : TEXCOORD5;
    float2 tap6 : TEXCOORD6;
};

VertexOutput main(VertexInput input)
{
    VertexOutput output;
    output.position = float4(input.position, 1.0);
    float2 centre = input.uv + offset.xy;
    float2 step = (hdir ? float2(1.0, 0.0) : float2(0.0, 1.0)) * blur;
    output.tap0 = centre - 3.0 * step;
    output.tap1 = centre - 2.0 * step;
    output.tap2 = centre - step;
    output.tap3 = centre;
    output.tap4 = centre + step;
    output.tap5 = centre + 2.0 * step;
    output.tap6 = centre + 3.0 * step;
    return output;
}
