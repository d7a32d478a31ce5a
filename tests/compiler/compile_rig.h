#pragma once
// Shared pieces of the compiler tests: hand-made compiled parts, devices prepared the
// normal way, a compile context over a snapshot, and a listener that records.

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "compiler/compile_context.h"
#include "compiler/compile_listener.h"
#include "compiler/compile_show.h"
#include "compiler/compiled_device_prep.h"
#include "compiler/show_sink.h"
#include "model/device.h"
#include "support/form_device.h"

namespace orvane::testing {

struct HandStar {
  float VelX = 0, VelY = 0, VelZ = 0;  // every launch variant
  int32_t Life = 1;
  int32_t NextParFrame = 0;
  float Alpha = 1.0f;
};

// A compiled part made by hand: white stars, all five variants the same.
std::shared_ptr<TCompDevice> HandPart(int32_t code, uint8_t starKind, uint32_t effectFrames,
                                      const std::vector<HandStar>& stars, float resistance = 0.002f,
                                      float gravity = -0.0002f);

std::shared_ptr<const TCompDevice> Prepared(TBaseDevice device);

struct RecordingListener : CompileListener {
  void CompileProgress(int position, int64_t records) override;
  void CompileFinished(const CompileOutcome& outcome) override;
  // Waits until CompileFinished has been called `count` times in all.
  void WaitFinished(size_t count = 1);
  // Waits until CompileProgress has been called `count` times in all.
  void WaitProgress(size_t count);
  // Lets a held CompileFinished return.
  void Release();

  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<int> Positions;
  std::vector<int64_t> Totals;
  std::vector<CompileOutcome> Outcomes;
  // While set, CompileFinished waits for it to be cleared (holds the thread inside the compile).
  bool HoldFinish = false;
};

struct CompileRig {
  SetList Sets;
  CTrail Trail;
  CompileSnapshot Snapshot;
  std::atomic<float> Scale{1.0f};
  CompileContext Context{Sets, Trail, Snapshot, Scale};
  RecordingListener Listener;

  void Add(std::shared_ptr<const TCompDevice> part);
  // A set of the device at (x, y, z) with the root's velocity, resistance and gravity.
  CSet& Place(int32_t code, float x = 0, float y = 0, float z = 0);
  // Compiles the root into memory and returns the file's bytes.
  std::vector<uint8_t> Compile(int32_t root, CompileOutcome* outcome = nullptr);
};

}  // namespace orvane::testing
