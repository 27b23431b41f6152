// Case classification of Marching Cubes 33: the face and interior tests that
// resolve the ambiguous configurations and the choice of the tiling row for one
// cube. Chernyaev's 33 cases as implemented with topological guarantees by
// Lewiner, Lopes, Vieira and Tavares (2003), lookup tables version 0.2.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace voxquad::mc33 {

// Subcases in the order of the statistics report.
enum Subcase : int {
    Sub0, Sub1, Sub2, Sub3_1, Sub3_2, Sub4_1, Sub4_2, Sub5, Sub6_1_1, Sub6_1_2, Sub6_2,
    Sub7_1, Sub7_2, Sub7_3, Sub7_4_1, Sub7_4_2, Sub8, Sub9, Sub10_1_1, Sub10_1_2, Sub10_2,
    Sub11, Sub12_1_1, Sub12_1_2, Sub12_2, Sub13_1, Sub13_2, Sub13_3, Sub13_4, Sub13_5_1,
    Sub13_5_2, Sub14, SubcaseCount,
    SubImpossible = -1  // a face-test combination of case 13 that cannot occur
};

extern const char* const subcaseNames[SubcaseCount];

// Edge code of the interior vertex in triangle rows.
constexpr int interiorVertexCode = 12;

// The row chosen for one cube. Triangle rows hold three edge codes per triangle;
// polygon rows hold boundary cycles separated by -1.
struct CubeTiling {
    int subcase = Sub0;
    int lutEntry = 0;
    int caseNumber = 0;
    int config = -1;
    int subconfig = 0;
    const std::int8_t* codes = nullptr;
    int codeCount = 0;
    bool polygonRow = false;
    bool needsInteriorVertex = false;
};

// Corner values as the classification sees them: |value| < FLT_EPSILON becomes
// +FLT_EPSILON, so no corner is ever zero and a zero sample counts as positive.
inline float clampCornerValue(float value) { return std::fabs(value) < FLT_EPSILON ? FLT_EPSILON : value; }

// Bit p set when corner p is positive.
int cubeLutEntry(const float corners[8]);

// Face test with a signed face code (+-1..+-6): true when the positive corners
// of the face are joined across it (for a positive code; a negative code asks
// the opposite). An invalid code prints "Invalid face code %d" and counts true.
bool testFace(int faceCode, const float corners[8]);

// Interior test with sign argument s (+-7). caseNumber selects the section:
// cases 4 and 10 use horizontal sections through the z edges, the others the
// section through the crossing on referenceEdge.
bool testInterior(int s, int caseNumber, int referenceEdge, const float corners[8]);

// Chooses the subcase and row for a cube whose corner values are already clamped.
CubeTiling classifyCube(const float corners[8]);

}  // namespace voxquad::mc33
