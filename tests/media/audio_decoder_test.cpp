#include "media/audio_decoder.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "audio_fixtures.h"
#include "support/test_paths.h"
#include "wav_bytes.h"

namespace orvane {
namespace {

using testing::EncodedFormat;
using testing::ScratchDir;

std::vector<float> Sine(double hz, double seconds, int32_t rate, float amplitude) {
  std::vector<float> samples(static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate));
  return samples;
}

TEST(AudioDecoder, MonoWavAtTheProgramRateKeepsEverySample) {
  ScratchDir dir;
  const auto samples = Sine(440.0, 1.5, kAudioSampleRate, 0.5f);
  testing::WriteWav(dir.Path() / "tone.wav", samples, 1, kAudioSampleRate);
  const auto result = DecodeAudioFile(dir.Path() / "tone.wav");
  ASSERT_TRUE(result.Ok()) << result.Message;
  EXPECT_TRUE(result.Message.empty());
  EXPECT_EQ(result.Clip.SampleRate, kAudioSampleRate);
  ASSERT_EQ(result.Clip.Samples.size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) ASSERT_NEAR(result.Clip.Samples[i], samples[i], 1.0 / 32767) << i;
}

TEST(AudioDecoder, StereoAtAnotherRateIsResampledToTheMeanOfItsChannels) {
  ScratchDir dir;
  // Left 0.5, right 0.1: a level any resampler keeps, so the mean must come out 0.3.
  std::vector<float> interleaved;
  for (int i = 0; i < 2 * 48000; ++i) {
    interleaved.push_back(0.5f);
    interleaved.push_back(0.1f);
  }
  testing::WriteWav(dir.Path() / "dc.wav", interleaved, 2, 48000);
  const auto result = DecodeAudioFile(dir.Path() / "dc.wav");
  ASSERT_TRUE(result.Ok()) << result.Message;
  EXPECT_NEAR(result.Clip.DurationSeconds(), 2.0, 0.01);
  const auto& s = result.Clip.Samples;
  ASSERT_GT(s.size(), 1000u);
  // Away from the ends, where the resampling filter meets the silence around the file.
  for (size_t i = 500; i + 500 < s.size(); i += 97) ASSERT_NEAR(s[i], 0.3f, 0.002f) << i;
}

TEST(AudioDecoder, EveryCompressedFormatDecodesToTheSameTone) {
  ScratchDir dir;
  const auto samples = Sine(330.0, 3.0, 48000, 0.4f);
  testing::WriteWav(dir.Path() / "tone.wav", samples, 1, 48000);
  for (auto format : {EncodedFormat::Flac, EncodedFormat::Ogg, EncodedFormat::Mp3}) {
    SCOPED_TRACE(testing::ExtensionOf(format));
    const auto result = DecodeAudioFile(testing::EncodeWav(dir.Path() / "tone.wav", format));
    ASSERT_TRUE(result.Ok()) << result.Message;
    EXPECT_NEAR(result.Clip.DurationSeconds(), 3.0, 0.06);
    // The level (RMS of a 0.4 sine is 0.283) survives every codec.
    double sum = 0.0;
    for (float v : result.Clip.Samples) sum += static_cast<double>(v) * v;
    EXPECT_NEAR(std::sqrt(sum / static_cast<double>(result.Clip.Samples.size())), 0.283, 0.01);
  }
}

TEST(AudioDecoder, ProgressRisesToOne) {
  ScratchDir dir;
  testing::WriteWav(dir.Path() / "tone.wav", Sine(440.0, 20.0, kAudioSampleRate, 0.3f), 1, kAudioSampleRate);
  std::vector<double> seen;
  const auto result = DecodeAudioFile(dir.Path() / "tone.wav", [&](double f) { seen.push_back(f); });
  ASSERT_TRUE(result.Ok()) << result.Message;
  ASSERT_GE(seen.size(), 10u);
  EXPECT_LE(seen.size(), 102u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GE(seen.front(), 0.0);
  EXPECT_EQ(seen.back(), 1.0);
}

TEST(AudioDecoder, StopRequestEndsTheDecodeWithoutSamples) {
  ScratchDir dir;
  testing::WriteWav(dir.Path() / "tone.wav", Sine(440.0, 20.0, kAudioSampleRate, 0.3f), 1, kAudioSampleRate);
  std::stop_source source;
  int calls = 0;
  // Stops from inside the first progress report: the decode must notice before the end.
  const auto result = DecodeAudioFile(
      dir.Path() / "tone.wav",
      [&](double) {
        ++calls;
        source.request_stop();
      },
      source.get_token());
  EXPECT_EQ(result.Status, AudioDecodeStatus::Stopped);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(result.Clip.Samples.empty());
  EXPECT_FALSE(result.Message.empty());
}

struct Refusal {
  AudioDecodeStatus Status;
  std::string Message;
};

Refusal Decode(const std::filesystem::path& path) {
  auto result = DecodeAudioFile(path);
  EXPECT_TRUE(result.Clip.Samples.empty()) << path;
  return {result.Status, result.Message};
}

TEST(AudioDecoder, FilesThatAreNoMusicAreRefusedWithAMessage) {
  ScratchDir dir;
  const auto missing = Decode(dir.Path() / "absent.ogg");
  EXPECT_EQ(missing.Status, AudioDecodeStatus::Missing);
  EXPECT_EQ(missing.Message, "The music file \"" + (dir.Path() / "absent.ogg").string() + "\" does not exist.");

  EXPECT_EQ(Decode(dir.Write("empty.wav", "")).Status, AudioDecodeStatus::Empty);
  EXPECT_EQ(Decode(dir.Path()).Status, AudioDecodeStatus::NotAFile);

  std::string garbage;
  uint32_t x = 99;
  for (int i = 0; i < 65536; ++i) {
    x = x * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>(x >> 24));
  }
  const auto noise = Decode(dir.Write("noise.mp3", garbage));
  EXPECT_TRUE(noise.Status == AudioDecodeStatus::NotAudio || noise.Status == AudioDecodeStatus::Undecodable)
      << noise.Message;
  EXPECT_NE(Decode(dir.Write("text.ogg", "These are the show notes, not music.\n")).Status, AudioDecodeStatus::Decoded);
  // A WAV header with no sample data.
  EXPECT_EQ(Decode(dir.Write("header.wav", testing::WavBytes({}, 1, kAudioSampleRate))).Status,
            AudioDecodeStatus::Undecodable);
}

TEST(AudioDecoder, FifosAndSocketsAreNeverOpened) {
  ScratchDir dir;
  // Opening a FIFO with no writer would block forever, so reaching the check at all
  // shows the decoder did not open it.
  const auto fifo = dir.Path() / "pipe.wav";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto refused = Decode(fifo);
  EXPECT_EQ(refused.Status, AudioDecodeStatus::NotAFile);
  EXPECT_EQ(refused.Message, "The music file \"" + fifo.string() + "\" is not a regular file.");

  const auto socketPath = dir.Path() / "sock.wav";
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.string().size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socketPath.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(Decode(socketPath).Status, AudioDecodeStatus::NotAFile);
  close(fd);
}

TEST(AudioDecoder, PlaylistsThatWouldOpenOtherFilesAreRefused) {
  ScratchDir dir;
  testing::WriteWav(dir.Path() / "part.wav", Sine(440.0, 1.0, kAudioSampleRate, 0.3f), 1, kAudioSampleRate);
  const auto playlist =
      Decode(dir.Write("list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1.0,\npart.wav\n#EXT-X-ENDLIST\n"));
  EXPECT_EQ(playlist.Status, AudioDecodeStatus::NotAudio) << playlist.Message;
  const auto concat = Decode(dir.Write("list.ffconcat", "ffconcat version 1.0\nfile part.wav\n"));
  EXPECT_EQ(concat.Status, AudioDecodeStatus::NotAudio) << concat.Message;
}

TEST(AudioDecoder, FilesCutShortAreRefused) {
  ScratchDir dir;
  const auto samples = Sine(440.0, 4.0, kAudioSampleRate, 0.3f);
  const std::string wav = testing::WavBytes(samples, 1, kAudioSampleRate);
  const auto cutWav = Decode(dir.Write("cut.wav", wav.substr(0, wav.size() / 2)));
  EXPECT_EQ(cutWav.Status, AudioDecodeStatus::Truncated);
  EXPECT_NE(cutWav.Message.find("is cut short: it ends after 2.0 s of the 4.0 s it declares."), std::string::npos)
      << cutWav.Message;

  testing::WriteWav(dir.Path() / "whole.wav", samples, 1, kAudioSampleRate);
  const auto flac = testing::ReadFileBytes(testing::EncodeWav(dir.Path() / "whole.wav", EncodedFormat::Flac));
  EXPECT_EQ(Decode(dir.Write("cut.flac", flac.substr(0, flac.size() * 6 / 10))).Status, AudioDecodeStatus::Truncated);
  const auto mp3 = testing::ReadFileBytes(testing::EncodeWav(dir.Path() / "whole.wav", EncodedFormat::Mp3));
  EXPECT_EQ(Decode(dir.Write("cut.mp3", mp3.substr(0, mp3.size() / 2))).Status, AudioDecodeStatus::Truncated);
  // Cut inside the headers: nothing to decode at all.
  EXPECT_NE(Decode(dir.Write("stub.flac", flac.substr(0, 20))).Status, AudioDecodeStatus::Decoded);
}

// A few bytes at 1 Hz would resample to most of an hour.
TEST(AudioDecoder, MusicSampledTooSlowlyIsRefused) {
  ScratchDir dir;
  const std::vector<int16_t> tone(2400, 1000);
  const auto slow = dir.Write("slow.wav", testing::PcmWavBytes(tone, 1, 1));
  const auto refused = Decode(slow);
  EXPECT_EQ(refused.Status, AudioDecodeStatus::Undecodable);
  EXPECT_EQ(refused.Message,
            "The music file \"" + slow.string() + "\" is sampled at 1 Hz; music needs at least 4000 Hz.");
  const auto lowest = DecodeAudioFile(dir.Write("lowest.wav", testing::PcmWavBytes(tone, 1, kMinMusicSampleRate)));
  ASSERT_TRUE(lowest.Ok()) << lowest.Message;
  EXPECT_NEAR(lowest.Clip.DurationSeconds(), 0.6, 0.01);
}

TEST(AudioDecoder, MusicLongerThanTheBoundIsRefusedBeforeDecoding) {
  ScratchDir dir;
  // A WAV of an hour and two minutes of silence; sparse, so it takes no disk space.
  constexpr uint32_t kBytes = (kMaxMusicSeconds + 120) * kAudioSampleRate * 2;
  std::string wav = testing::WavBytes({}, 1, kAudioSampleRate);
  for (int i = 0; i < 4; ++i) wav[40 + i] = static_cast<char>((kBytes >> (8 * i)) & 0xFF);
  const auto path = dir.Write("long.wav", wav);
  std::filesystem::resize_file(path, wav.size() + kBytes);
  const auto refused = Decode(path);
  EXPECT_EQ(refused.Status, AudioDecodeStatus::TooLong);
  EXPECT_EQ(refused.Message,
            "The music file \"" + path.string() + "\" is longer than 60 minutes, the longest music a show can have.");
}

TEST(AudioDecoder, AWavHeaderClaimingMoreDataThanTheFileHoldsIsCutShort) {
  ScratchDir dir;
  // 13.5 hours declared, one second present: cut short, not too long.
  std::string wav = testing::WavBytes(Sine(440.0, 1.0, kAudioSampleRate, 0.3f), 1, kAudioSampleRate);
  for (int i = 0; i < 4; ++i) wav[40 + i] = '\xF0';
  const auto refused = Decode(dir.Write("endless.wav", wav));
  EXPECT_EQ(refused.Status, AudioDecodeStatus::Truncated);
  EXPECT_NE(refused.Message.find("it ends after 1.0 s of the 45"), std::string::npos) << refused.Message;
}

}  // namespace
}  // namespace orvane
