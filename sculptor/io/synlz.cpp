#include "io/synlz.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#if defined(__x86_64__)  // SSE2 and 64-bit lane moves
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "SynLZ blocks are little-endian");

namespace {

constexpr size_t kHashSize = 4096;
constexpr size_t kLongestMatchTail = 271;  // t of a 273-byte match
constexpr size_t kMatchScanEnd = 11;       // matches are searched while 11 bytes remain

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}
inline uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void Store16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// Hash of the bytes starting at a position; only the low 24 bits of v count.
inline uint32_t HashOf(uint32_t v) { return ((v >> 12) ^ v) & (kHashSize - 1); }

uint8_t* WriteHeader(size_t n, uint8_t* out) {
  if (n < 0x8000) {
    Store16(out, static_cast<uint32_t>(n));
    return out + 2;
  }
  Store16(out, static_cast<uint32_t>((n & 0x7FFF) | 0x8000));
  Store16(out + 2, static_cast<uint32_t>(n >> 15));
  return out + 4;
}

// Length tail t of the match of ip against the earlier `from` (both past their
// first two bytes): the first t >= 1 at which the bytes differ, at most tmax.
inline size_t MatchTail(const uint8_t* from, const uint8_t* ip, size_t t, size_t tmax) {
  while (t + 8 <= tmax) {
    const uint64_t diff = Load64(from + t) ^ Load64(ip + t);
    if (diff != 0) return t + static_cast<size_t>(std::countr_zero(diff) >> 3);
    t += 8;
  }
  while (t < tmax && from[t] == ip[t]) ++t;
  return t;
}

// Control words are kept in a register and stored when their group is full.
struct ControlWord {
  uint8_t* slot;
  uint32_t bits = 0;
  unsigned used = 0;

  unsigned left() const { return 32 - used; }
  void MarkMatch() { bits |= 1u << used; }
  // Counts k items (at most left()); when the group is full, stores the word
  // and reserves the next one at `out`.
  inline uint8_t* Count(unsigned k, uint8_t* out) {
    used += k;
    if (used < 32) return out;
    Store32(slot, bits);
    slot = out;
    bits = 0;
    used = 0;
    return out + 4;
  }
};

}  // namespace

size_t SynLZCompress(const uint8_t* src, size_t n, uint8_t* dst) {
  uint8_t* out = WriteHeader(n, dst);
  if (n == 0) return 2;

  struct Slot {
    int32_t offset;  // last position with this hash; INT32_MAX = none (never more than 2 back)
    uint32_t cache;  // bytes 1 .. 4 at that position
  };
  // Two positions of one hash whose bytes 1 and 2 agree agree in byte 0 too
  // (the hash is byte 0 and the low nibble of byte 1 xor the next 12 bits),
  // so the cache tells a 3-byte match and also whether bytes 3 and 4 go on:
  // most matches get their length without reading the earlier position.
  Slot table[kHashSize];
  for (Slot& s : table) s = {std::numeric_limits<int32_t>::max(), 0};

  ControlWord cw{out};
  out += 4;
  uint8_t* const outEnd = dst + SynLZCompressBound(n);
  size_t p = 0;
  if (n >= kMatchScanEnd) {
    const size_t scanEnd = n - kMatchScanEnd;
    uint64_t v = Load64(src);  // the bytes at p; only the low five are used
    while (p <= scanEnd) {
      // Look at positions until a match or the end of the group: the literals
      // before it are then copied at once.
      const size_t limit = std::min<size_t>(cw.left(), scanEnd - p + 1);
      size_t k = 0;
      int32_t o = 0;
      uint32_t h = 0;
      uint32_t changed = 0;
      for (;;) {
        h = HashOf(static_cast<uint32_t>(v));
        Slot& slot = table[h];
        o = slot.offset;
        const uint32_t next = static_cast<uint32_t>(v >> 8);
        changed = next ^ slot.cache;
        slot = {static_cast<int32_t>(p + k), next};
        if ((changed & 0xFFFF) == 0 && static_cast<int64_t>(p + k) - o > 2) break;
        if (++k == limit) break;
        v = Load64(src + p + k);
      }
      if (p + 32 <= n && out + 32 <= outEnd) {
        std::memcpy(out, src + p, 32);  // fixed size: cheaper than copying exactly k
      } else {
        std::memcpy(out, src + p, k);
      }
      out = cw.Count(static_cast<unsigned>(k), out + k);
      p += k;
      if (k == limit) {
        if (p <= scanEnd) v = Load64(src + p);
        continue;
      }
      cw.MarkMatch();  // k < left(): the group goes on with the match
      // A 4-byte match is the most common: its successor's bytes are read
      // before its length is known.
      const uint64_t afterFour = Load64(src + p + 3) >> 8;
      const uint32_t beyond = changed >> 16;
      const size_t t = beyond != 0 ? 1 + (std::countr_zero(beyond) >> 3)
                                   : MatchTail(src + o + 2, src + p + 2, 3, std::min(n - p - 3, kLongestMatchTail));
      if (t <= 15) {
        Store16(out, static_cast<uint32_t>(t) | (h << 4));
        out += 2;
      } else {
        Store16(out, h << 4);
        out[2] = static_cast<uint8_t>(t - 16);
        out += 3;
      }
      out = cw.Count(1, out);
      p += t + 2;
      if (t == 2) {
        v = afterFour;
      } else if (p <= scanEnd) {
        v = Load64(src + p);
      }
    }
  }
  while (p < n) {
    *out++ = src[p++];
    out = cw.Count(1, out);
  }
  Store32(cw.slot, cw.bits);
  return static_cast<size_t>(out - dst);
}

std::optional<size_t> SynLZDecompressedSize(const uint8_t* block, size_t m) {
  if (m < 2) return std::nullopt;
  const size_t low = Load16(block);
  if ((low & 0x8000) == 0) return low;
  if (m < 4) return std::nullopt;
  const size_t size = (low & 0x7FFF) | (static_cast<size_t>(Load16(block + 2)) << 15);
  if (size / 91 > m) return std::nullopt;
  return size;
}

namespace {

// The decoder's copy of the compressor's offset table. The compressor enters
// every position it looks at; the decoder enters the same positions, but only
// when a match needs the table: then every position whose first three bytes
// were out before the match (the compressor's p - o > 2), and after the copy
// the rest up to the match start, whose hash is the one the match names (so
// the next match does not wait for the copied bytes to be hashed). Match
// interiors are skipped, as the compressor jumps over them. Entering whole
// literal spans at once lets the hashes be computed sixteen at a time.
class DecoderHashes {
 public:
  static constexpr uint32_t kUnset = 0xFFFFFFFF;

  explicit DecoderHashes(const uint8_t* out) : out_(out) { std::fill(std::begin(offset_), std::end(offset_), kUnset); }

  uint32_t Source(uint32_t h) const { return offset_[h]; }

  // Enters every position after the last one entered, up to `upTo` (inclusive);
  // the three bytes from `upTo` on must be out.
  inline void EnterUpTo(ptrdiff_t upTo) {
    ptrdiff_t pos = last_ + 1;
    if (pos > upTo) return;
    last_ = upTo;
#if defined(__x86_64__)
    if (pos + 15 <= upTo) pos = EnterSixteens(pos, upTo);
#endif
    for (; pos <= upTo; ++pos) {
      const uint8_t* b = out_ + pos;
      offset_[HashOf(b[0] | (b[1] << 8) | (b[2] << 16))] = static_cast<uint32_t>(pos);
    }
  }
  void SkipTo(ptrdiff_t last) { last_ = last; }
  // Enters position `pos`, the next one, whose hash is known.
  void Enter(uint32_t h, ptrdiff_t pos) {
    offset_[h] = static_cast<uint32_t>(pos);
    last_ = pos;
  }

 private:
#if defined(__x86_64__)
  // hash = b0 ^ (b1 & 15) << 8 ^ b1 >> 4 ^ b2 << 4 for the bytes b0 b1 b2 at each position.
  static inline __m128i HashLanes(__m128i b0, __m128i b1, __m128i b2) {
    const __m128i lowNibble = _mm_set1_epi16(15);
    const __m128i h = _mm_xor_si128(b0, _mm_slli_epi16(_mm_and_si128(b1, lowNibble), 8));
    return _mm_xor_si128(h, _mm_xor_si128(_mm_srli_epi16(b1, 4), _mm_slli_epi16(b2, 4)));
  }
  // Sixteen at a time from `pos` while they end by `upTo`; returns the next
  // position. Kept out of line: the match loop stays small for dense matches.
  [[gnu::noinline]] ptrdiff_t EnterSixteens(ptrdiff_t pos, ptrdiff_t upTo) {
    for (; pos + 15 <= upTo; pos += 16) EnterSixteen(pos);
    return pos;
  }
  inline void EnterSixteen(ptrdiff_t pos) {
    const uint8_t* b = out_ + pos;
    const __m128i zero = _mm_setzero_si128();
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 1));
    const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 2));
    const __m128i low =
        HashLanes(_mm_unpacklo_epi8(x, zero), _mm_unpacklo_epi8(y, zero), _mm_unpacklo_epi8(z, zero));
    const __m128i high =
        HashLanes(_mm_unpackhi_epi8(x, zero), _mm_unpackhi_epi8(y, zero), _mm_unpackhi_epi8(z, zero));
    const uint32_t p = static_cast<uint32_t>(pos);
    // In order: later positions win.
    EnterFour(static_cast<uint64_t>(_mm_cvtsi128_si64(low)), p);
    EnterFour(static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(low, low))), p + 4);
    EnterFour(static_cast<uint64_t>(_mm_cvtsi128_si64(high)), p + 8);
    EnterFour(static_cast<uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(high, high))), p + 12);
  }
  // Four 16-bit hashes, the first in the low bits, for positions p .. p + 3.
  inline void EnterFour(uint64_t hashes, uint32_t p) {
    offset_[hashes & 0xFFFF] = p;
    offset_[(hashes >> 16) & 0xFFFF] = p + 1;
    offset_[(hashes >> 32) & 0xFFFF] = p + 2;
    offset_[hashes >> 48] = p + 3;
  }
#endif

  const uint8_t* out_;
  ptrdiff_t last_ = -1;
  uint32_t offset_[kHashSize];
};

// Copies a match of t bytes from `from`, `distance` bytes back; overlapping
// copies repeat the pattern as a forward byte copy would. With `room` bytes
// writable at `to`, whole chunks may run past the match: later items
// overwrite them. A chunk no longer than the distance reads only bytes
// already out.
inline void CopyMatch(uint8_t* to, const uint8_t* from, size_t distance, size_t t, size_t room) {
  // Short matches, the most common, move one word no wider than they need:
  // a narrow load is more often served whole from the store that wrote it.
  if (t <= 4 && distance >= 4 && room >= 4) {
    std::memcpy(to, from, 4);
    return;
  }
  if (t <= 8 && distance >= 8 && room >= 8) {
    std::memcpy(to, from, 8);
    return;
  }
  if (distance >= 16 && room >= t + 16) {
    for (size_t i = 0; i < t; i += 16) std::memcpy(to + i, from + i, 16);
    return;
  }
  if (distance >= 8 && room >= t + 8) {
    for (size_t i = 0; i < t; i += 8) std::memcpy(to + i, from + i, 8);
    return;
  }
  if (distance >= t) {
    std::memcpy(to, from, t);
    return;
  }
  for (size_t i = 0; i < t; ++i) to[i] = from[i];
}

}  // namespace

bool SynLZDecompress(const uint8_t* block, size_t m, uint8_t* dst, size_t size) {
  const std::optional<size_t> stated = SynLZDecompressedSize(block, m);
  if (!stated || *stated != size) return false;
  if (size == 0) return true;

  const uint8_t* ip = block + (size < 0x8000 ? 2 : 4);
  const uint8_t* const end = block + m;
  DecoderHashes hashes(dst);
  size_t op = 0;
  for (;;) {
    if (end - ip < 4) return false;
    const uint32_t cw = Load32(ip);
    ip += 4;
    if (ip >= end) break;
    if (cw == 0 && end - ip >= 32 && size - op >= 32) {
      std::memcpy(dst + op, ip, 32);  // a group of literals only
      ip += 32;
      op += 32;
      if (ip >= end) break;
      continue;
    }
    unsigned bit = 0;
    while (bit < 32) {
      const uint32_t rest = cw >> bit;
      if ((rest & 1) == 0) {
        // A run of literals: up to the next set bit, the end of the group or of the input.
        const size_t run = rest == 0 ? 32 - bit : static_cast<size_t>(std::countr_zero(rest));
        const size_t k = std::min(run, static_cast<size_t>(end - ip));
        if (k > size - op) return false;
        if (end - ip >= 32 && size - op >= 32) {
          std::memcpy(dst + op, ip, 32);  // fixed size; the bytes past k are overwritten later
        } else {
          std::memcpy(dst + op, ip, k);
        }
        ip += k;
        op += k;
        bit += static_cast<unsigned>(k);
        if (ip >= end) return op == size;
      } else {
        if (end - ip < 2) return false;
        const uint32_t w = Load16(ip);
        ip += 2;
        size_t t = (w & 15) + 2;
        if (t == 2) {
          if (ip >= end) return false;
          t = static_cast<size_t>(*ip++) + 18;
        }
        hashes.EnterUpTo(static_cast<ptrdiff_t>(op) - 3);
        const uint32_t from = hashes.Source(w >> 4);
        if (from == DecoderHashes::kUnset || t > size - op) return false;
        CopyMatch(dst + op, dst + from, op - from, t, size - op);
        if (ip >= end) return op + t == size;
        // The two positions before the match start can be hashed now; the
        // start's own hash is the one the match names.
        hashes.EnterUpTo(static_cast<ptrdiff_t>(op) - 1);
        hashes.Enter(w >> 4, static_cast<ptrdiff_t>(op));
        op += t;
        hashes.SkipTo(static_cast<ptrdiff_t>(op) - 1);
        ++bit;
      }
    }
  }
  return op == size;
}

std::vector<uint8_t> SynLZCompress(std::span<const uint8_t> src) {
  std::vector<uint8_t> out(SynLZCompressBound(src.size()));
  out.resize(SynLZCompress(src.data(), src.size(), out.data()));
  return out;
}

std::optional<std::vector<uint8_t>> SynLZDecompress(std::span<const uint8_t> block) {
  const std::optional<size_t> size = SynLZDecompressedSize(block.data(), block.size());
  if (!size) return std::nullopt;
  std::vector<uint8_t> out(*size);
  if (!SynLZDecompress(block.data(), block.size(), out.data(), out.size())) return std::nullopt;
  return out;
}
