#include "media/audio_decoder.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include "media/wav_extent.h"

namespace orvane {
namespace {

// Containers of plain audio. Playlists and other formats that open further files (which
// could be FIFOs, devices or network addresses) are left out, as is video.
constexpr const char* kAudioFormats = "wav,w64,flac,ogg,mp3,aiff,mov,aac,ac3,eac3,wv,ape,caf,matroska,asf,tta,au";

// More channels than any real music file has; a header claiming more is damaged.
constexpr int kMaxChannels = 64;
// A few damaged packets are skipped (players do the same); this many in a row is no music.
constexpr int kMaxBadPacketsInRow = 8;

struct FormatCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ResamplerFreer {
  void operator()(SwrContext* context) const { swr_free(&context); }
};

using FormatPtr = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerFreer>;

std::string FfmpegText(int error) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  return text;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

AudioDecodeResult Failure(AudioDecodeStatus status, const std::filesystem::path& path, const std::string& what) {
  AudioDecodeResult result;
  result.Status = status;
  result.Message = "The music file \"" + path.string() + "\" " + what;
  return result;
}

// The file kind is checked before anything opens it: opening a FIFO would wait for a
// writer forever, and a device could be read without end.
std::optional<AudioDecodeResult> CheckFileKind(const std::filesystem::path& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found)
    return Failure(AudioDecodeStatus::Missing, path, "does not exist.");
  if (error) return Failure(AudioDecodeStatus::Missing, path, "cannot be read: " + error.message() + ".");
  if (status.type() != std::filesystem::file_type::regular)
    return Failure(AudioDecodeStatus::NotAFile, path, "is not a regular file.");
  const auto size = std::filesystem::file_size(path, error);
  if (error) return Failure(AudioDecodeStatus::Missing, path, "cannot be read: " + error.message() + ".");
  if (size == 0) return Failure(AudioDecodeStatus::Empty, path, "is empty.");
  return std::nullopt;
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
    if (channels < 1 || channels > kMaxChannels || frame.sample_rate < kMinMusicSampleRate) return false;
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

// The length the container states, in seconds; negative when it states none or only
// guesses it from the bit rate (which a variable-rate file makes wrong).
double DeclaredSeconds(const AVFormatContext& format, const AVStream& stream) {
  if (format.duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) return -1.0;
  if (stream.duration > 0 && stream.time_base.num > 0 && stream.time_base.den > 0)
    return static_cast<double>(stream.duration) * av_q2d(stream.time_base);
  if (format.duration > 0) return static_cast<double>(format.duration) / AV_TIME_BASE;
  return -1.0;
}

class ProgressReporter {
 public:
  ProgressReporter(const AudioProgress& progress, AVIOContext* io) : progress_(progress), io_(io) {
    if (io_) size_ = avio_size(io_);
  }

  void Report() {
    if (!progress_ || !io_ || size_ <= 0) return;
    const double fraction = std::clamp(static_cast<double>(avio_tell(io_)) / static_cast<double>(size_), 0.0, 1.0);
    if (fraction - last_ < 0.01) return;
    last_ = fraction;
    progress_(fraction);
  }

  void Done() {
    if (progress_) progress_(1.0);
  }

 private:
  const AudioProgress& progress_;
  AVIOContext* io_ = nullptr;
  int64_t size_ = 0;
  double last_ = 0.0;
};

enum class FrameOutcome { Fine, Unconvertible, TooLong };

// Takes every frame the decoder has ready.
FrameOutcome DrainDecoder(AVCodecContext& codec, AVFrame& frame, MonoSink& sink) {
  while (avcodec_receive_frame(&codec, &frame) == 0) {
    const bool configured = sink.Configure(frame);
    const bool added = configured && sink.Add(frame);
    av_frame_unref(&frame);
    if (!configured) return FrameOutcome::Unconvertible;
    if (!added) return FrameOutcome::TooLong;
  }
  return FrameOutcome::Fine;
}

AudioDecodeResult CutShort(const std::filesystem::path& path, double present, double declared) {
  return Failure(AudioDecodeStatus::Truncated, path,
                 "is cut short: it ends after " + Seconds(present) + " of the " + Seconds(declared) + " it declares.");
}

std::string TooLongText() {
  return "is longer than " + std::to_string(kMaxMusicSeconds / 60) + " minutes, the longest music a show can have.";
}

}  // namespace

void QuietCodecLog() { av_log_set_level(AV_LOG_FATAL); }

AudioDecodeResult DecodeAudioFile(const std::filesystem::path& path, const AudioProgress& progress,
                                  std::stop_token stop) {
  if (auto refused = CheckFileKind(path)) return std::move(*refused);
  const std::optional<WavExtent> wav = ReadWavExtent(path);
  if (wav && wav->PresentSeconds() < wav->DeclaredSeconds() - kTruncationToleranceSeconds)
    return CutShort(path, wav->PresentSeconds(), wav->DeclaredSeconds());

  AVFormatContext* rawFormat = nullptr;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "format_whitelist", kAudioFormats, 0);
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = avformat_open_input(&rawFormat, path.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return Failure(AudioDecodeStatus::NotAudio, path, "is not in an audio format the program can read.");
  FormatPtr format(rawFormat);
  if (avformat_find_stream_info(format.get(), nullptr) < 0)
    return Failure(AudioDecodeStatus::NotAudio, path, "is not in an audio format the program can read.");

  const AVCodec* decoder = nullptr;
  const int streamIndex = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (streamIndex == AVERROR_DECODER_NOT_FOUND)
    return Failure(AudioDecodeStatus::Undecodable, path, "uses an audio codec the program cannot decode.");
  if (streamIndex < 0 || !decoder) return Failure(AudioDecodeStatus::NotAudio, path, "holds no audio.");
  const AVStream& stream = *format->streams[streamIndex];

  CodecPtr codec(avcodec_alloc_context3(decoder));
  if (codec) codec->pkt_timebase = stream.time_base;  // lets the decoder trim codec delay and padding quietly
  if (!codec || avcodec_parameters_to_context(codec.get(), stream.codecpar) < 0 ||
      avcodec_open2(codec.get(), decoder, nullptr) < 0)
    return Failure(AudioDecodeStatus::Undecodable, path, "cannot be decoded: its audio stream is damaged.");

  // Decoders that learn the rate only from their first frame leave it to the frames' check.
  if (codec->sample_rate > 0 && codec->sample_rate < kMinMusicSampleRate)
    return Failure(AudioDecodeStatus::Undecodable, path,
                   "is sampled at " + std::to_string(codec->sample_rate) + " Hz; music needs at least " +
                       std::to_string(kMinMusicSampleRate) + " Hz.");

  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  if (!packet || !frame) return Failure(AudioDecodeStatus::Undecodable, path, "cannot be decoded: out of memory.");

  MonoSink sink;
  const double declared = wav ? wav->DeclaredSeconds() : DeclaredSeconds(*format, stream);
  if (declared > kMaxMusicSeconds + kTruncationToleranceSeconds)
    return Failure(AudioDecodeStatus::TooLong, path, TooLongText());
  if (declared > 0) sink.Reserve(static_cast<int64_t>(std::ceil(declared * kAudioSampleRate)) + kAudioSampleRate);

  ProgressReporter reporter(progress, format->pb);
  int badInRow = 0;
  bool draining = false;
  while (!draining) {
    if (stop.stop_requested()) return Failure(AudioDecodeStatus::Stopped, path, "was not read to the end: stopped.");
    const int read = av_read_frame(format.get(), packet.get());
    if (read == AVERROR_EOF) {
      draining = true;
      avcodec_send_packet(codec.get(), nullptr);
    } else if (read < 0) {
      return Failure(AudioDecodeStatus::Undecodable, path, "cannot be read: " + FfmpegText(read) + ".");
    } else {
      const bool ours = packet->stream_index == streamIndex;
      const int sent = ours ? avcodec_send_packet(codec.get(), packet.get()) : 0;
      av_packet_unref(packet.get());
      if (!ours) continue;
      if (sent < 0 && sent != AVERROR(EAGAIN)) {
        if (++badInRow > kMaxBadPacketsInRow)
          return Failure(AudioDecodeStatus::Undecodable, path, "cannot be decoded: " + FfmpegText(sent) + ".");
        continue;
      }
      badInRow = 0;
    }
    const FrameOutcome outcome = DrainDecoder(*codec, *frame, sink);
    if (outcome == FrameOutcome::Unconvertible)
      return Failure(AudioDecodeStatus::Undecodable, path, "cannot be decoded: its sample format is not supported.");
    if (outcome == FrameOutcome::TooLong) return Failure(AudioDecodeStatus::TooLong, path, TooLongText());
    reporter.Report();
  }
  if (!sink.Flush()) return Failure(AudioDecodeStatus::TooLong, path, TooLongText());

  AudioDecodeResult result;
  result.Clip.Samples = std::move(sink.Samples());
  if (result.Clip.Samples.empty())
    return Failure(AudioDecodeStatus::Undecodable, path, "cannot be decoded: no sound came out of it.");
  const double decoded = result.Clip.DurationSeconds();
  if (declared > 0 && decoded < declared - kTruncationToleranceSeconds) return CutShort(path, decoded, declared);
  reporter.Done();
  return result;
}

}  // namespace orvane
