// orvane-cli video: the file a player gets, matched against the pictures `render` draws,
// refusals that leave nothing behind, and stopping part-way.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/cli_command.h"
#include "export/export_progress.h"
#include "export/png_file.h"
#include "export/video_export.h"
#include "media/video_reader.h"
#include "support/cli_run.h"
#include "support/test_paths.h"
#include "util/random.h"
#include "util/safe_file.h"

namespace orvane::testing {
namespace {

// 16-bit stereo WAV at 48 kHz: a 440 Hz tone.
std::filesystem::path ToneWav(const ScratchDir& dir, double seconds) {
  const int32_t rate = 48000;
  const auto n = static_cast<uint32_t>(seconds * rate);
  std::string b = "RIFF";
  auto put = [&b](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(36 + n * 4, 4);
  b += "WAVEfmt ";
  put(16, 4), put(1, 2), put(2, 2), put(rate, 4), put(rate * 4, 4), put(4, 2), put(16, 2);
  b += "data";
  put(n * 4, 4);
  for (uint32_t i = 0; i < n; ++i) {
    const auto v = static_cast<int16_t>(std::lround(8000 * std::sin(2 * M_PI * 440 * i / rate)));
    put(static_cast<uint16_t>(v), 2), put(static_cast<uint16_t>(v), 2);
  }
  return dir.Write("tone.wav", b);
}

// Preset 1 compiled once per test program.
const std::filesystem::path& PresetShow() {
  static ScratchDir dir;
  static const std::filesystem::path show = [] {
    const auto path = dir.Path() / "preset1.dat";
    const CliRun r = Cli({"compile", "--preset", "1", "--root", "101", "--seed", "7", "-o", path.string()});
    EXPECT_EQ(r.Status, 0) << r.Err;
    return path;
  }();
  return show;
}

int64_t FramesOf(const std::filesystem::path& show) {
  const CliRun r = Cli({"info", show.string()});
  const size_t at = r.Out.find("frames: ");
  return at == std::string::npos ? -1 : std::stoll(r.Out.substr(at + 8));
}

// Top-level MP4 boxes in file order.
std::vector<std::string> TopBoxes(const std::string& bytes) {
  std::vector<std::string> boxes;
  size_t at = 0;
  while (at + 8 <= bytes.size()) {
    uint64_t size = 0;
    for (int i = 0; i < 4; ++i) size = size << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    boxes.push_back(bytes.substr(at + 4, 4));
    if (size == 1 && at + 16 <= bytes.size()) {
      size = 0;
      for (int i = 8; i < 16; ++i) size = size << 8 | static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]);
    }
    if (size < 8) break;
    at += size;
  }
  return boxes;
}

std::vector<std::string> FileNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CliVideo, EveryShowFrameWithTheMusicCutToTheShow) {
  ScratchDir dir;
  const int64_t frames = FramesOf(PresetShow());
  ASSERT_GT(frames, 25);
  const auto music = ToneWav(dir, frames / 25.0 + 3);
  const auto out = dir.Path() / "show.mp4";
  const CliRun r = Cli({"video", PresetShow().string(), "-o", out.string(), "--size", "160x120", "--music",
                        music.string(), "--music-offset", "1.5", "--scenery", "grid", "--progress-lines"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("frames: " + std::to_string(frames) + "\n"), std::string::npos) << r.Out;
  const std::string last = "frame " + std::to_string(frames) + "/" + std::to_string(frames) + "\n";
  ASSERT_GE(r.Err.size(), last.size());
  EXPECT_EQ(r.Err.substr(r.Err.size() - last.size()), last) << "the progress lines end on the last frame";

  const auto read_facts = ReadVideoFacts(out.string());
  ASSERT_TRUE(read_facts) << read_facts.Message();
  const VideoFileFacts& facts = read_facts.Value();
  ASSERT_TRUE(facts.Video && facts.Audio);
  EXPECT_EQ(facts.Video->Codec, "h264");
  EXPECT_EQ(facts.Video->Width, 160);
  EXPECT_EQ(facts.Video->Height, 120);
  EXPECT_DOUBLE_EQ(facts.Video->FramesPerSecond, 25.0);
  EXPECT_EQ(facts.Video->Packets, frames);
  const double seconds = static_cast<double>(frames) / 25.0;
  EXPECT_NEAR(facts.Video->Seconds, seconds, 1 / 25.0);
  EXPECT_EQ(facts.Audio->Codec, "aac");
  EXPECT_NEAR(facts.Audio->Seconds, seconds, 1 / 25.0) << "the longer music is cut to the show";

  const std::vector<std::string> boxes = TopBoxes(ReadFileBytes(out));
  const auto moov = std::find(boxes.begin(), boxes.end(), "moov"), mdat = std::find(boxes.begin(), boxes.end(), "mdat");
  ASSERT_TRUE(moov != boxes.end() && mdat != boxes.end());
  EXPECT_LT(moov, mdat) << "the index comes first, so players start before the whole file is read";
  EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"show.mp4", "tone.wav"})) << "no temporary left";
}

TEST(CliVideo, AFrameMatchesThePictureRenderDraws) {
  ScratchDir dir;
  const int64_t frames = FramesOf(PresetShow());
  const int64_t k = frames / 2;
  const std::vector<std::string> drawing = {"--size", "320x240", "--camera", "180,6,0,0.3,11"};
  std::vector<std::string> video = {"video", PresetShow().string(), "-o", (dir.Path() / "v.mp4").string()};
  video.insert(video.end(), drawing.begin(), drawing.end());
  ASSERT_EQ(Cli(video).Status, 0);
  std::vector<std::string> render = {"render",   PresetShow().string(), "-o", dir.Path().string(),
                                     "--frames", std::to_string(k)};
  render.insert(render.end(), drawing.begin(), drawing.end());
  ASSERT_EQ(Cli(render).Status, 0);
  char name[32];
  std::snprintf(name, sizeof name, "frame_%05lld.png", static_cast<long long>(k));
  PngPicture png;
  ASSERT_EQ(ReadPng((dir.Path() / name).string(), png), "");
  const auto picture = DecodeVideoFrame((dir.Path() / "v.mp4").string(), k);
  ASSERT_TRUE(picture) << picture.Message();
  const std::vector<uint8_t>& decoded = picture.Value();
  ASSERT_EQ(decoded.size(), png.Rgb.size());

  // The codec's error: 4:2:0 averages the colour of 2 x 2 pixels, which smears single-pixel
  // sparks, and rate factor 20 quantises fine detail. Both leave the picture's energy in
  // place: the peak signal-to-noise ratio stays above 30 dB (34 dB measured with the
  // textured scenery), while the frame half a second later gives 22 dB and black 9 dB.
  auto psnr = [&](const std::vector<uint8_t>& a) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::pow(static_cast<double>(a[i]) - png.Rgb[i], 2);
    const double mse = sum / static_cast<double>(a.size());
    return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
  };
  const double same = psnr(decoded);
  EXPECT_GT(same, 30.0);
  const std::vector<uint8_t> later = DecodeVideoFrame((dir.Path() / "v.mp4").string(), k + 12).ValueOr({});
  EXPECT_LT(psnr(later), same - 3) << "the match is with this frame, not any frame";
  EXPECT_LT(psnr(std::vector<uint8_t>(png.Rgb.size(), 0)), 30.0) << "the picture is not black";
}

TEST(CliVideo, RefusalsLeaveNothingBehind) {
  ScratchDir dir;
  const std::string show = PresetShow().string();
  const std::string out = (dir.Path() / "v.mp4").string();
  const auto junk = dir.Write("junk.mp3", "not music at all");
  dir.Write("folder.mp4/keep", "");
  struct Case {
    std::vector<std::string> words;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"video", show, "-o", out, "--size", "161x120"}, "even sizes only"},
      {{"video", show, "-o", out, "--music", junk.string()}, junk.string()},
      {{"video", show, "-o", out, "--music", (dir.Path() / "gone.ogg").string()}, "gone.ogg"},
      {{"video", show, "-o", (dir.Path() / "no" / "v.mp4").string()}, "cannot write in"},
      {{"video", show, "-o", (dir.Path() / "folder.mp4").string()}, "it is a folder"},
      {{"video", (dir.Path() / "none.dat").string(), "-o", out}, "none.dat"},
      {{"video", junk.string(), "-o", out}, "damaged"},
      {{"video", show}, "-o OUT.mp4"},
      {{"video", show, "-o", out, "--quality", "0"}, "--quality"},
      {{"video", show, "-o", out, "--music-offset", "2"}, "needs --music"},
      {{"video", show, "-o", show}, "names the input"},
      {{"video", show, "-o", junk.string(), "--music", junk.string()}, "names the input"},
  };
  for (const Case& c : cases) {
    const CliRun r = Cli(c.words);
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
  }
  EXPECT_EQ(FileNames(dir.Path()), (std::vector<std::string>{"folder.mp4", "junk.mp3"}));
}

TEST(VideoExport, StopsBetweenFramesAndLeavesNoFile) {
  ScratchDir dir;
  VideoJob job;
  job.ShowFile = PresetShow();
  job.Output = dir.Path() / "v.mp4";
  job.Render.Width = 64;
  job.Render.Height = 48;
  std::atomic<bool> stop{false};
  int64_t calls = 0;
  const VideoExportReport report = ExportVideo(job, stop, [&](int64_t, int64_t) {
    if (++calls == 5) stop.store(true);
  });
  EXPECT_TRUE(report.Stopped);
  EXPECT_EQ(calls, 5) << "no frame is drawn after the stop";
  EXPECT_TRUE(FileNames(dir.Path()).empty());
}

// The encoder opens the temporary by its name, apart from the SafeFile's own stream.
TEST(VideoExport, OutputWrittenByNameAppearsOnlyWhenCommitted) {
  ScratchDir dir;
  const auto target = dir.Write("v.mp4", "the user's old file");
  {
    SafeFile pending(target);
    ASSERT_TRUE(pending.Opened()) << pending.ErrorText();
    EXPECT_EQ(pending.TemporaryPath().parent_path(), dir.Path());
    EXPECT_TRUE(std::filesystem::exists(pending.TemporaryPath()));
  }
  EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"v.mp4"}) << "an uncommitted file is removed";
  EXPECT_EQ(ReadFileBytes(target), "the user's old file");
  SafeFile pending(target);
  ASSERT_TRUE(pending.Opened()) << pending.ErrorText();
  std::FILE* f = std::fopen(pending.TemporaryPath().c_str(), "wb");
  std::fputs("new", f);
  std::fclose(f);
  ASSERT_TRUE(pending.Commit()) << pending.ErrorText();
  EXPECT_EQ(ReadFileBytes(target), "new");
  EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"v.mp4"});
}

TEST(VideoExport, ProgressTexts) {
  EXPECT_EQ(ProgressLine({250, 1500, 10, 25}), "frame 250/1500");
  EXPECT_EQ(ProgressText({0, 1500, 0, 25}), "frame 0/1500");
  // 250 frames are 10 s of show made in 20 s: half real time, 50 s of show left take 100 s.
  EXPECT_EQ(ProgressText({250, 1500, 20, 25}), "frame 250/1500, 0.50x real time, 1:40 left");
  EXPECT_EQ(ProgressText({1500, 1500, 30, 25}), "frame 1500/1500, 2.00x real time, 0:00 left");
}

// The real program: Ctrl-C part-way ends it with 130 and no file.
TEST(CliVideoProgram, InterruptLeavesNoFile) {
  ScratchDir dir;
  const std::string out = (dir.Path() / "v.mp4").string();
  int err_pipe[2];
  ASSERT_EQ(pipe(err_pipe), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(err_pipe[1], STDERR_FILENO);
    close(err_pipe[0]);
    std::freopen("/dev/null", "w", stdout);
    execl(ORVANE_CLI, ORVANE_CLI, "video", PresetShow().c_str(), "-o", out.c_str(), "--size", "640x480",
          "--progress-lines", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(err_pipe[1]);
  std::string err;
  bool signalled = false;
  char buffer[256];
  ssize_t n;
  while ((n = read(err_pipe[0], buffer, sizeof buffer)) > 0) {
    err.append(buffer, static_cast<size_t>(n));
    // The first progress line: the export is under way.
    if (!signalled && err.find("frame ") != std::string::npos) {
      kill(child, SIGINT);
      signalled = true;
    }
  }
  close(err_pipe[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(signalled) << err;
  ASSERT_TRUE(WIFEXITED(status)) << err;
  EXPECT_EQ(WEXITSTATUS(status), 130) << err;
  EXPECT_NE(err.find("stopped; no video written"), std::string::npos) << err;
  EXPECT_TRUE(FileNames(dir.Path()).empty());
}

// The program's file as FFmpeg's own probe decodes it, frame by frame.
TEST(CliVideoProgram, FfprobeCountsEveryFrame) {
  ScratchDir dir;
  const int64_t frames = FramesOf(PresetShow());
  const std::string out = (dir.Path() / "v.mp4").string();
  const std::string export_command = std::string(ORVANE_CLI) + " video " + PresetShow().string() + " -o " + out +
                                     " --size 128x96 --scenery none >/dev/null 2>&1";
  ASSERT_EQ(std::system(export_command.c_str()), 0);
  const std::string probe =
      "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
      "stream=codec_name,pix_fmt,nb_read_frames -of default=noprint_wrappers=1 " +
      out;
  std::FILE* pipe = popen(probe.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
  ASSERT_EQ(pclose(pipe), 0) << "ffprobe (package ffmpeg) runs: " << text;
  EXPECT_EQ(text, "codec_name=h264\npix_fmt=yuv420p\nnb_read_frames=" + std::to_string(frames) + "\n");

  // With no scenery the background decodes to pure black, which adds nothing over footage.
  const auto picture = DecodeVideoFrame(out, frames / 2);
  ASSERT_TRUE(picture) << picture.Message();
  const std::vector<uint8_t>& rgb = picture.Value();
  ASSERT_EQ(rgb.size(), 128u * 96u * 3u);
  for (int y = 80; y < 96; ++y) {
    for (int x = 112; x < 128; ++x) {
      const uint8_t* p = &rgb[static_cast<size_t>((y * 128 + x) * 3)];
      EXPECT_EQ(p[0] | p[1] | p[2], 0) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace orvane::testing
