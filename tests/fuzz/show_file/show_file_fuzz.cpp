// The compiled show reader on arbitrary bytes: the whole-file walk, and a frame cursor
// over raw data with a last frame index taken from the input.

#include <cstddef>
#include <cstdint>
#include <span>

#include "compiler/show_reader.h"
#include "compiler/show_summary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  orvane::ShowFileReader reader;
  reader.OpenBytes(bytes);
  orvane::ShowSummary summary;
  const auto fault = orvane::SummarizeShow(reader, summary);
  if (fault && fault->Offset > size) __builtin_trap();
  if (!fault && summary.Records * orvane::kRecordSize > size) __builtin_trap();

  if (size > 0) {
    orvane::FrameCursor frames(bytes.subspan(1), data[0] % 30);
    orvane::ShowFrame frame;
    uint64_t records = 0;
    while (frames.Next(frame)) {
      for (size_t i = 0; i < frame.RecordCount(); ++i) records += frame.Record(i).AlphaLevel();
    }
    if (records > size * 15) __builtin_trap();
  }
  return 0;
}
