#pragma once
// The scenery's models and textures, copied from the embedded assets to the temporary
// folder at start (and deleted at exit) so the model reader finds them as files.

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "assets/asset_store.h"

namespace orvane {

inline constexpr std::array<std::string_view, 11> AssetFiles = {
    "arc.3ds",    "camera.3ds", "column.3ds",  "floor.3ds",  "grydirt2.jpg", "limesto3.jpg",
    "ovlogo.jpg", "sand3.jpg",  "stucco4.jpg", "stucco.jpg", "yellobrk.jpg"};

// "arc.3ds" -> "arc": the resource name of an asset file.
std::string_view ResourceNameOf(std::string_view fileName);

class AssetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes the entry (type, name) of `store` whole to `targetPath`, replacing any file there.
// Throws AssetError when the entry is missing or unreadable or the file cannot be written.
void ExtractResource(const AssetStore& store, std::string_view type, std::string_view name,
                     const std::string& targetPath);
void ExtractResource(std::string_view type, std::string_view name, const std::string& targetPath);

}  // namespace orvane
