#include "point_ply.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "io/atomic_file.h"
#include "io/mapped_file.h"
#include "model/messages.h"

static_assert(std::endian::native == std::endian::little, "binary PLY is read and written in host byte order");

namespace {

// ---- header -------------------------------------------------------------------

enum class Scalar { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float32, Float64 };

struct ScalarName {
  const char* name;
  Scalar type;
};
// The PLY 1.0 names and the sized names of newer writers.
constexpr ScalarName kScalarNames[] = {
    {"char", Scalar::Int8},     {"int8", Scalar::Int8},       {"uchar", Scalar::UInt8},   {"uint8", Scalar::UInt8},
    {"short", Scalar::Int16},   {"int16", Scalar::Int16},     {"ushort", Scalar::UInt16}, {"uint16", Scalar::UInt16},
    {"int", Scalar::Int32},     {"int32", Scalar::Int32},     {"uint", Scalar::UInt32},   {"uint32", Scalar::UInt32},
    {"float", Scalar::Float32}, {"float32", Scalar::Float32}, {"double", Scalar::Float64}, {"float64", Scalar::Float64},
};

std::optional<Scalar> ScalarOf(std::string_view name) {
  for (const ScalarName& s : kScalarNames)
    if (name == s.name) return s.type;
  return std::nullopt;
}

size_t SizeOf(Scalar type) {
  switch (type) {
    case Scalar::Int8:
    case Scalar::UInt8: return 1;
    case Scalar::Int16:
    case Scalar::UInt16: return 2;
    case Scalar::Int32:
    case Scalar::UInt32:
    case Scalar::Float32: return 4;
    case Scalar::Float64: return 8;
  }
  return 0;
}

bool IsFloat(Scalar type) { return type == Scalar::Float32 || type == Scalar::Float64; }

struct Property {
  std::string name;
  Scalar type = Scalar::Float32;
  bool list = false;
  Scalar countType = Scalar::UInt8;
};

struct Element {
  std::string name;
  uint64_t count = 0;
  std::vector<Property> properties;
};

struct Header {
  bool ascii = false;
  std::vector<Element> elements;
  size_t dataStart = 0;
};

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    const size_t start = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    if (at > start) fields.push_back(line.substr(start, at - start));
  }
  return fields;
}

std::string ParseProperty(const std::vector<std::string_view>& f, Header& header) {
  if (header.elements.empty()) return "a property comes before any element";
  Property p;
  if (f.size() == 5 && f[1] == "list") {
    const std::optional<Scalar> count = ScalarOf(f[2]), item = ScalarOf(f[3]);
    if (!count || !item || IsFloat(*count)) return "unknown list property types";
    p = {std::string(f[4]), *item, true, *count};
  } else if (f.size() == 3) {
    const std::optional<Scalar> type = ScalarOf(f[1]);
    if (!type) return "unknown property type \"" + std::string(f[1]) + "\"";
    p = {std::string(f[2]), *type, false, Scalar::UInt8};
  } else {
    return "a malformed property line";
  }
  header.elements.back().properties.push_back(p);
  return "";
}

std::string ParseHeaderLine(std::string_view line, Header& header, bool& formatSeen) {
  const std::vector<std::string_view> f = Fields(line);
  if (f.empty() || f[0] == "comment" || f[0] == "obj_info") return "";
  if (f[0] == "format") {
    if (f.size() < 2) return "a malformed format line";
    if (f[1] == "binary_big_endian") return "binary big-endian PLY is not supported";
    if (f[1] != "ascii" && f[1] != "binary_little_endian") return "unknown format \"" + std::string(f[1]) + "\"";
    header.ascii = f[1] == "ascii";
    formatSeen = true;
    return "";
  }
  if (f[0] == "element") {
    uint64_t count = 0;
    if (f.size() != 3 || std::from_chars(f[2].data(), f[2].data() + f[2].size(), count).ptr != f[2].data() + f[2].size())
      return "a malformed element line";
    header.elements.push_back({std::string(f[1]), count, {}});
    return "";
  }
  if (f[0] == "property") return ParseProperty(f, header);
  return "an unexpected header line \"" + std::string(line) + "\"";
}

std::string ParseHeader(std::string_view text, Header& header) {
  bool formatSeen = false;
  size_t at = 0;
  for (int lineNumber = 0;; ++lineNumber) {
    const size_t end = text.find('\n', at);
    if (end == std::string_view::npos) return "the header has no end_header line";
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    if (lineNumber == 0) {
      if (line != "ply") return "not a PLY file";
      continue;
    }
    if (line == "end_header") break;
    if (std::string error = ParseHeaderLine(line, header, formatSeen); !error.empty()) return error;
  }
  if (!formatSeen) return "the header has no format line";
  header.dataStart = at;
  return "";
}

// ---- the values ------------------------------------------------------------------

// Reads values one after the other from the data part, ASCII or binary.
class ValueCursor {
 public:
  ValueCursor(std::string_view data, bool ascii) : data_(data), ascii_(ascii) {}

  // False when the data ends or (ASCII) the text is not a number.
  bool Next(Scalar type, double& value) { return ascii_ ? NextText(value) : NextBinary(type, value); }

  // Skips one value, or one list with its items.
  bool SkipProperty(const Property& p) {
    double value = 0;
    if (!p.list) return Next(p.type, value);
    if (!Next(p.countType, value) || value < 0) return false;
    for (uint64_t i = 0, n = static_cast<uint64_t>(value); i < n; ++i)
      if (!Next(p.type, value)) return false;
    return true;
  }

  bool SkipRecord(const Element& element) {
    for (const Property& p : element.properties)
      if (!SkipProperty(p)) return false;
    return true;
  }

 private:
  bool NextText(double& value) {
    while (at_ < data_.size() && (data_[at_] == ' ' || data_[at_] == '\t' || data_[at_] == '\r' || data_[at_] == '\n'))
      ++at_;
    const char* first = data_.data() + at_;
    const char* last = data_.data() + data_.size();
    if (first < last && *first == '+') ++first;  // from_chars takes no plus sign
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || (end < last && *end != ' ' && *end != '\t' && *end != '\r' && *end != '\n'))
      return false;
    at_ = static_cast<size_t>(end - data_.data());
    return true;
  }

  template <typename T>
  double Take() {
    T v;
    std::memcpy(&v, data_.data() + at_, sizeof v);
    at_ += sizeof v;
    return static_cast<double>(v);
  }

  bool NextBinary(Scalar type, double& value) {
    if (data_.size() - at_ < SizeOf(type)) return false;
    switch (type) {
      case Scalar::Int8: value = Take<int8_t>(); break;
      case Scalar::UInt8: value = Take<uint8_t>(); break;
      case Scalar::Int16: value = Take<int16_t>(); break;
      case Scalar::UInt16: value = Take<uint16_t>(); break;
      case Scalar::Int32: value = Take<int32_t>(); break;
      case Scalar::UInt32: value = Take<uint32_t>(); break;
      case Scalar::Float32: value = Take<float>(); break;
      case Scalar::Float64: value = Take<double>(); break;
    }
    return true;
  }

  std::string_view data_;
  bool ascii_;
  size_t at_ = 0;
};

// What each vertex property feeds: a position or normal component (0..5), a
// colour component (6..8), or nothing (-1).
constexpr const char* kWanted[] = {"x", "y", "z", "nx", "ny", "nz", "red", "green", "blue"};

int WantedSlot(const Property& p) {
  if (p.list) return -1;
  for (int slot = 0; slot < 9; ++slot)
    if (p.name == kWanted[slot]) return slot;
  return -1;
}

uint8_t ColorByte(double value, Scalar type) {
  if (IsFloat(type)) value *= 255;
  return static_cast<uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

struct VertexLayout {
  std::vector<int> slots;  // per property
  bool hasColor = false;
};

std::string LayoutOf(const Element& vertex, VertexLayout& layout) {
  bool seen[9] = {};
  for (const Property& p : vertex.properties) {
    layout.slots.push_back(WantedSlot(p));
    if (layout.slots.back() >= 0) seen[layout.slots.back()] = true;
  }
  for (int slot = 0; slot < 3; ++slot)
    if (!seen[slot]) return "the vertices have no " + std::string(kWanted[slot]) + " property";
  for (int slot = 3; slot < 6; ++slot)
    if (!seen[slot]) return "the points have no normals (nx, ny, nz)";
  layout.hasColor = seen[6] && seen[7] && seen[8];
  return "";
}

std::string ReadVertices(ValueCursor& cursor, const Element& vertex, const VertexLayout& layout,
                         OrientedPoints& points) {
  const size_t n = vertex.count;
  points.positions.resize(n);
  points.normals.resize(n);
  points.colors.resize(layout.hasColor ? n : 0);
  for (size_t v = 0; v < n; ++v) {
    float values[6] = {};
    for (size_t k = 0; k < vertex.properties.size(); ++k) {
      const Property& p = vertex.properties[k];
      const int slot = layout.slots[k];
      if (slot < 0) {
        if (!cursor.SkipProperty(p)) return "the file ends or breaks off in vertex " + std::to_string(v);
        continue;
      }
      double value = 0;
      if (!cursor.Next(p.type, value)) return "the file ends or breaks off in vertex " + std::to_string(v);
      if (slot < 6) {
        if (!std::isfinite(value)) return "vertex " + std::to_string(v) + " has a value that is not a finite number";
        values[slot] = static_cast<float>(value);
      } else if (layout.hasColor) {
        points.colors[v][static_cast<size_t>(slot - 6)] = ColorByte(value, p.type);
      }
    }
    points.positions[v] = {values[0], values[1], values[2]};
    points.normals[v] = {values[3], values[4], values[5]};
  }
  return "";
}

}  // namespace

std::string ReadOrientedPoints(const std::string& fileName, OrientedPoints& points) {
  points = {};
  MappedFile file;
  if (!file.Open(fileName)) return "cannot read " + fileName + ": " + file.error();
  Header header;
  if (std::string error = ParseHeader(file.text(), header); !error.empty()) return fileName + ": " + error;
  ValueCursor cursor(file.text().substr(header.dataStart), header.ascii);
  for (const Element& element : header.elements) {
    if (element.name != "vertex") {
      for (uint64_t i = 0; i < element.count; ++i)
        if (!cursor.SkipRecord(element)) return fileName + ": the file ends or breaks off in its " + element.name + " data";
      continue;
    }
    VertexLayout layout;
    std::string error = LayoutOf(element, layout);
    if (error.empty()) error = ReadVertices(cursor, element, layout, points);
    return error.empty() ? "" : fileName + ": " + error;
  }
  return fileName + ": the file has no vertex element";
}

std::string WriteMeshPly(const std::string& fileName, const ColoredMesh& mesh) {
  CapturingMessageSink messages;  // the writer's message becomes the reason returned
  const bool colored = !mesh.colors.empty();
  std::string header =
      "ply\nformat binary_little_endian 1.0\ncomment Created by poissonrecon\nelement vertex " +
      std::to_string(mesh.positions.size()) + "\nproperty float x\nproperty float y\nproperty float z\n";
  if (colored) header += "property uchar red\nproperty uchar green\nproperty uchar blue\n";
  header += "element face " + std::to_string(mesh.triangles.size()) +
            "\nproperty list uchar int vertex_indices\nend_header\n";

  AtomicFileWriter out(fileName);
  const auto reason = [&messages, &fileName] {
    return messages.entries.empty() ? "Cannot save " + fileName : messages.entries.back().text;
  };
  if (!out.Open()) return reason();
  out.Write(header);
  constexpr size_t kVertexBytes = 12 + 3, kFaceBytes = 1 + 12;
  for (size_t v = 0; v < mesh.positions.size(); ++v) {
    char* p = out.Room(kVertexBytes);
    std::memcpy(p, mesh.positions[v].data(), 12);
    if (colored) std::memcpy(p + 12, mesh.colors[v].data(), 3);
    out.Advance(p + (colored ? 15 : 12));
  }
  for (const std::array<int32_t, 3>& t : mesh.triangles) {
    char* p = out.Room(kFaceBytes);
    *p = 3;
    std::memcpy(p + 1, t.data(), 12);
    out.Advance(p + kFaceBytes);
  }
  return out.Commit() ? "" : reason();
}
