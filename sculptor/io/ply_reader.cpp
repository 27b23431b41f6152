#include "io/ply_reader.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "io/mapped_file.h"
#include "model/messages.h"

namespace {

const char* const kNotAMesh = "Not a mesh-based PLY file (perhaps point based)";
const char* const kTooShort = "PLY file is shorter than the vertices and faces its header declares";

enum class PlyType : uint8_t { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float32, Float64 };

size_t TypeSize(PlyType t) {
  static constexpr uint8_t kSizes[] = {1, 1, 2, 2, 4, 4, 4, 8};
  return kSizes[static_cast<int>(t)];
}

bool IsInteger(PlyType t) { return t != PlyType::Float32 && t != PlyType::Float64; }

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

// The classic type names and the sized names of newer writers, each with its true size.
std::optional<PlyType> ParseType(std::string_view name) {
  struct Entry {
    const char* name;
    PlyType type;
  };
  static constexpr Entry kTypes[] = {
      {"CHAR", PlyType::Int8},      {"UCHAR", PlyType::UInt8},    {"SHORT", PlyType::Int16},
      {"USHORT", PlyType::UInt16},  {"INT", PlyType::Int32},      {"UINT", PlyType::UInt32},
      {"FLOAT", PlyType::Float32},  {"DOUBLE", PlyType::Float64}, {"INT8", PlyType::Int8},
      {"UINT8", PlyType::UInt8},    {"INT16", PlyType::Int16},    {"UINT16", PlyType::UInt16},
      {"INT32", PlyType::Int32},    {"UINT32", PlyType::UInt32},  {"FLOAT32", PlyType::Float32},
      {"FLOAT64", PlyType::Float64}};
  std::string upper = Upper(name);
  for (const Entry& e : kTypes)
    if (upper == e.name) return e.type;
  return std::nullopt;
}

// The scalar of type T stored at p in the file's byte order.
template <typename T>
T Load(const char* p, bool bigEndian) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, p, sizeof bytes);
  if (bigEndian) std::reverse(bytes, bytes + sizeof bytes);
  return std::bit_cast<T>(bytes);
}

// The scalar at p, converted to double.
double ReadScalar(PlyType t, const char* p, bool bigEndian) {
  switch (t) {
    case PlyType::Int8:
      return Load<int8_t>(p, bigEndian);
    case PlyType::UInt8:
      return Load<uint8_t>(p, bigEndian);
    case PlyType::Int16:
      return Load<int16_t>(p, bigEndian);
    case PlyType::UInt16:
      return Load<uint16_t>(p, bigEndian);
    case PlyType::Int32:
      return Load<int32_t>(p, bigEndian);
    case PlyType::UInt32:
      return Load<uint32_t>(p, bigEndian);
    case PlyType::Float32:
      return Load<float>(p, bigEndian);
    case PlyType::Float64:
      return Load<double>(p, bigEndian);
  }
  return 0;
}

// The integer at p; -1 for floating types, which no index or count may have.
int64_t ReadInteger(PlyType t, const char* p, bool bigEndian) {
  return IsInteger(t) ? static_cast<int64_t>(ReadScalar(t, p, bigEndian)) : -1;
}

// A position coordinate the element can hold: finite and within the float range.
bool FiniteFloat(double v) { return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<float>::max(); }

struct PlyProperty {
  std::string name;  // upper case
  PlyType type{};    // scalar type, or the item type of a list
  bool isList = false;
  PlyType countType{};
  std::string line;  // header line, quoted by messages
};

struct PlyElement {
  std::string name;  // upper case
  uint64_t count = 0;
  std::vector<PlyProperty> properties;
};

enum class PlyFormat { Unknown, Ascii, BinaryLittleEndian, BinaryBigEndian };

struct PlyHeader {
  PlyFormat format = PlyFormat::Unknown;
  std::string formatName;
  std::vector<PlyElement> elements;
  size_t dataStart = 0;
  int headerLines = 0;
};

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

uint64_t ParseCount(std::string_view field) {
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
  return ec == std::errc() && end == field.data() + field.size() ? v : 0;
}

bool UnexpectedType(std::string_view type) {
  ShowInformation("Unexpected data type : \"" + std::string(type) + "\"");
  return false;
}

bool ParseProperty(const std::vector<std::string_view>& f, std::string_view line, PlyElement& element) {
  PlyProperty p;
  p.line = std::string(line);
  if (f.size() >= 2 && Upper(f[1]) == "LIST") {
    if (f.size() < 5) return UnexpectedType(line);
    auto countType = ParseType(f[2]);
    if (!countType) return UnexpectedType(f[2]);
    auto itemType = ParseType(f[3]);
    if (!itemType) return UnexpectedType(f[3]);
    p.isList = true;
    p.countType = *countType;
    p.type = *itemType;
    p.name = Upper(f[4]);
  } else {
    if (f.size() < 3) return UnexpectedType(line);
    auto type = ParseType(f[1]);
    if (!type) return UnexpectedType(f[1]);
    p.type = *type;
    p.name = Upper(f[2]);
  }
  element.properties.push_back(std::move(p));
  return true;
}

bool ParseHeader(const char* data, size_t size, PlyHeader& h) {
  size_t pos = 0;
  bool ended = false;
  while (pos < size && !ended) {
    const void* lf = std::memchr(data + pos, '\n', size - pos);
    size_t eol = lf ? static_cast<size_t>(static_cast<const char*>(lf) - data) : size;
    std::string_view line(data + pos, eol - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = lf ? eol + 1 : size;
    ++h.headerLines;
    std::string upper = Upper(line);
    if (h.headerLines == 1) {
      if (!upper.starts_with("PLY")) {
        ShowInformation("Not a PLY file");
        return false;
      }
      continue;
    }
    auto f = SplitFields(line);
    if (upper.starts_with("END_HEADER")) {
      ended = true;
    } else if (upper.starts_with("FORMAT")) {
      h.formatName = f.size() > 1 ? std::string(f[1]) : std::string();
      std::string name = Upper(h.formatName);
      h.format = name.starts_with("ASCII")                  ? PlyFormat::Ascii
                 : name.starts_with("BINARY_LITTLE_ENDIAN") ? PlyFormat::BinaryLittleEndian
                 : name.starts_with("BINARY_BIG_ENDIAN")    ? PlyFormat::BinaryBigEndian
                                                            : PlyFormat::Unknown;
    } else if (upper.starts_with("ELEMENT")) {
      PlyElement e;
      e.name = f.size() > 1 ? Upper(f[1]) : std::string();
      e.count = f.size() > 2 ? ParseCount(f[2]) : 0;
      h.elements.push_back(std::move(e));
    } else if (upper.starts_with("PROPERTY") && !h.elements.empty()) {
      if (!ParseProperty(f, line, h.elements.back())) return false;
    }
  }
  if (!ended) {
    ShowInformation(kNotAMesh);
    return false;
  }
  if (h.format == PlyFormat::Unknown) {
    ShowInformation("Unsupported PLY format : \"" + h.formatName + "\"");
    return false;
  }
  h.dataStart = pos;
  return true;
}

// Where the reader finds what it keeps in the vertex and face records.
struct PlyLayout {
  const PlyElement* vertex = nullptr;
  const PlyElement* face = nullptr;
  int position[3] = {-1, -1, -1};   // property numbers of x, y, z
  int color[4] = {-1, -1, -1, -1};  // red, green, blue, alpha
  int indexList = -1;               // property number of the face's vertex indices
  size_t vertexBytes = 0;
  std::vector<size_t> offsets;  // byte offset of each vertex property (binary)
};

int ColorSlot(const std::string& name) {
  static const char* const kNames[] = {"RED", "GREEN", "BLUE", "ALPHA"};
  for (int i = 0; i < 4; ++i)
    if (name.starts_with(kNames[i])) return i;
  return -1;
}

bool DescribeVertex(const PlyElement& v, bool binary, PlyLayout& layout) {
  for (size_t i = 0; i < v.properties.size(); ++i) {
    const PlyProperty& p = v.properties[i];
    if (p.isList) {
      ShowInformation("Unsupported PLY vertex property \"" + p.line + "\"");
      return false;
    }
    const int index = static_cast<int>(i);
    if (p.name == "X") layout.position[0] = index;
    if (p.name == "Y") layout.position[1] = index;
    if (p.name == "Z") layout.position[2] = index;
    int slot = ColorSlot(p.name);
    if (slot >= 0) {
      if (p.type != PlyType::UInt8) {
        ShowInformation("Expected colors of data type \"UCHAR\", not \"" + p.line + "\"");
        return false;
      }
      layout.color[slot] = index;
    }
    layout.offsets.push_back(layout.vertexBytes);
    layout.vertexBytes += TypeSize(p.type);
  }
  if (layout.position[0] < 0 || layout.position[1] < 0 || layout.position[2] < 0) {
    ShowInformation("PLY vertices have no x, y, z positions");
    return false;
  }
  if (binary && layout.vertexBytes < 12) {
    ShowInformation("Binary PLY files should have at least 12 bytes per vertex");
    return false;
  }
  return true;
}

bool DescribeFace(const PlyElement& f, PlyLayout& layout) {
  for (size_t i = 0; i < f.properties.size(); ++i) {
    const PlyProperty& p = f.properties[i];
    if (p.isList && (p.name.starts_with("VERTEX_INDEX") || p.name.starts_with("VERTEX_INDICES"))) {
      if (!IsInteger(p.type) || !IsInteger(p.countType)) return UnexpectedType(p.line);
      layout.indexList = static_cast<int>(i);
      return true;
    }
  }
  ShowInformation("PLY faces have no vertex_indices list");
  return false;
}

// Fewest bytes one record of the element can take: binary sizes (a face holds a
// triangle), or one digit and one separator per ASCII value.
uint64_t SmallestRecord(const PlyElement& e, bool binary, const PlyLayout& layout) {
  uint64_t bytes = 0;
  for (size_t i = 0; i < e.properties.size(); ++i) {
    const PlyProperty& p = e.properties[i];
    const bool triangle = &e == layout.face && static_cast<int>(i) == layout.indexList;
    if (binary)
      bytes += p.isList ? TypeSize(p.countType) + (triangle ? 3 * TypeSize(p.type) : 0) : TypeSize(p.type);
    else
      bytes += 2;
  }
  return bytes;
}

// Refuses counts the file cannot hold before anything is allocated.
bool CountsFit(const PlyHeader& h, const PlyLayout& layout, size_t fileSize) {
  if (layout.vertex->count > static_cast<uint64_t>(std::numeric_limits<int32_t>::max() - 1) ||
      layout.face->count > static_cast<uint64_t>(std::numeric_limits<int32_t>::max() / 3)) {
    ShowInformation(kTooShort);
    return false;
  }
  const bool binary = h.format != PlyFormat::Ascii;
  unsigned __int128 needed = 0;
  for (const PlyElement& e : h.elements)
    needed += static_cast<unsigned __int128>(e.count) * SmallestRecord(e, binary, layout);
  if (needed > fileSize - h.dataStart) {
    ShowInformation(kTooShort);
    return false;
  }
  return true;
}

// A colour value as a byte: rounded, clamped to 0..255; NaN and infinities give 0.
uint8_t ColorByte(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

bool NotFinitePosition(const std::string& where) {
  ShowInformation("PLY file has a position that is not a finite number in " + where);
  return false;
}

bool IndexOutOfRange(int64_t index, int64_t face, int64_t vertexCount) {
  ShowInformation("PLY face " + std::to_string(face) + " uses vertex " + std::to_string(index) + ", outside the " +
                  std::to_string(vertexCount) + " vertices of the file");
  return false;
}

// ---- binary bodies ----

struct BinaryCursor {
  const char* p;
  const char* end;
  bool bigEndian;
  bool Has(size_t n) const { return static_cast<size_t>(end - p) >= n; }
};

bool ReadBinaryVertices(BinaryCursor& c, const PlyLayout& layout, TOBJGroup& g) {
  const PlyElement& v = *layout.vertex;
  const size_t n = v.count, stride = layout.vertexBytes;
  g.points.resize(n);
  const bool colored = layout.color[0] >= 0;
  if (colored) g.pointColors.resize(n);
  PlyType type[3];
  size_t at[3];
  bool allFloat = !c.bigEndian;
  for (int k = 0; k < 3; ++k) {
    type[k] = v.properties[static_cast<size_t>(layout.position[k])].type;
    at[k] = layout.offsets[static_cast<size_t>(layout.position[k])];
    allFloat = allFloat && type[k] == PlyType::Float32;
  }
  for (size_t i = 0; i < n; ++i) {
    const char* rec = c.p + i * stride;
    TVector& pt = g.points[i];
    if (allFloat) {
      std::memcpy(&pt.x, rec + at[0], 4);
      std::memcpy(&pt.y, rec + at[1], 4);
      std::memcpy(&pt.z, rec + at[2], 4);
      if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(pt.z))
        return NotFinitePosition("vertex " + std::to_string(i));
    } else {
      double xyz[3];
      for (int k = 0; k < 3; ++k) {
        xyz[k] = ReadScalar(type[k], rec + at[k], c.bigEndian);
        if (!FiniteFloat(xyz[k])) return NotFinitePosition("vertex " + std::to_string(i));
      }
      pt = {static_cast<float>(xyz[0]), static_cast<float>(xyz[1]), static_cast<float>(xyz[2])};
    }
    if (colored) {
      TRGBA& col = g.pointColors[i];
      auto byteAt = [&](int slot) -> uint8_t {
        return layout.color[slot] >= 0
                   ? static_cast<uint8_t>(rec[layout.offsets[static_cast<size_t>(layout.color[slot])]])
                   : 0;
      };
      col = {byteAt(0), byteAt(1), byteAt(2), byteAt(3)};
    }
  }
  c.p += n * stride;
  return true;
}

// Skips one property of a record; false when the file ends first.
bool SkipBinaryProperty(BinaryCursor& c, const PlyProperty& p) {
  if (!p.isList) {
    if (!c.Has(TypeSize(p.type))) return false;
    c.p += TypeSize(p.type);
    return true;
  }
  if (!c.Has(TypeSize(p.countType))) return false;
  const int64_t count = ReadInteger(p.countType, c.p, c.bigEndian);
  c.p += TypeSize(p.countType);
  if (count < 0 || !c.Has(static_cast<size_t>(count) * TypeSize(p.type))) return false;
  c.p += static_cast<size_t>(count) * TypeSize(p.type);
  return true;
}

bool SkipBinaryElement(BinaryCursor& c, const PlyElement& e) {
  if (e.properties.empty()) return true;  // its records hold nothing, however many it declares
  for (uint64_t i = 0; i < e.count; ++i)
    for (const PlyProperty& p : e.properties)
      if (!SkipBinaryProperty(c, p)) {
        ShowInformation(kTooShort);
        return false;
      }
  return true;
}

bool ReadBinaryFaces(BinaryCursor& c, const PlyHeader& h, const PlyLayout& layout, TOBJGroup& g) {
  const PlyElement& f = *layout.face;
  const PlyProperty& list = f.properties[static_cast<size_t>(layout.indexList)];
  const size_t countBytes = TypeSize(list.countType), indexBytes = TypeSize(list.type);
  const int64_t vertexCount = static_cast<int64_t>(layout.vertex->count);
  g.faceRecords.resize(f.count);
  for (uint64_t i = 0; i < f.count; ++i) {
    for (size_t k = 0; k < f.properties.size(); ++k) {
      if (static_cast<int>(k) != layout.indexList) {
        if (!SkipBinaryProperty(c, f.properties[k])) {
          ShowInformation(kTooShort);
          return false;
        }
        continue;
      }
      if (!c.Has(countBytes + 3 * indexBytes)) {
        ShowInformation(kTooShort);
        return false;
      }
      const int64_t count = ReadInteger(list.countType, c.p, c.bigEndian);
      if (count != 3) {
        ShowInformation("Only able to read triangle-based PLY files. Index: " + std::to_string(i) + " Header Bytes " +
                        std::to_string(h.dataStart) + " bytesPerVertex: " + std::to_string(layout.vertexBytes) +
                        " faces: " + std::to_string(count));
        return false;
      }
      c.p += countBytes;
      for (int corner = 0; corner < 3; ++corner) {
        const int64_t index = ReadInteger(list.type, c.p, c.bigEndian);
        c.p += indexBytes;
        if (index < 0 || index >= vertexCount) return IndexOutOfRange(index, static_cast<int64_t>(i), vertexCount);
        g.faceRecords[i].vertex[corner] = static_cast<int32_t>(index);
      }
    }
  }
  return true;
}

bool ReadBinaryBody(const char* data, size_t size, const PlyHeader& h, const PlyLayout& layout, TOBJGroup& g) {
  BinaryCursor c{data + h.dataStart, data + size, h.format == PlyFormat::BinaryBigEndian};
  bool haveVertices = false, haveFaces = false;
  for (const PlyElement& e : h.elements) {
    if (haveVertices && haveFaces) break;
    if (&e == layout.vertex) {
      if (!c.Has(e.count * layout.vertexBytes)) {  // lists before it took more than their least
        ShowInformation(kTooShort);
        return false;
      }
      if (!ReadBinaryVertices(c, layout, g)) return false;
      haveVertices = true;
    } else if (&e == layout.face) {
      if (!ReadBinaryFaces(c, h, layout, g)) return false;
      haveFaces = true;
    } else if (!SkipBinaryElement(c, e)) {
      return false;
    }
  }
  return true;
}

// ---- ASCII bodies ----

struct AsciiCursor {
  const char* p;
  const char* end;
  int64_t line;  // number of the current line, for messages

  // Next non-empty line as [begin, end) without its line end; false at end of file.
  bool NextLine(std::string_view& out) {
    while (p < end) {
      const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* e = lf ? lf : end;
      const char* b = p;
      p = lf ? lf + 1 : end;
      ++line;
      while (e > b && (e[-1] == '\r' || e[-1] == ' ' || e[-1] == '\t')) --e;
      const char* s = b;
      while (s < e && (*s == ' ' || *s == '\t')) ++s;
      if (s < e) {
        out = std::string_view(s, static_cast<size_t>(e - s));
        return true;
      }
    }
    return false;
  }
};

// Tokens of one ASCII record line.
struct TokenReader {
  std::string_view s;
  size_t i = 0;

  std::string_view Next() {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    return s.substr(start, i - start);
  }
  bool Number(double& v) {
    std::string_view t = Next();
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && ec == std::errc() && end == t.data() + t.size();
  }
  bool Integer(int64_t& v) {
    std::string_view t = Next();
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && ec == std::errc() && end == t.data() + t.size();
  }
};

bool MalformedLine(const AsciiCursor& c) {
  ShowInformation("PLY file has malformed data in line " + std::to_string(c.line));
  return false;
}

bool ReadAsciiVertices(AsciiCursor& c, const PlyLayout& layout, TOBJGroup& g) {
  const PlyElement& v = *layout.vertex;
  g.points.resize(v.count);
  const bool colored = layout.color[0] >= 0;
  if (colored) g.pointColors.resize(v.count);
  // The values kept: positions into xyz, colours into rgba; -1 = skipped.
  std::vector<int> target(v.properties.size(), -1);
  for (int k = 0; k < 3; ++k) target[static_cast<size_t>(layout.position[k])] = k;
  for (int k = 0; k < 4; ++k)
    if (layout.color[k] >= 0) target[static_cast<size_t>(layout.color[k])] = 3 + k;
  size_t last = 0;
  for (size_t k = 0; k < target.size(); ++k)
    if (target[k] >= 0) last = k;
  for (uint64_t i = 0; i < v.count; ++i) {
    std::string_view line;
    if (!c.NextLine(line)) return MalformedLine(c);
    TokenReader tokens{line};
    double values[7] = {0, 0, 0, 0, 0, 0, 0};
    for (size_t k = 0; k <= last; ++k) {
      double value;
      if (!tokens.Number(value)) return MalformedLine(c);
      if (target[k] >= 0) values[target[k]] = value;
    }
    if (!FiniteFloat(values[0]) || !FiniteFloat(values[1]) || !FiniteFloat(values[2]))
      return NotFinitePosition("line " + std::to_string(c.line));
    g.points[i] = {static_cast<float>(values[0]), static_cast<float>(values[1]), static_cast<float>(values[2])};
    if (colored)
      g.pointColors[i] = {ColorByte(values[3]), ColorByte(values[4]), ColorByte(values[5]), ColorByte(values[6])};
  }
  return true;
}

bool SkipAsciiProperty(TokenReader& tokens, const PlyProperty& p) {
  int64_t count = 1;
  if (p.isList && (!tokens.Integer(count) || count < 0)) return false;
  for (int64_t k = 0; k < count; ++k)
    if (tokens.Next().empty()) return false;
  return true;
}

bool ReadAsciiFaces(AsciiCursor& c, const std::string& fileName, const PlyLayout& layout, TOBJGroup& g) {
  const PlyElement& f = *layout.face;
  const int64_t vertexCount = static_cast<int64_t>(layout.vertex->count);
  // A triangle line takes at least 8 bytes; reserve no more than the file can hold.
  g.faceRecords.reserve(std::min<uint64_t>(f.count, static_cast<uint64_t>(c.end - c.p) / 8));
  for (uint64_t i = 0; i < f.count; ++i) {
    std::string_view line;
    if (!c.NextLine(line)) return MalformedLine(c);
    TokenReader tokens{line};
    TOBJFace face;
    for (size_t k = 0; k < f.properties.size(); ++k) {
      if (static_cast<int>(k) != layout.indexList) {
        if (!SkipAsciiProperty(tokens, f.properties[k])) return MalformedLine(c);
        continue;
      }
      int64_t count;
      if (!tokens.Integer(count)) return MalformedLine(c);
      if (count < 3) {
        ShowInformation("File does not have the expected number of triangle-based faces " + fileName);
        return false;
      }
      if (count > 3) {
        ShowInformation("Only able to read triangle-based PLY files. ");
        return false;
      }
      for (int corner = 0; corner < 3; ++corner) {
        int64_t index;
        if (!tokens.Integer(index)) return MalformedLine(c);
        if (index < 0 || index >= vertexCount) return IndexOutOfRange(index, static_cast<int64_t>(i), vertexCount);
        face.vertex[corner] = static_cast<int32_t>(index);
      }
    }
    g.faceRecords.push_back(face);
  }
  return true;
}

bool ReadAsciiBody(const char* data, size_t size, const std::string& fileName, const PlyHeader& h,
                   const PlyLayout& layout, TOBJGroup& g) {
  AsciiCursor c{data + h.dataStart, data + size, h.headerLines};
  bool haveVertices = false, haveFaces = false;
  for (const PlyElement& e : h.elements) {
    if (haveVertices && haveFaces) break;
    if (&e == layout.vertex) {
      if (!ReadAsciiVertices(c, layout, g)) return false;
      haveVertices = true;
    } else if (&e == layout.face) {
      if (!ReadAsciiFaces(c, fileName, layout, g)) return false;
      haveFaces = true;
    } else if (!e.properties.empty()) {  // records of no properties hold nothing
      std::string_view line;
      for (uint64_t i = 0; i < e.count; ++i)
        if (!c.NextLine(line)) return MalformedLine(c);
    }
  }
  return true;
}

bool ReadPlyInto(TOBJGroup& g, std::string_view text, const std::string& fileName) {
  PlyHeader h;
  const char* data = text.data();
  const size_t size = text.size();
  if (!ParseHeader(data, size, h)) return false;
  PlyLayout layout;
  for (const PlyElement& e : h.elements) {
    if (e.name == "VERTEX" && !layout.vertex) layout.vertex = &e;
    if (e.name == "FACE" && !layout.face) layout.face = &e;
  }
  if (!layout.vertex || !layout.face || layout.vertex->count < 3 || layout.face->count < 1) {
    ShowInformation(kNotAMesh);
    return false;
  }
  const bool binary = h.format != PlyFormat::Ascii;
  if (!DescribeVertex(*layout.vertex, binary, layout) || !DescribeFace(*layout.face, layout) ||
      !CountsFit(h, layout, size))
    return false;
  return binary ? ReadBinaryBody(data, size, h, layout, g) : ReadAsciiBody(data, size, fileName, h, layout, g);
}

}  // namespace

TReadStatus ParsePly(TOBJModel& model, std::string_view text, const std::string& fileName) {
  model.groups.clear();
  TOBJGroup group;
  if (!ReadPlyInto(group, text, fileName)) return TReadStatus::Malformed;
  model.groups.push_back(std::move(group));
  return TReadStatus::Ok;
}

TReadStatus ReadPly(TOBJModel& model, const std::string& fileName) {
  model.groups.clear();
  MappedFile file;
  if (!file.Open(fileName)) return TReadStatus::CannotOpen;  // the loader reports the failed load
  return ParsePly(model, file.text(), fileName);
}
