#include <d3d9.h>
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(const D3DXVECTOR3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

void expectIdentity(const D3DXMATRIX& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(m.m[r][c], r == c ? 1.0f : 0.0f, 1e-5f) << r << c;
        }
    }
}

D3DXVECTOR3 transformed(float x, float y, float z, const D3DXMATRIX& m) {
    const D3DXVECTOR3 v(x, y, z);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &v, &m);
    return out;
}

} // namespace

TEST(D3dxMath, LookAtPutsTheAxesInTheColumns) {
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

TEST(D3dxMath, PerspectiveMapsNearAndFarToZeroAndOne) {
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

TEST(D3dxMath, RotationsTurnClockwiseLookingDownTheAxis) {
    D3DXMATRIX m;
    expectNear(transformed(1, 0, 0, *D3DXMatrixRotationY(&m, D3DX_PI / 2)), 0, 0, -1);
    expectNear(transformed(0, 1, 0, *D3DXMatrixRotationX(&m, D3DX_PI / 2)), 0, 0, 1);
    expectNear(transformed(1, 0, 0, *D3DXMatrixRotationZ(&m, D3DX_PI / 2)), 0, 1, 0);
    // A third of a turn about the (unnormalised) diagonal cycles the axes x -> y -> z.
    const D3DXVECTOR3 diagonal(2, 2, 2);
    D3DXMatrixRotationAxis(&m, &diagonal, 2 * D3DX_PI / 3);
    expectNear(transformed(1, 0, 0, m), 0, 1, 0);
    expectNear(transformed(0, 1, 0, m), 0, 0, 1);
}

TEST(D3dxMath, TransformsTreatPointsAndDirectionsApart) {
    D3DXMATRIX translate, turn, both;
    D3DXMatrixMultiply(&both, D3DXMatrixTranslation(&translate, 0, 0, 5),
                       D3DXMatrixRotationY(&turn, D3DX_PI / 2));
    expectNear(transformed(1, 0, 0, both), 5, 0, -1); // translated first, then turned
    const D3DXVECTOR3 direction(1, 2, 3);
    D3DXVECTOR3 out;
    expectNear(*D3DXVec3TransformNormal(&out, &direction, &translate), 1, 2, 3);
    // A matrix that copies z into w: the coordinate is divided by it, the 4D result keeps it.
    D3DXMATRIX projective;
    D3DXMatrixIdentity(&projective);
    projective.m[2][3] = 1.0f;
    projective.m[3][3] = 0.0f;
    expectNear(transformed(2, 4, 2, projective), 1, 2, 1);
    D3DXVECTOR4 row;
    const D3DXVECTOR3 point(2, 4, 2);
    D3DXVec3Transform(&row, &point, &projective);
    EXPECT_FLOAT_EQ(row.w, 2.0f);
    EXPECT_FLOAT_EQ(row.x, 2.0f);
}

TEST(D3dxMath, InverseUndoesTheMatrixAndRefusesSingularOnes) {
    D3DXMATRIX scale, turn, translate, m, inverse, product;
    const D3DXVECTOR3 axis(1, -2, 0.5f);
    D3DXMatrixMultiply(&m, D3DXMatrixScaling(&scale, 2, 3, 4),
                       D3DXMatrixRotationAxis(&turn, &axis, 0.7f));
    D3DXMatrixMultiply(&m, &m, D3DXMatrixTranslation(&translate, 5, -6, 7));
    float determinant = 0.0f;
    ASSERT_EQ(D3DXMatrixInverse(&inverse, &determinant, &m), &inverse);
    EXPECT_NEAR(determinant, 24.0f, 1e-4f);
    expectIdentity(*D3DXMatrixMultiply(&product, &inverse, &m));
    expectIdentity(*D3DXMatrixMultiply(&product, &m, &inverse));
    ASSERT_NE(D3DXMatrixInverse(&translate, nullptr, &translate), nullptr); // in place
    expectNear(transformed(5, -6, 7, translate), 0, 0, 0);

    D3DXMatrixIdentity(&inverse);
    EXPECT_EQ(D3DXMatrixInverse(&inverse, &determinant, D3DXMatrixScaling(&m, 1, 0, 1)), nullptr);
    EXPECT_EQ(determinant, 0.0f);
    expectIdentity(inverse); // untouched
    D3DXMatrixIdentity(&m);
    m.m[3][0] = m.m[3][3] = 0.0f;
    m.m[3][2] = 1.0f; // equal to row 2
    EXPECT_EQ(D3DXMatrixInverse(&inverse, nullptr, &m), nullptr);
}

TEST(D3dxMath, RightHandedViewAndProjectionLookDownMinusZ) {
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(0, 0, 10), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtRH(&view, &eye, &at, &up);
    expectNear(transformed(0, 0, 0, view), 0, 0, -10);
    expectNear(transformed(1, 2, 0, view), 1, 2, -10);
    // 90 degrees, square, depth 1..101: the near plane's corner and the far plane's centre.
    D3DXMatrixPerspectiveFovRH(&projection, D3DX_PI / 2, 1.0f, 1.0f, 101.0f);
    EXPECT_FLOAT_EQ(projection.m[2][3], -1.0f);
    expectNear(transformed(1, 1, -1, projection), 1, 1, 0);
    expectNear(transformed(0, 0, -101, projection), 0, 0, 1);
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, 1.0f, 1.0f, 101.0f);
    expectNear(transformed(-1, 1, 1, projection), -1, 1, 0);
}

TEST(D3dxMath, OrthographicMapsTheBoxToClipSpace) {
    D3DXMATRIX ortho;
    D3DXMatrixOrthoLH(&ortho, 4, 2, 1, 3);
    expectNear(transformed(2, 1, 3, ortho), 1, 1, 1);
    expectNear(transformed(-2, -1, 1, ortho), -1, -1, 0);
}

TEST(D3dxMath, VectorHelpers) {
    D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), out;
    expectNear(*D3DXVec3Cross(&out, &x, &y), 0, 0, 1);
    expectNear(*D3DXVec3Cross(&x, &x, &y), 0, 0, 1); // aliasing the output
    const D3DXVECTOR3 v(3, 4, 12), zero(0, 0, 0);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 13.0f);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&v, &y), 4.0f);
    expectNear(*D3DXVec3Normalize(&out, &v), 3 / 13.0f, 4 / 13.0f, 12 / 13.0f);
    expectNear(*D3DXVec3Normalize(&out, &zero), 0, 0, 0);
}
