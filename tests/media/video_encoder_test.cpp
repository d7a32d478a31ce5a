// MP4 writing: what a player finds in the file, the pictures it decodes, and a full disk.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "media/audio_track.h"
#include "media/video_encoder.h"
#include "media/video_reader.h"
#include "support/test_paths.h"
#include "wav_bytes.h"

namespace orvane::testing {
namespace {

constexpr int32_t kWidth = 96, kHeight = 64;

// A soft gradient with a bright square that moves two pixels a frame.
std::vector<uint8_t> Picture(int frame) {
  std::vector<uint8_t> rgb(static_cast<size_t>(kWidth * kHeight * 3));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &rgb[static_cast<size_t>((y * kWidth + x) * 3)];
      const bool square = x >= 2 * frame && x < 2 * frame + 16 && y >= 20 && y < 36;
      p[0] = square ? 250 : static_cast<uint8_t>(x * 2);
      p[1] = square ? 240 : static_cast<uint8_t>(y * 3);
      p[2] = square ? 230 : 60;
    }
  }
  return rgb;
}

double MeanAbsoluteDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i]));
  return sum / static_cast<double>(a.size());
}

std::string EncodeInto(int fd, int frames, AudioTrack* music) {
  VideoFormat format;
  format.Width = kWidth;
  format.Height = kHeight;
  auto encoder = VideoEncoder::Open(fd, format, music);
  if (!encoder) return "open: " + encoder.Message();
  for (int f = 0; f < frames; ++f) {
    if (const Result<> added = encoder.Value()->AddFrame(Picture(f).data()); !added) return "frame: " + added.Message();
  }
  if (const Result<> finished = encoder.Value()->Finish(); !finished) return "finish: " + finished.Message();
  return "";
}

std::string Encode(const std::string& path, int frames, AudioTrack* music) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return "open: " + path;
  const std::string result = EncodeInto(fd, frames, music);
  close(fd);
  return result;
}

TEST(VideoEncoder, WritesH264AtTheFrameRateWithOneFramePerPicture) {
  ScratchDir dir;
  const std::string path = (dir.Path() / "v.mp4").string();
  ASSERT_EQ(Encode(path, 30, nullptr), "");
  const auto read_facts = ReadVideoFacts(path);
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video);
  EXPECT_FALSE(facts.Audio);
  EXPECT_EQ(facts.Video->Codec, "h264");
  EXPECT_EQ(facts.Video->Width, kWidth);
  EXPECT_EQ(facts.Video->Height, kHeight);
  EXPECT_DOUBLE_EQ(facts.Video->FramesPerSecond, 25.0);
  EXPECT_EQ(facts.Video->Packets, 30);
  EXPECT_NEAR(facts.Video->Seconds, 30 / 25.0, 1 / 25.0);

  // The square's frame: x264 at rate factor 20 with 4:2:0 colour keeps a soft picture within
  // a few levels on average; a wrong frame (the square 2 px off) or colour matrix misses by far more.
  const auto frame = DecodeVideoFrame(path, 12);
  ASSERT_TRUE(frame) << frame.Message();
  const std::vector<uint8_t>& decoded = frame.Value();
  ASSERT_EQ(decoded.size(), Picture(12).size());
  EXPECT_LT(MeanAbsoluteDifference(decoded, Picture(12)), 3.0);
  EXPECT_GT(MeanAbsoluteDifference(decoded, Picture(13)), MeanAbsoluteDifference(decoded, Picture(12)) + 1.0);
  const auto missing = DecodeVideoFrame(path, 30);
  ASSERT_FALSE(missing) << "there is no 31st picture";
  EXPECT_EQ(missing.Message(), path + ": it has 30 pictures, not 31");
}

TEST(VideoEncoder, CutsTheMusicToThePictures) {
  ScratchDir dir;
  const auto wav = dir.Write("m.wav", WavBytes(Level(5, kAudioTrackSampleRate, 3000, -3000), kAudioTrackSampleRate));
  auto music = AudioTrack::Open(wav.string(), 0.5);
  ASSERT_TRUE(music) << music.Message();
  const std::string path = (dir.Path() / "v.mp4").string();
  ASSERT_EQ(Encode(path, 37, music.Value().get()), "");
  const auto read_facts = ReadVideoFacts(path);
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video && facts.Audio);
  EXPECT_EQ(facts.Audio->Codec, "aac");
  EXPECT_EQ(facts.Audio->SampleRate, kAudioTrackSampleRate);
  EXPECT_EQ(facts.Audio->Channels, 2);
  EXPECT_NEAR(facts.Audio->Seconds, 37 / 25.0, 1 / 25.0);
  EXPECT_NEAR(facts.Seconds, 37 / 25.0, 1 / 25.0) << "the five-second music does not lengthen the file";

  // Music shorter than the pictures is padded with silence up to their end.
  auto brief = AudioTrack::Open(wav.string(), 4.9);
  ASSERT_TRUE(brief) << brief.Message();
  ASSERT_EQ(Encode(path, 37, brief.Value().get()), "");
  const auto read_padded = ReadVideoFacts(path);
  ASSERT_TRUE(read_padded) << read_padded.Message();
  const VideoFileFacts& padded = read_padded.Value();
  ASSERT_TRUE(padded.Audio);
  EXPECT_NEAR(padded.Audio->Seconds, 37 / 25.0, 1 / 25.0);
}

TEST(VideoEncoder, RefusesOddSizes) {
  ScratchDir dir;
  VideoFormat format;
  format.Width = 101;
  const auto odd = VideoEncoder::Open(-1, format, nullptr);
  ASSERT_FALSE(odd);
  EXPECT_EQ(odd.Message(), "the video size must be even");
  format.Width = 100;
  format.Crf = 0;
  const auto lossless = VideoEncoder::Open(-1, format, nullptr);
  ASSERT_FALSE(lossless);
  EXPECT_EQ(lossless.Message(), "the video frame rate or quality is out of range");
}

// The file is written (and read back to move the index to the front) through the
// descriptor it was created with: a name swapped for a link meanwhile leads nowhere.
TEST(VideoEncoder, WritesThroughItsDescriptorNeverByName) {
  ScratchDir dir;
  const auto victim = dir.Write("victim.txt", "keep me");
  const auto temporary = dir.Path() / ".v.mp4.tmp";
  const int fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  std::filesystem::rename(temporary, dir.Path() / "moved.mp4");
  std::filesystem::create_symlink(victim, temporary);
  EXPECT_EQ(EncodeInto(fd, 30, nullptr), "");
  close(fd);
  EXPECT_EQ(ReadFileBytes(victim), "keep me");
  const auto read_facts = ReadVideoFacts((dir.Path() / "moved.mp4").string());
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video);
  EXPECT_EQ(facts.Video->Packets, 30);
  // The index sits before the pictures, so a player starts at once.
  const std::string bytes = ReadFileBytes(dir.Path() / "moved.mp4");
  EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));
}

TEST(VideoEncoder, AFullDiskIsAnErrorNotASuccess) {
  const std::string result = Encode("/dev/full", 60, nullptr);
  EXPECT_NE(result, "");
  EXPECT_NE(result.find("No space left on device"), std::string::npos) << result;
}

}  // namespace
}  // namespace orvane::testing
