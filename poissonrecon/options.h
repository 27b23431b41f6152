// The command line of poissonrecon, in the style of the screened Poisson
// reconstruction program of Kazhdan and Hoppe:
//   poissonrecon --in POINTS.ply --out MESH.ply [--depth N] [--pointWeight W] [--color PULL]
#pragma once

#include <string>
#include <vector>

// --pointWeight and the value of --color are checked but have no effect: the
// library screens with its own weight and averages colours its own way.
struct PoissonOptions {
  std::string in;
  std::string out;
  int depth = 8;       // octree depth: the finest grid has 2^depth cells along an axis
  bool color = false;  // --color given: the mesh carries the points' colours
  bool help = false;
};

inline constexpr int kMinDepth = 1;
inline constexpr int kMaxDepth = 16;

extern const char kPoissonUsage[];

// Parses the arguments after the program name. Returns "" or the reason the
// command line is refused (an unknown option, a missing or bad value, a
// missing --in or --out).
std::string ParsePoissonOptions(const std::vector<std::string>& args, PoissonOptions& options);
