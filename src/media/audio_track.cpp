#include "media/audio_track.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "media/audio_source.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace orvane {
namespace {

// More than this from one decoded frame means a broken header, not music.
constexpr int64_t kMaxSamplesPerFrame = int64_t{kAudioTrackSampleRate} * 10;
// Music offsets beyond a day are typing errors; they only cost skipping time.
constexpr double kMaxStartSeconds = 86400;

}  // namespace

struct AudioTrack::Decoder {
  std::unique_ptr<AudioSource> source;
  SwrContext* resampler = nullptr;
  bool drained = false;
  // The resampler's input as it was set up, to notice a change of format mid-stream.
  int in_rate = 0, in_format = -1, in_channels = 0;
  std::vector<float> left, right;
  size_t at = 0;

  ~Decoder() { swr_free(&resampler); }

  bool SetUpResampler(const AVFrame& f) {
    if (resampler != nullptr && f.sample_rate == in_rate && f.format == in_format &&
        f.ch_layout.nb_channels == in_channels) {
      return true;
    }
    swr_free(&resampler);
    AVChannelLayout in_layout{};
    if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
      av_channel_layout_default(&in_layout, f.ch_layout.nb_channels);
    } else if (av_channel_layout_copy(&in_layout, &f.ch_layout) < 0) {
      return false;
    }
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    const int made = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLTP, kAudioTrackSampleRate, &in_layout,
                                         static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in_layout);
    if (made < 0 || swr_init(resampler) < 0) {
      swr_free(&resampler);
      return false;
    }
    in_rate = f.sample_rate;
    in_format = f.format;
    in_channels = f.ch_layout.nb_channels;
    return true;
  }

  // Appends the resampler's output for `f` (nullptr: what it still holds).
  void Convert(const AVFrame* f) {
    if (resampler == nullptr) return;
    const int64_t room = swr_get_out_samples(resampler, f != nullptr ? f->nb_samples : 0);
    if (room <= 0 || room > kMaxSamplesPerFrame) return;
    const size_t old = left.size();
    left.resize(old + static_cast<size_t>(room));
    right.resize(old + static_cast<size_t>(room));
    uint8_t* out[2] = {reinterpret_cast<uint8_t*>(left.data() + old), reinterpret_cast<uint8_t*>(right.data() + old)};
    const int got = swr_convert(resampler, out, static_cast<int>(room),
                                f != nullptr ? const_cast<const uint8_t**>(f->extended_data) : nullptr,
                                f != nullptr ? f->nb_samples : 0);
    left.resize(old + static_cast<size_t>(std::max(got, 0)));
    right.resize(left.size());
  }
};

AudioTrack::AudioTrack() : decoder_(std::make_unique<Decoder>()) {}
AudioTrack::~AudioTrack() = default;

Result<std::unique_ptr<AudioTrack>> AudioTrack::Open(const std::string& path, double start_seconds,
                                                     std::stop_token stop) {
  if (!std::isfinite(start_seconds) || std::fabs(start_seconds) > kMaxStartSeconds) {
    return Fail("The music offset for \"" + path + "\" is out of range.");
  }
  // The whole file passes the analysis' checks first: music refused there is refused here.
  if (const std::optional<AudioFailure> failure = CheckWholeMusic(path, stop)) return Fail(failure->Message);
  std::unique_ptr<AudioTrack> track(new AudioTrack());
  AudioFailure failure;
  track->decoder_->source = AudioSource::Open(path, failure);
  if (!track->decoder_->source) return Fail(failure.Message);
  const int64_t offset = std::llround(start_seconds * kAudioTrackSampleRate);
  track->silence_ = offset < 0 ? -offset : 0;
  track->skip_ = offset > 0 ? offset : 0;
  if (!track->Refill()) {
    return Fail(track->warning_.empty() ? "The music file \"" + path + "\" holds no sound that decodes."
                                        : track->warning_);
  }
  return track;
}

bool AudioTrack::Refill() {
  Decoder& d = *decoder_;
  while (d.at >= d.left.size()) {
    if (d.drained) return false;
    d.left.clear();
    d.right.clear();
    d.at = 0;
    const AVFrame* frame = nullptr;
    switch (d.source->Next(frame)) {
      case AudioSource::Step::kFrame:
        if (d.SetUpResampler(*frame)) d.Convert(frame);
        break;
      case AudioSource::Step::kEnd:
        d.Convert(nullptr);
        d.drained = true;
        break;
      case AudioSource::Step::kFailed:
        // Checked whole at the open: the file changed since. The rest plays as silence.
        warning_ = d.source->Failure().Message;
        d.Convert(nullptr);
        d.drained = true;
        break;
    }
  }
  return true;
}

void AudioTrack::Read(float* left, float* right, int32_t count) {
  assert(count >= 0);
  Decoder& d = *decoder_;
  int32_t i = 0;
  for (; i < count && silence_ > 0; ++i, --silence_) left[i] = right[i] = 0;
  while (i < count) {
    if (d.at >= d.left.size() && !Refill()) break;
    const size_t held = d.left.size() - d.at;
    if (skip_ > 0) {
      const size_t n = std::min(static_cast<size_t>(skip_), held);
      d.at += n;
      skip_ -= static_cast<int64_t>(n);
      continue;
    }
    const size_t n = std::min(static_cast<size_t>(count - i), held);
    std::copy_n(d.left.data() + d.at, n, left + i);
    std::copy_n(d.right.data() + d.at, n, right + i);
    d.at += n;
    i += static_cast<int32_t>(n);
  }
  std::fill(left + i, left + count, 0.0f);
  std::fill(right + i, right + count, 0.0f);
}

}  // namespace orvane
