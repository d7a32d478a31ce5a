#pragma once
// Plays a compiled show: a short-lived loader thread reads one block per run into a queue
// of at most five, a 20 ms pump on the main thread moves blocks to the player and starts
// loader runs, and every render tick takes one frame.

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "compiler/show_reader.h"
#include "util/result.h"
#include "viewer/display_services.h"

namespace orvane {

inline constexpr int32_t kPumpPeriodMs = 20;
inline constexpr size_t kReadAheadBlocks = 5;
// The most record bytes held ahead, the block in play included. Blocks of a few megabytes
// (any show that plays in real time) fill all five places; a show of huge blocks (up to a
// gigabyte each) holds one at a time, and reads the next when the one in play is used up.
inline constexpr uint64_t kReadAheadBytes = uint64_t{256} << 20;

// Whether the loader may read another block: `queued` blocks of `queuedBytes` wait, and the
// block in play (0 once its last frame is taken) holds `inPlayBytes`.
bool ReadAheadRoom(size_t queued, uint64_t queuedBytes, uint64_t inPlayBytes, uint64_t budget = kReadAheadBytes);

// What playback tells the display around it, on the main thread.
class PlaybackListener {
 public:
  virtual ~PlaybackListener() = default;
  // The loader's place in the show file, in percent, once per loader run.
  virtual void PlaybackProgress(int32_t percent) = 0;
  // The loader has read the show's last block; once per show.
  virtual void ShowEndReached() = 0;
  // The show has ended, by itself or by StopPlayback, after the teardown; the failure says
  // why a damaged or truncated file ended it early. A show replaced by a new start ends
  // without it.
  virtual void PlaybackEnded(const Result<>& end) = 0;
};

struct QueuedBlock {
  uint32_t LastFrameIndex = 0;
  int64_t FirstFrame = 0;  // index in the show of the block's first frame
  std::vector<uint8_t> Data;
};

// One show being read: the file and everything the loader shares with the main thread.
// Shared with a running loader, so ending the show never frees what the loader still uses.
struct PlaybackSession {
  ShowFileReader ShowFile;  // touched only by the loader while LoaderRunning
  std::mutex QueueLock;     // guards BlockQueue
  std::deque<QueuedBlock> BlockQueue;
  std::mutex EndLock;  // guards EndOfFile and Fault
  bool EndOfFile = false;
  std::optional<std::string> Fault;
  std::mutex LoaderLock;  // guards LoaderRunning
  bool LoaderRunning = false;
  uint64_t Generation = 0;
  uint32_t SkipBlocks = 0;   // whole blocks the loader still passes over; loader only
  int64_t FramesLoaded = 0;  // frames of the blocks read or passed over; loader only
};

class ShowPlayer {
 public:
  ShowPlayer(MainThreadPoster& poster, PeriodicTimerService& timers, PlaybackListener& listener);
  ~ShowPlayer();
  ShowPlayer(const ShowPlayer&) = delete;
  ShowPlayer& operator=(const ShowPlayer&) = delete;

  // Opens the show and starts the pump; when the file cannot be opened nothing starts. From
  // `first_frame` on: the loader passes over whole blocks before it, and the frames before
  // it in its block are taken undrawn.
  Result<> StartPlayback(const std::filesystem::path& show_file, uint32_t first_frame = 0);
  // Ends a playing show now, as its end would.
  void StopPlayback();

  void StartPump();
  void StopPump();
  // On the timer's thread: only posts PumpMessage.
  void PumpTick();
  void PumpMessage();
  // After every drawn frame.
  void AdvanceFrame();

  // The frame to draw: none outside playback, empty for a frame without particles.
  const std::vector<uint8_t>* FrameData() const { return frameExists_ ? &frameData_ : nullptr; }
  void MarkFrameConsumed() { frameConsumed_ = true; }

  bool Playing() const { return playing_; }
  bool Paused() const { return paused_; }
  void SetPaused(bool paused) { paused_ = paused; }
  bool Active() const { return session_ != nullptr; }
  bool PumpRunning() const { return pumpRunning_; }
  bool LoaderRunning() const;
  // Index in the show of the frame last taken by AdvanceFrame; -1 before the first.
  int64_t CurrentFrame() const { return framesRead_ - 1; }
  size_t QueuedBlocks() const;

  void SetTimerResolution(int32_t ms) { timerResolution_ = ms; }
  // kReadAheadBytes unless a test sets less.
  void SetReadAheadBytes(uint64_t bytes) { readAheadBytes_ = bytes; }

 private:
  class TWorkerThread;

  static void LoadNextBlock(PlaybackSession& session, const std::stop_token& stop, MainThreadPoster& poster,
                            const std::function<void(int32_t)>& progress);
  void StartLoader();
  void LoaderDone(uint64_t run);
  void StopLoader();
  void Dequeue();
  void EndOfShow();
  // The block in play is used up: its records go, only the frame being drawn stays.
  void ReleaseBlock();
  bool ReadAheadRoomNow() const;

  MainThreadPoster& poster_;
  PeriodicTimerService& timers_;
  PlaybackListener& listener_;

  std::shared_ptr<PlaybackSession> session_;
  std::unique_ptr<TWorkerThread> loader_;
  std::unique_ptr<PeriodicTimer> pumpTimer_;
  std::atomic<bool> pumpRunning_{false};
  int32_t timerResolution_ = 10;
  uint64_t readAheadBytes_ = kReadAheadBytes;
  uint64_t generation_ = 0;
  uint64_t loaderRun_ = 0;

  // The block in play and the frame being drawn.
  std::optional<QueuedBlock> blockData_;
  FrameCursor frames_;
  uint32_t lastFrameIndex_ = 0;
  std::vector<uint8_t> frameData_;
  bool frameExists_ = false;
  int64_t framesRead_ = 0;
  std::optional<int64_t> seekTo_;  // the first frame to draw after a seek
  bool frameConsumed_ = true;
  bool needBlock_ = true;
  bool endAnnounced_ = false;
  bool playing_ = false;
  bool paused_ = false;
  // Tasks posted to the main thread check this, so none runs after the player is gone.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace orvane
