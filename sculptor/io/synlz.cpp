#include "io/synlz.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

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
inline size_t MatchTail(const uint8_t* from, const uint8_t* ip, size_t tmax) {
  size_t t = 1;
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

  // Counts one item; when 32 are done, stores the word and reserves the next at `out`.
  inline uint8_t* Next(uint8_t* out) {
    if (++used < 32) return out;
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
    uint32_t cache;  // the 4 bytes at that position
  };
  Slot table[kHashSize];
  for (Slot& s : table) s = {std::numeric_limits<int32_t>::max(), 0};

  ControlWord cw{out};
  out += 4;
  size_t p = 0;
  if (n >= kMatchScanEnd) {
    const size_t scanEnd = n - kMatchScanEnd;
    while (p <= scanEnd) {
      const uint32_t v = Load32(src + p);
      const uint32_t h = HashOf(v);
      Slot& slot = table[h];
      const int32_t o = slot.offset;
      const uint32_t changed = v ^ slot.cache;
      slot = {static_cast<int32_t>(p), v};
      if ((changed & 0xFFFFFF) == 0 && static_cast<int64_t>(p) - o > 2) {
        cw.bits |= 1u << cw.used;
        const size_t tmax = std::min(n - p - 3, kLongestMatchTail);
        const size_t t = MatchTail(src + o + 2, src + p + 2, tmax);
        p += t + 2;
        if (t <= 15) {
          Store16(out, static_cast<uint32_t>(t) | (h << 4));
          out += 2;
        } else {
          Store16(out, h << 4);
          out[2] = static_cast<uint8_t>(t - 16);
          out += 3;
        }
      } else {
        *out++ = src[p++];
      }
      out = cw.Next(out);
    }
  }
  while (p < n) {
    *out++ = src[p++];
    out = cw.Next(out);
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

// The decoder's copy of the compressor's offset table. Positions are entered
// once their first three bytes are out, lagging three bytes behind literals.
class DecoderHashes {
 public:
  static constexpr uint32_t kUnset = 0xFFFFFFFF;

  explicit DecoderHashes(const uint8_t* out) : out_(out) { std::fill(std::begin(offset_), std::end(offset_), kUnset); }

  uint32_t Source(uint32_t h) const { return offset_[h]; }

  // Enters every position after the last one entered, up to `upTo` (inclusive).
  inline void EnterUpTo(ptrdiff_t upTo) {
    ptrdiff_t pos = last_ + 1;
    if (pos > upTo) return;
    if (pos == 0) {
      Enter(0, static_cast<uint32_t>(out_[0] | (out_[1] << 8) | (out_[2] << 16)));
      ++pos;
    }
    // The 4 bytes before pos + 3 are all written; shifting drops the first.
    for (; pos <= upTo; ++pos) Enter(pos, Load32(out_ + pos - 1) >> 8);
    last_ = upTo;
  }
  void SkipTo(ptrdiff_t last) { last_ = last; }

 private:
  inline void Enter(ptrdiff_t pos, uint32_t v) { offset_[HashOf(v)] = static_cast<uint32_t>(pos); }

  const uint8_t* out_;
  ptrdiff_t last_ = -1;
  uint32_t offset_[kHashSize];
};

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
    unsigned bit = 0;
    while (bit < 32) {
      const uint32_t rest = cw >> bit;
      if ((rest & 1) == 0) {
        // A run of literals: up to the next set bit, the end of the group or of the input.
        const size_t run = rest == 0 ? 32 - bit : static_cast<size_t>(std::countr_zero(rest));
        const size_t k = std::min(run, static_cast<size_t>(end - ip));
        if (k > size - op) return false;
        std::memcpy(dst + op, ip, k);
        ip += k;
        op += k;
        bit += static_cast<unsigned>(k);
        if (ip >= end) return op == size;
        hashes.EnterUpTo(static_cast<ptrdiff_t>(op) - 3);
      } else {
        if (end - ip < 2) return false;
        const uint32_t w = Load16(ip);
        ip += 2;
        size_t t = (w & 15) + 2;
        if (t == 2) {
          if (ip >= end) return false;
          t = static_cast<size_t>(*ip++) + 18;
        }
        const uint32_t from = hashes.Source(w >> 4);
        if (from == DecoderHashes::kUnset || t > size - op) return false;
        if (op - from < t) {
          for (size_t i = 0; i < t; ++i) dst[op + i] = dst[from + i];  // overlapping: repeats the pattern
        } else {
          std::memcpy(dst + op, dst + from, t);
        }
        if (ip >= end) return op + t == size;
        hashes.EnterUpTo(static_cast<ptrdiff_t>(op));
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
