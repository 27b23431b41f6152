#include "marching_cubes33_cases.h"

#include <cassert>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "mc33_tables.h"

namespace voxquad::mc33 {

const char* const subcaseNames[SubcaseCount] = {
    "0",      "1",      "2",    "3.1",    "3.2",    "4.1",    "4.2",    "5",
    "6.1.1",  "6.1.2",  "6.2",  "7.1",    "7.2",    "7.3",    "7.4.1",  "7.4.2",
    "8",      "9",      "10.1.1", "10.1.2", "10.2", "11",     "12.1.1", "12.1.2",
    "12.2",   "13.1",   "13.2", "13.3",   "13.4",   "13.5.1", "13.5.2", "14"};

int cubeLutEntry(const float corners[8]) {
    int entry = 0;
    for (int p = 0; p < 8; ++p)
        if (corners[p] > 0) entry |= 1 << p;
    return entry;
}

bool testFace(int faceCode, const float v[8]) {
    // Corners of each face around it; A and C are diagonally opposite.
    static constexpr int faceCorners[6][4] = {
        {0, 4, 5, 1}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}, {0, 3, 2, 1}, {4, 7, 6, 5}};
    const int face = faceCode < 0 ? -faceCode : faceCode;
    if (face < 1 || face > 6) {
        std::printf("Invalid face code %d\n", faceCode);
        return true;
    }
    const int* c = faceCorners[face - 1];
    const float A = v[c[0]], B = v[c[1]], C = v[c[2]], D = v[c[3]];
    const float q = A * C - B * D;
    if (std::fabs(q) < FLT_EPSILON) return faceCode >= 0;  // degenerate saddle counts positive
    return static_cast<float>(faceCode) * A * q >= 0;
}

namespace {

// Whether the positive values of a square section with corners A, B, C, D
// (in order around it) are joined through the section.
bool sectionJoined(float At, float Bt, float Ct, float Dt) {
    const int pattern = (At >= 0 ? 1 : 0) | (Bt >= 0 ? 2 : 0) | (Ct >= 0 ? 4 : 0) | (Dt >= 0 ? 8 : 0);
    switch (pattern) {
    case 7: case 11: case 13: case 14: case 15: return true;
    case 5: return At * Ct - Bt * Dt >= FLT_EPSILON;
    case 10: return At * Ct - Bt * Dt < FLT_EPSILON;
    default: return false;
    }
}

// Section at the extremum of the section determinant over horizontal slices
// through the four z edges (cases 4 and 10).
bool joinedAcrossZSections(const float v[8]) {
    const float a = (v[4] - v[0]) * (v[6] - v[2]) - (v[7] - v[3]) * (v[5] - v[1]);
    if (a == 0) return false;
    const float b = v[2] * (v[4] - v[0]) + v[0] * (v[6] - v[2]) - v[1] * (v[7] - v[3]) -
                    v[3] * (v[5] - v[1]);
    const float t = -b / (2 * a);
    if (t < 0 || t > 1) return false;
    return sectionJoined(v[0] + (v[4] - v[0]) * t, v[3] + (v[7] - v[3]) * t,
                         v[2] + (v[6] - v[2]) * t, v[1] + (v[5] - v[1]) * t);
}

// Section through the surface crossing on the reference edge, perpendicular to it.
bool joinedAcrossEdgeSection(int edge, const float v[8]) {
    // Per edge: P, Q, then the three parallel edges B, C, D as corner pairs.
    static constexpr int sections[12][8] = {
        {0, 1, 3, 2, 7, 6, 4, 5}, {1, 2, 0, 3, 4, 7, 5, 6}, {2, 3, 1, 0, 5, 4, 6, 7},
        {3, 0, 2, 1, 6, 5, 7, 4}, {4, 5, 7, 6, 3, 2, 0, 1}, {5, 6, 4, 7, 0, 3, 1, 2},
        {6, 7, 5, 4, 1, 0, 2, 3}, {7, 4, 6, 5, 2, 1, 3, 0}, {0, 4, 3, 7, 2, 6, 1, 5},
        {1, 5, 0, 4, 3, 7, 2, 6}, {2, 6, 1, 5, 0, 4, 3, 7}, {3, 7, 2, 6, 1, 5, 0, 4}};
    assert(edge >= 0 && edge < 12);
    const int* s = sections[edge];
    const float t = v[s[0]] / (v[s[0]] - v[s[1]]);
    auto along = [&](int x, int y) { return v[x] + (v[y] - v[x]) * t; };
    return sectionJoined(0, along(s[2], s[3]), along(s[4], s[5]), along(s[6], s[7]));
}

}  // namespace

bool testInterior(int s, int caseNumber, int referenceEdge, const float v[8]) {
    const bool joined = (caseNumber == 4 || caseNumber == 10) ? joinedAcrossZSections(v)
                                                              : joinedAcrossEdgeSection(referenceEdge, v);
    return joined ? s < 0 : s > 0;
}

namespace {

template <std::size_t N>
void useRow(CubeTiling& tiling, int subcase, const std::int8_t (&row)[N], bool polygonRow = false,
            bool interiorVertex = false) {
    tiling.subcase = subcase;
    tiling.codes = row;
    tiling.codeCount = static_cast<int>(N);
    tiling.polygonRow = polygonRow;
    tiling.needsInteriorVertex = interiorVertex;
}

template <std::size_t N>
void usePolygons(CubeTiling& tiling, int subcase, const std::int8_t (&row)[N]) {
    useRow(tiling, subcase, row, true);
}

template <std::size_t N>
void useInterior(CubeTiling& tiling, int subcase, const std::int8_t (&row)[N]) {
    useRow(tiling, subcase, row, false, true);
}

void classifyCase6(CubeTiling& t, const float v[8]) {
    const int k = t.config;
    if (testFace(test6[k][0], v))
        useRow(t, Sub6_2, tiling6_2[k]);
    else if (testInterior(test6[k][1], 6, test6[k][2], v))
        usePolygons(t, Sub6_1_1, polygon6_1_1[k]);
    else
        useRow(t, Sub6_1_2, tiling6_1_2[k]);
}

void classifyCase7(CubeTiling& t, const float v[8]) {
    const int k = t.config;
    t.subconfig = (testFace(test7[k][0], v) ? 1 : 0) + (testFace(test7[k][1], v) ? 2 : 0) +
                  (testFace(test7[k][2], v) ? 4 : 0);
    switch (t.subconfig) {
    case 0: useRow(t, Sub7_1, tiling7_1[k]); break;
    case 1: useRow(t, Sub7_2, tiling7_2[k][0]); break;
    case 2: useRow(t, Sub7_2, tiling7_2[k][1]); break;
    case 4: useRow(t, Sub7_2, tiling7_2[k][2]); break;
    case 3: useInterior(t, Sub7_3, tiling7_3[k][0]); break;
    case 5: useInterior(t, Sub7_3, tiling7_3[k][1]); break;
    case 6: useInterior(t, Sub7_3, tiling7_3[k][2]); break;
    default:
        if (testInterior(test7[k][3], 7, test7[k][4], v))
            useRow(t, Sub7_4_2, tiling7_4_2[k]);
        else
            useRow(t, Sub7_4_1, tiling7_4_1[k]);
    }
}

void classifyCase10(CubeTiling& t, const float v[8]) {
    const int k = t.config;
    const bool f0 = testFace(test10[k][0], v);
    const bool f1 = testFace(test10[k][1], v);
    if (f0 && f1)
        usePolygons(t, Sub10_1_1, polygon10_1_1_[k]);
    else if (f0)
        useInterior(t, Sub10_2, tiling10_2[k]);
    else if (f1)
        useInterior(t, Sub10_2, tiling10_2_[k]);
    else if (testInterior(test10[k][2], 10, -1, v))
        usePolygons(t, Sub10_1_1, polygon10_1_1[k]);
    else
        useRow(t, Sub10_1_2, tiling10_1_2[k]);
}

void classifyCase12(CubeTiling& t, const float v[8]) {
    const int k = t.config;
    const bool f0 = testFace(test12[k][0], v);
    const bool f1 = testFace(test12[k][1], v);
    if (f0 && f1)
        usePolygons(t, Sub12_1_1, polygon12_1_1_[k]);
    else if (f0)
        useInterior(t, Sub12_2, tiling12_2[k]);
    else if (f1)
        useInterior(t, Sub12_2, tiling12_2_[k]);
    else if (testInterior(test12[k][2], 12, test12[k][3], v))
        usePolygons(t, Sub12_1_1, polygon12_1_1[k]);
    else
        useRow(t, Sub12_1_2, tiling12_1_2[k]);
}

void classifyCase13(CubeTiling& t, const float v[8]) {
    const int k = t.config;
    int faces = 0;
    for (int b = 0; b < 6; ++b)
        if (testFace(test13[k][b], v)) faces |= 1 << b;
    const int m = subconfig13[faces];
    t.subconfig = m;
    if (m < 0) {
        std::printf("Marching Cubes: Impossible case 13?\n");
        t.subcase = SubImpossible;
    } else if (m == 0) {
        useRow(t, Sub13_1, tiling13_1[k]);
    } else if (m <= 6) {
        useRow(t, Sub13_2, tiling13_2[k][m - 1]);
    } else if (m <= 18) {
        useInterior(t, Sub13_3, tiling13_3[k][m - 7]);
    } else if (m <= 22) {
        useInterior(t, Sub13_4, tiling13_4[k][m - 19]);
    } else if (m <= 26) {
        const int q = m - 23;
        if (testInterior(test13[k][6], 13, tiling13_5_1[k][q][0], v))
            useRow(t, Sub13_5_1, tiling13_5_1[k][q]);
        else
            useRow(t, Sub13_5_2, tiling13_5_2[k][q]);
    } else if (m <= 38) {
        useInterior(t, Sub13_3, tiling13_3_[k][m - 27]);
    } else if (m <= 44) {
        useRow(t, Sub13_2, tiling13_2_[k][m - 39]);
    } else {
        useRow(t, Sub13_1, tiling13_1_[k]);
    }
}

}  // namespace

CubeTiling classifyCube(const float v[8]) {
    CubeTiling t;
    t.lutEntry = cubeLutEntry(v);
    t.caseNumber = cases[t.lutEntry][0];
    t.config = cases[t.lutEntry][1];
    const int k = t.config;
    switch (t.caseNumber) {
    case 0: t.subcase = Sub0; break;
    case 1: useRow(t, Sub1, tiling1[k]); break;
    case 2: usePolygons(t, Sub2, polygon2[k]); break;
    case 3:
        if (testFace(test3[k], v))
            usePolygons(t, Sub3_2, polygon3_2[k]);
        else
            useRow(t, Sub3_1, tiling3_1[k]);
        break;
    case 4:
        if (testInterior(test4[k], 4, -1, v))
            useRow(t, Sub4_1, tiling4_1[k]);
        else
            useRow(t, Sub4_2, tiling4_2[k]);
        break;
    case 5: usePolygons(t, Sub5, polygon5[k]); break;
    case 6: classifyCase6(t, v); break;
    case 7: classifyCase7(t, v); break;
    case 8: usePolygons(t, Sub8, polygon8[k]); break;
    case 9: usePolygons(t, Sub9, polygon9[k]); break;
    case 10: classifyCase10(t, v); break;
    case 11: usePolygons(t, Sub11, polygon11[k]); break;
    case 12: classifyCase12(t, v); break;
    case 13: classifyCase13(t, v); break;
    default: usePolygons(t, Sub14, polygon14[k]); break;
    }
    return t;
}

}  // namespace voxquad::mc33
