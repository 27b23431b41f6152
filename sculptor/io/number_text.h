// Numbers in model files, independent of the user's locale: the point is always
// written, and a reader accepts a point or a comma as the decimal separator.
#pragma once

#include <cstddef>
#include <cstdint>

// Longest text FormatFixed10 writes (sign, 39 integer digits, point, 10 decimals).
inline constexpr size_t kFixed10MaxChars = 64;

// Writes `value` as printf("%.10f") does in the "C" locale (fixed point, ten
// decimals, correctly rounded); returns the end of the text. `out` needs
// kFixed10MaxChars bytes.
char* FormatFixed10(char* out, float value);

// Longest text FormatShortest writes.
inline constexpr size_t kShortestMaxChars = 24;

// Writes the shortest decimal that reads back as exactly `value` (fixed or
// exponent form, whichever is shorter); returns the end of the text.
char* FormatShortest(char* out, float value);

// Writes the decimal of `value`; returns the end of the text (20 bytes suffice).
char* FormatInteger(char* out, int64_t value);

// Parses the whole of [first, last) as a decimal float: optional sign, digits
// with one optional separator ("." or ","), optional exponent. Values beyond
// the float range, "inf", "nan" and anything else fail. Exact (correctly
// rounded) for every input.
bool ParseFloat(const char* first, const char* last, float& value);

// The same for the number at the start of [first, last): returns its end (the
// caller checks what follows), or nullptr when no valid number starts there.
const char* ParseFloatPrefix(const char* first, const char* last, float& value);

// Parses the whole of [first, last) as an optionally signed decimal int32.
bool ParseInt32(const char* first, const char* last, int32_t& value);
