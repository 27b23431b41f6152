#include "vec_math.h"

#include <gtest/gtest.h>

#include <string>

namespace voxquad {

namespace {

template <typename Access>
std::string stdoutOf(Access access)
{
    testing::internal::CaptureStdout();
    access();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(VecMath, IllegalAccessIsReportedAndGoesOn)
{
    vec2 v2(1, 2);
    vec3 v3(1, 2, 3);
    vec4 v4(1, 2, 3, 4);
    mat3 m3 = mat3::identity();
    mat4 m4 = mat4::identity();
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(v2[2], 1.0f); }), "VERROR vec2 [] operator: illegal access");
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(v3[-1], 1.0f); }), "VERROR vec3 [] operator: illegal access");
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(v4[4], 1.0f); }), "VERROR vec4 [] operator: illegal access");
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(m3[3][0], 1.0f); }), "VERROR mat3 [] operator: illegal access");
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(m4[7][0], 1.0f); }), "VERROR mat4 [] operator: illegal access");
    EXPECT_EQ(stdoutOf([&] {
                  EXPECT_EQ(v3[2], 3.0f);
                  EXPECT_EQ(v4[3], 4.0f);
              }),
              "");
}

TEST(VecMath, ProductsAndNormalisation)
{
    EXPECT_EQ(cross(vec3(1, 0, 0), vec3(0, 1, 0)), vec3(0, 0, 1));
    EXPECT_EQ(dot(vec3(1, 2, 3), vec3(4, 5, 6)), 32.0f);
    EXPECT_EQ(normalized(vec3(0, 3, 4)), vec3(0, 0.6f, 0.8f));
    EXPECT_EQ(normalized(vec3()), vec3());  // zero stays zero
    EXPECT_FLOAT_EQ(vec4(1, 1, 1, 1).length(), 2.0f);
}

TEST(VecMath, InverseByGaussJordanNeedsPivoting)
{
    // A zero on the diagonal needs a row exchange.
    mat3 m = mat3::fromColumns(vec3(0, 1, 0), vec3(2, 0, 0), vec3(1, 1, 3));
    EXPECT_EQ(m[0][1], 2.0f);
    EXPECT_FLOAT_EQ(m.determinant(), -6.0f);
    mat3 product = m * m.inverse();
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(product[r][c], r == c ? 1.0f : 0.0f, 1e-6f);
    vec3 v(1, 2, 3);
    vec3 back = m.inverse() * (m * v);
    EXPECT_NEAR(back.x, 1, 1e-6f);
    EXPECT_NEAR(back.z, 3, 1e-6f);

    mat4 m4(vec4(0, 0, 1, 0), vec4(1, 0, 0, 2), vec4(0, 3, 0, 0), vec4(0, 0, 0, 4));
    mat4 p4 = m4.inverse() * m4;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(p4[r][c], r == c ? 1.0f : 0.0f, 1e-6f);
}

TEST(VecMath, SingularInverseIsReportedAndGoesOn)
{
    mat3 singular(vec3(1, 2, 3), vec3(2, 4, 6), vec3(0, 1, 0));
    EXPECT_EQ(stdoutOf([&] { EXPECT_EQ(singular.inverse()[0], vec3(1, 0, 0)); }),
              "VERROR mat3::inverse: singular matrix; can't invert\n");
    EXPECT_EQ(stdoutOf([] { mat4().inverse(); }), "VERROR mat4::inverse: singular matrix; can't invert\n");
}

}  // namespace voxquad
