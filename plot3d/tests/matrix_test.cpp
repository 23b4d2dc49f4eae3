// The plot's vector and matrix arithmetic.
#include "plot3d/core/matrix3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace korv::plot3d;

namespace {

constexpr double kPi = std::numbers::pi;

void expect_near(const Matrix3D& a, const Matrix3D& b, float tol = 1e-5f) {
    const auto p = a.toArray(), q = b.toArray();
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(p[i][j], q[i][j], tol) << i << "," << j;
}

void expect_near(const Vector3D& a, const Vector3D& b) {
    EXPECT_NEAR(a.x, b.x, 1e-6f);
    EXPECT_NEAR(a.y, b.y, 1e-6f);
    EXPECT_NEAR(a.z, b.z, 1e-6f);
}

// Something without symmetry to multiply with.
Matrix3D skew() { return Matrix3D(1, 2, 3, 4, 0.5f, -1, 2, 0, 3, 0, 1, -2, 0, 0, 0, 1); }

}  // namespace

TEST(Vector3D, ArithmeticAndLength) {
    const Vector3D a(1, 2, 2), b(0.5f, -1, 3);
    EXPECT_EQ(a.length(), 3.0f);
    expect_near(a.plus(b), {1.5f, 1, 5});
    expect_near(a.minus(b), {0.5f, 3, -1});
    expect_near(a.negative(), {-1, -2, -2});
    Vector3D c = a;
    expect_near(c.normalize(6), {2, 4, 4});
    EXPECT_EQ(Vector3D(3000, -0.5f, 1e-4f).text(), "(3000.0, -0.5, 1.0E-4)");
}

TEST(Matrix3D, RotationsTurnTheRightWay) {
    Matrix3D rx, ry, rz;
    rx.postRotateX(kPi / 2);
    ry.postRotateY(kPi / 2);
    rz.postRotateZ(kPi / 2);
    expect_near(rx.transform(0, 1, 0), {0, 0, 1});
    expect_near(ry.transform(0, 0, 1), {1, 0, 0});
    expect_near(rz.transform(1, 0, 0), {0, 1, 0});
}

TEST(Matrix3D, PreAndPostOperationsAreTheProducts) {
    using Op = void (Matrix3D::*)(double);
    const std::pair<Op, Op> pairs[] = {{&Matrix3D::preRotateX, &Matrix3D::postRotateX},
                                       {&Matrix3D::preRotateY, &Matrix3D::postRotateY},
                                       {&Matrix3D::preRotateZ, &Matrix3D::postRotateZ}};
    for (const auto& [pre, post] : pairs) {
        Matrix3D r;
        (r.*post)(0.7);
        Matrix3D m1 = skew(), m2 = skew();
        (m1.*pre)(0.7);
        (m2.*post)(0.7);
        expect_near(m1, Matrix3D(skew(), r));
        expect_near(m2, Matrix3D(r, skew()));
    }
    const Matrix3D s(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1);
    const Matrix3D t(1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1);
    Matrix3D a = skew(), b = skew(), c = skew(), d = skew();
    a.preScale(2, 3, 4);
    b.postScale(2, 3, 4);
    c.preTranslate(5, 6, 7);
    d.postTranslate(Vector3D(5, 6, 7));
    expect_near(a, Matrix3D(skew(), s));
    expect_near(b, Matrix3D(s, skew()));
    expect_near(c, Matrix3D(skew(), t));
    expect_near(d, Matrix3D(t, skew()));
    expect_near(Matrix3D(Matrix3D(), skew()), skew());
}

TEST(Matrix3D, InverseUndoes) {
    Matrix3D rot;
    rot.postRotateX(0.3);
    rot.postRotateY(-1.1);
    rot.postRotateZ(2.0);
    const auto r = rot.toArray();
    const auto inv = rot.inverse().toArray();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(inv[i][j], r[j][i], 1e-6f);  // a rotation's inverse is its transpose
    expect_near(Matrix3D(skew(), skew().inverse()), Matrix3D());
    expect_near(Matrix3D(skew().inverse(), skew()), Matrix3D());
}

TEST(Matrix3D, ArraysAreRowMajorAndPrintsAsRows) {
    const Matrix3D m(skew().toArray());
    EXPECT_EQ(m.xd, 4.0f);
    EXPECT_EQ(m.yx, 0.5f);
    EXPECT_EQ(Matrix3D().text(),
              "--------------------\n|1.0 0.0 0.0 0.0| \n|0.0 1.0 0.0 0.0| \n|0.0 0.0 1.0 0.0| \n"
              "|0.0 0.0 0.0 1.0| \n");
}
