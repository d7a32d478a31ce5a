#pragma once
// The show's music read for the timeline: decoded, its waveform envelope built and, when
// asked, its beats found, all on a worker thread. The thread reports through a
// MusicAnalysisListener; a toolkit layer turns each call into a queued call on its own
// thread. After MusicAnalysed has arrived there, the owner calls Finished() to join.

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

#include "media/audio_decoder.h"
#include "media/beat_detector.h"
#include "media/waveform_envelope.h"

namespace orvane {

struct MusicJob {
  std::filesystem::path File;
  bool FindBeats = true;
};

struct MusicAnalysis {
  std::filesystem::path File;
  AudioDecodeStatus Status = AudioDecodeStatus::Decoded;
  std::string Message;                               // the text for the user when not Ok
  std::shared_ptr<const WaveformEnvelope> Envelope;  // set when Ok; holds the samples
  BeatTrack Beats;                                   // empty unless the job asked for beats

  bool Ok() const { return Status == AudioDecodeStatus::Decoded; }
};

class MusicAnalysisListener {
 public:
  virtual ~MusicAnalysisListener() = default;
  // fraction: 0..1 over the whole job, rising; at most a few hundred calls.
  virtual void MusicProgress(double fraction) = 0;
  // Once for every job that started, whatever its outcome.
  virtual void MusicAnalysed(MusicAnalysis analysis) = 0;
};

// The thread body on the calling thread. A stop request ends it with Status Stopped.
MusicAnalysis AnalyseMusic(const MusicJob& job, const std::function<void(double)>& progress = {},
                           std::stop_token stop = {});

class MusicAnalyser {
 public:
  MusicAnalyser() = default;
  // Asks a running job to stop and waits for it (it reports Stopped first).
  ~MusicAnalyser();
  MusicAnalyser(const MusicAnalyser&) = delete;
  MusicAnalyser& operator=(const MusicAnalyser&) = delete;

  // False while a job runs or its Finished() has not been called; listener must outlive
  // the job.
  bool Start(MusicJob job, MusicAnalysisListener& listener);
  // Asks the running job to stop; it still reports MusicAnalysed.
  void RequestStop();
  // After MusicAnalysed: joins the thread so the next Start can run.
  void Finished();
  bool Busy() const { return thread_.joinable(); }

 private:
  std::jthread thread_;
};

}  // namespace orvane
