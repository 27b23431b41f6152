#include "polygon_storage_import_ply.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "mapped_file.h"
#include "polygon_storage.h"
#include "status_output.h"
#include "text_numbers.h"

namespace voxquad {

namespace {

constexpr int maxHeaderLines = 100;

// Lines of a text, of any length, and the tokens of a line read in place. A line ends at LF, CR LF
// or CR; tokens are separated by runs of spaces (tabs are part of a token).
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next whole line, trailing spaces cut.
    bool next(std::string_view& line)
    {
        if (!beginLine())
            return false;
        const std::size_t first = pos_;
        // One scan for either end, so that a file of CR-only lines is read in linear time.
        while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
            ++pos_;
        std::size_t end = pos_;
        while (end > first && text_[end - 1] == ' ')
            --end;
        line = text_.substr(first, end - first);
        skipLineEnd();
        return true;
    }

    // Starts the next line for token(); false when the text has no more lines.
    bool beginLine()
    {
        if (pos_ >= text_.size())
            return false;
        ++lineNumber_;
        return true;
    }

    // The next token of the line begun; false at its end.
    bool token(std::string_view& token)
    {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
        const std::size_t first = pos_;
        while (pos_ < text_.size() && text_[pos_] != ' ' && !isLineEnd(text_[pos_]))
            ++pos_;
        token = text_.substr(first, pos_ - first);
        return pos_ > first;
    }

    // Skips what is left of the line begun, and its end.
    void endLine()
    {
        while (pos_ < text_.size() && !isLineEnd(text_[pos_]))
            ++pos_;
        skipLineEnd();
    }

    // True when at least count more lines follow. Counts line ends in blocks, without a branch per
    // character, and stops once enough are seen.
    bool hasLines(std::uint64_t count) const
    {
        if (pos_ >= text_.size())
            return count == 0;
        const char* p = text_.data() + pos_;
        const char* last = text_.data() + text_.size() - 1;  // the last character ends a line, whatever it is
        std::uint64_t lines = 1;
        while (p < last && lines < count) {
            const char* blockEnd = p + std::min<std::ptrdiff_t>(last - p, 1 << 16);
            for (; p < blockEnd; ++p)
                lines += static_cast<unsigned>(p[0] == '\n') | (static_cast<unsigned>(p[0] == '\r') & (p[1] != '\n'));
        }
        return lines >= count;
    }

    long long lineNumber() const { return lineNumber_; }

private:
    static bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

    void skipLineEnd()
    {
        if (pos_ < text_.size())
            pos_ += text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n' ? 2 : 1;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    long long lineNumber_ = 0;
};

// Tokens of a whole line, separated by runs of spaces.
class Tokens {
public:
    explicit Tokens(std::string_view line) : line_(line) {}

    bool next(std::string_view& token)
    {
        while (pos_ < line_.size() && line_[pos_] == ' ')
            ++pos_;
        if (pos_ >= line_.size())
            return false;
        std::size_t end = line_.find(' ', pos_);
        if (end == std::string_view::npos)
            end = line_.size();
        token = line_.substr(pos_, end - pos_);
        pos_ = end;
        return true;
    }

private:
    std::string_view line_;
    std::size_t pos_ = 0;
};

struct HeaderCount {
    bool seen = false;
    long long value = 0;
};

struct Header {
    HeaderCount vertices, faces;
    bool reverseFaces = false;
    std::string_view format = "ascii";  // second token of the "format" line
};

// Progress of the import: one value per 1/40 of the vertices and of the faces, counting on.
class ImportProgress {
public:
    explicit ImportProgress(StatusOutput* status) : status_(status) {}

    void startSection(long long count) { step_ = std::max(1LL, count / 40); }
    void item(long long i)
    {
        if (i % step_ == 0 && status_)
            status_->setProgress(k_++);
    }

private:
    StatusOutput* status_;
    long long step_ = 1;
    int k_ = 0;
};

class PlyParser {
public:
    PlyParser(const char* fileName, std::string_view text, StatusOutput* status)
        : fileName_(fileName), lines_(text), status_(status), progress_(status)
    {
    }

    bool parse(PolygonStorage& storage)
    {
        Header header;
        readHeader(header);
        if (header.format != "ascii") {
            error(0, "binary PLY (format %.*s): only ASCII PLY input is read", static_cast<int>(header.format.size()),
                  header.format.data());
            return false;
        }
        if (!checkCounts(header))
            return false;
        return readVertices(header, storage) && readFaces(header, storage);
    }

private:
    void readHeader(Header& header)
    {
        std::string_view line;
        if (!lines_.next(line) || line != "ply")
            reportError(status_, "This is not a PLY file.");
        for (int count = 1; lines_.next(line); ++count) {
            if (count > maxHeaderLines) {
                reportError(status_, "Header seems to be too long, so we're quitting.");
                return;
            }
            if (line.starts_with("element vertex"))
                readCount(line, header.vertices);
            else if (line.starts_with("element face"))
                readCount(line, header.faces);
            else if (line == "order_cw")
                header.reverseFaces = false;
            else if (line == "order_ccw")
                header.reverseFaces = true;
            else if (line == "end_header")
                return;
            else if (line.starts_with("format "))
                readFormat(line, header);
        }
    }

    static void readFormat(std::string_view line, Header& header)
    {
        Tokens tokens(line);
        std::string_view token;
        if (tokens.next(token) && tokens.next(token))
            header.format = token;
    }

    void readCount(std::string_view line, HeaderCount& count)
    {
        Tokens tokens(line);
        std::string_view token;
        count.seen = true;
        count.value = 0;
        for (int i = 0; i < 3; ++i)
            if (!tokens.next(token))
                return;
        if (parseLong(token, count.value) == ParseResult::OutOfRange || count.value > maxCount())
            count.value = -1;  // refused below, like a negative count
    }

    static long long maxCount() { return std::numeric_limits<std::int32_t>::max(); }

    bool checkCounts(const Header& header)
    {
        if (!header.vertices.seen || !header.faces.seen) {
            error(0, "the header has no \"%s\" line", header.vertices.seen ? "element face" : "element vertex");
            return false;
        }
        if (header.vertices.value < 0 || header.faces.value < 0) {
            error(0, "the header's %s count is negative or too large", header.vertices.value < 0 ? "vertex" : "face");
            return false;
        }
        if (!lines_.hasLines(static_cast<std::uint64_t>(header.vertices.value + header.faces.value))) {
            error(0, "the header announces %lld vertices and %lld faces, more than the file's lines hold",
                  header.vertices.value, header.faces.value);
            return false;
        }
        return true;
    }

    bool readVertices(const Header& header, PolygonStorage& storage)
    {
        storage.Vertices.reserve(static_cast<std::size_t>(header.vertices.value));
        progress_.startSection(header.vertices.value);
        std::string_view token;
        for (long long i = 0; i < header.vertices.value; ++i) {
            lines_.beginLine();  // checkCounts() made sure the lines are there
            float xyz[3];
            for (float& c : xyz) {
                if (!lines_.token(token)) {
                    error(lines_.lineNumber(), "a vertex needs three coordinates");
                    return false;
                }
                c = static_cast<float>(parseDouble(token));
            }
            lines_.endLine();
            storage.addVertex(Vertex(vec3(xyz[0], xyz[1], xyz[2])));
            progress_.item(i);
        }
        return true;
    }

    bool readFaces(const Header& header, PolygonStorage& storage)
    {
        const long long vertexCount = header.vertices.value;
        storage.Polygons.reserve(static_cast<std::size_t>(header.faces.value));
        progress_.startSection(header.faces.value);
        std::string_view token;
        for (long long i = 0; i < header.faces.value; ++i) {
            lines_.beginLine();
            long long n = 0;
            if (!lines_.token(token) || parseLong(token, n) != ParseResult::Ok || n < 0) {
                error(lines_.lineNumber(), "a face line must begin with its number of vertices");
                return false;
            }
            VertexIDList& polygon = storage.Polygons.emplace_back();
            for (long long k = 0; k < n; ++k) {
                if (!lines_.token(token)) {
                    error(lines_.lineNumber(), "the face has fewer vertex indices than its count %lld", n);
                    return false;
                }
                long long index = -1;
                if (parseLong(token, index) != ParseResult::Ok || index < 0 || index >= vertexCount) {
                    error(lines_.lineNumber(), "vertex index %.*s is outside 0 .. %lld",
                          static_cast<int>(token.size()), token.data(), vertexCount - 1);
                    return false;
                }
                polygon.push_back(static_cast<std::int32_t>(index));
            }
            lines_.endLine();
            if (header.reverseFaces)
                std::reverse(polygon.begin(), polygon.end());
            progress_.item(i);
        }
        return true;
    }

    // "<file>: <text>" or "<file>, line <n>: <text>" as an error.
    __attribute__((format(printf, 3, 4))) void error(long long lineNumber, const char* format, ...)
    {
        char text[1000];
        int length = lineNumber > 0 ? std::snprintf(text, sizeof text, "%s, line %lld: ", fileName_, lineNumber)
                                    : std::snprintf(text, sizeof text, "%s: ", fileName_);
        if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
            va_list args;
            va_start(args, format);
            std::vsnprintf(text + length, sizeof text - static_cast<std::size_t>(length), format, args);
            va_end(args);
        }
        reportError(status_, text);
    }

    const char* fileName_;
    LineReader lines_;
    StatusOutput* status_;
    ImportProgress progress_;
};

void reportBoundingBox(PolygonStorage& storage, StatusOutput* status)
{
    storage.computeBoundingBox();
    if (!status)
        return;
    const vec3& lo = storage.bboxMin;
    const vec3& hi = storage.bboxMax;
    vec3 size = hi - lo;
    status->printMessage(
        formatGeneral("Mesh Bounding Box (%g|%g|%g) - (%g|%g|%g)", {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}).c_str());
    status->printMessage(formatGeneral("Mesh Size (%g|%g|%g)", {size.x, size.y, size.z}).c_str());
}

}  // namespace

bool PolygonStorageImportPLY::import(const char* fileName, PolygonStorage& storage)
{
    if (status) {
        status->beginStage("Importing");
        status->printMessage(fileName);
    }
    MappedFile file;
    if (!file.open(fileName)) {
        const std::string text = std::string("Cannot open the input file ") + fileName;
        reportError(status, text.c_str());
        return false;
    }
    return readText(fileName, file.text(), storage);
}

bool PolygonStorageImportPLY::importText(const char* name, std::string_view text, PolygonStorage& storage)
{
    if (status) {
        status->beginStage("Importing");
        status->printMessage(name);
    }
    return readText(name, text, storage);
}

bool PolygonStorageImportPLY::readText(const char* name, std::string_view text, PolygonStorage& storage)
{
    storage.clear();
    PlyParser parser(name, text, status);
    if (!parser.parse(storage)) {
        storage.clear();
        return false;
    }
    if (storage.Vertices.empty() || storage.Polygons.empty()) {
        const std::string message = std::string(name) + " holds no mesh: it has no vertices or no faces";
        reportError(status, message.c_str());
        storage.clear();
        return false;
    }
    reportBoundingBox(storage, status);
    storage.buildVIndex();
    if (status)
        status->setProgress(90);
    storage.computeMidpoints();
    if (status)
        status->setProgress(95);
    storage.computeVertexNormals();
    if (status)
        status->endStage();
    return true;
}

}  // namespace voxquad
