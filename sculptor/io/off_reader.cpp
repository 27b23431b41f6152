#include "io/off_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "io/mapped_file.h"
#include "io/number_text.h"
#include "model/messages.h"

namespace {

constexpr int64_t kMostTriangles = std::numeric_limits<int32_t>::max() / 3;  // an element's index count is an int32

bool Refuse(const std::string& message) {
  ShowInformation(message);
  return false;
}

// The lines of the text that hold more than a comment, split into words.
class Lines {
 public:
  explicit Lines(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  // Moves to the next line with words; false at the end of the text.
  bool Next() {
    while (p_ < end_) {
      const char* start = p_;
      while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
      const char* last = std::find(start, p_, '#');
      if (p_ < end_ && *p_++ == '\r' && p_ < end_ && *p_ == '\n') ++p_;
      ++line_;
      words_.clear();
      for (const char* w = start; w < last;) {
        while (w < last && (*w == ' ' || *w == '\t')) ++w;
        const char* wordEnd = w;
        while (wordEnd < last && *wordEnd != ' ' && *wordEnd != '\t') ++wordEnd;
        if (wordEnd > w) words_.emplace_back(w, static_cast<size_t>(wordEnd - w));
        w = wordEnd;
      }
      if (!words_.empty()) return true;
    }
    return false;
  }

  const std::vector<std::string_view>& words() const { return words_; }
  int64_t line() const { return line_; }

 private:
  const char* p_;
  const char* end_;
  int64_t line_ = 0;
  std::vector<std::string_view> words_;
};

bool Malformed(const Lines& lines) { return Refuse("OFF file has malformed data in line " + std::to_string(lines.line())); }

bool Integer(std::string_view word, int32_t& value) { return ParseInt32(word.data(), word.data() + word.size(), value); }
bool Float(std::string_view word, float& value) { return ParseFloat(word.data(), word.data() + word.size(), value); }

// What the header keyword [ST][C][N][4][n]OFF says each vertex line holds.
struct VertexLayout {
  bool normals = false, colors = false, texture = false;
};

// Parses the keyword; false after the message when the file is not one we read.
bool ParseKeyword(std::string_view keyword, VertexLayout& layout) {
  if (!keyword.ends_with("OFF")) return Refuse("Not an OFF file");
  std::string_view prefix = keyword.substr(0, keyword.size() - 3);
  const auto take = [&prefix](std::string_view part) {
    if (!prefix.starts_with(part)) return false;
    prefix.remove_prefix(part.size());
    return true;
  };
  layout.texture = take("ST");
  layout.colors = take("C");
  layout.normals = take("N");
  if (take("4") || take("n")) return Refuse("Only OFF files of 3-D vertices can be read");
  if (!prefix.empty()) return Refuse("Not an OFF file");
  return true;
}

// A vertex colour of 3 or 4 values: integers 0..255 when they are integers and
// one is above 1, fractions 0..1 otherwise; alpha 255 when not given.
bool ParseColor(const std::string_view* words, size_t count, TRGBA& color) {
  int32_t integers[4] = {0, 0, 0, 255};
  bool allIntegers = true, above1 = false;
  for (size_t k = 0; k < count; ++k) {
    allIntegers = allIntegers && Integer(words[k], integers[k]);
    above1 = above1 || integers[k] > 1;
  }
  uint8_t bytes[4] = {0, 0, 0, 255};
  for (size_t k = 0; k < count; ++k) {
    if (allIntegers && above1) {
      bytes[k] = static_cast<uint8_t>(std::clamp(integers[k], 0, 255));
      continue;
    }
    float fraction = 0;
    if (!Float(words[k], fraction)) return false;
    bytes[k] = static_cast<uint8_t>(std::clamp(std::nearbyint(fraction * 255.0), 0.0, 255.0));
  }
  color = {bytes[0], bytes[1], bytes[2], bytes[3]};
  return true;
}

class OffParser {
 public:
  OffParser(std::string_view text, TOBJGroup& g) : text_(text), lines_(text), g_(g) {}

  bool Parse() {
    int32_t counts[2];
    return Header(counts) && Vertices(counts[0]) && Faces(counts[1], counts[0]);
  }

 private:
  // The keyword (optional: a file may start with its counts), then the vertex,
  // face and edge counts, on the keyword's line or the next.
  bool Header(int32_t counts[2]) {
    if (!lines_.Next()) return Refuse("Not an OFF file");
    const std::vector<std::string_view>* words = &lines_.words();
    size_t first = 0;
    int32_t probe = 0;
    if (!Integer((*words)[0], probe)) {
      if (!ParseKeyword((*words)[0], layout_)) return false;
      if (words->size() > 1 && (*words)[1] == "BINARY") return Refuse("Binary OFF files cannot be read");
      first = 1;
      if (words->size() == 1) {
        if (!lines_.Next()) return Malformed(lines_);
        words = &lines_.words();
        first = 0;
      }
    }
    if (words->size() < first + 2 || !Integer((*words)[first], counts[0]) || !Integer((*words)[first + 1], counts[1]) ||
        counts[0] < 0 || counts[1] < 0)
      return Malformed(lines_);
    if (counts[0] < 3 || counts[1] < 1) return Refuse("Not a mesh-based OFF file (perhaps point based)");
    // Reserve no more than the text can hold: a vertex line takes 6 bytes, a triangle 8.
    g_.points.reserve(std::min<size_t>(static_cast<size_t>(counts[0]), text_.size() / 6));
    g_.faceRecords.reserve(std::min<size_t>(static_cast<size_t>(counts[1]), text_.size() / 8));
    if (layout_.colors) g_.pointColors.reserve(g_.points.capacity());
    return true;
  }

  bool Vertices(int32_t count) {
    // x y z [nx ny nz] [colour of 3 or 4 values] [s t]
    const size_t fixed = 3 + (layout_.normals ? 3 : 0) + (layout_.texture ? 2 : 0);
    for (int32_t v = 0; v < count; ++v) {
      if (!lines_.Next()) return TooShort();
      const std::vector<std::string_view>& words = lines_.words();
      float xyz[3];
      if (words.size() < fixed || !Float(words[0], xyz[0]) || !Float(words[1], xyz[1]) || !Float(words[2], xyz[2]))
        return Malformed(lines_);
      g_.points.push_back({xyz[0], xyz[1], xyz[2]});
      if (!layout_.colors) continue;
      const size_t colorValues = words.size() - fixed;
      TRGBA& color = g_.pointColors.emplace_back();
      if ((colorValues != 3 && colorValues != 4) ||
          !ParseColor(words.data() + 3 + (layout_.normals ? 3 : 0), colorValues, color))
        return Malformed(lines_);
    }
    return true;
  }

  // n, then n vertex numbers (zero-based), then an optional face colour.
  bool Faces(int32_t count, int32_t vertexCount) {
    for (int32_t f = 0; f < count; ++f) {
      if (!lines_.Next()) return TooShort();
      const std::vector<std::string_view>& words = lines_.words();
      int32_t corners = 0;
      if (!Integer(words[0], corners) || corners < 0 || words.size() < static_cast<size_t>(corners) + 1)
        return Malformed(lines_);
      if (corners < 3) return Refuse("OFF face in line " + std::to_string(lines_.line()) + " has fewer than 3 corners");
      int32_t firstCorner = 0, previous = 0;
      for (int32_t k = 0; k < corners; ++k) {
        int32_t v = 0;
        if (!Integer(words[static_cast<size_t>(k) + 1], v)) return Malformed(lines_);
        if (v < 0 || v >= vertexCount)
          return Refuse("OFF face in line " + std::to_string(lines_.line()) + " uses vertex " + std::to_string(v) +
                        ", outside the " + std::to_string(vertexCount) + " vertices of the file");
        if (k == 0) firstCorner = v;
        if (k >= 2) {
          if (static_cast<int64_t>(g_.faceRecords.size()) >= kMostTriangles)
            return Refuse("OFF file holds more triangles than an element can");
          TOBJFace& face = g_.faceRecords.emplace_back();
          face.vertex[0] = firstCorner, face.vertex[1] = previous, face.vertex[2] = v;
        }
        previous = v;
      }
    }
    return true;
  }

  bool TooShort() { return Refuse("OFF file is shorter than the vertices and faces its header declares"); }

  std::string_view text_;
  Lines lines_;
  TOBJGroup& g_;
  VertexLayout layout_;
};

}  // namespace

TReadStatus ParseOff(TOBJModel& model, std::string_view text) {
  model.groups.clear();
  TOBJGroup group;
  if (!OffParser(text, group).Parse()) return TReadStatus::Malformed;
  model.groups.push_back(std::move(group));
  return TReadStatus::Ok;
}

TReadStatus ReadOff(TOBJModel& model, const std::string& fileName) {
  model.groups.clear();
  MappedFile file;
  if (!file.Open(fileName)) return TReadStatus::CannotOpen;  // the loader reports the failed load
  return ParseOff(model, file.text());
}
