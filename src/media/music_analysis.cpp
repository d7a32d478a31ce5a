#include "media/music_analysis.h"

namespace orvane {
namespace {

// Decoding takes this share of the progress bar when beats follow; beat tracking costs
// about as much as decoding.
constexpr double kDecodeShareWithBeats = 0.5;

}  // namespace

MusicAnalysis AnalyseMusic(const MusicJob& job, const std::function<void(double)>& progress, std::stop_token stop) {
  MusicAnalysis analysis;
  analysis.File = job.File;
  const double decodeShare = job.FindBeats ? kDecodeShareWithBeats : 1.0;
  auto report = [&](double from, double share) {
    return [&progress, from, share](double fraction) {
      if (progress) progress(from + share * fraction);
    };
  };

  AudioDecodeResult decoded = DecodeAudioFile(job.File, report(0.0, decodeShare), stop);
  if (!decoded.Ok()) {
    analysis.Status = decoded.Status;
    analysis.Message = std::move(decoded.Message);
    return analysis;
  }
  auto envelope = std::make_shared<const WaveformEnvelope>(std::move(decoded.Clip));
  if (job.FindBeats) {
    analysis.Beats =
        DetectBeats(envelope->Samples(), envelope->SampleRate(), report(decodeShare, 1.0 - decodeShare), stop);
    if (analysis.Beats.Status == BeatStatus::Stopped) {
      analysis.Status = AudioDecodeStatus::Stopped;
      analysis.Message = analysis.Beats.Message;
      return analysis;
    }
  }
  analysis.Envelope = std::move(envelope);
  return analysis;
}

MusicAnalyser::~MusicAnalyser() {
  if (thread_.joinable()) {
    thread_.request_stop();
    thread_.join();
  }
}

bool MusicAnalyser::Start(MusicJob job, MusicAnalysisListener& listener) {
  if (thread_.joinable()) return false;
  thread_ = std::jthread([job = std::move(job), &listener](std::stop_token stop) {
    MusicAnalysis analysis = AnalyseMusic(
        job, [&listener](double fraction) { listener.MusicProgress(fraction); }, stop);
    listener.MusicAnalysed(std::move(analysis));
  });
  return true;
}

void MusicAnalyser::RequestStop() {
  if (thread_.joinable()) thread_.request_stop();
}

void MusicAnalyser::Finished() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace orvane
