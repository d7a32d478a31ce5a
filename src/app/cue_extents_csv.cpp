#include "app/cue_extents_csv.h"

#include <cassert>
#include <cstdio>

#include "compiler/show_record.h"
#include "show/csv_text.h"
#include "show/cue_list.h"
#include "show/site_units.h"

namespace orvane {

namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

ExtentMetres MetresOfExtent(const CueExtent& e, const ShowSite& site) {
  ExtentMetres m;
  m.Height = MetresFromUnitLength(site, e.Height);
  m.Radius = MetresFromUnitLength(site, e.Radius);
  m.Lowest = MetresFromUnits(site, {0, static_cast<float>(e.Lowest), 0}).Y;
  if (e.Broke) {
    m.BreakMs = int64_t{e.BreakFrame} * kFrameMilliseconds;
    m.BreakHeight = MetresFromUnitLength(site, e.BreakHeight);
  }
  return m;
}

std::string CueExtentsCsv(const std::vector<Cue>& cues, const std::vector<CueExtent>& extents, const ShowSite& site) {
  assert(cues.size() == extents.size());
  std::string text =
      "cue line,label,code,fire time,duration,height (m),radius (m),lowest (m),break time,break height (m)\n";
  for (size_t i = 0; i < cues.size() && i < extents.size(); ++i) {
    const Cue& c = cues[i];
    const CueExtent& e = extents[i];
    text += std::to_string(c.Line) + "," + SpreadsheetField(c.Label) + "," + std::to_string(c.Code) + "," +
            CueTimeText(c.TimeMs) + "," + Fixed(e.Frames() / static_cast<double>(kFramesPerSecond), 2);
    // A cue that wrote no particle has no height, radius or lowest point.
    const ExtentMetres m = MetresOfExtent(e, site);
    if (e.Seen) text += "," + Fixed(m.Height, 1) + "," + Fixed(m.Radius, 1) + "," + Fixed(m.Lowest, 1);
    else text += ",,,";
    if (m.BreakMs) text += "," + CueTimeText(*m.BreakMs) + "," + Fixed(m.BreakHeight, 1);
    else text += ",,";
    text += "\n";
  }
  return text;
}

}  // namespace orvane
