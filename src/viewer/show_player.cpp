#include "viewer/show_player.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "util/rounding.h"

namespace orvane {

// One loader run: reads one block and hands the completion to the main thread.
class ShowPlayer::TWorkerThread {
 public:
  TWorkerThread(std::shared_ptr<PlaybackSession> session, MainThreadPoster& poster,
                std::function<void(int32_t)> progress, std::function<void()> done)
      : thread_([session = std::move(session), &poster, progress = std::move(progress),
                 done = std::move(done)](std::stop_token stop) {
          LowerPriority();
          LoadNextBlock(*session, stop, poster, progress);
          poster.Post(done);
        }) {}

  void Stop() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
  }

 private:
  // One step below normal, so drawing keeps precedence.
  static void LowerPriority() { setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 1); }

  std::jthread thread_;
};

bool ReadAheadRoom(size_t queued, uint64_t queuedBytes, uint64_t inPlayBytes, uint64_t budget) {
  if (queued >= kReadAheadBlocks) return false;
  // Nothing to play and nothing coming: the show would stall without this read.
  if (queued == 0 && inPlayBytes == 0) return true;
  return queuedBytes + inPlayBytes < budget;
}

ShowPlayer::ShowPlayer(MainThreadPoster& poster, PeriodicTimerService& timers, PlaybackListener& listener)
    : poster_(poster), timers_(timers), listener_(listener) {}

ShowPlayer::~ShowPlayer() {
  StopPump();
  StopLoader();
}

Result<> ShowPlayer::StartPlayback(const std::filesystem::path& show_file, uint32_t first_frame) {
  if (session_) {
    StopPump();
    StopLoader();
    session_.reset();
  }
  auto session = std::make_shared<PlaybackSession>();
  if (!session->ShowFile.Open(show_file)) {
    return Fail("Cannot open the compiled show: " + session->ShowFile.Fault().Reason + ".");
  }
  session->Generation = ++generation_;
  session->SkipBlocks = first_frame / kFramesPerBlock;
  session_ = std::move(session);
  frameData_.clear();
  frameExists_ = true;
  blockData_.reset();
  frames_ = FrameCursor();
  lastFrameIndex_ = 0;
  needBlock_ = true;
  endAnnounced_ = false;
  frameConsumed_ = true;
  playing_ = false;
  paused_ = false;
  framesRead_ = first_frame;
  seekTo_.reset();
  if (first_frame > 0) seekTo_ = first_frame;
  StartPump();
  return {};
}

void ShowPlayer::StartPump() {
  if (pumpRunning_) pumpTimer_.reset();
  pumpRunning_ = true;
  pumpTimer_ = timers_.Start(kPumpPeriodMs, timerResolution_ < 0 ? 10 : timerResolution_, [this] { PumpTick(); });
}

void ShowPlayer::StopPump() {
  if (!pumpRunning_) return;
  pumpRunning_ = false;
  pumpTimer_.reset();
}

void ShowPlayer::PumpTick() {
  if (!pumpRunning_) return;
  poster_.Post([alive = std::weak_ptr<int>(alive_), this] {
    if (!alive.expired()) PumpMessage();
  });
}

void ShowPlayer::PumpMessage() {
  if (!session_) return;
  PlaybackSession& s = *session_;
  bool ended;
  {
    std::lock_guard lock(s.EndLock);
    ended = s.EndOfFile;
  }
  const bool room_left = ReadAheadRoomNow();
  bool empty;
  {
    std::lock_guard lock(s.QueueLock);
    empty = s.BlockQueue.empty();
  }
  if (ended && !endAnnounced_) {
    endAnnounced_ = true;
    listener_.ShowEndReached();
  }
  // The last frame read is drawn before the show ends, so a show never loses its final frame.
  if (ended && empty && needBlock_ && !paused_ && frameConsumed_) {
    EndOfShow();
    return;
  }
  if (!empty && needBlock_) Dequeue();
  if (!ended && room_left) {
    std::unique_lock lock(s.LoaderLock);
    if (!s.LoaderRunning) {
      s.LoaderRunning = true;
      lock.unlock();
      StartLoader();
    }
  }
}

bool ShowPlayer::ReadAheadRoomNow() const {
  uint64_t queuedBytes = 0;
  size_t queued = 0;
  {
    std::lock_guard lock(session_->QueueLock);
    queued = session_->BlockQueue.size();
    for (const QueuedBlock& block : session_->BlockQueue) queuedBytes += block.Data.size();
  }
  return ReadAheadRoom(queued, queuedBytes, blockData_ ? blockData_->Data.size() : 0, readAheadBytes_);
}

void ShowPlayer::ReleaseBlock() {
  needBlock_ = true;
  blockData_.reset();
  frames_ = FrameCursor();
}

void ShowPlayer::Dequeue() {
  {
    std::lock_guard lock(session_->QueueLock);
    if (!session_->BlockQueue.empty()) {
      blockData_ = std::move(session_->BlockQueue.front());
      session_->BlockQueue.pop_front();
      lastFrameIndex_ = blockData_->LastFrameIndex;
      frames_ = FrameCursor(blockData_->Data, lastFrameIndex_);
      needBlock_ = false;
    }
  }
  if (!blockData_ || needBlock_) return;
  framesRead_ = blockData_->FirstFrame;
  // After a seek: the frames before the wanted one are passed, never drawn. A block
  // shorter than the skip (the show's end) leaves its last frame to draw.
  const int64_t skip = seekTo_ ? *seekTo_ - framesRead_ : 0;
  seekTo_.reset();
  ShowFrame frame;
  for (int64_t i = 0; i < skip; ++i) {
    FrameCursor ahead = frames_;
    if (!ahead.Next(frame) || frame.Index >= lastFrameIndex_) break;
    frames_ = ahead;
    ++framesRead_;
  }
}

void ShowPlayer::StopPlayback() {
  if (session_) EndOfShow();
}

void ShowPlayer::StartLoader() {
  const uint64_t generation = session_->Generation;
  const std::weak_ptr<int> alive = alive_;
  auto progress = [this, alive, generation](int32_t percent) {
    if (!alive.expired() && session_ && session_->Generation == generation) listener_.PlaybackProgress(percent);
  };
  const uint64_t run = ++loaderRun_;
  auto done = [this, alive, run] {
    if (!alive.expired()) LoaderDone(run);
  };
  loader_ = std::make_unique<TWorkerThread>(session_, poster_, std::move(progress), std::move(done));
}

void ShowPlayer::LoadNextBlock(PlaybackSession& s, const std::stop_token& stop, MainThreadPoster& poster,
                               const std::function<void(int32_t)>& progress) {
  if (stop.stop_requested()) return;
  ShowBlock block;
  ShowFileReader::Status status = s.ShowFile.ReadBlock(block);
  // Passing over whole blocks before a seek target; the final block is always kept.
  while (s.SkipBlocks > 0 && status == ShowFileReader::Status::kBlock && block.Header.LastBlock == 0 &&
         !s.ShowFile.AtEnd() && !stop.stop_requested()) {
    --s.SkipBlocks;
    s.FramesLoaded += block.FrameCount;
    status = s.ShowFile.ReadBlock(block);
  }
  s.SkipBlocks = 0;
  const int64_t first_frame = s.FramesLoaded;
  s.FramesLoaded += block.FrameCount;
  bool end = status != ShowFileReader::Status::kBlock;
  if (status == ShowFileReader::Status::kBlock) end = block.Header.LastBlock != 0 || s.ShowFile.AtEnd();
  // A damaged block still plays up to its last whole frame.
  if (status == ShowFileReader::Status::kBlock || (status == ShowFileReader::Status::kFault && block.FrameCount > 0)) {
    std::lock_guard lock(s.QueueLock);
    s.BlockQueue.push_back(QueuedBlock{block.Header.LastFrameIndex, first_frame, std::move(block.Data)});
  }
  // The end is announced only after the last block is queued, so the pump never sees the
  // end with that block still on its way.
  if (end) {
    std::lock_guard lock(s.EndLock);
    s.EndOfFile = true;
    if (status == ShowFileReader::Status::kFault) s.Fault = s.ShowFile.Fault().Describe();
  }
  const uint64_t size = s.ShowFile.Size();
  const int32_t percent = size == 0 ? 100 : RoundHalfEven(static_cast<double>(s.ShowFile.Position()) / size * 100);
  poster.Post([progress, percent] { progress(percent); });
}

void ShowPlayer::LoaderDone(uint64_t run) {
  // A completion from a run that was stopped, or from an earlier show, changes nothing.
  if (!session_ || !loader_ || run != loaderRun_) return;
  if (loader_) loader_->Stop();
  loader_.reset();
  PlaybackSession& s = *session_;
  {
    std::lock_guard lock(s.LoaderLock);
    s.LoaderRunning = false;
  }
  bool ended;
  {
    std::lock_guard lock(s.EndLock);
    ended = s.EndOfFile;
  }
  // Playing starts once the read-ahead is full, by count or by bytes, or the file is read.
  if (!playing_ && (ended || !ReadAheadRoomNow())) playing_ = true;
}

// Waits for the loader: it reads at most one block, and nothing may be freed under it.
void ShowPlayer::StopLoader() {
  if (loader_) loader_->Stop();
  loader_.reset();
  if (session_) {
    std::lock_guard lock(session_->LoaderLock);
    session_->LoaderRunning = false;
  }
}

void ShowPlayer::EndOfShow() {
  playing_ = false;
  StopPump();
  StopLoader();
  std::optional<std::string> fault;
  {
    std::lock_guard lock(session_->EndLock);
    fault = session_->Fault;
  }
  session_.reset();
  blockData_.reset();
  frames_ = FrameCursor();
  frameData_.clear();
  frameExists_ = false;
  if (fault) {
    listener_.PlaybackEnded(
        Fail("The compiled show file is damaged (" + *fault + "); playback stopped after its last whole frame."));
  } else {
    listener_.PlaybackEnded({});
  }
}

void ShowPlayer::AdvanceFrame() {
  if (paused_) return;
  if (!blockData_ || !frameConsumed_) return;
  ShowFrame frame;
  if (!frames_.Next(frame)) {
    // A block that ends without reaching its last index must not stall the show.
    ReleaseBlock();
    return;
  }
  ++framesRead_;
  frameData_.assign(frame.Records.begin(), frame.Records.end());
  if (!frameData_.empty()) frameConsumed_ = false;
  if (frame.Index >= lastFrameIndex_) ReleaseBlock();
}

bool ShowPlayer::LoaderRunning() const {
  if (!session_) return false;
  std::lock_guard lock(session_->LoaderLock);
  return session_->LoaderRunning;
}

size_t ShowPlayer::QueuedBlocks() const {
  if (!session_) return 0;
  std::lock_guard lock(session_->QueueLock);
  return session_->BlockQueue.size();
}

}  // namespace orvane
