#include "media/audio_source.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include "media/av_error.h"
#include "media/fd_io.h"
#include "media/wav_extent.h"
#include "util/regular_file.h"

namespace orvane {
namespace {

// Containers of plain audio. Playlists and other formats that open further files (which
// could be FIFOs, devices or network addresses) are left out, as is video.
constexpr const char* kAudioFormats = "wav,w64,flac,ogg,mp3,aiff,mov,aac,ac3,eac3,wv,ape,caf,matroska,asf,tta,au";

// A few damaged packets are skipped (players do the same); this many in a row is no music.
constexpr int kMaxBadPacketsInRow = 8;

// More channels than any real music file has; a header claiming more is damaged.
constexpr int kMaxChannels = 64;

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", seconds);
  return text;
}

std::string RateText(int rate) {
  return "is sampled at " + std::to_string(rate) + " Hz; music needs at least " + std::to_string(kMinMusicSampleRate) +
         " Hz.";
}

// The length the container states, in seconds; negative when it states none or only
// guesses it from the bit rate (which a variable-rate file makes wrong).
double StatedSeconds(const AVFormatContext& format, const AVStream& stream) {
  if (format.duration_estimation_method == AVFMT_DURATION_FROM_BITRATE) return -1.0;
  if (stream.duration > 0 && stream.time_base.num > 0 && stream.time_base.den > 0)
    return static_cast<double>(stream.duration) * av_q2d(stream.time_base);
  if (format.duration > 0) return static_cast<double>(format.duration) / AV_TIME_BASE;
  return -1.0;
}

// Nested files (a playlist's entries, a movie's references) are never opened.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

}  // namespace

std::string TooLongMusicText() {
  return "is longer than " + std::to_string(kMaxMusicSeconds / 60) + " minutes, the longest music a show can have.";
}

struct AudioSource::Streams {
  int fd = -1;
  int64_t size = 0;
  AVIOContext* io = nullptr;
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  int stream = -1;

  ~Streams() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);  // leaves the custom I/O alone
    CloseIo(io);
    if (fd >= 0) close(fd);
  }
};

AudioSource::AudioSource() : streams_(std::make_unique<Streams>()) {}
AudioSource::~AudioSource() = default;

AudioSource::Step AudioSource::Fail(AudioDecodeStatus status, const std::string& what) {
  failure_ = {status, "The music file \"" + path_.string() + "\" " + what};
  return Step::kFailed;
}

std::unique_ptr<AudioSource> AudioSource::Open(const std::filesystem::path& path, AudioFailure& failure) {
  QuietAvLog();
  std::unique_ptr<AudioSource> source(new AudioSource());
  source->path_ = path;
  Streams& s = *source->streams_;
  auto refuse = [&](AudioDecodeStatus status, const std::string& what) {
    source->Fail(status, what);
    failure = source->failure_;
    return nullptr;
  };
  const RegularFile file = OpenRegularFile(path);
  if (file.Fault == RegularFileFault::kNotRegular) return refuse(AudioDecodeStatus::NotAFile, "is not a regular file.");
  if (file.Errno == ENOENT) return refuse(AudioDecodeStatus::Missing, "does not exist.");
  if (file.Fault != RegularFileFault::kNone)
    return refuse(AudioDecodeStatus::Missing, std::string("cannot be read: ") + std::strerror(file.Errno) + ".");
  s.fd = file.Fd;
  s.size = static_cast<int64_t>(file.Size);
  if (s.size == 0) return refuse(AudioDecodeStatus::Empty, "is empty.");

  const std::optional<WavExtent> wav = ReadWavExtent(s.fd, static_cast<uint64_t>(s.size));
  if (wav && wav->PresentSeconds() < wav->DeclaredSeconds() - kTruncationToleranceSeconds) {
    return refuse(AudioDecodeStatus::Truncated, "is cut short: it ends after " + Seconds(wav->PresentSeconds()) +
                                                    " of the " + Seconds(wav->DeclaredSeconds()) + " it declares.");
  }

  const char* notAudio = "is not in an audio format the program can read.";
  s.io = OpenReadIo(s.fd);
  s.format = avformat_alloc_context();
  if (s.io == nullptr || s.format == nullptr || !s.packet || !s.frame)
    return refuse(AudioDecodeStatus::Undecodable, "cannot be decoded: out of memory.");
  s.format->pb = s.io;
  s.format->flags |= AVFMT_FLAG_CUSTOM_IO;
  s.format->io_open = RefuseNestedOpen;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "format_whitelist", kAudioFormats, 0);
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = avformat_open_input(&s.format, path.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (opened < 0) return refuse(AudioDecodeStatus::NotAudio, notAudio);  // the context is gone
  if (avformat_find_stream_info(s.format, nullptr) < 0) return refuse(AudioDecodeStatus::NotAudio, notAudio);

  const AVCodec* decoder = nullptr;
  s.stream = av_find_best_stream(s.format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
  if (s.stream == AVERROR_DECODER_NOT_FOUND)
    return refuse(AudioDecodeStatus::Undecodable, "uses an audio codec the program cannot decode.");
  if (s.stream < 0 || decoder == nullptr) return refuse(AudioDecodeStatus::NotAudio, "holds no audio.");
  const AVStream& stream = *s.format->streams[s.stream];
  s.codec = avcodec_alloc_context3(decoder);
  if (s.codec) s.codec->pkt_timebase = stream.time_base;  // lets the decoder trim codec delay and padding quietly
  if (!s.codec || avcodec_parameters_to_context(s.codec, stream.codecpar) < 0 ||
      avcodec_open2(s.codec, decoder, nullptr) < 0)
    return refuse(AudioDecodeStatus::Undecodable, "cannot be decoded: its audio stream is damaged.");
  // Decoders that learn the rate only from their first frame leave it to the frames' check.
  if (s.codec->sample_rate > 0 && s.codec->sample_rate < kMinMusicSampleRate)
    return refuse(AudioDecodeStatus::Undecodable, RateText(s.codec->sample_rate));

  source->declared_ = wav ? wav->DeclaredSeconds() : StatedSeconds(*s.format, stream);
  if (source->declared_ > kMaxMusicSeconds + kTruncationToleranceSeconds)
    return refuse(AudioDecodeStatus::TooLong, TooLongMusicText());
  return source;
}

AudioSource::Step AudioSource::Next(const AVFrame*& frame) {
  if (!failure_.Message.empty()) return Step::kFailed;
  Streams& s = *streams_;
  av_frame_unref(s.frame);
  for (;;) {
    const int received = avcodec_receive_frame(s.codec, s.frame);
    if (received == 0) {
      const int channels = s.frame->ch_layout.nb_channels;
      if (s.frame->sample_rate < kMinMusicSampleRate)
        return Fail(AudioDecodeStatus::Undecodable, RateText(s.frame->sample_rate));
      if (channels < 1 || channels > kMaxChannels)
        return Fail(AudioDecodeStatus::Undecodable, "cannot be decoded: its audio stream is damaged.");
      decodedSeconds_ += static_cast<double>(s.frame->nb_samples) / s.frame->sample_rate;
      if (decodedSeconds_ > kMaxMusicSeconds + kTruncationToleranceSeconds)
        return Fail(AudioDecodeStatus::TooLong, TooLongMusicText());
      frame = s.frame;
      return Step::kFrame;
    }
    if (received == AVERROR_EOF || (received == AVERROR(EAGAIN) && draining_)) {
      if (decodedSeconds_ == 0)
        return Fail(AudioDecodeStatus::Undecodable, "cannot be decoded: no sound came out of it.");
      if (declared_ > 0 && decodedSeconds_ < declared_ - kTruncationToleranceSeconds) {
        return Fail(AudioDecodeStatus::Truncated, "is cut short: it ends after " + Seconds(decodedSeconds_) +
                                                      " of the " + Seconds(declared_) + " it declares.");
      }
      return Step::kEnd;
    }
    if (received != AVERROR(EAGAIN)) {
      if (++badInRow_ > kMaxBadPacketsInRow)
        return Fail(AudioDecodeStatus::Undecodable, "cannot be decoded: " + AvErrorText(received) + ".");
      continue;
    }
    const int read = av_read_frame(s.format, s.packet);
    if (read == AVERROR_EOF) {
      draining_ = true;
      avcodec_send_packet(s.codec, nullptr);
      continue;
    }
    if (read < 0) return Fail(AudioDecodeStatus::Undecodable, "cannot be read: " + AvErrorText(read) + ".");
    const bool ours = s.packet->stream_index == s.stream;
    const int sent = ours ? avcodec_send_packet(s.codec, s.packet) : 0;
    av_packet_unref(s.packet);
    if (!ours) continue;
    if (sent < 0 && sent != AVERROR(EAGAIN)) {
      if (++badInRow_ > kMaxBadPacketsInRow)
        return Fail(AudioDecodeStatus::Undecodable, "cannot be decoded: " + AvErrorText(sent) + ".");
      continue;
    }
    badInRow_ = 0;
  }
}

double AudioSource::FractionRead() const {
  const Streams& s = *streams_;
  if (s.size <= 0 || s.io == nullptr) return 0.0;
  const double at = static_cast<double>(avio_tell(s.io)) / static_cast<double>(s.size);
  return at < 0 ? 0.0 : (at > 1 ? 1.0 : at);
}

std::optional<AudioFailure> CheckWholeMusic(const std::filesystem::path& path, std::stop_token stop) {
  AudioFailure failure;
  std::unique_ptr<AudioSource> source = AudioSource::Open(path, failure);
  if (!source) return failure;
  const AVFrame* frame = nullptr;
  for (;;) {
    if (stop.stop_requested())
      return AudioFailure{AudioDecodeStatus::Stopped,
                          "The music file \"" + path.string() + "\" was not read to the end: stopped."};
    switch (source->Next(frame)) {
      case AudioSource::Step::kFrame: continue;
      case AudioSource::Step::kEnd: return std::nullopt;
      case AudioSource::Step::kFailed: return source->Failure();
    }
  }
}

}  // namespace orvane
