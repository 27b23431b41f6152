#include "io/image_bmp.h"

#include <gtest/gtest.h>

#include "io/image_test_files.h"

// Rows keep their padding to 4 bytes (widths 1..5 cover every remainder),
// top-down files come out the right way up, and the pixels are found where
// the file header puts them.
TEST(ImageBmp, Reads24BitRowsWithPadding) {
  for (int width = 1; width <= 5; ++width) {
    for (int height : {3, -3}) {
      const TImageLoad load = DecodeBmp(MakeBmp(width, height));
      ASSERT_TRUE(load.ok) << width << " x " << height;
      EXPECT_EQ(load.image.width, width);
      EXPECT_EQ(load.image.height, 3);
      EXPECT_EQ(load.image.channels, 3);
      EXPECT_EQ(load.image.pixels, ExpectedPixels(width, 3, 3)) << width << " x " << height;
    }
  }
  const TImageLoad longHeader = DecodeBmp(MakeBmp(3, 2, 84));
  ASSERT_TRUE(longHeader.ok);
  EXPECT_EQ(longHeader.image.pixels, ExpectedPixels(3, 2, 3));
}

TEST(ImageBmp, RefusesWhatItCannotRead) {
  auto with = [](Bytes b, size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) b[at + static_cast<size_t>(k)] = static_cast<uint8_t>(value >> (8 * k));
    return b;
  };
  const Bytes good = MakeBmp(4, 4);
  Bytes truncated = good;
  truncated.resize(truncated.size() - 1);
  Bytes eightBit = good;
  eightBit[28] = 8;
  Bytes notBitmap = good;
  notBitmap[0] = 'P';
  const std::pair<Bytes, const char*> cases[] = {
      {truncated, "Error reading bitmap data"},
      {with(good, 18, 0x7FFFFFFF), "Error reading bitmap data"},  // sizes far past the file
      {with(good, 22, 0x80000000), "Error reading bitmap data"},
      {with(good, 18, 0), "Error reading bitmap data"},
      {eightBit, "Error reading bitmap data"},
      {with(good, 30, 1), "Error reading bitmap data"},  // compressed
      {notBitmap, "Error reading bitmap data"},
      {Bytes(good.begin(), good.begin() + 30), "Error reading bitmap data"},
      {with(good, 46, 1000), "Error reading palette"},
  };
  for (const auto& [file, text] : cases) {
    const TImageLoad load = DecodeBmp(file);
    EXPECT_FALSE(load.ok);
    EXPECT_EQ(load.failure.text, text);
    EXPECT_EQ(load.failure.caption, "BMP Unit");
    EXPECT_TRUE(load.image.pixels.empty());
  }
}

// Every truncation of a file is refused (under the address sanitizer this also
// shows that no read passes the end).
TEST(ImageBmp, EveryTruncationIsRefused) {
  const Bytes file = MakeBmp(5, 3, 8);
  for (size_t size = 0; size < file.size(); ++size) {
    const TImageLoad load = DecodeBmp(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
    EXPECT_FALSE(load.ok) << size;
    EXPECT_EQ(load.failure.caption, "BMP Unit") << size;
  }
}
