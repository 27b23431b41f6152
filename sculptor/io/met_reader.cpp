#include "io/met_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "io/mapped_file.h"
#include "io/number_text.h"
#include "model/messages.h"

namespace {

enum class FaceLayout { Undecided, Vertex, VertexTexture, VertexTextureNormal, VertexNormal };

// A cursor over one line: tokens are separated by runs of blanks (U+0020 only).
struct LineCursor {
  const char* p;
  const char* end;

  bool NextToken(const char*& first, const char*& last) {
    while (p < end && *p == ' ') ++p;
    if (p == end) return false;
    first = p;
    while (p < end && *p != ' ') ++p;
    last = p;
    return true;
  }
};

bool IsKeyword(const char* first, const char* last, std::string_view keyword, bool ignoreCase) {
  if (static_cast<size_t>(last - first) != keyword.size()) return false;
  for (size_t i = 0; i < keyword.size(); ++i) {
    char c = first[i];
    if (ignoreCase && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != keyword[i]) return false;
  }
  return true;
}

std::string_view Trimmed(const char* first, const char* last) {
  while (first < last && static_cast<unsigned char>(*first) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(last[-1]) <= ' ') --last;
  return {first, static_cast<size_t>(last - first)};
}

// One face reference: zero-based, file-global indices.
struct Reference {
  int32_t vertex = 0, texture = 0, normal = 0;
};

// Calls `line(first, last)` for every line (ended by CR, LF or CR LF) until it returns false.
template <typename LineFunction>
void ForEachLine(std::string_view text, LineFunction&& line) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') ++lineEnd;
    if (!line(p, lineEnd)) return;
    p = lineEnd;
    if (p < end && *p++ == '\r' && p < end && *p == '\n') ++p;
  }
}

// Records per group, counted in a quick first pass so that the arrays are
// allocated once at their final size (fresh memory is dear to touch twice).
struct RecordCounts {
  size_t points = 0, faces = 0, colors = 0, others = 0;  // others: texture coordinates, normals

  bool empty() const { return points == 0 && faces == 0 && colors == 0 && others == 0; }
};

std::vector<RecordCounts> CountRecords(std::string_view text) {
  std::vector<RecordCounts> counts(1);
  bool firstGroup = true;
  // Only an estimate: lines are taken at LF, so a file with CR line ends alone
  // counts as one line and its arrays simply grow as they are read.
  for (size_t p = 0; p < text.size();) {
    const std::string_view line = text.substr(p, 4);
    const auto keywordIs = [&](std::string_view keyword, bool ignoreCase) {
      return line.size() >= keyword.size() && IsKeyword(line.data(), line.data() + keyword.size(), keyword, ignoreCase) &&
             (line.size() == keyword.size() || line[keyword.size()] == ' ' || line[keyword.size()] == '\r' ||
              line[keyword.size()] == '\n');
    };
    RecordCounts& group = counts.back();
    if (keywordIs("v", true)) ++group.points;
    else if (keywordIs("f", true)) ++group.faces;
    else if (keywordIs("cor", true)) ++group.colors;
    else if (keywordIs("vt", true) || keywordIs("vn", true)) ++group.others;
    // A group that holds nothing yet is taken over by the next one, as the parser does.
    else if (keywordIs("g", false) && !std::exchange(firstGroup, false) && !group.empty()) counts.emplace_back();
    const void* lineFeed = std::memchr(text.data() + p, '\n', text.size() - p);
    if (!lineFeed) break;
    p = static_cast<size_t>(static_cast<const char*>(lineFeed) - text.data()) + 1;
  }
  return counts;
}

class TextModelParser {
 public:
  TextModelParser(TOBJModel& model, const TTextModelDialect& dialect) : model_(model), dialect_(dialect) {
    model_.groups.assign(1, TOBJGroup{});
    model_.groups[0].name = dialect.initialGroupName;
  }

  bool Parse(std::string_view text) {
    counts_ = CountRecords(text);
    Reserve(0);
    bool ok = true;
    ForEachLine(text, [&](const char* first, const char* last) { return ok = ParseLine(first, last); });
    return ok;
  }

 private:
  TOBJGroup& group() { return model_.groups.back(); }

  bool ParseLine(const char* first, const char* last) {
    if (first == last || *first == ' ') return true;  // an empty first token
    LineCursor line{first, last};
    const char *k0, *k1;
    line.NextToken(k0, k1);
    const size_t length = static_cast<size_t>(k1 - k0);
    if (length > 3) return true;
    const char c = static_cast<char>(*k0 | 0x20);
    if (c == 'v') {
      if (length == 1) return ParseVertex(line);
      if (IsKeyword(k0, k1, "vt", true)) return ParseTexCoord(line);
      if (IsKeyword(k0, k1, "vn", true)) return ParseNormal(line);
      return true;
    }
    if (IsKeyword(k0, k1, "f", true)) return ParseFace(line);
    if (IsKeyword(k0, k1, "cor", true)) return ParseColor(line);
    if (IsKeyword(k0, k1, "g", false)) return StartGroup(k1, last);
    if (dialect_.levelRecords && IsKeyword(k0, k1, "div", false)) return ParseLevel(k1, last);
    return true;  // comments and records without meaning here
  }

  // `count` blank-separated floats, each parsed as it is scanned.
  static bool ReadFloats(LineCursor& line, float* values, int count) {
    for (int i = 0; i < count; ++i) {
      while (line.p < line.end && *line.p == ' ') ++line.p;
      const char* end = ParseFloatPrefix(line.p, line.end, values[i]);
      if (!end || (end < line.end && *end != ' ')) return false;
      line.p = end;
    }
    return true;
  }

  bool ParseVertex(LineCursor& line) {
    float xyz[3];
    if (!ReadFloats(line, xyz, 3)) return false;
    group().points.push_back({xyz[0], xyz[1], xyz[2]});
    return true;
  }

  bool ParseTexCoord(LineCursor& line) {
    float uv[2];
    if (!ReadFloats(line, uv, 2)) return false;
    group().texCoords.push_back({uv[0], uv[1], 0});
    ++texCoordsRead_;
    return true;
  }

  bool ParseNormal(LineCursor& line) {
    float xyz[3];
    if (!ReadFloats(line, xyz, 3)) return false;
    group().normalList.push_back({xyz[0], xyz[1], xyz[2]});
    ++normalsRead_;
    return true;
  }

  // A group that holds nothing yet (no faces, so it never becomes an element)
  // is taken over by the next one instead of kept: files of many empty groups
  // would otherwise cost far more memory than their size.
  bool StartGroup(const char* rest, const char* last) {
    const std::string_view name = Trimmed(rest, last);
    if (firstGroupRecord_) {
      firstGroupRecord_ = false;
    } else if (HoldsNothing(group())) {
      group().level = 0;
    } else {
      groupStart_ += static_cast<int64_t>(group().points.size());
      model_.groups.emplace_back();
      Reserve(model_.groups.size() - 1);
    }
    group().name.assign(name);
    return true;
  }

  static bool HoldsNothing(const TOBJGroup& g) {
    return g.points.empty() && g.faceRecords.empty() && g.pointColors.empty() && g.texCoords.empty() &&
           g.normalList.empty();
  }

  bool ParseLevel(const char* rest, const char* last) {
    const std::string_view text = Trimmed(rest, last);
    return ParseInt32(text.data(), text.data() + text.size(), group().level);
  }

  void DecideLayout(const char* rest, const char* last) {
    const char* slash = std::find(rest, last, '/');
    if (slash == last) layout_ = FaceLayout::Vertex;
    else if (slash + 1 < last && slash[1] == '/') layout_ = FaceLayout::VertexNormal;
    else layout_ = normalsRead_ > 0 ? FaceLayout::VertexTextureNormal : FaceLayout::VertexTexture;
  }

  // Splits a reference at "/" as the layout says; every vertex number must
  // name a vertex of the current group (or, where the dialect allows, of an
  // earlier group).
  bool ParseReference(const char* first, const char* last, Reference& ref) {
    const char* parts[4];
    const char* ends[4];
    int count = 0;
    const char* p = first;
    while (count < 4) {
      const char* slash = std::find(p, last, '/');
      parts[count] = p;
      ends[count++] = slash;
      if (slash == last) break;
      p = slash + 1;
    }
    int32_t vertex = 0, texture = 0, normal = 0;
    switch (layout_) {
      case FaceLayout::Vertex:
        if (count != 1 || !ParseInt32(parts[0], ends[0], vertex)) return false;
        break;
      case FaceLayout::VertexTexture:
        if (count != 2 || !ParseInt32(parts[0], ends[0], vertex) || !ParseInt32(parts[1], ends[1], texture))
          return false;
        break;
      case FaceLayout::VertexTextureNormal:
        if (count != 3 || !ParseInt32(parts[0], ends[0], vertex) || !ParseInt32(parts[1], ends[1], texture) ||
            !ParseInt32(parts[2], ends[2], normal))
          return false;
        break;
      case FaceLayout::VertexNormal:
        if (count != 3 || parts[1] != ends[1] || !ParseInt32(parts[0], ends[0], vertex) ||
            !ParseInt32(parts[2], ends[2], normal))
          return false;
        break;
      case FaceLayout::Undecided: return false;
    }
    const int64_t pointsRead = groupStart_ + static_cast<int64_t>(group().points.size());
    int64_t v = vertex == 0 ? 0 : vertex - 1, t = texture - 1, n = normal - 1;
    if (vertex < 0 || texture < 0 || normal < 0) {
      if (!dialect_.relativeReferences) return false;
      // -1 is the last one read before this line.
      if (vertex < 0 && (v = pointsRead + vertex) < 0) return false;
      if (texture < 0 && (t = texCoordsRead_ + texture) < 0) return false;
      if (normal < 0 && (n = normalsRead_ + normal) < 0) return false;
    }
    ref.vertex = static_cast<int32_t>(v);  // at most the points read so far, as are t and n
    ref.texture = static_cast<int32_t>(t);
    ref.normal = static_cast<int32_t>(n);
    const int64_t local = ref.vertex - groupStart_;
    const int64_t lowest = dialect_.fileWideReferences ? -groupStart_ : 0;
    return local >= lowest && local < static_cast<int64_t>(group().points.size());
  }

  // The first three references form a triangle; each further one closes a
  // fan triangle around the first.
  bool ParseFace(LineCursor& line) {
    if (layout_ == FaceLayout::Undecided) DecideLayout(line.p, line.end);
    Reference first, previous, current;
    const char *t0, *t1;
    int count = 0;
    while (line.NextToken(t0, t1)) {
      if (!ParseReference(t0, t1, current)) return false;
      if (count == 0) first = current;
      if (count >= 2) AppendTriangle(first, previous, current);
      previous = current;
      ++count;
    }
    return count >= 3;
  }

  void AppendTriangle(const Reference& a, const Reference& b, const Reference& c) {
    TOBJFace& face = group().faceRecords.emplace_back();
    face.vertex[0] = a.vertex, face.vertex[1] = b.vertex, face.vertex[2] = c.vertex;
    face.texture[0] = a.texture, face.texture[1] = b.texture, face.texture[2] = c.texture;
    face.normal[0] = a.normal, face.normal[1] = b.normal, face.normal[2] = c.normal;
  }

  // Three integers 0..255, or (where the dialect allows) three fractions 0..1.
  bool ParseColor(LineCursor& line) {
    const char* first[3];
    const char* last[3];
    for (int i = 0; i < 3; ++i) {
      if (!line.NextToken(first[i], last[i])) return false;
    }
    uint8_t rgb[3];
    int32_t integer = 0;
    if (ParseInt32(first[0], last[0], integer)) {
      for (int i = 0; i < 3; ++i) {
        if (!ParseInt32(first[i], last[i], integer)) return false;
        rgb[i] = static_cast<uint8_t>(std::clamp(integer, 0, 255));
      }
    } else {
      if (!dialect_.fractionColors) return false;
      for (int i = 0; i < 3; ++i) {
        float fraction = 0;
        if (!ParseFloat(first[i], last[i], fraction)) return false;
        const double scaled = std::nearbyint(static_cast<double>(fraction) * 255.0);
        rgb[i] = static_cast<uint8_t>(std::clamp(scaled, 0.0, 255.0));
      }
    }
    group().pointColors.push_back({rgb[0], rgb[1], rgb[2], dialect_.colorAlpha});
    return true;
  }

  void Reserve(size_t index) {
    if (index >= counts_.size()) return;
    TOBJGroup& g = model_.groups[index];
    g.points.reserve(counts_[index].points);
    g.faceRecords.reserve(counts_[index].faces);
    g.pointColors.reserve(counts_[index].colors);
  }

  TOBJModel& model_;
  const TTextModelDialect& dialect_;
  std::vector<RecordCounts> counts_;
  FaceLayout layout_ = FaceLayout::Undecided;
  int64_t texCoordsRead_ = 0, normalsRead_ = 0;  // file-wide, for relative references
  bool firstGroupRecord_ = true;
  int64_t groupStart_ = 0;  // file-global number of the current group's first vertex
};

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// UTF-16 text (after its byte-order mark) as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    uint32_t code = unit(i);
    if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    AppendUtf8(out, code);
  }
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

TReadStatus ParseTextModel(TOBJModel& model, std::string_view text, const TTextModelDialect& dialect) {
  std::string decoded;
  if (StartsWith(text, "\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  } else if (StartsWith(text, "\xFF\xFE") || StartsWith(text, "\xFE\xFF")) {
    decoded = Utf16ToUtf8(text.substr(2), text[0] == '\xFE');
    text = decoded;
  }
  TextModelParser parser(model, dialect);
  if (parser.Parse(text)) return TReadStatus::Ok;
  ShowError("File format not recognized.");
  return TReadStatus::Malformed;
}

TReadStatus ReadTextModelFile(TOBJModel& model, const std::string& fileName, const TTextModelDialect& dialect) {
  MappedFile file;
  if (!file.Open(fileName)) {
    model.groups.clear();
    return TReadStatus::CannotOpen;
  }
  return ParseTextModel(model, file.text(), dialect);
}

TReadStatus ReadMet(TOBJModel& model, const std::string& fileName) {
  return ReadTextModelFile(model, fileName, kMetDialect);
}
