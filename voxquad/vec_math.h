#pragma once

#include <cmath>

namespace voxquad {
// Small single-precision vectors and matrices of the remesher.
// Out-of-range component access and inversion of a singular matrix are reported on standard output
// ("VERROR ...") and the computation goes on, so a numerical slip never stops a long run.

namespace voxquad_detail {
// Writes "VERROR <text>" to standard output.
void reportVectorError(const char* text);
}  // namespace voxquad_detail

class vec2 {
public:
    float x = 0, y = 0;

    vec2() = default;
    vec2(float x_, float y_) : x(x_), y(y_) {}

    float& operator[](int i);
    const float& operator[](int i) const;

    vec2& operator+=(const vec2& o) { x += o.x; y += o.y; return *this; }
    vec2& operator-=(const vec2& o) { x -= o.x; y -= o.y; return *this; }
    vec2& operator*=(float s) { x *= s; y *= s; return *this; }
    vec2& operator/=(float s) { x /= s; y /= s; return *this; }

    float length() const;
    float length2() const { return x * x + y * y; }
    // Scales to unit length when the length is positive; leaves a zero vector unchanged.
    vec2& normalize();
};

class vec3 {
public:
    float x = 0, y = 0, z = 0;

    vec3() = default;
    vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    float& operator[](int i);
    const float& operator[](int i) const;

    vec3& operator+=(const vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    vec3& operator-=(const vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    vec3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    vec3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }

    float length() const { return std::sqrt(length2()); }
    float length2() const { return x * x + y * y + z * z; }
    // Scales by 1 / sqrt(dot(v, v)) when dot(v, v) > 0; leaves a zero vector unchanged. Inline:
    // the normals of a mesh call it a few times per corner.
    vec3& normalize()
    {
        float d = length2();
        if (d > 0)
            *this *= 1.0f / std::sqrt(d);
        return *this;
    }
};

class vec4 {
public:
    float x = 0, y = 0, z = 0, w = 0;

    vec4() = default;
    vec4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    vec4(const vec3& v, float w_) : x(v.x), y(v.y), z(v.z), w(w_) {}

    float& operator[](int i);
    const float& operator[](int i) const;

    vec4& operator+=(const vec4& o) { x += o.x; y += o.y; z += o.z; w += o.w; return *this; }
    vec4& operator-=(const vec4& o) { x -= o.x; y -= o.y; z -= o.z; w -= o.w; return *this; }
    vec4& operator*=(float s) { x *= s; y *= s; z *= s; w *= s; return *this; }
    vec4& operator/=(float s) { x /= s; y /= s; z /= s; w /= s; return *this; }

    float length() const;
    float length2() const { return x * x + y * y + z * z + w * w; }
    vec4& normalize();
};

inline vec2 operator+(vec2 a, const vec2& b) { return a += b; }
inline vec2 operator-(vec2 a, const vec2& b) { return a -= b; }
inline vec2 operator-(const vec2& a) { return vec2(-a.x, -a.y); }
inline vec2 operator*(vec2 a, float s) { return a *= s; }
inline vec2 operator*(float s, vec2 a) { return a *= s; }
inline vec2 operator/(vec2 a, float s) { return a /= s; }
inline bool operator==(const vec2& a, const vec2& b) { return a.x == b.x && a.y == b.y; }
inline float dot(const vec2& a, const vec2& b) { return a.x * b.x + a.y * b.y; }

inline vec3 operator+(vec3 a, const vec3& b) { return a += b; }
inline vec3 operator-(vec3 a, const vec3& b) { return a -= b; }
inline vec3 operator-(const vec3& a) { return vec3(-a.x, -a.y, -a.z); }
inline vec3 operator*(vec3 a, float s) { return a *= s; }
inline vec3 operator*(float s, vec3 a) { return a *= s; }
inline vec3 operator/(vec3 a, float s) { return a /= s; }
inline bool operator==(const vec3& a, const vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline float dot(const vec3& a, const vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline vec3 cross(const vec3& a, const vec3& b)
{
    return vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
// Component-wise product.
inline vec3 prod(const vec3& a, const vec3& b) { return vec3(a.x * b.x, a.y * b.y, a.z * b.z); }
inline vec3 normalized(vec3 v) { return v.normalize(); }

inline vec4 operator+(vec4 a, const vec4& b) { return a += b; }
inline vec4 operator-(vec4 a, const vec4& b) { return a -= b; }
inline vec4 operator-(const vec4& a) { return vec4(-a.x, -a.y, -a.z, -a.w); }
inline vec4 operator*(vec4 a, float s) { return a *= s; }
inline vec4 operator*(float s, vec4 a) { return a *= s; }
inline vec4 operator/(vec4 a, float s) { return a /= s; }
inline bool operator==(const vec4& a, const vec4& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
inline float dot(const vec4& a, const vec4& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }

// 3 x 3 matrix stored as three rows; m[r][c] is row r, column c.
class mat3 {
public:
    vec3 row[3];

    mat3() = default;  // zero matrix
    mat3(const vec3& r0, const vec3& r1, const vec3& r2) : row{r0, r1, r2} {}
    static mat3 identity();
    static mat3 fromColumns(const vec3& c0, const vec3& c1, const vec3& c2);

    vec3& operator[](int r);
    const vec3& operator[](int r) const;

    mat3 transpose() const;
    float determinant() const;
    // Gauss-Jordan elimination with partial pivoting; a singular matrix is reported and the
    // identity is returned.
    mat3 inverse() const;
};

mat3 operator*(const mat3& a, const mat3& b);
vec3 operator*(const mat3& m, const vec3& v);
mat3 operator*(const mat3& m, float s);
mat3 operator+(const mat3& a, const mat3& b);
mat3 operator-(const mat3& a, const mat3& b);

// 4 x 4 matrix stored as four rows.
class mat4 {
public:
    vec4 row[4];

    mat4() = default;  // zero matrix
    mat4(const vec4& r0, const vec4& r1, const vec4& r2, const vec4& r3) : row{r0, r1, r2, r3} {}
    static mat4 identity();

    vec4& operator[](int r);
    const vec4& operator[](int r) const;

    mat4 transpose() const;
    // Gauss-Jordan elimination with partial pivoting; a singular matrix is reported and the
    // identity is returned.
    mat4 inverse() const;
};

mat4 operator*(const mat4& a, const mat4& b);
vec4 operator*(const mat4& m, const vec4& v);
mat4 operator*(const mat4& m, float s);
mat4 operator+(const mat4& a, const mat4& b);
mat4 operator-(const mat4& a, const mat4& b);

}  // namespace voxquad
