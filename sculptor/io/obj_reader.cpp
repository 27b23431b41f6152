#include "io/obj_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "io/met_reader.h"

namespace {

// Faces may use the vertices of any group read before them, also counting back from the last one.
constexpr TTextModelDialect kObjDialect{"Unnamed group", false, false, 0, true, true};

using FaceField = int32_t (TOBJFace::*)[3];

bool AllWithin(const TOBJGroup& g, FaceField field, int64_t start, int64_t count) {
  for (const TOBJFace& f : g.faceRecords)
    for (int k = 0; k < 3; ++k) {
      const int64_t local = (f.*field)[k] - start;
      if (local < 0 || local >= count) return false;
    }
  return true;
}

void Shift(TOBJGroup& g, FaceField field, int64_t by) {
  if (by == 0) return;
  for (TOBJFace& f : g.faceRecords)
    for (int k = 0; k < 3; ++k) (f.*field)[k] = static_cast<int32_t>((f.*field)[k] + by);
}

// Rewrites the group's references of one kind to offset + first-use order and
// returns the file-global numbers in that order. `localOf` (one entry per
// file-global number, all -1) is left as it was found.
std::vector<int32_t> Renumber(TOBJGroup& g, FaceField field, int64_t offset, std::vector<int32_t>& localOf) {
  std::vector<int32_t> used;
  for (TOBJFace& f : g.faceRecords)
    for (int k = 0; k < 3; ++k) {
      int32_t& ref = (f.*field)[k];
      int32_t& local = localOf[static_cast<size_t>(ref)];
      if (local < 0) {
        local = static_cast<int32_t>(used.size());
        used.push_back(ref);
      }
      ref = static_cast<int32_t>(offset + local);
    }
  for (int32_t ref : used) localOf[static_cast<size_t>(ref)] = -1;
  return used;
}

// File-global numbering of one per-group list (points or texture coordinates).
struct FileList {
  std::vector<int64_t> starts;  // first file-global number of each group
  std::vector<int64_t> counts;  // entries each group holds
  int64_t total = 0;
  std::vector<int32_t> localOf;  // scratch of Renumber, allocated on first use

  // (group, local index) of a file-global number.
  std::pair<size_t, size_t> Locate(int32_t ref) const {
    const size_t group = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), ref) - starts.begin()) - 1;
    return {group, static_cast<size_t>(ref - starts[group])};
  }
  std::vector<int32_t>& Scratch() {
    if (localOf.empty()) localOf.assign(static_cast<size_t>(total), -1);
    return localOf;
  }
};

template <typename Count>
FileList Number(const TOBJModel& model, Count count) {
  FileList list;
  for (const TOBJGroup& g : model.groups) {
    list.starts.push_back(list.total);
    list.counts.push_back(static_cast<int64_t>(count(g)));
    list.total += list.counts.back();
  }
  return list;
}

// What a renumbered group is given in place of its own arrays.
struct Replacement {
  std::optional<std::vector<TVector>> points;
  std::optional<std::vector<TRGBA>> colors;
  std::optional<std::vector<TTexCoords>> texCoords;
};

void GatherPoints(const TOBJModel& model, const FileList& list, const std::vector<int32_t>& used, Replacement& r) {
  std::vector<TVector> points;
  std::vector<TRGBA> colors;
  points.reserve(used.size());
  bool allColored = true;
  for (int32_t ref : used) {
    auto [group, local] = list.Locate(ref);
    const TOBJGroup& from = model.groups[group];
    points.push_back(from.points[local]);
    allColored = allColored && local < from.pointColors.size();
    if (allColored) colors.push_back(from.pointColors[local]);
  }
  r.points = std::move(points);
  r.colors = allColored ? std::move(colors) : std::vector<TRGBA>{};
}

void GatherTexCoords(const TOBJModel& model, const FileList& list, const std::vector<int32_t>& used, Replacement& r) {
  std::vector<TTexCoords> texCoords;
  texCoords.reserve(used.size());
  for (int32_t ref : used) {
    auto [group, local] = list.Locate(ref);
    texCoords.push_back(model.groups[group].texCoords[local]);
  }
  r.texCoords = std::move(texCoords);
}

// Which groups keep their own list of one kind as read: those whose faces use
// only entries they hold and whose entries no other group's faces use.
// Faces without references of the kind (or naming entries beyond the file's)
// keep theirs and their group keeps its list.
std::vector<bool> KeptAsRead(const TOBJModel& model, const FileList& list, FaceField field) {
  const size_t n = model.groups.size();
  std::vector<bool> withinOwn(n, true), usedByOthers(n, false), unusable(n, false);
  for (size_t i = 0; i < n; ++i) {
    const TOBJGroup& g = model.groups[i];
    withinOwn[i] = AllWithin(g, field, list.starts[i], list.counts[i]);
    if (withinOwn[i]) continue;
    unusable[i] = !AllWithin(g, field, 0, list.total);
    if (unusable[i]) continue;
    for (const TOBJFace& f : g.faceRecords)
      for (int k = 0; k < 3; ++k) {
        const size_t owner = list.Locate((f.*field)[k]).first;
        if (owner != i) usedByOthers[owner] = true;
      }
  }
  std::vector<bool> kept(n);
  for (size_t i = 0; i < n; ++i) kept[i] = unusable[i] || (withinOwn[i] && !usedByOthers[i]);
  return kept;
}

void GatherGroupReferences(TOBJModel& model) {
  FileList points = Number(model, [](const TOBJGroup& g) { return g.points.size(); });
  FileList texCoords = Number(model, [](const TOBJGroup& g) { return g.texCoords.size(); });
  const std::vector<bool> pointsKept = KeptAsRead(model, points, &TOBJFace::vertex);
  const std::vector<bool> texCoordsKept = KeptAsRead(model, texCoords, &TOBJFace::texture);
  // Arrays of renumbered groups are gathered from the file's lists as read and
  // put in place at the end. Numbers stay file-global: each group's first entry
  // follows what every group before it holds in the end.
  std::vector<Replacement> replacements(model.groups.size());
  int64_t pointStart = 0, texStart = 0;
  for (size_t i = 0; i < model.groups.size(); ++i) {
    TOBJGroup& g = model.groups[i];
    Replacement& r = replacements[i];
    if (g.faceRecords.empty() || pointsKept[i]) {
      Shift(g, &TOBJFace::vertex, pointStart - points.starts[i]);
      pointStart += points.counts[i];
    } else {
      auto used = Renumber(g, &TOBJFace::vertex, pointStart, points.Scratch());
      GatherPoints(model, points, used, r);
      pointStart += static_cast<int64_t>(used.size());
    }
    if (g.faceRecords.empty() || texCoordsKept[i]) {
      if (AllWithin(g, &TOBJFace::texture, texCoords.starts[i], texCoords.counts[i]))
        Shift(g, &TOBJFace::texture, texStart - texCoords.starts[i]);
      texStart += texCoords.counts[i];
    } else {
      auto used = Renumber(g, &TOBJFace::texture, texStart, texCoords.Scratch());
      GatherTexCoords(model, texCoords, used, r);
      texStart += static_cast<int64_t>(used.size());
    }
  }
  for (size_t i = 0; i < model.groups.size(); ++i) {
    Replacement& r = replacements[i];
    TOBJGroup& g = model.groups[i];
    if (r.points) g.points = std::move(*r.points);
    if (r.colors) g.pointColors = std::move(*r.colors);
    if (r.texCoords) g.texCoords = std::move(*r.texCoords);
  }
}

}  // namespace

TReadStatus ParseObj(TOBJModel& model, std::string_view text) {
  TReadStatus status = ParseTextModel(model, text, kObjDialect);
  GatherGroupReferences(model);
  return status;
}

TReadStatus ReadObj(TOBJModel& model, const std::string& fileName) {
  TReadStatus status = ReadTextModelFile(model, fileName, kObjDialect);
  if (status == TReadStatus::Ok || status == TReadStatus::Malformed) GatherGroupReferences(model);
  return status;
}
