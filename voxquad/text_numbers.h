#pragma once
#include <cstdint>
#include <string>
#include <initializer_list>
#include <string_view>

namespace voxquad {

// Locale-independent number text, matching the C library's "%f", "%g" and atol/atof.

// Appends value as printf("%f") would (six decimals).
void appendFixed(std::string& out, double value);
// Appends value as printf("%*g", width) would in the "C" locale (six significant digits).
void appendGeneral(std::string& out, double value, int width = 0);
// Appends value as printf("%*d", width).
void appendInt(std::string& out, long long value, int width = 0);
// printf-like "%g" formatting of up to six values into the pattern's "%g" slots.
std::string formatGeneral(const char* pattern, std::initializer_list<double> values);

enum class ParseResult { Ok, NoNumber, OutOfRange };

// The leading decimal integer of token (an optional sign, then digits), as atol reads it after
// leading blanks. NoNumber leaves value 0.
ParseResult parseLong(std::string_view token, long long& value);
// The leading floating-point number of token, as atof reads it; 0 when none.
double parseDouble(std::string_view token);

}  // namespace voxquad
