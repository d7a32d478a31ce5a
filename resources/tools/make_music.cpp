// orvane-make-music writes the example show's music: an original 64-second piece at
// 120 bpm (drums, bass, pad and an arpeggio, all synthesised from sines and noise) with a
// quiet opening, a groove that builds, and a big finale over the last ten seconds. It
// writes a WAV next to the output and has the ffmpeg tool encode it as Ogg Vorbis.
//   build/resources/tools/orvane-make-music examples/shows/harbour-night/music.ogg

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kBpm = 120.0;
constexpr double kBeat = 60.0 / kBpm;
constexpr int kBars = 32;  // 4/4: 128 beats, 64 s
constexpr double kLength = kBars * 4 * kBeat;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Where the piece changes, in bars.
constexpr int kBassFrom = 8;     // 16 s
constexpr int kGrooveFrom = 16;  // 32 s
constexpr int kBuildFrom = 24;   // 48 s
constexpr int kFinaleFrom = 27;  // 54 s

double Midi(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A minor: Am, F, C, G, one bar each; notes as MIDI numbers (root, third, fifth).
constexpr std::array<std::array<int, 3>, 4> kChords{{{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}}};

class Noise {
 public:
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / static_cast<double>(1ULL << 53) * 2.0 - 1.0;
  }

 private:
  uint64_t state_ = 0x5EED;
};

class Track {
 public:
  Track() : samples_(static_cast<size_t>(kLength * kRate), 0.0) {}

  // Adds f(t since start) for `seconds` from `start`, scaled by `gain`.
  template <typename Voice>
  void Add(double start, double seconds, double gain, Voice voice) {
    const auto first = static_cast<size_t>(std::lround(start * kRate));
    const auto count = static_cast<size_t>(seconds * kRate);
    for (size_t i = 0; i < count && first + i < samples_.size(); ++i)
      samples_[first + i] += gain * voice(static_cast<double>(i) / kRate);
  }

  std::vector<double>& Samples() { return samples_; }

 private:
  std::vector<double> samples_;
};

// Loudness of the whole piece over time: quiet opening, rising sections, full finale.
double SectionGain(int bar) {
  if (bar < kBassFrom) return 0.3;
  if (bar < kGrooveFrom) return 0.4;
  if (bar < kBuildFrom) return 0.5;
  if (bar < kFinaleFrom) return 0.55;
  return 1.0;
}

void Kick(Track& track, Noise& noise, double at, double gain) {
  track.Add(at, 0.45, gain, [&noise](double t) {
    // The pitch falls from 160 Hz to 45 Hz; the phase is the integral of the frequency.
    const double phase = kTwoPi * (45.0 * t + (160.0 - 45.0) * 0.04 * (1.0 - std::exp(-t / 0.04)));
    // The beater's click: onset detectors weigh high frequencies, a low thump alone
    // barely registers.
    const double click = 0.5 * noise.Next() * std::exp(-t / 0.004);
    return std::sin(phase) * std::exp(-t / 0.12) + click;
  });
}

void Snare(Track& track, Noise& noise, double at, double gain) {
  track.Add(at, 0.3, gain, [&noise](double t) {
    return 0.7 * noise.Next() * std::exp(-t / 0.06) + 0.4 * std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.04);
  });
}

// Noise with its low part removed by subtracting a smoothed copy.
void Hiss(Track& track, Noise& noise, double at, double seconds, double decay, double gain) {
  double smooth = 0.0;
  track.Add(at, seconds, gain, [&noise, &smooth, decay](double t) {
    const double n = noise.Next();
    smooth += 0.25 * (n - smooth);
    return (n - smooth) * std::exp(-t / decay);
  });
}

void Bass(Track& track, double at, double seconds, int note, double gain) {
  const double f = Midi(note);
  track.Add(at, seconds, gain, [f, seconds](double t) {
    double v = 0.0;
    for (int h = 1; h <= 5; ++h) v += std::sin(kTwoPi * f * h * t) / (h * h);
    const double release = std::min(1.0, (seconds - t) / 0.02);
    return v * std::min(1.0, t / 0.005) * release * std::exp(-t / 0.5);
  });
}

void Pad(Track& track, double at, double seconds, const std::array<int, 3>& chord, double gain) {
  track.Add(at, seconds, gain, [chord, seconds](double t) {
    double v = 0.0;
    for (int note : chord)
      for (double detune : {-0.15, 0.15}) {
        const double f = Midi(note) + detune;
        v += std::sin(kTwoPi * f * t) + 0.3 * std::sin(kTwoPi * 2.0 * f * t);
      }
    const double swell = std::min(1.0, t / 0.6) * std::min(1.0, (seconds - t) / 0.4);
    return v * swell / 8.0;
  });
}

void Pluck(Track& track, double at, int note, double gain) {
  const double f = Midi(note);
  track.Add(at, 0.3, gain, [f](double t) {
    const double tri = 2.0 / std::numbers::pi * std::asin(std::sin(kTwoPi * f * t));
    return tri * std::exp(-t / 0.09);
  });
}

void Riser(Track& track, Noise& noise, double at, double seconds, double gain) {
  double smooth = 0.0;
  track.Add(at, seconds, gain, [&noise, &smooth, seconds](double t) {
    const double opening = 0.02 + 0.5 * t / seconds;  // the filter opens as it rises
    smooth += opening * (noise.Next() - smooth);
    return smooth * (t / seconds);
  });
}

std::vector<double> Compose() {
  Track track;
  Noise noise;
  for (int bar = 0; bar < kBars; ++bar) {
    const double barStart = bar * 4 * kBeat;
    const double g = SectionGain(bar);
    const auto& chord = kChords[static_cast<size_t>(bar % 4)];
    const bool finale = bar >= kFinaleFrom;
    Pad(track, barStart, 4 * kBeat, chord, (finale ? 0.5 : 0.35) * g);
    for (int beat = 0; beat < 4; ++beat) {
      const double at = barStart + beat * kBeat;
      // The kick carries the beat: the loudest onset of every beat, and nothing between
      // beats comes near it, so the beat never slides onto the off-beat.
      Kick(track, noise, at, (finale ? 1.3 : 0.9) * g);
      if (bar >= kGrooveFrom && beat % 2 == 1) Snare(track, noise, at, 0.5 * g);
      const int root = chord[0] - 24;
      if (finale) {
        // Everything on the beat: the finale is loud, and a loud off-beat would pull the
        // beat onto itself.
        Bass(track, at, kBeat - 0.01, root, 0.5 * g);
        Bass(track, at, kBeat - 0.01, root - 12, 0.3 * g);
        Pluck(track, at, chord[static_cast<size_t>(beat % 3)] + 12, 0.2 * g);
        Pluck(track, at, chord[static_cast<size_t>((beat + 1) % 3)] + 24, 0.12 * g);
        Hiss(track, noise, at, 0.1, 0.012, 0.5 * g);                                // a clap on every beat
        if (bar % 2 == 0 && beat == 0) Hiss(track, noise, at, 2.0, 0.7, 0.35 * g);  // crash
        continue;
      }
      if (bar >= kBassFrom) {
        Hiss(track, noise, at + kBeat / 2, 0.08, 0.03, 0.15 * g);
        Bass(track, at, kBeat / 2 - 0.01, root, 0.5 * g);
        Bass(track, at + kBeat / 2, kBeat / 2 - 0.01, beat == 3 ? root + 7 : root + 12, 0.3 * g);
      }
      if (bar >= kGrooveFrom)
        for (int step = 0; step < 4; ++step) {
          const int note = chord[static_cast<size_t>((beat * 4 + step) % 3)] + 12 * (step % 2 == 0 ? 1 : 2);
          Pluck(track, at + step * kBeat / 4, note, (step == 0 ? 0.2 : 0.1) * g);
        }
    }
  }
  // The build: a snare roll that swells, on the beats and then on the eighths too, the
  // off-beat hits softer so the beat stays where it is; and a noise riser into the finale.
  const int buildBeats = (kFinaleFrom - kBuildFrom) * 4;
  const double buildStart = kBuildFrom * 4 * kBeat;
  const double finaleStart = kFinaleFrom * 4 * kBeat;
  for (int eighth = 0; eighth < 2 * buildBeats; ++eighth) {
    const double progress = static_cast<double>(eighth) / (2 * buildBeats);
    const bool onBeat = eighth % 2 == 0;
    if (!onBeat && progress < 0.5) continue;
    Snare(track, noise, buildStart + eighth * kBeat / 2, (0.08 + 0.25 * progress) * (onBeat ? 1.0 : 0.4));
  }
  Riser(track, noise, buildStart, finaleStart - buildStart, 0.3);
  // A last crash on the final beat rings to the end.
  Hiss(track, noise, kLength - kBeat, kBeat, 0.4, 0.5);
  return track.Samples();
}

// The peak at -1 dB. No limiter: it would flatten the kicks that carry the beat.
std::vector<int16_t> Master(const std::vector<double>& shaped) {
  double peak = 1e-9;
  for (double v : shaped) peak = std::max(peak, std::abs(v));
  const double scale = 0.89 / peak;
  // Short fades keep the ends click-free.
  const auto fade = static_cast<size_t>(0.005 * kRate);
  std::vector<int16_t> out(shaped.size());
  for (size_t i = 0; i < shaped.size(); ++i) {
    const double edge = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(shaped.size() - i) / fade});
    out[i] = static_cast<int16_t>(std::lround(shaped[i] * scale * edge * 32767.0));
  }
  return out;
}

void PutLe(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool WriteWav(const std::filesystem::path& path, const std::vector<int16_t>& samples) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  const auto bytes = static_cast<uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  PutLe(out, 36 + bytes, 4);
  out.write("WAVEfmt ", 8);
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);
  PutLe(out, 1, 2);
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 2, 4);
  PutLe(out, 2, 2);
  PutLe(out, 16, 2);
  out.write("data", 4);
  PutLe(out, bytes, 4);
  for (int16_t s : samples) PutLe(out, static_cast<uint16_t>(s), 2);
  return out.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvane-make-music OUTPUT.ogg\n");
    return 1;
  }
  const std::filesystem::path output = argv[1];
  if (output.string().find('\'') != std::string::npos) {
    std::fprintf(stderr, "the output path cannot hold a single quote\n");
    return 1;
  }
  const auto folder = output.has_parent_path() ? output.parent_path() : std::filesystem::path(".");
  std::filesystem::create_directories(folder);
  const auto wav = folder / (output.filename().string() + ".tmp.wav");
  const auto encoded = folder / (output.filename().string() + ".tmp.ogg");
  if (!WriteWav(wav, Master(Compose()))) {
    std::fprintf(stderr, "cannot write %s\n", wav.c_str());
    return 1;
  }
  // Mono Vorbis at quality 2 keeps the piece near 400 KB; bitexact keeps reruns identical.
  const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -i '" + wav.string() +
                              "' -c:a libvorbis -q:a 2 -fflags +bitexact -flags:a +bitexact -map_metadata -1 -f ogg '" +
                              encoded.string() + "'";
  const int status = std::system(command.c_str());
  std::filesystem::remove(wav);
  if (status != 0) {
    std::filesystem::remove(encoded);
    std::fprintf(stderr, "ffmpeg failed: %s\n", command.c_str());
    return 1;
  }
  std::filesystem::rename(encoded, output);
  std::printf("wrote %s (%ju bytes)\n", output.c_str(), static_cast<uintmax_t>(std::filesystem::file_size(output)));
  return 0;
}
