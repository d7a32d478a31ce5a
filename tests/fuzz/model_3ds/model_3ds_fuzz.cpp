// The 3DS reader on arbitrary bytes: it must stop, stay inside its buffers and leave every
// face drawable.

#include <cstdint>
#include <cstdlib>
#include <set>

#include "assets/model_3ds.h"
#include "assets/model_corners.h"
#include "assets/texture_service.h"

namespace {

// Hands out names and checks that each is deleted once, and only names it gave.
class CountingTextures : public orvane::TextureService {
 public:
  bool LoadTexture(const std::string& fileName, uint32_t& textureId) override {
    if (fileName.size() % 3 == 0) return false;
    textureId = ++next_;
    live_.insert(textureId);
    return true;
  }
  void DeleteTexture(uint32_t textureId) override {
    if (live_.erase(textureId) != 1) std::abort();
  }
  bool AllDeleted() const { return live_.empty(); }

 private:
  uint32_t next_ = 0;
  std::set<uint32_t> live_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CountingTextures textures;
  {
    // Reports are dropped: the fuzzer looks only for crashes and leaks.
    orvane::T3DModel model(orvane::AssetReporter{}, &textures);
    if (model.LoadFromMemory({data, size})) {
      float sink = 0.0f;
      for (const orvane::T3DObject& object : model.Objects) {
        if (object.Normals.size() != object.Vertices.size()) std::abort();
        orvane::ForEachDrawnCorner(object, [&](const orvane::TVector3& n, const orvane::TTexCoord& t,
                                               const orvane::TVector3& v) { sink += n.x + t.u + v.z; });
      }
      volatile float keep = sink;
      (void)keep;
    }
    if (!model.Materials.empty()) std::abort();
  }
  if (!textures.AllDeleted()) std::abort();
  return 0;
}
