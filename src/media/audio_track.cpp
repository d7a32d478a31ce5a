#include "media/audio_track.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "media/av_error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace orvane {
namespace {

// A damaged stretch this long in a row ends the music rather than spinning through junk.
constexpr int kMaxBadPacketsInARow = 200;
// More than this from one decoded frame means a broken header, not music.
constexpr int64_t kMaxSamplesPerFrame = int64_t{kAudioTrackSampleRate} * 10;
// Music offsets beyond a day are typing errors; they only cost skipping time.
constexpr double kMaxStartSeconds = 86400;

}  // namespace

struct AudioTrack::Decoder {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  SwrContext* resampler = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  int stream = -1;
  bool input_done = false;
  bool drained = false;
  int bad_packets = 0;
  // The resampler's input as it was set up, to notice a change of format mid-stream.
  int in_rate = 0, in_format = -1, in_channels = 0;
  std::vector<float> left, right;
  size_t at = 0;

  ~Decoder() {
    swr_free(&resampler);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    av_packet_free(&packet);
    av_frame_free(&frame);
  }

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

std::unique_ptr<AudioTrack> AudioTrack::Open(const std::string& path, double start_seconds, std::string& error) {
  const std::string cannot = "cannot use the music file " + path + ": ";
  if (!std::isfinite(start_seconds) || std::fabs(start_seconds) > kMaxStartSeconds) {
    error = cannot + "the music offset is out of range";
    return nullptr;
  }
  QuietAvLog();
  std::unique_ptr<AudioTrack> track(new AudioTrack());
  Decoder& d = *track->decoder_;
  if (!d.packet || !d.frame) {
    error = cannot + "out of memory";
    return nullptr;
  }
  // "file:" keeps a name like "http:x" a local file.
  const std::string url = "file:" + path;
  if (const int r = avformat_open_input(&d.format, url.c_str(), nullptr, nullptr); r < 0) {
    error = cannot + AvErrorText(r);
    return nullptr;
  }
  if (const int r = avformat_find_stream_info(d.format, nullptr); r < 0) {
    error = cannot + AvErrorText(r);
    return nullptr;
  }
  const AVCodec* codec = nullptr;
  d.stream = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
  if (d.stream < 0 || codec == nullptr) {
    error = cannot + (d.stream == AVERROR_DECODER_NOT_FOUND ? "no decoder for its sound" : "it holds no sound");
    return nullptr;
  }
  d.codec = avcodec_alloc_context3(codec);
  if (d.codec == nullptr || avcodec_parameters_to_context(d.codec, d.format->streams[d.stream]->codecpar) < 0 ||
      avcodec_open2(d.codec, codec, nullptr) < 0) {
    error = cannot + "its sound does not decode";
    return nullptr;
  }
  const int64_t offset = std::llround(start_seconds * kAudioTrackSampleRate);
  track->silence_ = offset < 0 ? -offset : 0;
  track->skip_ = offset > 0 ? offset : 0;
  if (!track->Refill()) {
    error = cannot + (track->warning_.empty() ? "it holds no sound that decodes" : track->warning_);
    return nullptr;
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
    const int received = avcodec_receive_frame(d.codec, d.frame);
    if (received == 0) {
      if (d.SetUpResampler(*d.frame)) d.Convert(d.frame);
      av_frame_unref(d.frame);
      continue;
    }
    if (received == AVERROR_EOF) {
      d.Convert(nullptr);
      d.drained = true;
      continue;
    }
    if (received != AVERROR(EAGAIN) || d.input_done) {
      warning_ = "the music breaks off: " + AvErrorText(received);
      d.drained = true;
      continue;
    }
    const int read = av_read_frame(d.format, d.packet);
    if (read < 0) {
      if (read != AVERROR_EOF) warning_ = "the music breaks off: " + AvErrorText(read);
      avcodec_send_packet(d.codec, nullptr);
      d.input_done = true;
      continue;
    }
    if (d.packet->stream_index == d.stream) {
      // A bad packet is skipped; only a long run of them ends the music.
      if (avcodec_send_packet(d.codec, d.packet) < 0) {
        if (++d.bad_packets > kMaxBadPacketsInARow) {
          warning_ = "the music breaks off: too much of it is damaged";
          avcodec_send_packet(d.codec, nullptr);
          d.input_done = true;
        }
      } else {
        d.bad_packets = 0;
      }
    }
    av_packet_unref(d.packet);
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
