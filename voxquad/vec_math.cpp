#include "vec_math.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace voxquad {

namespace voxquad_detail {
void reportVectorError(const char* text)
{
    std::printf("VERROR %s", text);
    std::fflush(stdout);
}
}  // namespace voxquad_detail

using voxquad_detail::reportVectorError;

namespace {

// Row i of an array of n rows; an illegal index is reported and row 0 returned.
template <typename T>
T& component(T* first, int n, int i, const char* errorText)
{
    if (i < 0 || i >= n) {
        reportVectorError(errorText);
        return first[0];
    }
    return first[i];
}

template <typename Vec>
Vec& normalizeInPlace(Vec& v)
{
    float d = dot(v, v);
    if (d > 0)
        v *= 1.0f / std::sqrt(d);
    return v;
}

// Gauss-Jordan elimination with partial pivoting on an n x n row-major matrix a; inv receives the
// inverse. Returns false for a singular matrix.
bool invertGaussJordan(float* a, float* inv, int n)
{
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            inv[r * n + c] = r == c ? 1.0f : 0.0f;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(a[r * n + col]) > std::fabs(a[pivot * n + col]))
                pivot = r;
        if (a[pivot * n + col] == 0.0f)
            return false;
        if (pivot != col)
            for (int c = 0; c < n; ++c) {
                std::swap(a[pivot * n + c], a[col * n + c]);
                std::swap(inv[pivot * n + c], inv[col * n + c]);
            }
        float scale = 1.0f / a[col * n + col];
        for (int c = 0; c < n; ++c) {
            a[col * n + c] *= scale;
            inv[col * n + c] *= scale;
        }
        for (int r = 0; r < n; ++r) {
            if (r == col)
                continue;
            float f = a[r * n + col];
            if (f == 0.0f)
                continue;
            for (int c = 0; c < n; ++c) {
                a[r * n + c] -= f * a[col * n + c];
                inv[r * n + c] -= f * inv[col * n + c];
            }
        }
    }
    return true;
}

// Components by index through member pointers; an illegal index is reported and x returned.
template <typename Vec, int N>
float& vectorComponent(Vec& v, float Vec::* const (&members)[N], int i, const char* errorText)
{
    if (i < 0 || i >= N) {
        reportVectorError(errorText);
        return v.x;
    }
    return v.*members[i];
}

float vec2::* const vec2Members[] = {&vec2::x, &vec2::y};
float vec3::* const vec3Members[] = {&vec3::x, &vec3::y, &vec3::z};
float vec4::* const vec4Members[] = {&vec4::x, &vec4::y, &vec4::z, &vec4::w};
}  // namespace

float& vec2::operator[](int i) { return vectorComponent(*this, vec2Members, i, "vec2 [] operator: illegal access"); }
const float& vec2::operator[](int i) const { return const_cast<vec2&>(*this)[i]; }
float vec2::length() const { return std::sqrt(length2()); }
vec2& vec2::normalize() { return normalizeInPlace(*this); }

float& vec3::operator[](int i) { return vectorComponent(*this, vec3Members, i, "vec3 [] operator: illegal access"); }
const float& vec3::operator[](int i) const { return const_cast<vec3&>(*this)[i]; }

float& vec4::operator[](int i) { return vectorComponent(*this, vec4Members, i, "vec4 [] operator: illegal access"); }
const float& vec4::operator[](int i) const { return const_cast<vec4&>(*this)[i]; }
float vec4::length() const { return std::sqrt(length2()); }
vec4& vec4::normalize() { return normalizeInPlace(*this); }

// ---- mat3 ----

mat3 mat3::identity() { return mat3(vec3(1, 0, 0), vec3(0, 1, 0), vec3(0, 0, 1)); }

mat3 mat3::fromColumns(const vec3& c0, const vec3& c1, const vec3& c2)
{
    return mat3(c0, c1, c2).transpose();
}

vec3& mat3::operator[](int r) { return component(row, 3, r, "mat3 [] operator: illegal access"); }
const vec3& mat3::operator[](int r) const { return const_cast<mat3&>(*this)[r]; }

mat3 mat3::transpose() const
{
    return mat3(vec3(row[0].x, row[1].x, row[2].x), vec3(row[0].y, row[1].y, row[2].y),
                vec3(row[0].z, row[1].z, row[2].z));
}

float mat3::determinant() const { return dot(row[0], cross(row[1], row[2])); }

mat3 mat3::inverse() const
{
    float a[9], inv[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            a[r * 3 + c] = row[r][c];
    if (!invertGaussJordan(a, inv, 3)) {
        reportVectorError("mat3::inverse: singular matrix; can't invert\n");
        return identity();
    }
    return mat3(vec3(inv[0], inv[1], inv[2]), vec3(inv[3], inv[4], inv[5]), vec3(inv[6], inv[7], inv[8]));
}

mat3 operator*(const mat3& a, const mat3& b)
{
    mat3 bt = b.transpose();
    mat3 m;
    for (int r = 0; r < 3; ++r)
        m.row[r] = vec3(dot(a.row[r], bt.row[0]), dot(a.row[r], bt.row[1]), dot(a.row[r], bt.row[2]));
    return m;
}

vec3 operator*(const mat3& m, const vec3& v) { return vec3(dot(m.row[0], v), dot(m.row[1], v), dot(m.row[2], v)); }
mat3 operator*(const mat3& m, float s) { return mat3(m.row[0] * s, m.row[1] * s, m.row[2] * s); }
mat3 operator+(const mat3& a, const mat3& b) { return mat3(a.row[0] + b.row[0], a.row[1] + b.row[1], a.row[2] + b.row[2]); }
mat3 operator-(const mat3& a, const mat3& b) { return mat3(a.row[0] - b.row[0], a.row[1] - b.row[1], a.row[2] - b.row[2]); }

// ---- mat4 ----

mat4 mat4::identity()
{
    return mat4(vec4(1, 0, 0, 0), vec4(0, 1, 0, 0), vec4(0, 0, 1, 0), vec4(0, 0, 0, 1));
}

vec4& mat4::operator[](int r) { return component(row, 4, r, "mat4 [] operator: illegal access"); }
const vec4& mat4::operator[](int r) const { return const_cast<mat4&>(*this)[r]; }

mat4 mat4::transpose() const
{
    mat4 t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t.row[c][r] = row[r][c];
    return t;
}

mat4 mat4::inverse() const
{
    float a[16], inv[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            a[r * 4 + c] = row[r][c];
    if (!invertGaussJordan(a, inv, 4)) {
        reportVectorError("mat4::inverse: singular matrix; can't invert\n");
        return identity();
    }
    mat4 m;
    for (int r = 0; r < 4; ++r)
        m.row[r] = vec4(inv[r * 4], inv[r * 4 + 1], inv[r * 4 + 2], inv[r * 4 + 3]);
    return m;
}

mat4 operator*(const mat4& a, const mat4& b)
{
    mat4 bt = b.transpose();
    mat4 m;
    for (int r = 0; r < 4; ++r)
        m.row[r] = vec4(dot(a.row[r], bt.row[0]), dot(a.row[r], bt.row[1]), dot(a.row[r], bt.row[2]),
                        dot(a.row[r], bt.row[3]));
    return m;
}

vec4 operator*(const mat4& m, const vec4& v)
{
    return vec4(dot(m.row[0], v), dot(m.row[1], v), dot(m.row[2], v), dot(m.row[3], v));
}

mat4 operator*(const mat4& m, float s) { return mat4(m.row[0] * s, m.row[1] * s, m.row[2] * s, m.row[3] * s); }

mat4 operator+(const mat4& a, const mat4& b)
{
    return mat4(a.row[0] + b.row[0], a.row[1] + b.row[1], a.row[2] + b.row[2], a.row[3] + b.row[3]);
}

mat4 operator-(const mat4& a, const mat4& b)
{
    return mat4(a.row[0] - b.row[0], a.row[1] - b.row[1], a.row[2] - b.row[2], a.row[3] - b.row[3]);
}

}  // namespace voxquad
