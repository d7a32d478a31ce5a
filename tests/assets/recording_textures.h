#pragma once
// A texture service that records what the reader asks for and hands out names 1, 2, ...
// Files whose name is in `Refuse` fail to load.

#include <set>
#include <string>
#include <vector>

#include "assets/texture_service.h"

namespace orvane::testing {

class RecordingTextures : public TextureService {
 public:
  std::set<std::string> Refuse;
  std::vector<std::string> Loaded;
  std::vector<uint32_t> Deleted;

  bool LoadTexture(const std::string& fileName, uint32_t& textureId) override {
    Loaded.push_back(fileName);
    if (Refuse.count(fileName) != 0) return false;
    textureId = static_cast<uint32_t>(Loaded.size());
    return true;
  }
  void DeleteTexture(uint32_t textureId) override { Deleted.push_back(textureId); }
};

}  // namespace orvane::testing
