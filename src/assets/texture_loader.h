#pragma once
// The decoding half of LoadTexture: picks the format by the name's last four characters,
// reads the image from a file or from the embedded assets and reports every failure with
// its own message. The viewer (viewer/gl_texture.h) uploads the result.

#include <optional>
#include <string>
#include <string_view>

#include "assets/asset_report.h"
#include "assets/asset_store.h"
#include "assets/texture_image.h"

namespace orvane {

enum class TextureFormat : uint8_t { Unknown, Bmp, Jpeg, Tga };

// ".BMP", ".JPG" or ".TGA" at the end of the name, any letter case.
TextureFormat TextureFormatOf(std::string_view fileName);

// The image, or nothing after a message (or, for a name of no known format, silently).
// From a file the last component of `fileName` is matched ignoring letter case; from the
// store the entry is the name up to its first "." with the format's type.
std::optional<TextureImage> ReadTextureImage(const std::string& fileName, bool fromResource,
                                             const AssetReporter& reporter, const AssetStore& store = EmbeddedAssets());

}  // namespace orvane
