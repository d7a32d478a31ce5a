// Writes Orvane's scenery assets into a folder (normally resources/):
//   orvane-make-assets <folder>
// The output is the same on every run, so the committed files change only when this
// tool does.

#include <cstdio>
#include <exception>
#include <string>

#include "scenery_models.h"
#include "scenery_textures.h"

int main(int argc, char** argv) {
  using namespace orvane::tools;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  try {
    constexpr int kQuality = 85;
    WriteJpeg(LimestoneSlabs(), out + "limesto3.jpg", kQuality);
    WriteJpeg(Stucco(), out + "stucco.jpg", kQuality);
    WriteJpeg(WarmStucco(), out + "stucco4.jpg", kQuality);
    WriteJpeg(GreyDirtStone(), out + "grydirt2.jpg", kQuality);
    WriteJpeg(Sandstone(), out + "sand3.jpg", kQuality);
    WriteJpeg(YellowBricks(), out + "yellobrk.jpg", kQuality);
    WriteJpeg(OrvaneLogo(), out + "ovlogo.jpg", kQuality);
    // 48 x 48 x 3 = 6912 bytes of pixels; the header announces 6914, as the sprite always has.
    WriteBmp(ParticleGlow(), out + "particle.bmp", 6914);
    Write3ds(FloorScene(), out + "floor.3ds");
    Write3ds(ColumnScene(), out + "column.3ds");
    Write3ds(ArcScene(), out + "arc.3ds");
    Write3ds(CameraScene(), out + "camera.3ds");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "orvane-make-assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
