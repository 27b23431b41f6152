#include "sculpt/stamp_file.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace {

// A picture whose left half is white and right half black.
QImage HalvesPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.setPixelColor(x, y, x < w / 2 ? Qt::white : Qt::black);
  }
  return image;
}

TEST(ReadStampGrid, ReadsThePictureResampledToTheGrid) {
  QTemporaryDir dir;
  const QString bmp = dir.filePath("s.bmp"), png = dir.filePath("s.PNG");
  ASSERT_TRUE(HalvesPicture(8, 8).save(bmp, "BMP"));
  ASSERT_TRUE(HalvesPicture(64, 16).save(png, "PNG"));
  for (const QString& file : {bmp, png}) {
    std::vector<int32_t> grid;
    ASSERT_TRUE(ReadStampGrid(file.toStdString(), 2, 2, grid)) << file.toStdString();
    // Column 0 samples the left edge (white), column 1 the middle and column 2
    // the right edge (black), whatever the picture's size.
    EXPECT_EQ(grid, (std::vector<int32_t>{1677, 1677, 1677, 0, 0, 0, 0, 0, 0})) << file.toStdString();
  }
}

TEST(ReadStampGrid, ANameOfNoReaderOrABrokenFileLeavesTheGrid) {
  QTemporaryDir dir;
  const QString upperJpg = dir.filePath("s.JPG"), broken = dir.filePath("b.bmp");
  ASSERT_TRUE(HalvesPicture(8, 8).save(upperJpg, "JPG"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("BM not a bitmap");
  file.close();
  for (const QString& name : {upperJpg, broken, dir.filePath("missing.png")}) {
    std::vector<int32_t> grid{7};
    EXPECT_FALSE(ReadStampGrid(name.toStdString(), 2, 2, grid)) << name.toStdString();
    EXPECT_EQ(grid, std::vector<int32_t>{7});
  }
}

}  // namespace
