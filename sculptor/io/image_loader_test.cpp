#include "io/image_loader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "io/image_test_files.h"
#include "io/test_files.h"

namespace {

void WriteBytes(const std::string& name, const Bytes& b) { WriteWholeFile(name, std::string(b.begin(), b.end())); }

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0xFFFFFFFFu) {
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc;
}

void PutChunk(Bytes& png, const char* type, const Bytes& data) {
  const uint32_t size = static_cast<uint32_t>(data.size());
  for (int s : {24, 16, 8, 0}) png.push_back(static_cast<uint8_t>(size >> s));
  Bytes body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  const uint32_t crc = ~Crc32(body.data(), body.size());
  for (int s : {24, 16, 8, 0}) png.push_back(static_cast<uint8_t>(crc >> s));
}

// A 2 x 2 PNG of 8-bit channels of the given colour type, from top-down `rows`.
Bytes MakePng(uint8_t colorType, int channels, const Bytes& pixels) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", {0, 0, 0, 2, 0, 0, 0, 2, 8, colorType, 0, 0, 0});
  if (colorType == 3) PutChunk(png, "PLTE", {255, 0, 0, 0, 0, 255});
  QByteArray raw;
  for (int row = 0; row < 2; ++row) {
    raw.append('\0');
    raw.append(reinterpret_cast<const char*>(pixels.data()) + row * 2 * channels, 2 * channels);
  }
  const QByteArray zlib = qCompress(raw).mid(4);  // qCompress prefixes the length
  PutChunk(png, "IDAT", Bytes(zlib.begin(), zlib.end()));
  PutChunk(png, "IEND", {});
  return png;
}

// A 2 x 2 GIF: red, green over blue, white, with uncompressed LZW codes (a
// clear code every two pixels keeps the codes at 3 bits).
Bytes MakeGif() {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0xF1, 0, 0};
  gif.insert(gif.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2});
  const int codes[] = {4, 0, 1, 4, 2, 3, 5};
  uint32_t bits = 0;
  int count = 0;
  Bytes data;
  for (int code : codes) {
    bits |= static_cast<uint32_t>(code) << count;
    count += 3;
    while (count >= 8) {
      data.push_back(static_cast<uint8_t>(bits));
      bits >>= 8;
      count -= 8;
    }
  }
  if (count > 0) data.push_back(static_cast<uint8_t>(bits));
  gif.push_back(static_cast<uint8_t>(data.size()));
  gif.insert(gif.end(), data.begin(), data.end());
  gif.insert(gif.end(), {0, 0x3B});
  return gif;
}

Bytes MakeJpeg() {
  QImage picture(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) picture.setPixel(x, y, y < 8 ? qRgb(250, 10, 10) : qRgb(10, 10, 250));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "JPG", 95);
  return Bytes(bytes.begin(), bytes.end());
}

TImageLoad Decode(const Bytes& file, const std::string& name) { return DecodeTextureImage(file, name); }

}  // namespace

TEST(ImageLoader, ExtensionChoosesTheDecoderInAnyCase) {
  const std::pair<const char*, ImageFormat> cases[] = {
      {"a.bmp", ImageFormat::Bmp},    {"A.BMP", ImageFormat::Bmp},
      {"x/p.Jpg", ImageFormat::Jpeg}, {"p.JPEG", ImageFormat::Jpeg},
      {"t.TGA", ImageFormat::Tga},    {"i.PnG", ImageFormat::Png},
      {"g.gif", ImageFormat::Gif},    {"n.tif", ImageFormat::Unknown},
      {"bmp", ImageFormat::Unknown},  {"dir.png/file", ImageFormat::Unknown},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(ImageFormatOfName(name), format) << name;
}

// PNG: grey and RGB come out opaque, grey-with-alpha and RGBA keep their alpha,
// rows bottom-up; palette images are refused with the information text.
TEST(ImageLoader, PngColourTypes) {
  struct Case {
    uint8_t type;
    int channels;
    Bytes topDown;  // 2 x 2 pixels as stored
    Bytes expected;  // RGBA, bottom row first
  };
  const Case cases[] = {
      {0, 1, {10, 20, 30, 40}, {30, 30, 30, 255, 40, 40, 40, 255, 10, 10, 10, 255, 20, 20, 20, 255}},
      {4, 2, {10, 1, 20, 2, 30, 3, 40, 4}, {30, 30, 30, 3, 40, 40, 40, 4, 10, 10, 10, 1, 20, 20, 20, 2}},
      {2, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {7, 8, 9, 255, 10, 11, 12, 255, 1, 2, 3, 255, 4, 5, 6, 255}},
      {6,
       4,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       {9, 10, 11, 12, 13, 14, 15, 16, 1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const Case& c : cases) {
    const TImageLoad load = Decode(MakePng(c.type, c.channels, c.topDown), "p.png");
    ASSERT_TRUE(load.ok) << int(c.type) << ": " << load.failure.text;
    EXPECT_EQ(load.image.channels, 4);
    EXPECT_EQ(load.image.pixels, c.expected) << int(c.type);
  }
  const TImageLoad palette = Decode(MakePng(3, 1, {0, 1, 1, 0}), "/d/pal.png");
  EXPECT_FALSE(palette.ok);
  EXPECT_EQ(palette.failure.text, "This PNG type in the file:\r\n\"/d/pal.png\"\r\nis not supported.");
  EXPECT_EQ(palette.failure.caption, "Information:");
  EXPECT_EQ(palette.failure.kind, MessageKind::Information);
  const TImageLoad broken = Decode(Bytes(40, 7), "b.png");
  EXPECT_EQ(broken.failure.text, "Couldn't load PNG - \"b.png\"");
}

// JPEG and GIF become opaque RGBA, bottom row first.
TEST(ImageLoader, JpegAndGif) {
  const TImageLoad jpeg = Decode(MakeJpeg(), "j.jpg");
  ASSERT_TRUE(jpeg.ok);
  ASSERT_EQ(jpeg.image.width, 16);
  const uint8_t* bottom = jpeg.image.pixels.data();
  const uint8_t* top = bottom + 15 * 16 * 4;
  EXPECT_NEAR(bottom[2], 250, 8);
  EXPECT_NEAR(bottom[0], 10, 8);
  EXPECT_NEAR(top[0], 250, 8);
  EXPECT_EQ(top[3], 255);

  const TImageLoad gif = Decode(MakeGif(), "g.GIF");
  ASSERT_TRUE(gif.ok);
  EXPECT_EQ(gif.image.pixels, (Bytes{0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255}));

  const TImageLoad broken = Decode(Bytes(30, 1), "c.jpg");
  EXPECT_EQ(broken.failure.text, "Couldn't load JPG - \"c.jpg\"");
  EXPECT_EQ(broken.failure.caption, "BMP Unit");
}

// Files: upper-case extensions load like lower-case ones, unknown ones load
// nothing silently, and files that cannot be opened are named in the message.
TEST(ImageLoader, LoadsFilesAndReportsRefusals) {
  TempDir dir;
  WriteBytes(dir.File("a.BMP"), MakeBmp(2, 2));
  WriteBytes(dir.File("b.Tga"), TgaHeader(3, 8, 1, 1));
  WriteBytes(dir.File("c.txt"), MakeBmp(2, 2));
  CapturingMessageSink sink;
  EXPECT_TRUE(LoadTextureImage(dir.File("a.BMP")).ok);
  EXPECT_FALSE(LoadTextureImage(dir.File("c.txt")).ok);
  EXPECT_TRUE(sink.entries.empty());

  EXPECT_FALSE(LoadTextureImage(dir.File("b.Tga")).ok);
  EXPECT_FALSE(LoadTextureImage(dir.File("none.bmp")).ok);
  EXPECT_FALSE(LoadTextureImage(dir.File("none.tga")).ok);
  EXPECT_FALSE(LoadTextureImage(dir.File("none.gif")).ok);
  ASSERT_EQ(sink.entries.size(), 4u);
  EXPECT_EQ(sink.entries[0].text, "Couldn't load \"" + dir.File("b.Tga") + "\". Only 24 and 32bit TGA supported.");
  EXPECT_EQ(sink.entries[0].caption, "TGA File Error");
  EXPECT_EQ(sink.entries[1].text, "Error opening " + dir.File("none.bmp"));
  EXPECT_EQ(sink.entries[1].caption, "BMP Unit");
  EXPECT_EQ(sink.entries[2].text, "File not found  - " + dir.File("none.tga"));
  EXPECT_EQ(sink.entries[2].caption, "TGA Texture");
  EXPECT_EQ(sink.entries[3].text, "Couldn't load JPG - \"" + dir.File("none.gif") + "\"");
}
