#include "app/cue_extents_csv.h"

#include <cassert>
#include <cstdio>

#include "compiler/show_record.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {

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
    text += std::to_string(c.Line) + "," + SpreadsheetField(c.Label) + "," + std::to_string(c.Code) + "," +
            CueTimeText(c.TimeMs) + "," + Fixed(e.Frames() / static_cast<double>(kFramesPerSecond), 2);
    // A cue that wrote no particle has no height, radius or lowest point.
    if (e.Seen) text += "," + Fixed(e.Height, 3) + "," + Fixed(e.Radius, 3) + "," + Fixed(e.Lowest, 3);
    else text += ",,,";
    text += "\n";
  }
  return text;
}

}  // namespace orvane
