#include "app/show_root_cues.h"

#include <cassert>
#include <cstdio>

#include "compiler/show_record.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {

std::vector<RootCue> ShowRootCues(const std::vector<Cue>& cues, const DeviceRecords& devices) {
  std::vector<RootCue> roots;
  roots.reserve(cues.size());
  for (const Cue& cue : cues) {
    const std::shared_ptr<const TCompDevice> part = FindByCode(devices, cue.Code);
    assert(part != nullptr);
    RootCue root;
    root.Frame = CueFrame(cue.TimeMs);
    root.Code = cue.Code;
    root.X = cue.X.value_or(part ? part->BestX : 0.0f);
    root.Y = cue.Y.value_or(part ? part->BestY : 0.0f);
    root.Z = cue.Z.value_or(part ? part->BestZ : 0.0f);
    roots.push_back(root);
  }
  return roots;
}

namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string CueExtentsCsv(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents) {
  assert(cues.size() == extents.size());
  std::string text = "cue line,label,code,fire time,duration,height,radius,lowest\n";
  for (size_t i = 0; i < cues.size() && i < extents.size(); ++i) {
    const Cue& c = cues[i];
    const CueExtent& e = extents[i];
    text += std::to_string(c.Line) + "," + CsvField(c.Label) + "," + std::to_string(c.Code) + "," +
            CueTimeText(c.TimeMs) + "," + Fixed(e.Frames() / static_cast<double>(kFramesPerSecond), 2);
    // A cue that wrote no particle has no height, radius or lowest point.
    if (e.Seen) text += "," + Fixed(e.Height, 3) + "," + Fixed(e.Radius, 3) + "," + Fixed(e.Lowest, 3);
    else text += ",,,";
    text += "\n";
  }
  return text;
}

}  // namespace orvane
