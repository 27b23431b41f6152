// Undo snapshots of a 1M-vertex element: SynLZ against LZ4 on the snapshot
// bytes (kind 1: header, positions, normals; kind 2's topology file: faces,
// mask, colours), then writing and restoring a stroke snapshot through the
// undo engine, plain and compressed. The codecs are timed in thread CPU time,
// which other processes on a shared machine barely disturb; file writes and
// restores in wall time, as the user waits for them.
#include <lz4.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "bench_util.h"
#include "io/synlz.h"
#include "io/undo_snapshots.h"
#include "mesh_shapes.h"
#include "model/topology.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kRuns = 10;

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Least thread CPU time in milliseconds of `runs` calls of `work`.
template <typename Work>
double BestCpuMs(int runs, Work&& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const double start = ThreadCpuMs();
    work();
    best = std::min(best, ThreadCpuMs() - start);
  }
  return best;
}

// A cube-sphere of about 1M vertices, bumped like a sculpted surface, with its normals.
TGeosphera MakeSculptedElement() {
  TGeosphera e = MakeCubeSphere(409, 2.5f);
  e.uid = 1;
  for (TGLCoord& p : e.vertices) {
    const float bump = 1.0f + 0.04f * std::sin(9 * p.x) * std::cos(7 * p.y) + 0.01f * std::sin(31 * p.z + 3 * p.x);
    p = {p.x * bump, p.y * bump, p.z * bump};
  }
  BuildAdjacency(e, ComputeValence(e));
  RecomputeAllNormals(e);
  return e;
}

// The bytes of one file of a plain snapshot of `e`, as the undo engine stores them.
Bytes SnapshotFileBytes(TGeosphera& e, int32_t kind, bool topologyFile) {
  UndoSnapshots undo;
  undo.SetMaxUndo(15);
  if (!undo.WriteSnapshot(e, UndoChannel::Geometry, 3, kind)) throw std::runtime_error("snapshot not written");
  std::ifstream in(undo.SnapshotPath(e.uid, UndoChannel::Geometry, 3, topologyFile), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

double MBps(size_t bytes, double ms) { return double(bytes) / 1e6 / (ms / 1e3); }

void CompareCodecs(const std::string& what, const Bytes& plain) {
  Bytes ours(SynLZCompressBound(plain.size())), peer(size_t(LZ4_compressBound(int(plain.size()))));
  Bytes back(plain.size());
  size_t oursBytes = 0;
  int peerBytes = 0;
  const double oursPack = BestCpuMs(kRuns, [&] { oursBytes = SynLZCompress(plain.data(), plain.size(), ours.data()); });
  const double peerPack = BestCpuMs(kRuns, [&] {
    peerBytes = LZ4_compress_default(reinterpret_cast<const char*>(plain.data()), reinterpret_cast<char*>(peer.data()),
                                     int(plain.size()), int(peer.size()));
  });
  bool oursOk = true, peerOk = true;
  const double oursUnpack =
      BestCpuMs(kRuns, [&] { oursOk = SynLZDecompress(ours.data(), oursBytes, back.data(), back.size()); });
  oursOk = oursOk && back == plain;
  const double peerUnpack = BestCpuMs(kRuns, [&] {
    peerOk = LZ4_decompress_safe(reinterpret_cast<const char*>(peer.data()), reinterpret_cast<char*>(back.data()),
                                 peerBytes, int(back.size())) == int(back.size());
  });
  peerOk = peerOk && back == plain;
  if (!oursOk || !peerOk) throw std::runtime_error("round trip failed on " + what);

  const std::string name = "SynLZ vs LZ4 " + what + " (CPU time)";
  bench::Report(name + " input", double(plain.size()) / 1e6, "MB");
  bench::ReportComparison(name + " compress", oursPack, peerPack);
  bench::Report(name + " compress SynLZ", MBps(plain.size(), oursPack), "MB/s");
  bench::Report(name + " compress LZ4", MBps(plain.size(), peerPack), "MB/s");
  bench::ReportComparison(name + " decompress", oursUnpack, peerUnpack);
  bench::Report(name + " decompress SynLZ", MBps(plain.size(), oursUnpack), "MB/s");
  bench::Report(name + " decompress LZ4", MBps(plain.size(), peerUnpack), "MB/s");
  bench::Report(name + " SynLZ size", 100.0 * double(oursBytes) / double(plain.size()), "% of input");
  bench::Report(name + " LZ4 size", 100.0 * double(peerBytes) / double(plain.size()), "% of input");
}

// Writes and restores snapshot 3 of a stroke (kind 1) through the engine.
void TimeStrokeSnapshot(TGeosphera& e, int maxUndo, const std::string& mode) {
  UndoSnapshots undo;
  undo.SetMaxUndo(maxUndo);
  bool ok = true;
  const double writeMs = bench::BestMs(kRuns, [&] { ok = ok && undo.WriteSnapshot(e, UndoChannel::Geometry, 3, kSnapshotPositions); });
  const double readMs = bench::BestMs(kRuns, [&] {
    ok = ok && undo.ReadSnapshot(e, UndoChannel::Geometry, 3) == SnapshotRead::Restored;
  });
  if (!ok) throw std::runtime_error("snapshot round trip failed (" + mode + ")");
  const double fileMB = double(std::filesystem::file_size(undo.SnapshotPath(e.uid, UndoChannel::Geometry, 3, false))) / 1e6;
  const std::string goal = mode == "plain" ? " (goal < 50 ms)" : " (goal < 120 ms)";
  bench::Report("undo write kind 1, 1M vertices, " + mode + goal, writeMs, "ms");
  bench::Report("undo restore kind 1, 1M vertices, " + mode + goal, readMs, "ms");
  bench::Report("undo file kind 1, 1M vertices, " + mode, fileMB, "MB");
}

}  // namespace

int main() {
  TGeosphera e = MakeSculptedElement();
  bench::Report("undo element vertices", double(e.vertexCount), "vertices");
  CompareCodecs("kind 1 main file", SnapshotFileBytes(e, kSnapshotPositions, false));
  CompareCodecs("kind 2 topology file", SnapshotFileBytes(e, kSnapshotFull, true));
  TimeStrokeSnapshot(e, 15, "plain");
  TimeStrokeSnapshot(e, 20, "compressed");
  return 0;
}
