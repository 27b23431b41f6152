#include "io/synlz.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The compressor written out item by item, as plainly as the format reads, to
// check the fast one byte for byte on inputs no fixed vector covers.
Bytes ReferenceCompress(const Bytes& in) {
  const size_t n = in.size();
  Bytes out;
  auto put16 = [&](uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  if (n < 32768) {
    put16(uint32_t(n));
    if (n == 0) return out;
  } else {
    put16(uint32_t((n & 32767) | 32768));
    put16(uint32_t(n >> 15));
  }
  std::vector<long> offset(4096, -1);
  std::vector<uint32_t> cache(4096, 0);
  size_t cwAt = out.size();
  out.resize(out.size() + 4, 0);
  int b = 0;
  auto nextItem = [&]() {
    if (b < 31) {
      ++b;
    } else {
      cwAt = out.size();
      out.resize(out.size() + 4, 0);
      b = 0;
    }
  };
  size_t p = 0;
  while (n >= 11 && p <= n - 11) {
    const uint32_t v = in[p] | in[p + 1] << 8 | in[p + 2] << 16 | uint32_t(in[p + 3]) << 24;
    const uint32_t h = ((v >> 12) ^ v) & 4095;
    const long o = offset[h];
    offset[h] = long(p);
    const uint32_t x = v ^ cache[h];
    cache[h] = v;
    if ((x & 0xFFFFFF) == 0 && o >= 0 && long(p) - o > 2) {
      out[cwAt + b / 8] |= uint8_t(1 << (b % 8));
      size_t t = 1;
      const size_t tmax = std::min<size_t>(n - p - 3, 271);
      while (in[o + 2 + t] == in[p + 2 + t] && t < tmax) ++t;
      p += t + 2;
      if (t <= 15) {
        put16(uint32_t(t) | h << 4);
      } else {
        put16(h << 4);
        out.push_back(uint8_t(t - 16));
      }
    } else {
      out.push_back(in[p++]);
    }
    nextItem();
  }
  while (p < n) {
    out.push_back(in[p++]);
    nextItem();
  }
  return out;
}

Bytes RandomBytes(size_t n, uint32_t seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> byte(0, alphabet - 1);
  Bytes b(n);
  for (uint8_t& x : b) x = uint8_t(byte(rng));
  return b;
}

// The bytes of a stroke snapshot of a bumpy sphere: a header, positions and
// normals as float32, then faces as uint32 - the data the compressor meets.
Bytes MeshLikeBytes(size_t n) {
  Bytes b;
  const int rings = 64, segments = 64;
  auto putFloat = [&](float f) {
    uint8_t raw[4];
    std::memcpy(raw, &f, 4);
    b.insert(b.end(), raw, raw + 4);
  };
  for (int i = 0; i < 20; ++i) b.push_back(i % 4 == 0 ? uint8_t(i / 4 + 1) : 0);
  for (int pass = 0; pass < 2 && b.size() < n; ++pass) {
    for (int r = 0; r < rings && b.size() < n; ++r) {
      for (int s = 0; s < segments; ++s) {
        const float th = 3.14159265f * float(r) / rings, ph = 6.2831853f * float(s) / segments;
        const float radius = pass == 0 ? 2.5f + 0.05f * std::sin(7 * th) * std::cos(5 * ph) : 1.0f;
        putFloat(radius * std::sin(th) * std::cos(ph));
        putFloat(radius * std::sin(th) * std::sin(ph));
        putFloat(radius * std::cos(th));
      }
    }
  }
  for (uint32_t t = 0; b.size() < n; ++t) {
    const uint32_t face[3] = {t / 2, t / 2 + 1, t / 2 + segments};
    for (uint32_t v : face)
      for (int k = 0; k < 4; ++k) b.push_back(uint8_t(v >> (8 * k)));
  }
  b.resize(n);
  return b;
}

void ExpectRoundTrip(const Bytes& in, const std::string& what) {
  SCOPED_TRACE(what + ", " + std::to_string(in.size()) + " bytes");
  const Bytes block = SynLZCompress(in);
  ASSERT_LE(block.size(), SynLZCompressBound(in.size()));
  ASSERT_EQ(block, ReferenceCompress(in));
  const std::optional<Bytes> back = SynLZDecompress(block);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, in);
}

}  // namespace

TEST(SynLZ, PublishedVectors) {
  EXPECT_EQ(SynLZCompress(Bytes{}), (Bytes{0x00, 0x00}));

  std::string abc;
  for (int i = 0; i < 100; ++i) abc += "abc";
  EXPECT_EQ(SynLZCompress(FromText(abc)), (Bytes{0x2C, 0x01, 0x18, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63, 0x70, 0x45,
                                                 0xFF, 0x70, 0x45, 0x05, 0x63}));

  // A run of one byte only ever finds its hash one position back: literals only.
  const Bytes run(300, 0x41);
  const Bytes block = SynLZCompress(run);
  EXPECT_EQ(block.size(), 342u);
  for (size_t group = 0; group < 10; ++group) EXPECT_EQ(block[2 + group * 36], 0) << group;
}

TEST(SynLZ, ShortInputsAreLiteralsBehindOneControlWord) {
  for (size_t n = 1; n <= 11; ++n) {
    const Bytes in(n, 7);  // would match if matches were searched this close to the end
    Bytes expected(6 + n, 7);
    std::fill(expected.begin(), expected.begin() + 6, 0);
    expected[0] = uint8_t(n);
    EXPECT_EQ(SynLZCompress(in), expected) << n;
  }
}

TEST(SynLZ, HeaderGrowsToFourBytesFrom32768) {
  const Bytes below = SynLZCompress(Bytes(32767, 1));
  EXPECT_EQ(below[0], 0xFF);
  EXPECT_EQ(below[1], 0x7F);
  const Bytes at = SynLZCompress(Bytes(32768, 1));
  EXPECT_THAT(Bytes(at.begin(), at.begin() + 4), testing::ElementsAre(0x00, 0x80, 0x01, 0x00));
  const Bytes large = SynLZCompress(Bytes(100000, 1));  // 100000 = 3 * 32768 + 1696
  EXPECT_THAT(Bytes(large.begin(), large.begin() + 4), testing::ElementsAre(0xA0, 0x86, 0x03, 0x00));
  EXPECT_EQ(SynLZDecompressedSize(large.data(), large.size()), 100000u);
}

TEST(SynLZ, RoundTripsMatchTheItemByItemCompressor) {
  std::vector<size_t> sizes;
  for (size_t n = 0; n <= 40; ++n) sizes.push_back(n);
  for (size_t n : {63, 64, 65, 300, 1000, 4099, 32766, 32767, 32768, 32769, 65535, 65536, 65537, 250000})
    sizes.push_back(n);
  uint32_t seed = 1;
  for (size_t n : sizes) {
    ExpectRoundTrip(RandomBytes(n, seed++), "random");
    ExpectRoundTrip(RandomBytes(n, seed++, 3), "three-letter random");
    ExpectRoundTrip(MeshLikeBytes(n), "mesh-like");
  }
}

TEST(SynLZ, LongAndOverlappingMatchesRoundTrip) {
  Bytes in;
  for (int i = 0; i < 2000; ++i) in.push_back(uint8_t("xyz"[i % 3]));  // distance-3 overlaps, 273-byte matches
  Bytes noise = RandomBytes(5000, 99);
  in.insert(in.end(), noise.begin(), noise.end());
  in.insert(in.end(), noise.begin(), noise.end());  // one long distant repeat
  in.insert(in.end(), 40, 0);
  ExpectRoundTrip(in, "repeats");
  EXPECT_LT(SynLZCompress(in).size(), in.size() * 3 / 4);
}

TEST(SynLZ, TruncatedBlocksNeverDecodeToWrongData) {
  const Bytes in = MeshLikeBytes(40000);
  const Bytes block = SynLZCompress(in);
  for (size_t m = 0; m < block.size(); m += (m < 100 || m + 300 > block.size()) ? 1 : 17) {
    const Bytes cut(block.begin(), block.begin() + m);
    const std::optional<Bytes> out = SynLZDecompress(cut);
    if (out) {
      EXPECT_EQ(*out, in) << m;  // only a trailing empty control word may go missing unnoticed
    }
  }
}

TEST(SynLZ, CorruptBlocksAreRefusedSafely) {
  const Bytes in = MeshLikeBytes(5000);
  const Bytes block = SynLZCompress(in);
  Bytes out(in.size());

  // Wrong stated size, trailing bytes, a first item that is a match without source.
  EXPECT_FALSE(SynLZDecompress(block.data(), block.size(), out.data(), out.size() - 1));
  Bytes longer = block;
  longer.insert(longer.end(), {0x41, 0x42});
  EXPECT_FALSE(SynLZDecompress(longer));
  EXPECT_FALSE(SynLZDecompress(Bytes{0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x11, 0x00}));
  // A header claiming 2 GB from a few bytes is refused before anything is allocated.
  EXPECT_FALSE(SynLZDecompressedSize(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}.data(), 8).has_value());
  EXPECT_FALSE(SynLZDecompressedSize(Bytes{0x00, 0x80}.data(), 2).has_value());

  // Random damage: any outcome but a crash or an out-of-bounds access (the sanitizer build checks).
  std::mt19937 rng(7);
  for (int trial = 0; trial < 2000; ++trial) {
    Bytes bad = block;
    for (int k = 0; k < 1 + trial % 4; ++k) bad[2 + rng() % (bad.size() - 2)] ^= uint8_t(1 << (rng() % 8));
    (void)SynLZDecompress(bad.data(), bad.size(), out.data(), out.size());
  }
}
