// Music analysis speed on the example show's 64 s piece (Ogg Vorbis): decoding, the
// waveform pyramid, a screen of envelope columns at two zooms, beat tracking, and the
// whole job as the show window runs it. Counter:
//   realtime   music seconds per second of work

#include <benchmark/benchmark.h>

#include "media/music_analysis.h"

namespace orvane {
namespace {

const AudioClip& DecodedPiece() {
  static const AudioClip clip = [] {
    auto result = DecodeAudioFile(ORVANE_EXAMPLE_MUSIC);
    if (!result.Ok()) throw std::runtime_error(result.Message);
    return std::move(result.Clip);
  }();
  return clip;
}

void SetRealtime(benchmark::State& state, double seconds) {
  state.counters["realtime"] =
      benchmark::Counter(seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Decode(benchmark::State& state) {
  for (auto _ : state) {
    auto result = DecodeAudioFile(ORVANE_EXAMPLE_MUSIC);
    benchmark::DoNotOptimize(result.Clip.Samples.data());
  }
  SetRealtime(state, DecodedPiece().DurationSeconds());
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_BuildEnvelope(benchmark::State& state) {
  for (auto _ : state) {
    WaveformEnvelope envelope(DecodedPiece());
    benchmark::DoNotOptimize(envelope.Samples().data());
  }
  SetRealtime(state, DecodedPiece().DurationSeconds());
}
BENCHMARK(BM_BuildEnvelope)->Unit(benchmark::kMillisecond);

// 1600 columns over the whole piece (zoomed out) and over two seconds (zoomed in).
void BM_EnvelopeColumns(benchmark::State& state) {
  static const WaveformEnvelope envelope(DecodedPiece());
  const bool zoomedIn = state.range(0) != 0;
  const double start = zoomedIn ? 29.0 : 0.0;
  const double span = zoomedIn ? 2.0 : envelope.DurationSeconds();
  std::vector<EnvelopeColumn> columns(1600);
  for (auto _ : state) {
    envelope.Columns(start, span / 1600, columns);
    benchmark::DoNotOptimize(columns.data());
  }
}
BENCHMARK(BM_EnvelopeColumns)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DetectBeats(benchmark::State& state) {
  const auto& clip = DecodedPiece();
  for (auto _ : state) {
    auto track = DetectBeats(clip.Samples, clip.SampleRate);
    benchmark::DoNotOptimize(track.BeatSeconds.data());
  }
  SetRealtime(state, clip.DurationSeconds());
}
BENCHMARK(BM_DetectBeats)->Unit(benchmark::kMillisecond);

void BM_AnalyseMusic(benchmark::State& state) {
  for (auto _ : state) {
    auto analysis = AnalyseMusic({ORVANE_EXAMPLE_MUSIC, true});
    benchmark::DoNotOptimize(analysis.Envelope.get());
  }
  SetRealtime(state, DecodedPiece().DurationSeconds());
}
BENCHMARK(BM_AnalyseMusic)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
