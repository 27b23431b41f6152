// Timing and reporting helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace bench {

// Best wall time in milliseconds of `runs` calls of `work`.
template <typename Work>
double BestMs(int runs, Work&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto stop = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
  }
  return best;
}

// "BENCH <name>: ours <x> ms, peer <y> ms, ratio <x/y>"
inline void ReportComparison(const std::string& name, double oursMs, double peerMs) {
  std::printf("BENCH %s: ours %.1f ms, peer %.1f ms, ratio %.2f\n", name.c_str(), oursMs, peerMs, oursMs / peerMs);
  std::fflush(stdout);
}

// "BENCH <name>: <value> <unit>"
inline void Report(const std::string& name, double value, const std::string& unit) {
  std::printf("BENCH %s: %.1f %s\n", name.c_str(), value, unit.c_str());
  std::fflush(stdout);
}

// Peak resident set size of this process so far, in MiB (VmHWM).
inline double PeakMemoryMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

}  // namespace bench
