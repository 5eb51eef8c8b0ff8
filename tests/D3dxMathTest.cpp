#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>

TEST(MatrixBuilders, LookAtPutsTheAxesInTheColumns) {
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0, 0, -10), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 10, 1}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_FLOAT_EQ(view.m[r][c], expected[r][c]) << r << c;
        }
    }
    // Looking down +x from the origin: world +x becomes view +z, world +z becomes view -x.
    const D3DXVECTOR3 along(5, 0, 0), origin(0, 0, 0);
    D3DXMatrixLookAtLH(&view, &origin, &along, &up);
    EXPECT_FLOAT_EQ(view.m[0][2], 1.0f);
    EXPECT_FLOAT_EQ(view.m[2][0], -1.0f);
}

TEST(MatrixBuilders, PerspectiveMapsNearAndFarToZeroAndOne) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, 4.0f / 3.0f, 2.0f, 5000.0f);
    EXPECT_FLOAT_EQ(projection.m[1][1], 1.0f);
    EXPECT_FLOAT_EQ(projection.m[0][0], 0.75f);
    EXPECT_FLOAT_EQ(projection.m[2][3], 1.0f);
    EXPECT_FLOAT_EQ(projection.m[3][3], 0.0f);
    for (float z : {2.0f, 5000.0f}) {
        const float clipZ = z * projection.m[2][2] + projection.m[3][2];
        EXPECT_NEAR(clipZ / z, z == 2.0f ? 0.0f : 1.0f, 1e-5f);
    }
}

TEST(MatrixBuilders, MultiplyAppliesTheLeftOperandFirst) {
    D3DXMATRIX a, b, product;
    D3DXMatrixIdentity(&a);
    D3DXMatrixIdentity(&b);
    a.m[3][0] = 5.0f; // translate x
    b.m[0][0] = 2.0f; // scale x
    D3DXMatrixMultiply(&product, &a, &b);
    EXPECT_FLOAT_EQ(product.m[3][0], 10.0f);
    D3DXMatrixMultiply(&a, &a, &b); // aliasing the output
    EXPECT_FLOAT_EQ(a.m[3][0], 10.0f);
}
