#include "marching_cubes33_cases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <vector>

#include "mc33_tables.h"

namespace voxquad {

namespace {

using Row = std::vector<int>;

Row rowOf(const std::int8_t* codes, int count) { return Row(codes, codes + count); }

template <std::size_t N>
Row rowOf(const std::int8_t (&codes)[N]) { return rowOf(codes, static_cast<int>(N)); }

// Splits a polygon row at -1 and turns each cycle so that it starts at its smallest code.
std::vector<Row> canonicalCycles(const Row& row) {
    std::vector<Row> cycles(1);
    for (int code : row) {
        if (code < 0)
            cycles.emplace_back();
        else
            cycles.back().push_back(code);
    }
    for (Row& c : cycles) std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
    return cycles;
}

TEST(Mc33Tables, PinnedRowsOfTheTableVersion) {
    const std::pair<int, Row> pinnedCases[] = {{1, {1, 0}},  {3, {2, 0}},   {7, {5, 0}},  {15, {8, 0}},
                                               {23, {11, 0}}, {60, {10, 5}}, {255, {0, -1}}};
    for (const auto& [entry, expected] : pinnedCases) EXPECT_EQ(rowOf(mc33::cases[entry]), expected) << entry;
    EXPECT_EQ(rowOf(mc33::tiling6_1_2[0]), (Row{1, 10, 3, 6, 3, 10, 3, 6, 8, 5, 8, 6, 8, 5, 9, 1, 9, 5, 10, 1, 5}));
    EXPECT_EQ(rowOf(mc33::tiling7_4_1[0]), (Row{3, 4, 8, 4, 3, 10, 2, 10, 3, 4, 10, 5, 9, 1, 0}));
    EXPECT_EQ(rowOf(mc33::tiling7_4_2[0]),
              (Row{9, 4, 8, 4, 9, 5, 10, 5, 9, 1, 10, 9, 10, 1, 2, 0, 2, 1, 2, 0, 3, 8, 3, 0, 9, 8, 0}));
    EXPECT_EQ(rowOf(mc33::tiling10_1_2[0]),
              (Row{3, 11, 7, 3, 7, 8, 9, 8, 7, 5, 9, 7, 9, 5, 10, 9, 10, 1, 3, 1, 10, 11, 3, 10}));
}

TEST(Mc33Tables, PolygonRowsAreTheBoundariesOfTheTriangleRows) {
    const std::pair<Row, std::vector<Row>> examples[] = {
        {rowOf(mc33::polygon2[0]), {{1, 9, 8, 3}}},
        {rowOf(mc33::polygon3_2[0]), {{0, 8, 3, 2, 10, 1}}},
        {rowOf(mc33::polygon5[0]), {{2, 10, 9, 8, 3}}},
        {rowOf(mc33::polygon6_1_1[0]), {{5, 10, 6}, {1, 9, 8, 3}}},
        {rowOf(mc33::polygon8[0]), {{8, 11, 10, 9}}},
        {rowOf(mc33::polygon14[0]), {{2, 6, 5, 9, 8, 3}}},
    };
    for (const auto& [row, expected] : examples) EXPECT_EQ(canonicalCycles(row), expected);
}

struct RareSubcase {
    float values[8];
    int lutEntry;
    int config;
    int subcase;
};

// Single cubes whose extreme magnitude ratios reach the tunnel outcomes of the
// edge-section interior test.
TEST(Mc33Classify, RareTunnelSubcases) {
    const RareSubcase cubes[] = {
        {{-2483.61255f, 1581.1377f, -3780.4187f, -1444.53528f, -1118.45459f, -0.000128895525f, 0.000251018588f,
          98.9411011f},
         194, 15, mc33::Sub6_1_2},
        {{-119.547417f, 46.7785492f, -0.353351295f, -2.31738329f, 0.00217609666f, -0.000229401398f, 0.000235878702f,
          -0.00234812219f},
         82, 5, mc33::Sub7_4_2},
        {{0.000857762119f, -8817.78418f, 0.00106532732f, -9.27298641f, 4246.33447f, 794.143738f, -0.000149054657f,
          -0.000331365911f},
         53, 5, mc33::Sub12_1_2},
        {{1803.58728f, -2074.36426f, 0.000168194718f, -0.000188907652f, -0.000653820578f, 6006.96143f, -160.354401f,
          0.00670025591f},
         165, 0, mc33::Sub13_5_2},
    };
    for (const RareSubcase& c : cubes) {
        const mc33::CubeTiling t = mc33::classifyCube(c.values);
        EXPECT_EQ(t.lutEntry, c.lutEntry);
        EXPECT_EQ(t.config, c.config);
        EXPECT_EQ(t.subcase, c.subcase) << mc33::subcaseNames[c.subcase];
        EXPECT_FALSE(t.polygonRow);
        EXPECT_FALSE(t.needsInteriorVertex);
    }
}

TEST(Mc33Classify, ZeroCornerCountsAsPositive) {
    float v[8] = {0, -1, -1, -1, -1, -1, -1, -1};
    for (float& x : v) x = mc33::clampCornerValue(x);
    EXPECT_EQ(v[0], FLT_EPSILON);
    const mc33::CubeTiling t = mc33::classifyCube(v);
    EXPECT_EQ(t.lutEntry, 1);
    EXPECT_EQ(t.subcase, mc33::Sub1);
    EXPECT_EQ(rowOf(t.codes, t.codeCount), rowOf(mc33::tiling1[0]));
}

// Case 3 with corners 0 and 2 positive: the face z = k decides whether the two
// positive corners are joined (one hexagon) or separated (two triangles).
TEST(Mc33Classify, FaceTestSeparatesOrJoinsCase3) {
    const float separated[8] = {1, -2, 1, -2, -1, -1, -1, -1};
    const float joined[8] = {1, -0.1f, 1, -0.1f, -1, -1, -1, -1};
    const mc33::CubeTiling a = mc33::classifyCube(separated);
    const mc33::CubeTiling b = mc33::classifyCube(joined);
    EXPECT_EQ(a.caseNumber, 3);
    EXPECT_EQ(a.subcase, mc33::Sub3_1);
    EXPECT_EQ(a.codeCount, 6);
    EXPECT_EQ(b.subcase, mc33::Sub3_2);
    EXPECT_TRUE(b.polygonRow);
    EXPECT_EQ(b.codeCount, 6);
}

TEST(Mc33Classify, FaceTestIsTheSameFromBothSidesOfAFace) {
    // Face 2 (x = i+1) of one cube is face 4 (x = i) of its +x neighbour.
    const float left[8] = {-1, 2, -3, -1, -1, -1.5f, 0.5f, -1};
    const float right[8] = {2, -0.5f, 0.25f, -3, -1.5f, 1, 1, 0.5f};
    for (int sign : {1, -1}) EXPECT_EQ(mc33::testFace(2 * sign, left), mc33::testFace(4 * sign, right));
}

TEST(Mc33Classify, InteriorTestOfCase4FollowsTheTunnel) {
    // Corners 0 and 6 positive: small values leave two corner caps (4.1), large
    // ones join them by a tube through the interior (4.2).
    const float thin[8] = {0.1f, -1, -1, -1, -1, -1, 0.1f, -1};
    const float tube[8] = {10, -0.2f, -0.2f, -0.2f, -0.2f, -0.2f, 10, -0.2f};
    const mc33::CubeTiling a = mc33::classifyCube(thin);
    const mc33::CubeTiling b = mc33::classifyCube(tube);
    EXPECT_EQ(a.caseNumber, 4);
    EXPECT_EQ(a.subcase, mc33::Sub4_1);
    EXPECT_EQ(b.subcase, mc33::Sub4_2);
    EXPECT_EQ(b.codeCount, 18);
}

}  // namespace

}  // namespace voxquad
