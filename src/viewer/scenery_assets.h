#pragma once
// The scenery's real assets: the embedded models and textures copied to a folder, the four
// models loaded from there, and the particle sprite from the embedded store.

#include <memory>
#include <optional>
#include <string>

#include "assets/model_3ds.h"
#include "model/user_dialogs.h"
#include "util/result.h"
#include "viewer/asset_report_dialogs.h"
#include "viewer/display_services.h"
#include "viewer/gl_texture.h"

namespace orvane {

// Copies the 11 scenery files to `folder` (ending in a separator); the error text on failure.
Result<> ExtractSceneryAssets(const std::string& folder);
// Deletes them again; files already gone are skipped.
void RemoveSceneryAssets(const std::string& folder);

class SceneryAssets : public SceneryModelSource, public ParticleSpriteSource {
 public:
  explicit SceneryAssets(UserDialogs& dialogs) : reporter_(ReportToDialogs(dialogs)), textures_(reporter_) {}

  // Reads the models from AssetFolder, which the caller has set to the extracted files.
  // A model that fails to load stays empty and draws nothing.
  SceneryModelDraws LoadSceneryModels() override;
  bool LoadParticleTexture(uint32_t& texture_id) override;
  // Frees the models and their textures; needs the GL context current.
  void FreeModels();

 private:
  AssetReporter reporter_;
  GlTextureService textures_;
  std::unique_ptr<T3DModel> floor_, column_, arc_, camera_;
};

}  // namespace orvane
