#include "assets/texture_loader.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "assets/asset_folder.h"

namespace orvane {

namespace {

void Report(const AssetReporter& reporter, const std::string& text, const std::string& caption) {
  SendReport(reporter, AssetReportKind::Error, text, caption);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<TextureImage> Finish(ImageFault fault, TextureImage& image) {
  if (fault != ImageFault::None) return std::nullopt;
  return std::move(image);
}

std::optional<TextureImage> BmpFromResource(const std::string& fileName, const AssetLookup& found,
                                            const AssetReporter& reporter) {
  TextureImage image;
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(reporter, "File not found in resource - " + fileName, "BMP Texture");
    return std::nullopt;
  }
  if (found.Status == AssetLookupStatus::Unreadable || DecodeBmp(found.Bytes, image) != ImageFault::None) {
    Report(reporter, "Unable to read from resource - " + fileName, "BMP Unit");
    return std::nullopt;
  }
  return image;
}

std::optional<TextureImage> BmpFromFile(const std::string& fileName, const AssetReporter& reporter) {
  const auto bytes = ReadWholeFile(FindFileIgnoringCase(fileName));
  if (!bytes) {
    Report(reporter, "Error opening " + fileName, "BMP Unit");
    return std::nullopt;
  }
  TextureImage image;
  const ImageFault fault = DecodeBmp(*bytes, image);
  if (fault == ImageFault::PaletteShort) Report(reporter, "Error reading palette", "BMP Unit");
  else if (fault != ImageFault::None) Report(reporter, "Error reading bitmap data", "BMP Unit");
  return Finish(fault, image);
}

// The three refusals of the header, the same from a file and from a resource.
bool ReportTgaHeaderFault(ImageFault fault, const std::string& fileName, const AssetReporter& reporter) {
  const char* after = nullptr;
  switch (fault) {
    case ImageFault::NotTrueColor: after = "\". Only 24 and 32bit TGA supported."; break;
    case ImageFault::ColorMapped: after = "\". Colormapped TGA files not supported."; break;
    case ImageFault::UnsupportedDepth: after = "\". Only 24 and 32 bit TGA files supported."; break;
    default: return false;
  }
  Report(reporter, "Couldn't load \"" + fileName + after, "TGA File Error");
  return true;
}

std::optional<TextureImage> TgaFromResource(const std::string& fileName, const AssetLookup& found,
                                            const AssetReporter& reporter) {
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(reporter, "File not found in resource - " + fileName, "TGA Texture");
    return std::nullopt;
  }
  TextureImage image;
  const ImageFault fault =
      found.Status == AssetLookupStatus::Unreadable ? ImageFault::DataShort : DecodeTga(found.Bytes, image);
  if (fault != ImageFault::None && !ReportTgaHeaderFault(fault, fileName, reporter)) {
    Report(reporter, "Unable to read from resource - " + fileName, "BMP Unit");
  }
  return Finish(fault, image);
}

std::optional<TextureImage> TgaFromFile(const std::string& fileName, const AssetReporter& reporter) {
  const std::filesystem::path path = FindFileIgnoringCase(fileName);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    Report(reporter, "File not found  - " + fileName, "TGA Texture");
    return std::nullopt;
  }
  const auto bytes = ReadWholeFile(path);
  TextureImage image;
  const ImageFault fault = bytes ? DecodeTga(*bytes, image) : ImageFault::DataShort;
  if (fault != ImageFault::None && !ReportTgaHeaderFault(fault, fileName, reporter)) {
    Report(reporter, "Couldn't read file \"" + fileName + "\".", "TGA File Error");
  }
  return Finish(fault, image);
}

std::optional<TextureImage> JpegFromResource(const std::string& fileName, const AssetLookup& found,
                                             const AssetReporter& reporter) {
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(reporter, "File not found in resource - " + fileName, "JPG Texture");
    return std::nullopt;
  }
  TextureImage image;
  if (found.Status == AssetLookupStatus::Unreadable || DecodeJpeg(found.Bytes, image) != ImageFault::None) {
    Report(reporter, "Couldn't load JPG Resource - \"" + fileName + "\"", "BMP Unit");
    return std::nullopt;
  }
  return image;
}

std::optional<TextureImage> JpegFromFile(const std::string& fileName, const AssetReporter& reporter) {
  std::FILE* file = std::fopen(FindFileIgnoringCase(fileName).c_str(), "rb");
  TextureImage image;
  const ImageFault fault = DecodeJpegFile(file, image);
  if (file != nullptr) std::fclose(file);
  if (fault != ImageFault::None) Report(reporter, "Couldn't load JPG - \"" + fileName + "\"", "BMP Unit");
  return Finish(fault, image);
}

}  // namespace

TextureFormat TextureFormatOf(std::string_view fileName) {
  if (fileName.size() < 4) return TextureFormat::Unknown;
  const std::string_view ending = fileName.substr(fileName.size() - 4);
  if (SameTextIgnoringCase(ending, ".BMP")) return TextureFormat::Bmp;
  if (SameTextIgnoringCase(ending, ".JPG")) return TextureFormat::Jpeg;
  if (SameTextIgnoringCase(ending, ".TGA")) return TextureFormat::Tga;
  return TextureFormat::Unknown;
}

std::optional<TextureImage> ReadTextureImage(const std::string& fileName, bool fromResource,
                                             const AssetReporter& reporter, const AssetStore& store) {
  const TextureFormat format = TextureFormatOf(fileName);
  if (format == TextureFormat::Unknown) return std::nullopt;
  if (fromResource) {
    const std::string_view name = std::string_view(fileName).substr(0, fileName.find('.'));
    switch (format) {
      case TextureFormat::Bmp: return BmpFromResource(fileName, store.Find("BMP", name), reporter);
      case TextureFormat::Jpeg: return JpegFromResource(fileName, store.Find("JPEG", name), reporter);
      default: return TgaFromResource(fileName, store.Find("TGA", name), reporter);
    }
  }
  switch (format) {
    case TextureFormat::Bmp: return BmpFromFile(fileName, reporter);
    case TextureFormat::Jpeg: return JpegFromFile(fileName, reporter);
    default: return TgaFromFile(fileName, reporter);
  }
}

}  // namespace orvane
