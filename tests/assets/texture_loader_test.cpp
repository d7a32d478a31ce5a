#include "assets/texture_loader.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <cstdio>

#include "chunk_builder.h"
#include "recording_reports.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using namespace orvane::testing;

// A 24-bit BMP of width x height with the given pixel bytes (blue, green, red, bottom row first).
std::string Bmp(int32_t width, int32_t height, const std::string& pixels, uint32_t imageSize, uint32_t colorsUsed = 0,
                const std::string& palette = {}) {
  std::string info = U32(40) + U32(static_cast<uint32_t>(width)) + U32(static_cast<uint32_t>(height)) + U16(1) +
                     U16(24) + U32(0) + U32(imageSize) + U32(2835) + U32(2835) + U32(colorsUsed) + U32(0);
  return "BM" + U32(0) + U32(0) + U32(54) + info + palette + pixels;
}

std::string Tga(uint8_t colorMapType, uint8_t type, uint16_t width, uint16_t height, uint8_t depth,
                const std::string& data) {
  std::string header(18, '\0');
  header[1] = static_cast<char>(colorMapType);
  header[2] = static_cast<char>(type);
  header.replace(12, 2, U16(width));
  header.replace(14, 2, U16(height));
  header[16] = static_cast<char>(depth);
  return header + data;
}

// A JPEG of 16 x 16: the top half red, the bottom half blue.
std::string RedOverBlueJpeg() {
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = 16;
  info.image_height = 16;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  unsigned char row[16 * 3];
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      row[3 * x] = y < 8 ? 255 : 0;
      row[3 * x + 1] = 0;
      row[3 * x + 2] = y < 8 ? 0 : 255;
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

std::span<const uint8_t> Span(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

class TextureLoading : public ::testing::Test {
 protected:
  std::optional<TextureImage> FromFile(const std::string& name, const std::string& bytes) {
    dir.Write(name, bytes);
    return ReadTextureImage(dir.Folder() + name, false, reports.Reporter(), store);
  }
  std::optional<TextureImage> FromResource(const std::string& name) {
    return ReadTextureImage(name, true, reports.Reporter(), store);
  }
  void ExpectOnly(const std::string& text, const std::string& caption) {
    ASSERT_EQ(reports.Messages.size(), 1u) << text;
    EXPECT_EQ(reports.Messages[0].Text, text);
    EXPECT_EQ(reports.Messages[0].Caption, caption);
    EXPECT_EQ(reports.Messages[0].Kind, AssetReportKind::Error);
    reports.Clear();
  }

  ScratchDir dir;
  RecordingReports reports;
  std::string goodBmp = Bmp(2, 1, std::string("\x01\x02\x03\x04\x05\x06\0\0", 8), 8);
  std::string goodJpeg = RedOverBlueJpeg();
  std::string damaged = "not an image at all";
  std::string shortTga = Tga(0, 2, 2, 2, 24, "abc");
  AssetStore store{{{"BMP", "GOOD", Span(goodBmp)},
                    {"BMP", "SHORT", Span(damaged)},
                    {"BMP", "BROKEN", Span(goodBmp), false},
                    {"JPEG", "GOOD", Span(goodJpeg)},
                    {"JPEG", "SHORT", Span(damaged)},
                    {"TGA", "SHORT", Span(shortTga)},
                    {"TGA", "BROKEN", {}, false}}};
};

// --- BMP ---------------------------------------------------------------------------------

TEST_F(TextureLoading, BmpSwapsToRgbAndKeepsRowsAsStored) {
  const auto image = FromFile("two.bmp", goodBmp);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width, 2);
  EXPECT_EQ(image->Height, 1);
  EXPECT_EQ(image->Format, TexturePixelFormat::Rgb);
  EXPECT_EQ(image->Pixels, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  EXPECT_TRUE(reports.Messages.empty());
}

TEST_F(TextureLoading, BmpImageSizeZeroUsesWidthHeightAndDepth) {
  const auto image = FromFile("z.bmp", Bmp(1, 2, std::string("\x01\x02\x03\x04\x05\x06", 6), 0));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Pixels, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
}

TEST_F(TextureLoading, BmpFileFailures) {
  EXPECT_FALSE(ReadTextureImage(dir.Folder() + "missing.bmp", false, reports.Reporter(), store));
  ExpectOnly("Error opening " + dir.Folder() + "missing.bmp", "BMP Unit");
  EXPECT_FALSE(FromFile("p.bmp", Bmp(1, 1, "", 3, 16, "0123")));
  ExpectOnly("Error reading palette", "BMP Unit");
  EXPECT_FALSE(FromFile("d.bmp", Bmp(2, 2, "012345", 12)));
  ExpectOnly("Error reading bitmap data", "BMP Unit");
  EXPECT_FALSE(FromFile("h.bmp", goodBmp.substr(0, 53)));
  ExpectOnly("Error reading bitmap data", "BMP Unit");
  EXPECT_FALSE(FromFile("zero.bmp", Bmp(0, 5, "", 0)));
  ExpectOnly("Error reading bitmap data", "BMP Unit");
  // An image size too small for the pixels, and sides whose product overflows 32 bits.
  EXPECT_FALSE(FromFile("small.bmp", Bmp(2, 2, std::string(12, 'x'), 4)));
  ExpectOnly("Error reading bitmap data", "BMP Unit");
  EXPECT_FALSE(FromFile("huge.bmp", Bmp(0x10000, 0x10000, std::string(12, 'x'), 0)));
  ExpectOnly("Error reading bitmap data", "BMP Unit");
}

TEST_F(TextureLoading, BmpResourceFailures) {
  ASSERT_TRUE(FromResource("good.BMP"));
  EXPECT_TRUE(reports.Messages.empty());
  EXPECT_FALSE(FromResource("none.bmp"));
  ExpectOnly("File not found in resource - none.bmp", "BMP Texture");
  EXPECT_FALSE(FromResource("short.bmp"));
  ExpectOnly("Unable to read from resource - short.bmp", "BMP Unit");
  EXPECT_FALSE(FromResource("broken.bmp"));
  ExpectOnly("Unable to read from resource - broken.bmp", "BMP Unit");
}

TEST_F(TextureLoading, NameWithoutDotAsksForAnEmptyResourceName) {
  AssetStore withEmptyName{{{"BMP", "", Span(goodBmp)}}};
  EXPECT_TRUE(ReadTextureImage(".bmp", true, reports.Reporter(), withEmptyName));
  EXPECT_FALSE(ReadTextureImage(".bmp", true, reports.Reporter(), store));
  ExpectOnly("File not found in resource - .bmp", "BMP Texture");
}

// --- Format choice -----------------------------------------------------------------------

TEST_F(TextureLoading, FormatComesFromTheLastFourCharactersInAnyCase) {
  EXPECT_EQ(TextureFormatOf("a.JPG"), TextureFormat::Jpeg);
  EXPECT_EQ(TextureFormatOf("a.jpg"), TextureFormat::Jpeg);
  EXPECT_EQ(TextureFormatOf("a.Jpg"), TextureFormat::Jpeg);
  EXPECT_EQ(TextureFormatOf("particle.BMP"), TextureFormat::Bmp);
  EXPECT_EQ(TextureFormatOf("x.tga"), TextureFormat::Tga);
  EXPECT_EQ(TextureFormatOf("x.jpeg"), TextureFormat::Unknown);
  EXPECT_EQ(TextureFormatOf("bmp"), TextureFormat::Unknown);
  EXPECT_FALSE(FromFile("photo.jpeg", goodJpeg));
  EXPECT_FALSE(ReadTextureImage("photo.png", true, reports.Reporter(), store));
  EXPECT_TRUE(reports.Messages.empty());
}

TEST_F(TextureLoading, FileNamesMatchIgnoringLetterCase) {
  dir.Write("stucco4.jpg", goodJpeg);
  EXPECT_TRUE(ReadTextureImage(dir.Folder() + "STUCCO4.JPG", false, reports.Reporter(), store));
  EXPECT_TRUE(reports.Messages.empty());
}

// --- JPEG --------------------------------------------------------------------------------

void ExpectRedOverBlue(const TextureImage& image) {
  EXPECT_EQ(image.Width, 16);
  EXPECT_EQ(image.Height, 16);
  EXPECT_EQ(image.Format, TexturePixelFormat::Rgba);
  ASSERT_EQ(image.Pixels.size(), 16u * 16 * 4);
  // Bottom row first: blue, then red at the top; alpha always 255.
  const uint8_t* bottom = image.Pixels.data();
  const uint8_t* top = image.Pixels.data() + 15 * 16 * 4;
  EXPECT_LT(bottom[0], 30);
  EXPECT_GT(bottom[2], 225);
  EXPECT_GT(top[0], 225);
  EXPECT_LT(top[2], 30);
  for (size_t i = 3; i < image.Pixels.size(); i += 4) ASSERT_EQ(image.Pixels[i], 255);
}

TEST_F(TextureLoading, JpegFromFileAndFromMemoryGiveTheSamePixels) {
  const auto fromFile = FromFile("rb.Jpg", goodJpeg);
  ASSERT_TRUE(fromFile);
  ExpectRedOverBlue(*fromFile);
  const auto fromMemory = FromResource("good.jpg");
  ASSERT_TRUE(fromMemory);
  ExpectRedOverBlue(*fromMemory);
  EXPECT_EQ(fromFile->Pixels, fromMemory->Pixels);
  EXPECT_TRUE(reports.Messages.empty());
}

TEST_F(TextureLoading, JpegFailures) {
  const std::string missing = dir.Folder() + "missing.jpg";
  EXPECT_FALSE(ReadTextureImage(missing, false, reports.Reporter(), store));
  ExpectOnly("Couldn't load JPG - \"" + missing + "\"", "BMP Unit");
  EXPECT_FALSE(FromFile("bad.jpg", damaged));
  ExpectOnly("Couldn't load JPG - \"" + dir.Folder() + "bad.jpg\"", "BMP Unit");
  EXPECT_FALSE(FromFile("cut.jpg", goodJpeg.substr(0, goodJpeg.size() / 2)));
  ExpectOnly("Couldn't load JPG - \"" + dir.Folder() + "cut.jpg\"", "BMP Unit");
  EXPECT_FALSE(FromResource("none.jpg"));
  ExpectOnly("File not found in resource - none.jpg", "JPG Texture");
  EXPECT_FALSE(FromResource("short.jpg"));
  ExpectOnly("Couldn't load JPG Resource - \"short.jpg\"", "BMP Unit");
}

TEST(JpegDecoder, RefusesHeadersThatAnnounceHugeImages) {
  std::string jpeg = RedOverBlueJpeg();
  // Find the frame header (SOF0) and make its sides 65000 x 65000.
  const size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg.replace(sof + 5, 4, std::string("\xFD\xE8\xFD\xE8", 4));
  TextureImage image;
  EXPECT_EQ(DecodeJpeg(Span(jpeg), image), ImageFault::DecodeError);
  EXPECT_TRUE(image.Pixels.empty());
  EXPECT_EQ(DecodeJpeg({}, image), ImageFault::DecodeError);
}

// --- TGA ---------------------------------------------------------------------------------

TEST_F(TextureLoading, TgaUncompressed24And32Bits) {
  const auto rgb = FromFile("a.tga", Tga(0, 2, 2, 1, 24, std::string("\x01\x02\x03\x04\x05\x06", 6)));
  ASSERT_TRUE(rgb);
  EXPECT_EQ(rgb->Format, TexturePixelFormat::Rgb);
  EXPECT_EQ(rgb->Pixels, (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  const auto rgba = FromFile("b.tga", Tga(0, 2, 1, 1, 32, std::string("\x01\x02\x03\x04", 4)));
  ASSERT_TRUE(rgba);
  EXPECT_EQ(rgba->Format, TexturePixelFormat::Rgba);
  EXPECT_EQ(rgba->Pixels, (std::vector<uint8_t>{3, 2, 1, 4}));
  EXPECT_TRUE(reports.Messages.empty());
}

TEST_F(TextureLoading, TgaRunLengthPackets) {
  // A run of 3, then a raw packet of 2: five pixels of a 5 x 1 image.
  const std::string packets = std::string("\x82\x01\x02\x03\x01\x04\x05\x06\x07\x08\x09", 11);
  const auto image = FromFile("r.tga", Tga(0, 10, 5, 1, 24, packets));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Format, TexturePixelFormat::Rgb);
  EXPECT_EQ(image->Pixels, (std::vector<uint8_t>{3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
}

TEST_F(TextureLoading, TgaPacketRunningPastTheImageStopsAtTheLastPixel) {
  const auto run = FromFile("run.tga", Tga(0, 10, 2, 1, 32, std::string("\xFF\x01\x02\x03\x04", 5)));
  ASSERT_TRUE(run);
  EXPECT_EQ(run->Pixels, (std::vector<uint8_t>{3, 2, 1, 4, 3, 2, 1, 4}));
  const auto raw = FromFile("raw.tga", Tga(0, 10, 1, 1, 24, std::string("\x01\x01\x02\x03\x04\x05\x06", 7)));
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->Pixels, (std::vector<uint8_t>{3, 2, 1}));
  EXPECT_TRUE(reports.Messages.empty());
}

TEST_F(TextureLoading, TgaRunLengthStreamsShorterThanTheirPackets) {
  const std::string name = dir.Folder() + "s.tga";
  for (const std::string& packets : {std::string("\x82\x01\x02", 3), std::string("\x05\x01\x02\x03", 4),
                                     std::string("\x80\x01\x02\x03", 4), std::string()}) {
    EXPECT_FALSE(FromFile("s.tga", Tga(0, 10, 4, 4, 24, packets)));
    ExpectOnly("Couldn't read file \"" + name + "\".", "TGA File Error");
  }
}

TEST_F(TextureLoading, TgaFileFailuresInTheirOrder) {
  const std::string f = dir.Folder() + "t.tga";
  EXPECT_FALSE(ReadTextureImage(dir.Folder() + "gone.tga", false, reports.Reporter(), store));
  ExpectOnly("File not found  - " + dir.Folder() + "gone.tga", "TGA Texture");
  // A colour-mapped image of type 1 fails on its type first.
  EXPECT_FALSE(FromFile("t.tga", Tga(1, 1, 1, 1, 8, "x")));
  ExpectOnly("Couldn't load \"" + f + "\". Only 24 and 32bit TGA supported.", "TGA File Error");
  EXPECT_FALSE(FromFile("t.tga", Tga(1, 2, 1, 1, 24, "xxx")));
  ExpectOnly("Couldn't load \"" + f + "\". Colormapped TGA files not supported.", "TGA File Error");
  EXPECT_FALSE(FromFile("t.tga", Tga(0, 2, 1, 1, 16, "xx")));
  ExpectOnly("Couldn't load \"" + f + "\". Only 24 and 32 bit TGA files supported.", "TGA File Error");
  EXPECT_FALSE(FromFile("t.tga", Tga(0, 2, 2, 2, 24, "xxxxxx")));
  ExpectOnly("Couldn't read file \"" + f + "\".", "TGA File Error");
  EXPECT_FALSE(FromFile("t.tga", "short"));
  ExpectOnly("Couldn't read file \"" + f + "\".", "TGA File Error");
  EXPECT_FALSE(FromFile("t.tga", Tga(0, 2, 0, 7, 24, "")));
  ExpectOnly("Couldn't read file \"" + f + "\".", "TGA File Error");
  // 65535 x 65535 x 4 bytes would overflow 32 bits; refused before any buffer is made.
  EXPECT_FALSE(FromFile("t.tga", Tga(0, 10, 65535, 65535, 32, "\x80\x01\x02\x03\x04")));
  ExpectOnly("Couldn't read file \"" + f + "\".", "TGA File Error");
}

TEST_F(TextureLoading, TgaResourceFailures) {
  EXPECT_FALSE(FromResource("none.tga"));
  ExpectOnly("File not found in resource - none.tga", "TGA Texture");
  EXPECT_FALSE(FromResource("short.tga"));
  ExpectOnly("Unable to read from resource - short.tga", "BMP Unit");
  EXPECT_FALSE(FromResource("broken.tga"));
  ExpectOnly("Unable to read from resource - broken.tga", "BMP Unit");
}

}  // namespace
}  // namespace orvane
