#include "show/product_figures.h"

#include "show/cue.h"
#include "show/site_units.h"

namespace orvane {

ProductFigures FiguresInMetres(const DeviceMeasure& measure, const ShowSite& site) {
  const CueExtent& e = measure.Extent;
  ProductFigures f;
  f.Seen = e.Seen;
  f.Cut = measure.Cut;
  f.Broke = e.Broke;
  // The device fires at frame 0 of its measurement.
  if (e.Broke) {
    f.PrefireMs = int64_t{e.BreakFrame} * kFrameMilliseconds;
    f.BreakHeight = MetresFromUnitLength(site, e.BreakHeight);
  }
  if (e.Seen) {
    f.Spread = MetresFromUnitLength(site, e.Radius);
    f.Top = MetresFromUnitLength(site, e.Height);
    f.DurationS = static_cast<double>(int64_t{e.LastFrame} + 1) * kFrameMilliseconds / 1000.0;
  }
  return f;
}

}  // namespace orvane
