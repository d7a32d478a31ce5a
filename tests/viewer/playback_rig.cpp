#include "playback_rig.h"

#include <chrono>
#include <fstream>

#include "compiler/show_sink.h"
#include "compiler/show_writer.h"

namespace orvane::testing {
std::vector<uint8_t> BuildShow(const TestShow& show) {
  ShowMemorySink sink;
  ShowWriter writer(sink);
  for (int f = 0; f < show.frames; ++f) {
    writer.BeginFrame();
    const int n = show.particles_in(f);
    for (int i = 0; i < n; ++i) writer.AddRecord(f / 3000.0f, 0, 0, 1, 1, 1, 1, 5);
    writer.EndFrame(f == show.frames - 1);
  }
  writer.Finish();
  return sink.Bytes;
}

PlaybackRig::PlaybackRig() = default;

std::filesystem::path PlaybackRig::WriteShow(const std::vector<uint8_t>& bytes) {
  std::ofstream(ShowPath(), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return ShowPath();
}

void PlaybackRig::Pump() {
  timers.Tick();
  poster.RunPending();
  poster.RunUntil([this] { return !player.LoaderRunning(); }, std::chrono::seconds(10));
  poster.RunPending();
}

void PlaybackRig::Render() {
  if (const std::vector<uint8_t>* frame = player.FrameData(); frame != nullptr && player.Playing()) {
    if (!frame->empty()) drawn.push_back(static_cast<int16_t>((*frame)[0] | (*frame)[1] << 8));
    player.MarkFrameConsumed();
  }
  player.AdvanceFrame();
}

void PlaybackRig::Tick() {
  Pump();
  Pump();
  Render();
}

bool PlaybackRig::PlayToEnd(int limit) {
  for (int i = 0; i < limit && player.Active(); ++i) Tick();
  return !player.Active();
}

}  // namespace orvane::testing
