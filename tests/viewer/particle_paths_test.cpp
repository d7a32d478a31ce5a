// The point sprites draw the picture the quads draw: the same frames through both paths,
// compared pixel by pixel. Set ORVANE_PICTURE_DIR to keep both pictures of each case.
//
// Tolerance: the two paths cover the same pixel centres (each particle is a square parallel
// to the picture in both) and sample the sprite at the same coordinates, but reach them by
// different arithmetic: the rasterizer interpolates the quad's corner coordinates, while a
// point's coordinate comes from its centre and size. Bilinear samples then differ in their
// lowest bits, and a pixel centre lying on a square's edge, to within the rasterizer's
// 1/256-pixel snapping, may fall on either side. So: a channel differs by at most 3 in
// almost every lit pixel, at most 1 % of the lit pixels differ more, and the light the
// whole picture adds up to is the same within 1 %.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/show_reader.h"
#include "gl_fixture.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "support/scripted_dialogs.h"
#include "util/random.h"
#include "viewer/gl_headers.h"
#include "viewer/particle_renderer.h"

namespace orvane::testing {
namespace {

struct PictureDifference {
  int Lit = 0;                     // pixels lit in either picture
  int BeyondNoise = 0;             // lit pixels where a channel differs by more than 3
  int64_t LightA = 0, LightB = 0;  // sums of every channel
};

PictureDifference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  PictureDifference d;
  for (size_t i = 0; i + 3 < a.size(); i += 4) {
    const bool lit = a[i] + a[i + 1] + a[i + 2] + b[i] + b[i + 1] + b[i + 2] > 0;
    if (!lit) continue;
    ++d.Lit;
    int worst = 0;
    for (size_t c = 0; c < 3; ++c) {
      worst = std::max(worst, std::abs(a[i + c] - b[i + c]));
      d.LightA += a[i + c];
      d.LightB += b[i + c];
    }
    if (worst > 3) ++d.BeyondNoise;
  }
  return d;
}

void ExpectSamePicture(const PictureDifference& d, const std::string& what) {
  ASSERT_GT(d.Lit, 0) << what << ": nothing drawn";
  EXPECT_LE(d.BeyondNoise, d.Lit / 100) << what << ": " << d.BeyondNoise << " of " << d.Lit << " pixels";
  EXPECT_NEAR(static_cast<double>(d.LightB), static_cast<double>(d.LightA), 0.01 * static_cast<double>(d.LightA))
      << what;
}

// A raw record with position in 1/3000 units.
void AddRecord(std::vector<uint8_t>& frame, int x, int y, int z, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha,
               uint8_t size) {
  const uint8_t bytes[10] = {static_cast<uint8_t>(x),
                             static_cast<uint8_t>(x >> 8),
                             static_cast<uint8_t>(y),
                             static_cast<uint8_t>(y >> 8),
                             static_cast<uint8_t>(z),
                             static_cast<uint8_t>(z >> 8),
                             r,
                             g,
                             b,
                             static_cast<uint8_t>(alpha << 4 | size)};
  frame.insert(frame.end(), bytes, bytes + 10);
}

// Every size nibble, each near the camera and far from it, in a grid across the picture.
std::vector<uint8_t> SizesNearAndFar() {
  std::vector<uint8_t> frame;
  for (int size = 0; size < 16; ++size) {
    for (int depth : {-2, 0, 1}) {  // about 5, 7 and 9 units before the camera... and far ones below
      const int x = (size - 8) * 1000 + depth * 150;
      AddRecord(frame, x, 2500 - depth * 1200, depth * 6000, 255, static_cast<uint8_t>(40 + size * 13), 90, 15,
                static_cast<uint8_t>(size));
    }
    // Far away: most of these are a pixel wide or less.
    AddRecord(frame, (size - 8) * 4000, -9000, -30000, 200, 220, 255, static_cast<uint8_t>(size),
              static_cast<uint8_t>(size));
    AddRecord(frame, (size - 8) * 3000 + 517, -6000, -32000, 255, 255, 255, 15, static_cast<uint8_t>(size));
  }
  return frame;
}

class ParticlePaths : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    MakeGlowSprite();
  }

  // A radial glow, so that a sprite sampled at other coordinates shows.
  void MakeGlowSprite() {
    constexpr int kSide = 32;
    std::vector<uint8_t> rgba(kSide * kSide * 4);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const double dx = (x + 0.5) / kSide - 0.5, dy = (y + 0.5) / kSide - 0.5;
        const double glow = std::max(0.0, 1.0 - 2.0 * std::sqrt(dx * dx + dy * dy));
        uint8_t* p = &rgba[static_cast<size_t>(y * kSide + x) * 4];
        p[0] = static_cast<uint8_t>(255 * glow);
        p[1] = static_cast<uint8_t>(255 * glow * glow);
        p[2] = static_cast<uint8_t>(255 * std::sqrt(glow));
        p[3] = 255;
      }
    }
    glBindTexture(GL_TEXTURE_2D, sprite_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kSide, kSide, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  }

  std::vector<uint8_t> Picture(const std::vector<uint8_t>& frame, bool billboards, ParticlePath path,
                               const CameraState& camera) {
    StartFrame(camera);
    renderer_.SetPath(path);
    renderer_.Draw(frame.data(), frame.size(), sprite_, billboards);
    return context_->Pixels();
  }

  PictureDifference BothPaths(const std::vector<uint8_t>& frame, bool billboards, const CameraState& camera,
                              const std::string& name) {
    const std::vector<uint8_t> quads = Picture(frame, billboards, ParticlePath::VertexArrays, camera);
    EXPECT_EQ(renderer_.LastPath(), billboards ? ParticlePath::VertexArrays : ParticlePath::Immediate);
    const std::vector<uint8_t> sprites = Picture(frame, billboards, ParticlePath::Sprites, camera);
    EXPECT_EQ(renderer_.LastPath(), ParticlePath::Sprites) << name;
    Keep(quads, name + "_quads");
    Keep(sprites, name + "_sprites");
    return Compare(quads, sprites);
  }

  // As a binary PPM (top row first), for a look at both pictures.
  static void Keep(const std::vector<uint8_t>& rgba, const std::string& name) {
    const char* folder = std::getenv("ORVANE_PICTURE_DIR");
    if (folder == nullptr) return;
    const std::filesystem::path path = std::filesystem::path(folder) / (name + ".ppm");
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return;
    std::fprintf(out, "P6 %d %d 255\n", kPanelWidth, kPanelHeight);
    for (int y = kPanelHeight - 1; y >= 0; --y) {
      for (int x = 0; x < kPanelWidth; ++x) std::fwrite(&rgba[static_cast<size_t>(y * kPanelWidth + x) * 4], 1, 3, out);
    }
    std::fclose(out);
  }

  ParticleRenderer renderer_;
};

TEST_F(ParticlePaths, SyntheticFrameEverySizeNearAndFar) {
  const std::vector<uint8_t> frame = SizesNearAndFar();
  CameraState camera;
  ExpectSamePicture(BothPaths(frame, true, camera, "synthetic"), "billboards, square on");
  camera.Yaw = 150;
  camera.Pitch = -15;
  StepCamera(camera);
  ExpectSamePicture(BothPaths(frame, true, camera, "synthetic_turned"), "billboards, turned camera");
}

TEST_F(ParticlePaths, SyntheticFrameFlat) {
  CameraState camera;
  ExpectSamePicture(BothPaths(SizesNearAndFar(), false, camera, "synthetic_flat"), "flat");
}

// A turned camera sees the flat view's squares at a slant, which a point cannot draw: the
// sprites path gives way to the quads there.
TEST_F(ParticlePaths, FlatViewFromTheSideKeepsItsQuads) {
  CameraState camera;
  camera.Yaw = 150;
  StepCamera(camera);
  const std::vector<uint8_t> frame = SizesNearAndFar();
  const std::vector<uint8_t> quads = Picture(frame, false, ParticlePath::VertexArrays, camera);
  const std::vector<uint8_t> sprites = Picture(frame, false, ParticlePath::Sprites, camera);
  EXPECT_EQ(renderer_.LastPath(), ParticlePath::Immediate);
  EXPECT_EQ(sprites, quads);
}

// The busiest frame of each preset show, compiled seeded.
std::vector<uint8_t> BusiestFrame(int preset) {
  EnableSeededMode(1);
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  ScriptedDialogs dialogs;
  EXPECT_TRUE(ApplyPreset(preset, list, dialogs));
  CompileSnapshot snapshot;
  const int32_t root = PresetDevices(preset).front().Code;
  EXPECT_EQ(TakeSnapshot(
                root, [&list](int32_t c) { return list.FindByCode(c); }, snapshot),
            SnapshotStatus::kReady);
  SetList sets;
  CTrail trail;
  const std::atomic<float> scale{1.0f};
  CompileContext context{sets, trail, snapshot, scale};
  const auto path = std::filesystem::temp_directory_path() / ("orvane-paths-" + std::to_string(preset) + ".dat");
  CompileRootToFile(context, path, nullptr);
  DisableSeededMode();
  ShowFileReader reader;
  EXPECT_TRUE(reader.Open(path));
  std::vector<uint8_t> busiest;
  ShowBlock block;
  while (reader.ReadBlock(block) == ShowFileReader::Status::kBlock) {
    FrameCursor frames = block.Frames();
    ShowFrame frame;
    while (frames.Next(frame)) {
      if (frame.Records.size() > busiest.size()) busiest.assign(frame.Records.begin(), frame.Records.end());
    }
  }
  std::filesystem::remove(path);
  return busiest;
}

TEST_F(ParticlePaths, BusiestFrameOfEveryPreset) {
  for (int preset = 1; preset <= 6; ++preset) {
    const std::vector<uint8_t> frame = BusiestFrame(preset);
    CameraState camera;
    camera.Eye = {0, 3, 14};
    StepCamera(camera);
    const std::string name = "preset" + std::to_string(preset);
    ExpectSamePicture(BothPaths(frame, true, camera, name), name);
  }
}

}  // namespace
}  // namespace orvane::testing
