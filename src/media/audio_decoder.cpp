#include "media/audio_decoder.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <memory>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace orvane {
namespace {

struct ResamplerFreer {
  void operator()(SwrContext* context) const { swr_free(&context); }
};
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;

AudioDecodeResult Refusal(AudioFailure failure) {
  AudioDecodeResult result;
  result.Status = failure.Status;
  result.Message = std::move(failure.Message);
  return result;
}

// The mono sample stream under construction: the resampler for the current input format
// and the bound on the samples kept.
class MonoSink {
 public:
  // False when the input format cannot be converted.
  bool Configure(const AVFrame& frame) {
    const int channels = frame.ch_layout.nb_channels;
    if (channels == channels_ && frame.sample_rate == inputRate_ && frame.format == inputFormat_) return true;
    Flush();
    resampler_.reset();
    if (channels < 1 || frame.sample_rate < kMinMusicSampleRate) return false;
    // The same layout in and out: the resampler changes rate and format only, and the mix
    // to mono is ours, a plain mean that keeps every channel's level.
    AVChannelLayout layout{};
    av_channel_layout_default(&layout, channels);
    SwrContext* context = nullptr;
    const int made = swr_alloc_set_opts2(&context, &layout, AV_SAMPLE_FMT_FLTP, kAudioSampleRate, &layout,
                                         static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&layout);
    resampler_.reset(context);
    if (made < 0 || swr_init(context) < 0) {
      resampler_.reset();
      return false;
    }
    channels_ = channels;
    inputRate_ = frame.sample_rate;
    inputFormat_ = frame.format;
    return true;
  }

  // False once the clip would pass the length bound.
  bool Add(const AVFrame& frame) { return Convert(const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples); }

  // The samples still held inside the resampler.
  bool Flush() {
    if (!resampler_) return true;
    return Convert(nullptr, 0);
  }

  std::vector<float>& Samples() { return samples_; }
  void Reserve(int64_t count) {
    samples_.reserve(static_cast<size_t>(std::clamp<int64_t>(count, 0, kMaxMusicSamples)));
  }

 private:
  bool Convert(const uint8_t** input, int inputCount) {
    assert(resampler_);
    const int room = swr_get_out_samples(resampler_.get(), inputCount);
    if (room <= 0) return true;
    planes_.resize(static_cast<size_t>(channels_));
    std::vector<uint8_t*> pointers(static_cast<size_t>(channels_));
    for (int c = 0; c < channels_; ++c) {
      planes_[static_cast<size_t>(c)].resize(static_cast<size_t>(room));
      pointers[static_cast<size_t>(c)] = reinterpret_cast<uint8_t*>(planes_[static_cast<size_t>(c)].data());
    }
    const int made = swr_convert(resampler_.get(), pointers.data(), room, input, inputCount);
    if (made <= 0) return true;
    return AppendMean(made);
  }

  bool AppendMean(int count) {
    const size_t have = samples_.size();
    if (static_cast<int64_t>(have) + count > kMaxMusicSamples) return false;
    // Growth never reserves past the bound, so the bound also caps the memory held.
    if (have + static_cast<size_t>(count) > samples_.capacity()) {
      const size_t grown = std::max(samples_.capacity() * 2, have + static_cast<size_t>(count));
      samples_.reserve(std::min(grown, static_cast<size_t>(kMaxMusicSamples)));
    }
    const float scale = 1.0f / static_cast<float>(channels_);
    for (int i = 0; i < count; ++i) {
      float sum = 0.0f;
      for (const auto& plane : planes_) sum += plane[static_cast<size_t>(i)];
      samples_.push_back(sum * scale);
    }
    return true;
  }

  ResamplerPtr resampler_;
  int channels_ = 0;
  int inputRate_ = 0;
  int inputFormat_ = -1;
  std::vector<std::vector<float>> planes_;
  std::vector<float> samples_;
};

}  // namespace

AudioDecodeResult DecodeAudioFile(const std::filesystem::path& path, const AudioProgress& progress,
                                  std::stop_token stop) {
  AudioFailure failure;
  std::unique_ptr<AudioSource> source = AudioSource::Open(path, failure);
  if (!source) return Refusal(std::move(failure));
  auto failed = [&path](AudioDecodeStatus status, const std::string& what) {
    return Refusal({status, "The music file \"" + path.string() + "\" " + what});
  };
  MonoSink sink;
  const double declared = source->DeclaredSeconds();
  if (declared > 0) sink.Reserve(static_cast<int64_t>(std::ceil(declared * kAudioSampleRate)) + kAudioSampleRate);
  double reported = 0;
  const AVFrame* frame = nullptr;
  for (;;) {
    if (stop.stop_requested()) return failed(AudioDecodeStatus::Stopped, "was not read to the end: stopped.");
    const AudioSource::Step step = source->Next(frame);
    if (step == AudioSource::Step::kFailed) return Refusal(source->Failure());
    if (step == AudioSource::Step::kEnd) break;
    if (!sink.Configure(*frame))
      return failed(AudioDecodeStatus::Undecodable, "cannot be decoded: its sample format is not supported.");
    if (!sink.Add(*frame)) return failed(AudioDecodeStatus::TooLong, TooLongMusicText());
    // At most about a hundred reports a file.
    if (const double fraction = source->FractionRead(); progress && fraction - reported >= 0.01) {
      reported = fraction;
      progress(fraction);
    }
  }
  if (!sink.Flush()) return failed(AudioDecodeStatus::TooLong, TooLongMusicText());
  AudioDecodeResult result;
  result.Clip.Samples = std::move(sink.Samples());
  if (progress) progress(1.0);
  return result;
}

}  // namespace orvane
