#pragma once
// The night look: OpenGL 3.3 core with GLSL 330, in any context that has it (a core one
// headless, the display window's compatibility one). Stars add up in a half-float frame;
// bloom from a mip chain is mixed into them keeping the light's total; the sky and the
// ground, smooth enough for half the size, are added; AgX maps the result to 8 bits with a
// half-step dither against banding in the video.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "util/result.h"
#include "viewer/gl_program.h"
#include "viewer/night_bloom.h"
#include "viewer/night_scene.h"

namespace orvane {

// Where the picture goes: a framebuffer of the current context and a rectangle in it.
struct NightTarget {
  uint32_t Framebuffer = 0;
  int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

class NightRenderer {
 public:
  NightRenderer() = default;
  // Frees what it made only while a context is current; a context that is gone took it along.
  ~NightRenderer();
  NightRenderer(const NightRenderer&) = delete;
  NightRenderer& operator=(const NightRenderer&) = delete;

  // Builds the programs in the current context on first use. Fails, with the reason, when
  // the context lacks OpenGL 3.3 or a program does not build; the answer is kept.
  Result<> Available();

  // Draws the scene into the target; leaves the context's state as it found it.
  void Render(const NightScene& scene, const NightTarget& target);

  // The same frame's light before tone mapping, linear RGBA floats, bottom row first: with
  // `bloom_mixed`, after the bloom; else the stars and the surroundings alone.
  std::vector<float> RenderLinear(const NightScene& scene, int32_t width, int32_t height, bool bloom_mixed);

  // Tone maps a linear picture (RGB floats, bottom row first) as a frame's last step:
  // RGB bytes, bottom row first.
  std::vector<uint8_t> Develop(std::span<const float> rgb, int32_t width, int32_t height, bool dither);

  // With the context current: frees every GL object.
  void Release();

 private:
  struct Target {
    uint32_t Texture = 0, Framebuffer = 0;
    int32_t Width = 0, Height = 0;
  };
  bool Build(std::string& why);
  void Size(int32_t width, int32_t height, bool reflection);
  static void MakeTarget(Target& target, int32_t width, int32_t height, uint32_t format);
  static void FreeTarget(Target& target);
  void DrawScene(const NightScene& scene, int32_t width, int32_t height);
  void DrawReflection(const NightScene& scene);
  void DrawEnvironment(const NightScene& scene, bool reflected);
  void DrawSkyStars(const NightScene& scene);
  void DrawStars(const NightScene& scene, const Target& into, bool mirrored);
  int DrawBloom(int levels);
  void Composite(const NightScene* scene, uint32_t scene_texture, uint32_t environment_texture, int bloom_levels,
                 bool linear, bool dither, const NightTarget& target);
  void UploadTitle(const NightTitle& title);

  enum class State { Untried, Ready, Unavailable };
  State state_ = State::Untried;
  std::string why_;
  GlProgram environment_, skyStars_, stars_, downsample_, upsample_, composite_;
  uint32_t emptyArray_ = 0, starArray_ = 0, starBuffer_ = 0, skyArray_ = 0, skyBuffer_ = 0;
  int32_t skyCount_ = 0;
  uint32_t horizon_ = 0, title_ = 0, black_ = 0;
  // Stars at the picture's size; the smooth surroundings and their reflections at half of it.
  Target scene_, surroundings_, reflection_, linear_;
  std::vector<Target> bloom_;
};

}  // namespace orvane
