// GL 3.3 entry points: called only after the context reported version 3.3 or later.
#define GL_GLEXT_PROTOTYPES 1

#include "viewer/night_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include "viewer/frame_memory.h"
#include "viewer/gl_headers.h"
#include "viewer/gl_state_guard.h"
#include "viewer/night_projection.h"
#include "viewer/night_shaders.h"
#include "viewer/night_sky.h"
#include "viewer/night_sprites.h"

namespace orvane {
namespace {

static_assert(sizeof(NightSprite) == 8 * sizeof(float), "sprites are uploaded as they are");
static_assert(sizeof(SkyStar) == 6 * sizeof(float), "sky stars are uploaded as they are");

// Burst light scattered towards the camera, and falling on the ground, per unit of a
// cluster's power over the squared distance.
constexpr float kHaze = 1.5f;
constexpr float kGroundLight = 30.0f;
// Show time wraps after an hour for the ripples, before float steps grow visible.
constexpr double kRippleSeconds = 3600;

bool HasVersion33(std::string& why) {
  const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  int major = 0, minor = 0;
  if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2) {
    why = "no OpenGL version could be read";
    return false;
  }
  if (major > 3 || (major == 3 && minor >= 3)) return true;
  why = std::string("the night view needs OpenGL 3.3; this context has ") + version;
  return false;
}

void SetUniform(const GlProgram& p, const char* name, float v) { glUniform1f(p.Uniform(name), v); }
void SetUniform(const GlProgram& p, const char* name, int32_t v) { glUniform1i(p.Uniform(name), v); }
void SetUniform(const GlProgram& p, const char* name, float x, float y) { glUniform2f(p.Uniform(name), x, y); }
void SetUniform(const GlProgram& p, const char* name, const Vec3& v) { glUniform3f(p.Uniform(name), v[0], v[1], v[2]); }
void SetMatrix(const GlProgram& p, const char* name, const std::array<float, 16>& m) {
  glUniformMatrix4fv(p.Uniform(name), 1, GL_FALSE, m.data());
}

void BindTexture(int unit, uint32_t texture) {
  glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
  glBindTexture(GL_TEXTURE_2D, texture);
}

void DrawFullScreen(uint32_t empty_array) {
  glBindVertexArray(empty_array);
  glDrawArrays(GL_TRIANGLES, 0, 3);
}

void SetFilter(GLint filter, GLint wrap) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

bool WantsReflection(const NightScene& scene) {
  return scene.Environment && scene.Site.Ground == NightGround::kWater && scene.Profile == NightProfile::Export;
}

}  // namespace

NightRenderer::~NightRenderer() {
  if (state_ == State::Ready && glGetString(GL_VERSION) != nullptr) Release();
}

Result<> NightRenderer::Available() {
  if (state_ == State::Untried) {
    why_.clear();
    const bool built = Build(why_);
    if (!built) Release();
    state_ = built ? State::Ready : State::Unavailable;
  }
  if (state_ != State::Ready) return Fail(why_);
  return {};
}

bool NightRenderer::Build(std::string& why) {
  if (!HasVersion33(why)) return false;
  using namespace night_shaders;
  const struct {
    GlProgram* Program;
    const char* Name;
    const char* Vertex;
    const char* Fragment;
  } programs[] = {
      {&environment_, "environment", kFullScreenVertex, kEnvironmentFragment},
      {&skyStars_, "sky stars", kSkyStarsVertex, kSkyStarsFragment},
      {&stars_, "stars", kStarsVertex, kStarsFragment},
      {&downsample_, "downsample", kFullScreenVertex, kDownsampleFragment},
      {&upsample_, "upsample", kFullScreenVertex, kUpsampleFragment},
      {&composite_, "composite", kFullScreenVertex, kCompositeFragment},
  };
  for (const auto& p : programs) {
    if (const std::string error = p.Program->Build(p.Vertex, p.Fragment); !error.empty()) {
      why = std::string("the night view's ") + p.Name + " program does not build: " + error;
      return false;
    }
  }
  GlStateGuard guard;
  glGenVertexArrays(1, &emptyArray_);

  glGenVertexArrays(1, &starArray_);
  glGenBuffers(1, &starBuffer_);
  glBindVertexArray(starArray_);
  glBindBuffer(GL_ARRAY_BUFFER, starBuffer_);
  const GLsizei stride = sizeof(NightSprite);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(NightSprite, HeadX)));
  glVertexAttribDivisor(0, 1);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(NightSprite, Radius)));
  glVertexAttribDivisor(1, 1);

  const std::vector<SkyStar> sky = SkyStars();
  skyCount_ = static_cast<int32_t>(sky.size());
  glGenVertexArrays(1, &skyArray_);
  glGenBuffers(1, &skyBuffer_);
  glBindVertexArray(skyArray_);
  glBindBuffer(GL_ARRAY_BUFFER, skyBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sky.size() * sizeof(SkyStar)), sky.data(), GL_STATIC_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SkyStar),
                        reinterpret_cast<const void*>(offsetof(SkyStar, Direction)));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(SkyStar),
                        reinterpret_cast<const void*>(offsetof(SkyStar, Light)));

  const std::vector<float> heights = HorizonProfile();
  glGenTextures(1, &horizon_);
  glBindTexture(GL_TEXTURE_2D, horizon_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, static_cast<GLsizei>(heights.size()), 1, 0, GL_RED, GL_FLOAT, heights.data());
  SetFilter(GL_LINEAR, GL_REPEAT);

  const float black[4] = {0, 0, 0, 0};
  glGenTextures(1, &black_);
  glBindTexture(GL_TEXTURE_2D, black_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, black);
  SetFilter(GL_NEAREST, GL_CLAMP_TO_EDGE);

  // A half-float frame must be a colour target here, or nothing else will work.
  MakeTarget(scene_, 4, 4, GL_RGBA16F);
  glBindFramebuffer(GL_FRAMEBUFFER, scene_.Framebuffer);
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    why = "this context cannot draw into half-float frames";
    return false;
  }
  if (glGetError() != GL_NO_ERROR) {
    why = "the night view's set-up failed in this context";
    return false;
  }
  return true;
}

void NightRenderer::MakeTarget(Target& target, int32_t width, int32_t height, uint32_t format) {
  if (target.Texture != 0 && target.Width == width && target.Height == height) return;
  FreeTarget(target);
  target.Width = width;
  target.Height = height;
  glGenTextures(1, &target.Texture);
  glBindTexture(GL_TEXTURE_2D, target.Texture);
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
  SetFilter(GL_LINEAR, GL_CLAMP_TO_EDGE);
  glGenFramebuffers(1, &target.Framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, target.Framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.Texture, 0);
}

void NightRenderer::FreeTarget(Target& target) {
  if (target.Framebuffer != 0) glDeleteFramebuffers(1, &target.Framebuffer);
  if (target.Texture != 0) glDeleteTextures(1, &target.Texture);
  target = Target{};
}

void NightRenderer::Release() {
  for (GlProgram* p : {&environment_, &skyStars_, &stars_, &downsample_, &upsample_, &composite_}) p->Release();
  for (uint32_t* array : {&emptyArray_, &starArray_, &skyArray_}) {
    if (*array != 0) glDeleteVertexArrays(1, array);
    *array = 0;
  }
  for (uint32_t* buffer : {&starBuffer_, &skyBuffer_}) {
    if (*buffer != 0) glDeleteBuffers(1, buffer);
    *buffer = 0;
  }
  for (uint32_t* texture : {&horizon_, &title_, &black_}) {
    if (*texture != 0) glDeleteTextures(1, texture);
    *texture = 0;
  }
  FreeTarget(scene_);
  FreeTarget(surroundings_);
  FreeTarget(reflection_);
  FreeTarget(linear_);
  for (Target& t : bloom_) FreeTarget(t);
  bloom_.clear();
  state_ = State::Untried;
}

void NightRenderer::Size(int32_t width, int32_t height, bool reflection) {
  MakeTarget(scene_, width, height, GL_RGBA16F);
  const int32_t half_width = std::max(width / 2, 1), half_height = std::max(height / 2, 1);
  MakeTarget(surroundings_, half_width, half_height, GL_RGBA16F);
  if (reflection) MakeTarget(reflection_, half_width, half_height, GL_RGBA16F);
  const std::vector<BloomLevel> levels = BloomLevels(width, height, kNightBloomLevels);
  for (size_t i = levels.size(); i < bloom_.size(); ++i) FreeTarget(bloom_[i]);
  bloom_.resize(levels.size());
  for (size_t i = 0; i < levels.size(); ++i) MakeTarget(bloom_[i], levels[i].Width, levels[i].Height, GL_RGBA16F);
}

void NightRenderer::Render(const NightScene& scene, const NightTarget& target) {
  if (!Available() || target.Width <= 0 || target.Height <= 0) return;
  KeepFrameMemory();
  GlStateGuard guard;
  DrawScene(scene, target.Width, target.Height);
  const int levels =
      scene.Bloom ? DrawBloom(scene.Profile == NightProfile::Export ? kNightBloomLevels : kNightPreviewBloomLevels) : 0;
  Composite(&scene, scene_.Texture, scene.Environment ? surroundings_.Texture : black_, levels, false, true, target);
}

void NightRenderer::DrawScene(const NightScene& scene, int32_t width, int32_t height) {
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_SCISSOR_TEST);
  glDepthMask(GL_FALSE);
  const bool reflected = WantsReflection(scene);
  Size(width, height, reflected);
  if (reflected) DrawReflection(scene);
  if (scene.Environment) DrawEnvironment(scene, reflected);
  glBindFramebuffer(GL_FRAMEBUFFER, scene_.Framebuffer);
  glViewport(0, 0, width, height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  if (scene.Environment) DrawSkyStars(scene);
  DrawStars(scene, scene_, false);
}

void NightRenderer::DrawReflection(const NightScene& scene) {
  glBindFramebuffer(GL_FRAMEBUFFER, reflection_.Framebuffer);
  glViewport(0, 0, reflection_.Width, reflection_.Height);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  DrawStars(scene, reflection_, true);
}

void NightRenderer::DrawEnvironment(const NightScene& scene, bool reflected) {
  const Target& into = surroundings_;
  const NightProjection p = ProjectionFor(scene.Camera, into.Width, into.Height);
  const GlProgram& e = environment_;
  glBindFramebuffer(GL_FRAMEBUFFER, into.Framebuffer);
  glViewport(0, 0, into.Width, into.Height);
  glDisable(GL_BLEND);
  e.Use();
  SetUniform(e, "uEye", p.Eye);
  SetUniform(e, "uRight", p.Right);
  SetUniform(e, "uUp", p.Up);
  SetUniform(e, "uForward", p.Forward);
  SetUniform(e, "uTanHalf", p.TanHalfX, p.TanHalfY);
  SetUniform(e, "uPixelAngle", p.PixelAngle);
  SetUniform(e, "uHorizonDistance", kHorizonDistanceMetres);
  SetUniform(e, "uWater", scene.Site.Ground == NightGround::kWater ? 1 : 0);
  SetUniform(e, "uSeconds", static_cast<float>(std::fmod(std::max(scene.Seconds, 0.0), kRippleSeconds)));
  SetUniform(e, "uReflectionOn", reflected ? 1.0f : 0.0f);
  SetUniform(e, "uHaze", kHaze);
  SetUniform(e, "uGroundLight", kGroundLight);
  const int count = static_cast<int>(std::min<size_t>(scene.Lights.size(), kMaxNightLights));
  SetUniform(e, "uLightCount", count);
  for (int i = 0; i < count; ++i) {
    const std::string index = "[" + std::to_string(i) + "]";
    SetUniform(e, ("uLightPosition" + index).c_str(), scene.Lights[static_cast<size_t>(i)].Position);
    SetUniform(e, ("uLightPower" + index).c_str(), scene.Lights[static_cast<size_t>(i)].Power);
  }
  SetUniform(e, "uHorizon", 0);
  SetUniform(e, "uReflection", 1);
  BindTexture(0, horizon_);
  BindTexture(1, reflected ? reflection_.Texture : black_);
  DrawFullScreen(emptyArray_);
}

void NightRenderer::DrawSkyStars(const NightScene& scene) {
  const NightProjection p = ProjectionFor(scene.Camera, scene_.Width, scene_.Height);
  const GlProgram& s = skyStars_;
  s.Use();
  SetMatrix(s, "uRotation", p.Rotation);
  SetUniform(s, "uEye", p.Eye);
  SetUniform(s, "uHorizonDistance", kHorizonDistanceMetres);
  SetUniform(s, "uHorizon", 0);
  BindTexture(0, horizon_);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glBindVertexArray(skyArray_);
  glDrawArrays(GL_POINTS, 0, skyCount_);
  glDisable(GL_BLEND);
}

void NightRenderer::DrawStars(const NightScene& scene, const Target& into, bool mirrored) {
  const NightProjection p = ProjectionFor(scene.Camera, into.Width, into.Height);
  const std::vector<NightSprite> sprites = SpritesOf(scene.Stars, p, into.Width, into.Height, mirrored);
  if (sprites.empty()) return;
  glBindBuffer(GL_ARRAY_BUFFER, starBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sprites.size() * sizeof(NightSprite)), sprites.data(),
               GL_STREAM_DRAW);
  const GlProgram& s = stars_;
  s.Use();
  SetUniform(s, "uViewport", static_cast<float>(into.Width), static_cast<float>(into.Height));
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glBindVertexArray(starArray_);
  glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 4, static_cast<GLsizei>(sprites.size()));
  glDisable(GL_BLEND);
}

int NightRenderer::DrawBloom(int levels) {
  const int used = std::min(levels, static_cast<int>(bloom_.size()));
  if (used == 0) return 0;
  glDisable(GL_BLEND);
  downsample_.Use();
  SetUniform(downsample_, "uSource", 0);
  const Target* source = &scene_;
  for (int i = 0; i < used; ++i) {
    const Target& into = bloom_[static_cast<size_t>(i)];
    glBindFramebuffer(GL_FRAMEBUFFER, into.Framebuffer);
    glViewport(0, 0, into.Width, into.Height);
    SetUniform(downsample_, "uSourceTexel", 1.0f / static_cast<float>(source->Width),
               1.0f / static_cast<float>(source->Height));
    BindTexture(0, source->Texture);
    DrawFullScreen(emptyArray_);
    source = &into;
  }
  upsample_.Use();
  SetUniform(upsample_, "uSource", 0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  for (int i = used - 2; i >= 0; --i) {
    const Target& into = bloom_[static_cast<size_t>(i)];
    const Target& from = bloom_[static_cast<size_t>(i) + 1];
    glBindFramebuffer(GL_FRAMEBUFFER, into.Framebuffer);
    glViewport(0, 0, into.Width, into.Height);
    SetUniform(upsample_, "uSourceTexel", 1.0f / static_cast<float>(from.Width),
               1.0f / static_cast<float>(from.Height));
    BindTexture(0, from.Texture);
    DrawFullScreen(emptyArray_);
  }
  glDisable(GL_BLEND);
  return used;
}

void NightRenderer::UploadTitle(const NightTitle& title) {
  if (title_ == 0) glGenTextures(1, &title_);
  // On its own unit: the others hold the composite's inputs by now.
  BindTexture(2, title_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, title.Width, title.Height, 0, GL_RED, GL_UNSIGNED_BYTE, title.Coverage.data());
  SetFilter(GL_LINEAR, GL_CLAMP_TO_EDGE);
}

void NightRenderer::Composite(const NightScene* scene, uint32_t scene_texture, uint32_t environment_texture,
                              int bloom_levels, bool linear, bool dither, const NightTarget& target) {
  glBindFramebuffer(GL_FRAMEBUFFER, target.Framebuffer);
  glViewport(target.X, target.Y, target.Width, target.Height);
  glDisable(GL_BLEND);
  const GlProgram& c = composite_;
  c.Use();
  SetUniform(c, "uScene", 0);
  SetUniform(c, "uBloom", 1);
  SetUniform(c, "uTitle", 2);
  SetUniform(c, "uEnvironment", 3);
  BindTexture(3, environment_texture);
  BindTexture(0, scene_texture);
  BindTexture(1, bloom_levels > 0 ? bloom_[0].Texture : black_);
  SetUniform(c, "uBloomMix", bloom_levels > 0 ? kBloomMix : 0.0f);
  SetUniform(c, "uBloomScale", bloom_levels > 0 ? 1.0f / static_cast<float>(bloom_levels) : 0.0f);
  SetUniform(c, "uExposure", 1.0f);
  SetUniform(c, "uLinear", linear ? 1 : 0);
  SetUniform(c, "uDither", dither ? 1 : 0);
  glUniform2i(c.Uniform("uOrigin"), target.X, target.Y);
  const NightTitle* title = scene != nullptr ? scene->Title : nullptr;
  const bool titled = title != nullptr && title->Opacity > 0 && title->Width > 0 && title->Height > 0 &&
                      title->Coverage.size() == static_cast<size_t>(title->Width) * static_cast<size_t>(title->Height);
  SetUniform(c, "uTitleOpacity", titled ? std::min(title->Opacity, 1.0f) : 0.0f);
  if (titled) {
    UploadTitle(*title);
    // Centred a little above the middle, narrowed to fit the picture.
    const float fit = std::min(1.0f, 0.9f * static_cast<float>(target.Width) / static_cast<float>(title->Width));
    const float w = static_cast<float>(title->Width) * fit / static_cast<float>(target.Width);
    const float h = static_cast<float>(title->Height) * fit / static_cast<float>(target.Height);
    glUniform4f(c.Uniform("uTitleRect"), 0.5f - w / 2, 0.56f - h / 2, 0.5f + w / 2, 0.56f + h / 2);
    glBindTexture(GL_TEXTURE_2D, title_);
  } else {
    BindTexture(2, black_);
  }
  DrawFullScreen(emptyArray_);
}

std::vector<float> NightRenderer::RenderLinear(const NightScene& scene, int32_t width, int32_t height,
                                               bool bloom_mixed) {
  if (!Available() || width <= 0 || height <= 0) return {};
  GlStateGuard guard;
  DrawScene(scene, width, height);
  const int profileLevels = scene.Profile == NightProfile::Export ? kNightBloomLevels : kNightPreviewBloomLevels;
  const int levels = bloom_mixed && scene.Bloom ? DrawBloom(profileLevels) : 0;
  MakeTarget(linear_, width, height, GL_RGBA32F);
  Composite(&scene, scene_.Texture, scene.Environment ? surroundings_.Texture : black_, levels, true, false,
            {linear_.Framebuffer, 0, 0, width, height});
  std::vector<float> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, linear_.Framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_FLOAT, pixels.data());
  return pixels;
}

std::vector<uint8_t> NightRenderer::Develop(std::span<const float> rgb, int32_t width, int32_t height, bool dither) {
  if (!Available() || width <= 0 || height <= 0 ||
      rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
    return {};
  GlStateGuard guard;
  Target source, developed;
  glGenTextures(1, &source.Texture);
  glBindTexture(GL_TEXTURE_2D, source.Texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB32F, width, height, 0, GL_RGB, GL_FLOAT, rgb.data());
  SetFilter(GL_NEAREST, GL_CLAMP_TO_EDGE);
  MakeTarget(developed, width, height, GL_RGBA8);
  Composite(nullptr, source.Texture, black_, 0, false, dither, {developed.Framebuffer, 0, 0, width, height});
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, developed.Framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  FreeTarget(source);
  FreeTarget(developed);
  std::vector<uint8_t> out(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (size_t i = 0; i < out.size() / 3; ++i) std::copy_n(&rgba[i * 4], 3, &out[i * 3]);
  return out;
}

}  // namespace orvane
