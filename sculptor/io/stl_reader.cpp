#include "io/stl_reader.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "io/mapped_file.h"
#include "io/number_text.h"
#include "model/messages.h"

namespace {

constexpr size_t kBinaryHeaderBytes = 84;  // 80 bytes of text, the uint32 triangle count
constexpr size_t kBinaryTriangleBytes = 50;  // normal, three corners, a 16-bit attribute
constexpr uint64_t kMostTriangles = std::numeric_limits<int32_t>::max() / 3;  // an element's index count is an int32

// Gives each distinct position one vertex of the group, in order of first use.
// Positions are equal when their coordinates compare equal (0 and -0 alike).
class Welder {
 public:
  explicit Welder(TOBJGroup& g) : g_(g) {}

  int32_t VertexAt(float x, float y, float z) {
    const Key key{std::bit_cast<uint32_t>(x + 0.0f), std::bit_cast<uint32_t>(y + 0.0f),
                  std::bit_cast<uint32_t>(z + 0.0f)};  // + 0 turns -0 into 0
    const auto [it, added] = index_.try_emplace(key, static_cast<int32_t>(g_.points.size()));
    if (added) g_.points.push_back({x, y, z});
    return it->second;
  }

  void Reserve(size_t corners) { index_.reserve(corners / 2); }  // closed meshes: a vertex per two triangles

 private:
  struct Key {
    uint32_t x, y, z;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      uint64_t h = (uint64_t{k.x} << 32 | k.y) * 0x9E3779B97F4A7C15ull;
      return static_cast<size_t>((h ^ (h >> 29) ^ k.z) * 0xBF58476D1CE4E5B9ull >> 16);
    }
  };
  TOBJGroup& g_;
  std::unordered_map<Key, int32_t, KeyHash> index_;
};

bool Refuse(const std::string& message) {
  ShowInformation(message);
  return false;
}

bool NotFinite(const std::string& where) { return Refuse("STL file has a position that is not a finite number in " + where); }

// ---- binary ----

uint32_t TriangleCount(std::string_view bytes) {
  uint32_t count = 0;
  std::memcpy(&count, bytes.data() + 80, 4);
  return count;  // little-endian, as the machine's
}

bool ReadBinary(std::string_view bytes, TOBJGroup& g) {
  static_assert(std::endian::native == std::endian::little, "STL files are little-endian");
  const uint64_t count = TriangleCount(bytes);
  const uint64_t held = bytes.size() - kBinaryHeaderBytes;
  if (count * kBinaryTriangleBytes != held)
    return Refuse("Binary STL file declares " + std::to_string(count) + " triangles (" +
                  std::to_string(count * kBinaryTriangleBytes) + " bytes) but holds " + std::to_string(held) +
                  " bytes of triangles");
  if (count > kMostTriangles) return Refuse("STL file holds more triangles than an element can");
  Welder welder(g);
  welder.Reserve(3 * count);
  g.faceRecords.resize(count);
  const char* record = bytes.data() + kBinaryHeaderBytes;
  for (uint64_t t = 0; t < count; ++t, record += kBinaryTriangleBytes) {
    float xyz[9];
    std::memcpy(xyz, record + 12, sizeof xyz);  // after the facet normal
    for (int k = 0; k < 3; ++k) {
      const float* p = xyz + 3 * k;
      if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
        return NotFinite("triangle " + std::to_string(t));
      g.faceRecords[t].vertex[k] = welder.VertexAt(p[0], p[1], p[2]);
    }
  }
  return true;
}

// ---- ASCII ----

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// `word` is `keyword` (lower case) in any case.
bool Is(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if ((word[i] | 0x20) != keyword[i]) return false;
  return true;
}

// Blank-separated words of the text, with the number of the line each is on.
class Words {
 public:
  explicit Words(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  // The next word; empty at the end of the text.
  std::string_view Next() {
    while (p_ < end_ && IsSpace(*p_)) {
      if (*p_ == '\n') ++line_;
      ++p_;
    }
    const char* start = p_;
    while (p_ < end_ && !IsSpace(*p_)) ++p_;
    return {start, static_cast<size_t>(p_ - start)};
  }

  // The rest of the current line, trimmed.
  std::string_view RestOfLine() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t')) ++p_;
    const char* start = p_;
    while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
    const char* last = p_;
    while (last > start && IsSpace(last[-1])) --last;
    return {start, static_cast<size_t>(last - start)};
  }

  bool Expect(std::string_view keyword) { return Is(Next(), keyword); }

  bool Floats(float* values, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string_view word = Next();
      if (!ParseFloat(word.data(), word.data() + word.size(), values[i])) return false;
    }
    return true;
  }

  int64_t line() const { return line_; }

 private:
  const char* p_;
  const char* end_;
  int64_t line_ = 1;
};

bool Malformed(const Words& words) { return Refuse("STL file has malformed data in line " + std::to_string(words.line())); }

// facet normal n n n / outer loop / vertex x y z (three times) / endloop / endfacet,
// after its first word.
bool ReadFacet(Words& words, Welder& welder, TOBJGroup& g) {
  float normal[3];
  if (!words.Expect("normal") || !words.Floats(normal, 3) || !words.Expect("outer") || !words.Expect("loop"))
    return Malformed(words);
  TOBJFace& face = g.faceRecords.emplace_back();
  for (int k = 0; k < 3; ++k) {
    float p[3];
    if (!words.Expect("vertex") || !words.Floats(p, 3)) return Malformed(words);
    face.vertex[k] = welder.VertexAt(p[0], p[1], p[2]);
  }
  if (!words.Expect("endloop") || !words.Expect("endfacet")) return Malformed(words);
  return true;
}

// One or more "solid" ... "endsolid" blocks; their triangles go into one group
// named after the first.
bool ReadAscii(std::string_view text, TOBJGroup& g) {
  Words words(text);
  if (!words.Expect("solid")) return Malformed(words);
  g.name = words.RestOfLine();
  Welder welder(g);
  welder.Reserve(text.size() / 90);  // about 250 bytes of text per facet
  for (;;) {
    const std::string_view word = words.Next();
    if (Is(word, "facet")) {
      if (!ReadFacet(words, welder, g)) return false;
      if (g.faceRecords.size() > kMostTriangles) return Refuse("STL file holds more triangles than an element can");
    } else if (Is(word, "endsolid")) {
      words.RestOfLine();
      const std::string_view after = words.Next();
      if (after.empty()) return true;
      if (!Is(after, "solid")) return Malformed(words);
      words.RestOfLine();
    } else if (word.empty()) {
      return Refuse("STL file ends before its \"endsolid\"");
    } else {
      return Malformed(words);
    }
  }
}

// The file is ASCII when it starts with "solid" and has no NUL byte where a
// binary file keeps its header and count (binary headers may start with
// "solid" too).
bool LooksAscii(std::string_view bytes) {
  size_t start = 0;
  while (start < bytes.size() && IsSpace(bytes[start])) ++start;
  return Is(bytes.substr(start, 5), "solid") && bytes.substr(0, kBinaryHeaderBytes).find('\0') == std::string_view::npos;
}

}  // namespace

TReadStatus ParseStl(TOBJModel& model, std::string_view bytes) {
  model.groups.clear();
  TOBJGroup group;
  const bool binaryBySize = bytes.size() >= kBinaryHeaderBytes &&
                            uint64_t{TriangleCount(bytes)} * kBinaryTriangleBytes == bytes.size() - kBinaryHeaderBytes;
  bool ok;
  if (!binaryBySize && LooksAscii(bytes)) ok = ReadAscii(bytes, group);
  else if (bytes.size() >= kBinaryHeaderBytes) ok = ReadBinary(bytes, group);
  else ok = Refuse("Not an STL file");
  if (!ok) return TReadStatus::Malformed;
  model.groups.push_back(std::move(group));
  return TReadStatus::Ok;
}

TReadStatus ReadStl(TOBJModel& model, const std::string& fileName) {
  model.groups.clear();
  MappedFile file;
  if (!file.Open(fileName)) return TReadStatus::CannotOpen;  // the loader reports the failed load
  return ParseStl(model, file.text());
}
