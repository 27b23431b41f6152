#include "io/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr uint64_t kTenPow10 = 10000000000ull;

// Exactly representable powers of ten (10^22 is the last one a double holds).
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

char* WriteDigits(char* out, uint64_t value, int minDigits) {
  char digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n < minDigits) digits[n++] = '0';
  while (n > 0) *out++ = digits[--n];
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The token split into its parts; separators and exponent already validated.
struct DecimalParts {
  bool negative = false;
  uint64_t mantissa = 0;  // significant digits, valid when digitCount <= 19
  int digitCount = 0;     // significant digits (leading zeros skipped)
  int fractionDigits = 0;
  bool hasExponent = false;
};

// Splits the number at the start of [p, last); returns its end, or nullptr
// when no number starts there.
const char* SplitDecimal(const char* p, const char* last, DecimalParts& parts) {
  if (p < last && (*p == '+' || *p == '-')) parts.negative = *p++ == '-';
  bool anyDigit = false, separatorSeen = false;
  for (; p < last; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      anyDigit = true;
      if (separatorSeen) ++parts.fractionDigits;
      if (parts.digitCount == 0 && c == '0') continue;
      if (++parts.digitCount <= 19) parts.mantissa = parts.mantissa * 10 + static_cast<uint64_t>(c - '0');
    } else if ((c == '.' || c == ',') && !separatorSeen) {
      separatorSeen = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return nullptr;
  if (p == last || (*p != 'e' && *p != 'E')) return p;
  ++p;
  if (p < last && (*p == '+' || *p == '-')) ++p;
  if (p == last || !IsDigit(*p)) return nullptr;
  while (p < last && IsDigit(*p)) ++p;
  parts.hasExponent = true;
  return p;
}

// Correctly rounded conversion of an already validated token by the library.
bool ParseValidatedSlowly(const char* first, const char* last, float& value) {
  std::string text;
  text.reserve(static_cast<size_t>(last - first));
  for (const char* p = first; p < last; ++p) {
    if (*p == '+' && p == first) continue;
    text.push_back(*p == ',' ? '.' : *p);
  }
  const char* begin = text.data();
  const char* end = begin + text.size();
  float f = 0;
  auto [ptr, ec] = std::from_chars(begin, end, f);
  if (ec == std::errc() && ptr == end) {
    value = f;
    return true;
  }
  // Out of float range: too small rounds to zero, too large fails.
  double d = 0;
  auto [dptr, dec] = std::from_chars(begin, end, d);
  if (dec != std::errc() || dptr != end || std::fabs(d) >= 1.0) return false;
  value = std::copysign(0.0f, static_cast<float>(d));
  return true;
}

}  // namespace

char* FormatFixed10(char* out, float value) {
  const uint32_t bits = std::bit_cast<uint32_t>(value);
  const uint32_t biased = (bits >> 23) & 0xFF;
  uint64_t m = bits & 0x7FFFFF;
  int shift = 149;  // value = m / 2^shift
  if (biased != 0) {
    m |= 0x800000;
    shift = 150 - static_cast<int>(biased);
  }
  if (shift < 0 || biased == 0xFF) {
    // |value| >= 2^24, infinity or NaN: rare in models, left to the library.
    auto result = std::to_chars(out, out + kFixed10MaxChars, value, std::chars_format::fixed, 10);
    return result.ptr;
  }
  // round(m * 10^10 / 2^shift), halves to even, in 64-bit integers (m < 2^24).
  const uint64_t scaled = m * kTenPow10;
  uint64_t q = 0;
  if (shift == 0) {
    q = scaled;
  } else if (shift < 63) {
    q = scaled >> shift;
    const uint64_t remainder = scaled & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (remainder > half || (remainder == half && (q & 1))) ++q;
  }
  if (bits >> 31) *out++ = '-';
  out = WriteDigits(out, q / kTenPow10, 1);
  *out++ = '.';
  return WriteDigits(out, q % kTenPow10, 10);
}

char* FormatShortest(char* out, float value) { return std::to_chars(out, out + kShortestMaxChars, value).ptr; }

char* FormatInteger(char* out, int64_t value) {
  if (value < 0) {
    *out++ = '-';
    return WriteDigits(out, 0 - static_cast<uint64_t>(value), 1);
  }
  return WriteDigits(out, static_cast<uint64_t>(value), 1);
}

const char* ParseFloatPrefix(const char* first, const char* last, float& value) {
  DecimalParts parts;
  const char* end = SplitDecimal(first, last, parts);
  if (!end) return nullptr;
  // Fast path (Clinger): an exact integer divided by an exact power of ten is
  // correctly rounded as a double; rounding that to float is exact unless the
  // double lies on a midpoint between two floats.
  if (!parts.hasExponent && parts.digitCount <= 19 && parts.mantissa <= (uint64_t{1} << 53) &&
      parts.fractionDigits <= 22) {
    const double d = static_cast<double>(parts.mantissa) / kExactPow10[parts.fractionDigits];
    const uint64_t dbits = std::bit_cast<uint64_t>(d);
    if (d == 0 || (dbits & 0x1FFFFFFF) != 0x10000000) {
      const float f = static_cast<float>(d);
      value = parts.negative ? -f : f;
      return end;
    }
  }
  return ParseValidatedSlowly(first, end, value) ? end : nullptr;
}

bool ParseFloat(const char* first, const char* last, float& value) {
  float parsed = 0;
  const char* end = ParseFloatPrefix(first, last, parsed);
  if (!end || end != last) return false;
  value = parsed;
  return true;
}

bool ParseInt32(const char* first, const char* last, int32_t& value) {
  const char* p = first;
  bool negative = false;
  if (p < last && (*p == '+' || *p == '-')) negative = *p++ == '-';
  if (p == last) return false;
  int64_t magnitude = 0;
  for (; p < last; ++p) {
    if (!IsDigit(*p)) return false;
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > int64_t{1} << 31) return false;
  }
  const int64_t v = negative ? -magnitude : magnitude;
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min()) return false;
  value = static_cast<int32_t>(v);
  return true;
}
