#pragma once
// What the model reader asks for each texture map a material names. The viewer plugs in
// the GL loader; tests and fuzzers plug in recorders, so reading needs no GL context.

#include <cstdint>
#include <string>

namespace orvane {

class TextureService {
 public:
  virtual ~TextureService() = default;
  // Loads the texture file `fileName` (the whole path); true with its name in `textureId`.
  virtual bool LoadTexture(const std::string& fileName, uint32_t& textureId) = 0;
  virtual void DeleteTexture(uint32_t textureId) = 0;
};

}  // namespace orvane
