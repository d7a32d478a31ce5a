// Music for a video's sound: offsets, the end, and files that are not music.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "audio_fixtures.h"
#include "media/audio_decoder.h"
#include "media/audio_track.h"
#include "support/failure_text.h"
#include "support/test_paths.h"
#include "wav_bytes.h"

namespace orvane::testing {
namespace {

constexpr int32_t kRate = kAudioTrackSampleRate;

// One second at 0.25 / -0.5, then one second at 0.125 / 0.75 (exact in 16 bits).
std::filesystem::path TwoLevelMusic(const ScratchDir& dir) {
  std::vector<StereoSample> samples = Level(1, kRate, 8192, -16384);
  const std::vector<StereoSample> second = Level(1, kRate, 4096, 24576);
  samples.insert(samples.end(), second.begin(), second.end());
  return dir.Write("music.wav", WavBytes(samples, kRate));
}

struct Read {
  std::vector<float> left, right;
};
Read Take(AudioTrack& track, int32_t count) {
  Read r{std::vector<float>(static_cast<size_t>(count)), std::vector<float>(static_cast<size_t>(count))};
  track.Read(r.left.data(), r.right.data(), count);
  return r;
}

TEST(AudioTrack, StartsAtTheOffsetAndEndsInSilence) {
  ScratchDir dir;
  const auto music = TwoLevelMusic(dir);
  auto opened_from_start = AudioTrack::Open(music.string(), 0);
  ASSERT_TRUE(opened_from_start) << opened_from_start.Message();
  AudioTrack& from_start = *opened_from_start.Value();
  // Read in uneven pieces across the level change and past the end.
  Read a = Take(from_start, kRate - 7);
  EXPECT_EQ(a.left.front(), 0.25f);
  EXPECT_EQ(a.right.back(), -0.5f);
  Read b = Take(from_start, 14);
  EXPECT_EQ(b.left[6], 0.25f);
  EXPECT_EQ(b.left[7], 0.125f) << "the second level starts exactly one second in";
  EXPECT_EQ(b.right[7], 0.75f);
  Take(from_start, kRate - 7 - 100);
  Read end = Take(from_start, 300);
  EXPECT_EQ(end.left[99], 0.125f);
  EXPECT_TRUE(std::all_of(end.left.begin() + 100, end.left.end(), [](float v) { return v == 0; }));
  EXPECT_TRUE(from_start.Warning().empty());

  auto opened_later = AudioTrack::Open(music.string(), 1.5);
  ASSERT_TRUE(opened_later) << opened_later.Message();
  AudioTrack& later = *opened_later.Value();
  Read c = Take(later, kRate);
  EXPECT_EQ(c.left[0], 0.125f) << "a positive offset skips into the music";
  EXPECT_EQ(c.left[kRate / 2 - 1], 0.125f);
  EXPECT_EQ(c.left[kRate / 2], 0.0f);

  auto opened_delayed = AudioTrack::Open(music.string(), -0.25);
  ASSERT_TRUE(opened_delayed) << opened_delayed.Message();
  AudioTrack& delayed = *opened_delayed.Value();
  Read d = Take(delayed, kRate / 2);
  EXPECT_EQ(d.left[kRate / 4 - 1], 0.0f) << "a negative offset starts with silence";
  EXPECT_EQ(d.left[kRate / 4], 0.25f);

  auto opened_beyond = AudioTrack::Open(music.string(), 60);
  ASSERT_TRUE(opened_beyond) << "an offset past the end is silence, not an error: " << opened_beyond.Message();
  AudioTrack& beyond = *opened_beyond.Value();
  Read e = Take(beyond, 1000);
  EXPECT_TRUE(std::all_of(e.left.begin(), e.left.end(), [](float v) { return v == 0; }));
}

TEST(AudioTrack, OtherRatesAreResampled) {
  ScratchDir dir;
  const auto music = dir.Write("slow.wav", WavBytes(Level(1, 22050, 8192, 8192), 22050));
  auto opened_track = AudioTrack::Open(music.string(), 0);
  ASSERT_TRUE(opened_track) << opened_track.Message();
  AudioTrack& track = *opened_track.Value();
  Read r = Take(track, kRate + 2000);
  EXPECT_NEAR(r.left[kRate / 2], 0.25f, 0.01f);
  EXPECT_NEAR(r.right[kRate - 2000], 0.25f, 0.01f);
  EXPECT_EQ(r.left[kRate + 1000], 0.0f) << "one second of music stays one second long";
}

TEST(AudioTrack, RefusesFilesWithoutMusicByName) {
  ScratchDir dir;
  const std::string wav = WavBytes(Level(0.5, kRate, 100, 100), kRate);
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"text.mp3", "this is not music\n"},
      {"empty.wav", ""},
      {"header-only.wav", wav.substr(0, 44 - 8) + std::string(8, '\0')},
      {"cut.wav", wav.substr(0, 30)},
  };
  for (const auto& [name, bytes] : bad) {
    const auto path = dir.Write(name, bytes);
    const std::string error = FailureText(AudioTrack::Open(path.string(), 0));
    EXPECT_NE(error.find(path.string()), std::string::npos) << name << ": " << error;
  }
  const std::string error = FailureText(AudioTrack::Open((dir.Path() / "missing.ogg").string(), 0));
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
  const auto good = dir.Write("good.wav", wav);
  EXPECT_EQ(FailureText(AudioTrack::Open(good.string(), 1e9)),
            "The music offset for \"" + good.string() + "\" is out of range.")
      << "an absurd offset is refused";
}

TEST(AudioTrack, DamagedHeadersAreRefusedOrPlayedNeverTrusted) {
  ScratchDir dir;
  const std::string wav = WavBytes(Level(0.2, kRate, 8192, 8192), kRate);
  auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
    std::string b = wav;
    for (uint8_t v : bytes) b[at++] = static_cast<char>(v);
    return b;
  };
  const std::vector<std::pair<std::string, std::string>> files = {
      {"no-channels.wav", patched(22, {0, 0})},   {"many-channels.wav", patched(22, {0xFF, 0xFF})},
      {"no-rate.wav", patched(24, {0, 0, 0, 0})}, {"huge-rate.wav", patched(24, {0xFF, 0xFF, 0xFF, 0x7F})},
      {"odd-bits.wav", patched(34, {7, 0})},      {"huge-data.wav", patched(40, {0xFF, 0xFF, 0xFF, 0xFF})},
  };
  for (const auto& [name, bytes] : files) {
    const auto path = dir.Write(name, bytes);
    auto track = AudioTrack::Open(path.string(), 0);
    if (!track) {
      EXPECT_NE(track.Message().find(path.string()), std::string::npos) << name << ": " << track.Message();
      continue;
    }
    // What opens plays to its end in bounded time and then stays silent.
    std::vector<float> left(kRate), right(kRate);
    for (int i = 0; i < 20; ++i) track.Value()->Read(left.data(), right.data(), kRate);
    EXPECT_TRUE(std::all_of(left.begin(), left.end(), [](float v) { return v == 0; })) << name;
  }
}

// A video's sound takes what the show's music analysis takes: a file cut short, or sampled
// too slowly, is refused here as it is there.
TEST(AudioTrack, MusicTheAnalysisRefusesIsRefused) {
  ScratchDir dir;
  const std::string wav = WavBytes(Level(1, kRate, 8192, 8192), kRate);
  std::vector<float> tone(4 * 44100);
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.3f * static_cast<float>(std::sin(static_cast<double>(i) * 0.06));
  WriteWav(dir.Path() / "whole.wav", tone, 1, 44100);
  const std::string ogg = ReadFileBytes(EncodeWav(dir.Path() / "whole.wav", EncodedFormat::Ogg));
  std::vector<std::pair<std::string, std::string>> refused = {
      // The header still promises a whole second; only a quarter of it is there.
      {"short.wav", wav.substr(0, 44 + kRate)},
      {"slow.wav", WavBytes(Level(1, 3000, 8192, 8192), 3000)},
      {"cut.ogg", ogg.substr(0, ogg.size() / 2)},
  };
  for (const auto& [name, bytes] : refused) {
    const auto path = dir.Write(name, bytes);
    const std::string error = FailureText(AudioTrack::Open(path.string(), 0));
    EXPECT_NE(error, "") << name;
    const AudioDecodeResult analysed = DecodeAudioFile(path);
    EXPECT_FALSE(analysed.Ok()) << name;
    EXPECT_EQ(error, analysed.Message) << name;
  }
}

// Playlists and concat lists open whatever they name; a video's sound opens none of them.
TEST(AudioTrack, PlaylistsAreRefusedAndNothingTheyNameIsOpened) {
  ScratchDir dir;
  dir.Write("part.wav", WavBytes(Level(1, kRate, 8192, 8192), kRate));
  const std::vector<std::pair<std::string, std::string>> lists = {
      {"list.ffconcat", "ffconcat version 1.0\nfile part.wav\n"},
      {"list.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1.0,\npart.wav\n#EXT-X-ENDLIST\n"},
      {"list.m3u", "#EXTM3U\npart.wav\n"},
  };
  for (const auto& [name, text] : lists) {
    const std::string error = FailureText(AudioTrack::Open(dir.Write(name, text).string(), 0));
    EXPECT_NE(error.find("is not in an audio format the program can read"), std::string::npos) << error;
  }
  // A FIFO is refused before it is opened (opening it would wait for a writer forever).
  const auto fifo = dir.Path() / "pipe.ogg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string error = FailureText(AudioTrack::Open(fifo.string(), 0));
  EXPECT_NE(error.find("is not a regular file"), std::string::npos) << error;
}

}  // namespace
}  // namespace orvane::testing
