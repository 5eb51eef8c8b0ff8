// Camera-facing particle squares: each vertex carries its corner (-1 or +1 on x and y), the
// particle's colour and, in texture coordinate 0, its centre and size.

float4 up;
float4 right;
float4x4 worldVGL_EXT_spirv_intrinsics
                   up.xyz * (input.corner.y * size);
    output.position = mul(float4(world, 1.0), worldViewProjMatrix);
    output.color = input.color;
    output.uv = float2(input.corner.x * 0.5 + 0.5, 0.5 - input.corner.y * 0.5);
    return output;
}
