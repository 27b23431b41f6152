#include "io/image_tga.h"

#include <gtest/gtest.h>

#include "io/image_test_files.h"

namespace {

// Uncompressed test picture, rows bottom-up unless `topOrigin`.
Bytes MakeTga(int bits, int width, int height, bool topOrigin = false, uint8_t idBytes = 0) {
  Bytes b = TgaHeader(2, bits, width, height, idBytes, topOrigin ? 0x20 : 0);
  for (int r = 0; r < height; ++r) {
    for (int x = 0; x < width; ++x) PutTgaPixel(b, x, topOrigin ? height - 1 - r : r, bits / 8);
  }
  return b;
}

// Run-length picture of 3 x 2: row 0 of the test picture as one raw packet,
// then a run of two of row 1's first pixel and a raw packet of its last.
Bytes MakeRleTga(int bits) {
  const int bytes = bits / 8;
  Bytes b = TgaHeader(10, bits, 3, 2);
  b.push_back(2);
  for (int x = 0; x < 3; ++x) PutTgaPixel(b, x, 0, bytes);
  b.push_back(129);
  PutTgaPixel(b, 0, 1, bytes);
  b.push_back(0);
  PutTgaPixel(b, 2, 1, bytes);
  return b;
}

}  // namespace

TEST(ImageTga, ReadsTrueColourPlainAndRunLength) {
  for (int bits : {24, 32}) {
    const int channels = bits / 8;
    for (const Bytes& file : {MakeTga(bits, 3, 2), MakeTga(bits, 3, 2, true, 5)}) {
      const TImageLoad load = DecodeTga(file, "a.tga");
      ASSERT_TRUE(load.ok) << bits;
      EXPECT_EQ(load.image.channels, channels);
      EXPECT_EQ(load.image.pixels, ExpectedPixels(3, 2, channels)) << bits;
    }
    const TImageLoad rle = DecodeTga(MakeRleTga(bits), "b.tga");
    ASSERT_TRUE(rle.ok) << bits;
    Bytes expected = ExpectedPixels(3, 2, channels);
    for (int k = 0; k < channels; ++k) expected[static_cast<size_t>(4 * channels + k)] = Channel(0, 1, k);
    EXPECT_EQ(rle.image.pixels, expected) << bits;
  }
}

// A packet reaching past the last pixel is cut there: the image is complete
// and nothing past it is written.
TEST(ImageTga, PacketsStopAtTheEndOfTheImage) {
  for (uint8_t header : {uint8_t{255}, uint8_t{9}}) {  // a run of 128, a raw packet of 10
    Bytes b = TgaHeader(10, 24, 2, 2);
    b.push_back(header);
    const int pixels = header > 127 ? 1 : 4;  // a raw packet cut at the image holds only what is used
    for (int i = 0; i < pixels; ++i) PutTgaPixel(b, 1, 1, 3);
    const TImageLoad load = DecodeTga(b, "run.tga");
    ASSERT_TRUE(load.ok) << int(header);
    EXPECT_EQ(load.image.pixels.size(), 12u);
    for (size_t i = 0; i < 12; i += 3) EXPECT_EQ(load.image.pixels[i], Channel(1, 1, 0));
  }
}

TEST(ImageTga, RefusesWhatItCannotRead) {
  Bytes shortPlain = MakeTga(24, 3, 2);
  shortPlain.pop_back();
  Bytes shortRle = MakeRleTga(32);
  shortRle.resize(shortRle.size() - 4);
  Bytes huge = TgaHeader(10, 32, 65535, 65535);
  huge.push_back(255);
  PutTgaPixel(huge, 0, 0, 4);
  const std::string grey = "Couldn't load \"x.tga\". Only 24 and 32bit TGA supported.";
  const std::string depth = "Couldn't load \"x.tga\". Only 24 and 32 bit TGA files supported.";
  const std::string shortText = "Couldn't read file \"x.tga\".";
  const std::pair<Bytes, std::string> cases[] = {
      {TgaHeader(3, 8, 2, 2), grey},
      {TgaHeader(1, 8, 2, 2, 0, 0, 1), grey},
      {TgaHeader(2, 24, 2, 2, 0, 0, 1), "Couldn't load \"x.tga\". Colormapped TGA files not supported."},
      {TgaHeader(2, 16, 2, 2), depth},
      {TgaHeader(10, 48, 2, 2), depth},
      {shortPlain, shortText},
      {shortRle, shortText},
      {huge, shortText},  // refused before 16 GiB are allocated
      {TgaHeader(2, 24, 0, 2), shortText},
      {Bytes(10, 0), shortText},
  };
  for (const auto& [file, text] : cases) {
    const TImageLoad load = DecodeTga(file, "x.tga");
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.failure.text, text);
    EXPECT_EQ(load.failure.caption, "TGA File Error");
  }
}

// Every truncation of a file is refused with the short-file text (run under the
// address sanitizer, this also shows that no read passes the end).
TEST(ImageTga, EveryTruncationIsRefused) {
  for (const Bytes& file : {MakeRleTga(24), MakeRleTga(32), MakeTga(24, 3, 2, false, 3)}) {
    for (size_t size = 0; size < file.size(); ++size) {
      const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
      const TImageLoad load = DecodeTga(cut, "t.tga");
      EXPECT_FALSE(load.ok) << size;
      EXPECT_EQ(load.failure.text, "Couldn't read file \"t.tga\".") << size;
    }
  }
}
