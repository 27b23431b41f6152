#include "text_numbers.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace voxquad {

namespace {

void padLeft(std::string& out, std::size_t begin, int width)
{
    std::size_t length = out.size() - begin;
    if (width > 0 && length < static_cast<std::size_t>(width))
        out.insert(begin, static_cast<std::size_t>(width) - length, ' ');
}

template <typename... Format>
void appendDouble(std::string& out, double value, int width, Format... format)
{
    char buffer[400];  // the longest "%f" of a double has 309 digits before the point
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format...);
    std::size_t begin = out.size();
    out.append(buffer, result.ptr);
    padLeft(out, begin, width);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view skipBlanks(std::string_view token)
{
    std::size_t i = 0;
    while (i < token.size() && isBlank(token[i]))
        ++i;
    return token.substr(i);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void appendFixed(std::string& out, double value)
{
    appendDouble(out, value, 0, std::chars_format::fixed, 6);
}

void appendGeneral(std::string& out, double value, int width)
{
    appendDouble(out, value, width, std::chars_format::general, 6);
}

void appendInt(std::string& out, long long value, int width)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::size_t begin = out.size();
    out.append(buffer, result.ptr);
    padLeft(out, begin, width);
}

std::string formatGeneral(const char* pattern, std::initializer_list<double> values)
{
    std::string out;
    auto next = values.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 'g' && next != values.end()) {
            appendGeneral(out, *next++);
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

ParseResult parseLong(std::string_view token, long long& value)
{
    value = 0;
    token = skipBlanks(token);
    if (token.size() >= 2 && token[0] == '+' && isDigit(token[1]))
        token.remove_prefix(1);
    auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return ParseResult::OutOfRange;
    if (result.ec != std::errc())
        return ParseResult::NoNumber;
    return ParseResult::Ok;
}

double parseDouble(std::string_view token)
{
    token = skipBlanks(token);
    if (token.size() >= 2 && token[0] == '+' && (isDigit(token[1]) || token[1] == '.'))
        token.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        bool negative = !token.empty() && token[0] == '-';
        std::size_t e = token.find_first_of("eE");
        bool tiny = e != std::string_view::npos && e + 1 < token.size() && token[e + 1] == '-';
        double huge = std::numeric_limits<double>::infinity();
        return tiny ? (negative ? -0.0 : 0.0) : (negative ? -huge : huge);
    }
    return result.ec == std::errc() ? value : 0.0;
}

}  // namespace voxquad
