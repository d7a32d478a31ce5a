#pragma once
// Draws a compiled show headless with the display window's own scene and frame drawing:
// every frame of a range as a picture, or a contact sheet of frames spread over the show.

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "show/camera_path.h"
#include "viewer/night_scene.h"

namespace orvane {

enum class RenderScenery { Model, Grid, None };

// How particles are drawn: point sprites (with the quads as fallback where a context lacks
// them) or the textured quads always.
enum class RenderParticles { Sprites, Quads };

// The display window's drawing, or the night look over an open site.
enum class RenderLook { Classic, Night };

struct NightRenderOptions {
  NightSite Site;
  Vec3 Viewpoint = NightCamera{}.Eye;  // the audience's eye, metres
  // The camera at each show frame; none: the default camera fitted to the show from the viewpoint.
  std::function<NightCamera(int64_t frame)> CameraAt;
  std::string Title;  // shown over the first two seconds; empty: no title card
};

// The camera along a path of keys (at least one), at each show frame.
std::function<NightCamera(int64_t frame)> FollowCameraPath(std::vector<CameraKey> keys);

struct RenderCamera {
  float Yaw = 180, Pitch = 0, X = 0, Y = 0, Z = 8;
};

struct RenderOptions {
  int32_t Width = 392, Height = 324;
  int64_t FirstFrame = 0, LastFrame = INT64_MAX;
  int64_t Every = 1;
  RenderScenery Scenery = RenderScenery::Model;
  bool Flat = false;
  bool Overview = false;
  // The display's own texts (credits, messages); off for pictures of the fireworks alone.
  bool Texts = true;
  RenderParticles Particles = RenderParticles::Sprites;
  std::optional<RenderCamera> Camera;
  // Scenery, particles, flat, overview, texts and camera above are the classic look's.
  RenderLook Look = RenderLook::Classic;
  NightRenderOptions Night;
};

struct RenderedFrame {
  int64_t Index = 0;
  std::vector<uint8_t> Rgb;  // top row first
};

struct RenderReport {
  std::string Error;                  // set when nothing could be drawn
  std::vector<std::string> Messages;  // what the display would have shown in message boxes
  int64_t FramesPlayed = 0;
  bool Stopped = false;  // `stop` ended the run early
};

// Plays the show; `wanted` picks frames by index, `label` may give each a caption drawn
// at its top-left corner (classic look only), `take` receives the picture (false stops the
// run); `stop` ends the run between frames.
RenderReport RenderShow(const std::string& show_file, const RenderOptions& options,
                        const std::function<bool(int64_t)>& wanted, const std::function<std::string(int64_t)>& label,
                        const std::function<bool(RenderedFrame&&)>& take, std::stop_token stop = {});

// "t = 2.48 s" for a frame index at 25 frames per second.
std::string FrameTimeLabel(int64_t index);

// `count` frame indices spread evenly over a show of `frames` frames.
std::vector<int64_t> SpreadFrames(int64_t frames, int count);

// Tiles columns x rows pictures of width x height into one, row by row; missing tiles stay black.
std::vector<uint8_t> ContactSheet(const std::vector<RenderedFrame>& tiles, int32_t width, int32_t height, int columns,
                                  int rows);

}  // namespace orvane
