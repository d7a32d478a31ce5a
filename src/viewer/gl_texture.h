#pragma once
// LoadTexture: decode (texture_loader.h) and upload as a mipmapped GL texture. Needs the
// GL context current.

#include <cstdint>
#include <string>
#include <utility>

#include "assets/asset_report.h"
#include "assets/asset_store.h"
#include "assets/texture_image.h"
#include "assets/texture_service.h"

namespace orvane {

// glGenTextures, modulate, linear filters, gluBuild2DMipmaps; the texture stays bound.
uint32_t CreateTexture(const TextureImage& image);

// True with the new texture's name in `textureId`; on failure `textureId` is unchanged.
bool LoadTexture(const std::string& fileName, uint32_t& textureId, bool fromResource, const AssetReporter& reporter,
                 const AssetStore& store = EmbeddedAssets());

// The texture service the model reader uses inside the viewer: textures from files.
class GlTextureService : public TextureService {
 public:
  explicit GlTextureService(AssetReporter reporter) : reporter_(std::move(reporter)) {}
  bool LoadTexture(const std::string& fileName, uint32_t& textureId) override;
  void DeleteTexture(uint32_t textureId) override;

 private:
  AssetReporter reporter_;
};

}  // namespace orvane
