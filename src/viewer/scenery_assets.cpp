#include "viewer/scenery_assets.h"

#include <filesystem>

#include "assets/asset_files.h"
#include "viewer/gl_model.h"

namespace orvane {

Result<> ExtractSceneryAssets(const std::string& folder) {
  try {
    for (std::string_view file : AssetFiles)
      ExtractResource("BINARY", ResourceNameOf(file), folder + std::string(file));
  } catch (const AssetError& e) {
    return Fail(e.what());
  }
  return {};
}

void RemoveSceneryAssets(const std::string& folder) {
  for (std::string_view file : AssetFiles) {
    std::error_code ignored;
    std::filesystem::remove(folder + std::string(file), ignored);
  }
}

SceneryModelDraws SceneryAssets::LoadSceneryModels() {
  auto load = [this](const char* file) {
    auto model = std::make_unique<T3DModel>(reporter_, &textures_);
    model->LoadFromFile(file);
    return model;
  };
  floor_ = load("floor.3ds");
  column_ = load("column.3ds");
  arc_ = load("arc.3ds");
  camera_ = load("camera.3ds");
  auto draw = [](const T3DModel* model) { return [model] { Draw(*model); }; };
  return {draw(floor_.get()), draw(column_.get()), draw(arc_.get()), draw(camera_.get())};
}

bool SceneryAssets::LoadParticleTexture(uint32_t& texture_id) {
  return LoadTexture("particle.BMP", texture_id, true, reporter_);
}

void SceneryAssets::FreeModels() {
  floor_.reset();
  column_.reset();
  arc_.reset();
  camera_.reset();
}

}  // namespace orvane
