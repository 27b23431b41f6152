#include "vec_math.h"

#include <gtest/gtest.h>

TEST(VecMath, IllegalComponentAccessIsReportedAndGoesOn)
{
    vec3 v(1, 2, 3);
    testing::internal::CaptureStdout();
    float value = v[3];
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "VERROR vec3 [] operator: illegal access");
    EXPECT_EQ(value, 1.0f);
}
