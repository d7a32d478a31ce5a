#include "compiler/show_summary.h"

#include <algorithm>
#include <limits>

namespace orvane {
namespace {

void AddFrame(const ShowFrame& frame, ShowSummary& s, std::array<int16_t, 3>& lo, std::array<int16_t, 3>& hi) {
  const uint64_t n = frame.RecordCount();
  s.MinRecordsPerFrame = s.Frames == 0 ? n : std::min(s.MinRecordsPerFrame, n);
  s.MaxRecordsPerFrame = std::max(s.MaxRecordsPerFrame, n);
  s.Records += n;
  ++s.Frames;
  for (size_t i = 0; i < n; ++i) {
    const ParticleRecord r = frame.Record(i);
    const int16_t xyz[3] = {r.X, r.Y, r.Z};
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], xyz[a]);
      hi[a] = std::max(hi[a], xyz[a]);
    }
  }
}

}  // namespace

std::optional<ShowFault> SummarizeShow(ShowFileReader& reader, ShowSummary& summary, std::stop_token stop) {
  summary = ShowSummary{};
  std::array<int16_t, 3> lo;
  std::array<int16_t, 3> hi;
  lo.fill(std::numeric_limits<int16_t>::max());
  hi.fill(std::numeric_limits<int16_t>::min());
  ShowBlock block;
  for (;;) {
    if (stop.stop_requested()) {
      summary.Stopped = true;
      break;
    }
    const ShowFileReader::Status status = reader.ReadBlock(block);
    if (status == ShowFileReader::Status::kFault) return reader.Fault();
    if (status == ShowFileReader::Status::kEnd) break;
    ++summary.Blocks;
    FrameCursor frames = block.Frames();
    ShowFrame frame;
    while (frames.Next(frame)) AddFrame(frame, summary, lo, hi);
  }
  if (summary.Frames > 0) {
    summary.MeanRecordsPerFrame = static_cast<double>(summary.Records) / static_cast<double>(summary.Frames);
    summary.Seconds = static_cast<double>(summary.Frames) / kFramesPerSecond;
  }
  if (summary.Records > 0) {
    for (int a = 0; a < 3; ++a) {
      summary.Min[a] = static_cast<float>(lo[a]) / kPositionSteps;
      summary.Max[a] = static_cast<float>(hi[a]) / kPositionSteps;
    }
  }
  return std::nullopt;
}

std::optional<ShowFault> SummarizeShowFile(const std::filesystem::path& path, ShowSummary& summary,
                                           std::stop_token stop) {
  ShowFileReader reader;
  if (!reader.Open(path)) return reader.Fault();
  return SummarizeShow(reader, summary, std::move(stop));
}

}  // namespace orvane
