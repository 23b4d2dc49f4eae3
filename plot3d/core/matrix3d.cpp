#include "plot3d/core/matrix3d.h"

#include <cmath>
#include <cstdio>

#include "common/core/java_numbers.h"

namespace korv::plot3d {

namespace {

// Rows (post) or columns (pre) a and b become c a - s b and s a + c b, each
// product in double and every new value from the old ones.
void turn(float& a0, float& a1, float& a2, float& a3, float& b0, float& b1, float& b2, float& b3, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const float n[8] = {static_cast<float>(c * a0 - s * b0), static_cast<float>(c * a1 - s * b1),
                        static_cast<float>(c * a2 - s * b2), static_cast<float>(c * a3 - s * b3),
                        static_cast<float>(s * a0 + c * b0), static_cast<float>(s * a1 + c * b1),
                        static_cast<float>(s * a2 + c * b2), static_cast<float>(s * a3 + c * b3)};
    a0 = n[0], a1 = n[1], a2 = n[2], a3 = n[3], b0 = n[4], b1 = n[5], b2 = n[6], b3 = n[7];
}

float det3(float a, float b, float c, float d, float e, float f, float g, float h, float i) {
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

}  // namespace

Matrix3D::Matrix3D(float xx_, float xy_, float xz_, float xd_, float yx_, float yy_, float yz_, float yd_, float zx_,
                   float zy_, float zz_, float zd_, float dx_, float dy_, float dz_, float dd_) {
    set(xx_, xy_, xz_, xd_, yx_, yy_, yz_, yd_, zx_, zy_, zz_, zd_, dx_, dy_, dz_, dd_);
}

Matrix3D::Matrix3D(const Matrix3D& a, const Matrix3D& b) {
    const Array p = a.toArray();
    const Array q = b.toArray();
    Array m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = p[i][0] * q[0][j] + p[i][1] * q[1][j] + p[i][2] * q[2][j] + p[i][3] * q[3][j];
    set(m);
}

void Matrix3D::set(float xx_, float xy_, float xz_, float xd_, float yx_, float yy_, float yz_, float yd_, float zx_,
                   float zy_, float zz_, float zd_, float dx_, float dy_, float dz_, float dd_) {
    xx = xx_, xy = xy_, xz = xz_, xd = xd_;
    yx = yx_, yy = yy_, yz = yz_, yd = yd_;
    zx = zx_, zy = zy_, zz = zz_, zd = zd_;
    dx = dx_, dy = dy_, dz = dz_, dd = dd_;
}

void Matrix3D::set(const Array& m) {
    set(m[0][0], m[0][1], m[0][2], m[0][3], m[1][0], m[1][1], m[1][2], m[1][3], m[2][0], m[2][1], m[2][2], m[2][3],
        m[3][0], m[3][1], m[3][2], m[3][3]);
}

Matrix3D::Array Matrix3D::toArray() const {
    return {{{xx, xy, xz, xd}, {yx, yy, yz, yd}, {zx, zy, zz, zd}, {dx, dy, dz, dd}}};
}

// About x: rows y and z turn; about y: rows z and x; about z: rows x and y.
void Matrix3D::postRotateX(double angle) { turn(yx, yy, yz, yd, zx, zy, zz, zd, angle); }
void Matrix3D::postRotateY(double angle) { turn(zx, zy, zz, zd, xx, xy, xz, xd, angle); }
void Matrix3D::postRotateZ(double angle) { turn(xx, xy, xz, xd, yx, yy, yz, yd, angle); }

// M R changes columns through the transpose: the same pairs, angle negated.
void Matrix3D::preRotateX(double angle) { turn(xy, yy, zy, dy, xz, yz, zz, dz, -angle); }
void Matrix3D::preRotateY(double angle) { turn(xz, yz, zz, dz, xx, yx, zx, dx, -angle); }
void Matrix3D::preRotateZ(double angle) { turn(xx, yx, zx, dx, xy, yy, zy, dy, -angle); }

void Matrix3D::postScale(float sx, float sy, float sz) {
    xx *= sx, xy *= sx, xz *= sx, xd *= sx;
    yx *= sy, yy *= sy, yz *= sy, yd *= sy;
    zx *= sz, zy *= sz, zz *= sz, zd *= sz;
}

void Matrix3D::preScale(float sx, float sy, float sz) {
    xx *= sx, yx *= sx, zx *= sx, dx *= sx;
    xy *= sy, yy *= sy, zy *= sy, dy *= sy;
    xz *= sz, yz *= sz, zz *= sz, dz *= sz;
}

void Matrix3D::postTranslate(float tx, float ty, float tz) {
    xx += tx * dx, xy += tx * dy, xz += tx * dz, xd += tx * dd;
    yx += ty * dx, yy += ty * dy, yz += ty * dz, yd += ty * dd;
    zx += tz * dx, zy += tz * dy, zz += tz * dz, zd += tz * dd;
}

void Matrix3D::preTranslate(float tx, float ty, float tz) {
    xd += tx * xx + ty * xy + tz * xz;
    yd += tx * yx + ty * yy + tz * yz;
    zd += tx * zx + ty * zy + tz * zz;
    dd += tx * dx + ty * dy + tz * dz;
}

Vector3D Matrix3D::transform(float x, float y, float z) const {
    const float w = dx * x + dy * y + dz * z + dd;
    return {(xx * x + xy * y + xz * z + xd) / w, (yx * x + yy * y + yz * z + yd) / w,
            (zx * x + zy * y + zz * z + zd) / w};
}

Matrix3D Matrix3D::inverse() const {
    const Array m = toArray();
    Array k{};  // signed cofactors
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float minor[9];
            int n = 0;
            for (int r = 0; r < 4; ++r) {
                if (r == i) continue;
                for (int c = 0; c < 4; ++c)
                    if (c != j) minor[n++] = m[r][c];
            }
            const float d =
                det3(minor[0], minor[1], minor[2], minor[3], minor[4], minor[5], minor[6], minor[7], minor[8]);
            k[i][j] = (i + j) % 2 == 0 ? d : -d;
        }
    }
    const float det = xx * k[0][0] + xy * k[0][1] + xz * k[0][2] + xd * k[0][3];
    Array out{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) out[i][j] = k[j][i] / det;
    return Matrix3D(out);
}

std::string Matrix3D::text() const {
    std::string out(20, '-');
    out += '\n';
    for (const auto& row : toArray()) {
        out += "|";
        for (int c = 0; c < 4; ++c) {
            if (c > 0) out += " ";
            out += java_float_to_string(row[c]);
        }
        out += "| \n";
    }
    return out;
}

void Matrix3D::print() const { std::fputs(text().c_str(), stdout); }

}  // namespace korv::plot3d
