#include "assets/texture_loader.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "assets/asset_folder.h"
#include "model/user_dialogs.h"

namespace orvane {

namespace {

void Report(UserDialogs& dialogs, const std::string& text, const std::string& caption) {
  dialogs.Message(DialogKind::Error, DialogButtons::Ok, text, caption);
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
                                            UserDialogs& dialogs) {
  TextureImage image;
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(dialogs, "File not found in resource - " + fileName, "BMP Texture");
    return std::nullopt;
  }
  if (found.Status == AssetLookupStatus::Unreadable || DecodeBmp(found.Bytes, image) != ImageFault::None) {
    Report(dialogs, "Unable to read from resource - " + fileName, "BMP Unit");
    return std::nullopt;
  }
  return image;
}

std::optional<TextureImage> BmpFromFile(const std::string& fileName, UserDialogs& dialogs) {
  const auto bytes = ReadWholeFile(FindFileIgnoringCase(fileName));
  if (!bytes) {
    Report(dialogs, "Error opening " + fileName, "BMP Unit");
    return std::nullopt;
  }
  TextureImage image;
  const ImageFault fault = DecodeBmp(*bytes, image);
  if (fault == ImageFault::PaletteShort) Report(dialogs, "Error reading palette", "BMP Unit");
  else if (fault != ImageFault::None) Report(dialogs, "Error reading bitmap data", "BMP Unit");
  return Finish(fault, image);
}

// The three refusals of the header, the same from a file and from a resource.
bool ReportTgaHeaderFault(ImageFault fault, const std::string& fileName, UserDialogs& dialogs) {
  const char* after = nullptr;
  switch (fault) {
    case ImageFault::NotTrueColor: after = "\". Only 24 and 32bit TGA supported."; break;
    case ImageFault::ColorMapped: after = "\". Colormapped TGA files not supported."; break;
    case ImageFault::UnsupportedDepth: after = "\". Only 24 and 32 bit TGA files supported."; break;
    default: return false;
  }
  Report(dialogs, "Couldn't load \"" + fileName + after, "TGA File Error");
  return true;
}

std::optional<TextureImage> TgaFromResource(const std::string& fileName, const AssetLookup& found,
                                            UserDialogs& dialogs) {
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(dialogs, "File not found in resource - " + fileName, "TGA Texture");
    return std::nullopt;
  }
  TextureImage image;
  const ImageFault fault =
      found.Status == AssetLookupStatus::Unreadable ? ImageFault::DataShort : DecodeTga(found.Bytes, image);
  if (fault != ImageFault::None && !ReportTgaHeaderFault(fault, fileName, dialogs)) {
    Report(dialogs, "Unable to read from resource - " + fileName, "BMP Unit");
  }
  return Finish(fault, image);
}

std::optional<TextureImage> TgaFromFile(const std::string& fileName, UserDialogs& dialogs) {
  const std::filesystem::path path = FindFileIgnoringCase(fileName);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    Report(dialogs, "File not found  - " + fileName, "TGA Texture");
    return std::nullopt;
  }
  const auto bytes = ReadWholeFile(path);
  TextureImage image;
  const ImageFault fault = bytes ? DecodeTga(*bytes, image) : ImageFault::DataShort;
  if (fault != ImageFault::None && !ReportTgaHeaderFault(fault, fileName, dialogs)) {
    Report(dialogs, "Couldn't read file \"" + fileName + "\".", "TGA File Error");
  }
  return Finish(fault, image);
}

std::optional<TextureImage> JpegFromResource(const std::string& fileName, const AssetLookup& found,
                                             UserDialogs& dialogs) {
  if (found.Status == AssetLookupStatus::NotFound) {
    Report(dialogs, "File not found in resource - " + fileName, "JPG Texture");
    return std::nullopt;
  }
  TextureImage image;
  if (found.Status == AssetLookupStatus::Unreadable || DecodeJpeg(found.Bytes, image) != ImageFault::None) {
    Report(dialogs, "Couldn't load JPG Resource - \"" + fileName + "\"", "BMP Unit");
    return std::nullopt;
  }
  return image;
}

std::optional<TextureImage> JpegFromFile(const std::string& fileName, UserDialogs& dialogs) {
  std::FILE* file = std::fopen(FindFileIgnoringCase(fileName).c_str(), "rb");
  TextureImage image;
  const ImageFault fault = DecodeJpegFile(file, image);
  if (file != nullptr) std::fclose(file);
  if (fault != ImageFault::None) Report(dialogs, "Couldn't load JPG - \"" + fileName + "\"", "BMP Unit");
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

std::optional<TextureImage> ReadTextureImage(const std::string& fileName, bool fromResource, UserDialogs& dialogs,
                                             const AssetStore& store) {
  const TextureFormat format = TextureFormatOf(fileName);
  if (format == TextureFormat::Unknown) return std::nullopt;
  if (fromResource) {
    const std::string_view name = std::string_view(fileName).substr(0, fileName.find('.'));
    switch (format) {
      case TextureFormat::Bmp: return BmpFromResource(fileName, store.Find("BMP", name), dialogs);
      case TextureFormat::Jpeg: return JpegFromResource(fileName, store.Find("JPEG", name), dialogs);
      default: return TgaFromResource(fileName, store.Find("TGA", name), dialogs);
    }
  }
  switch (format) {
    case TextureFormat::Bmp: return BmpFromFile(fileName, dialogs);
    case TextureFormat::Jpeg: return JpegFromFile(fileName, dialogs);
    default: return TgaFromFile(fileName, dialogs);
  }
}

}  // namespace orvane
