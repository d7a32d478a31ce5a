#include "show/show_measures.h"

#include <set>

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

ShowMeasures MeasureShowDevices(const ShowDocument& show, const DeviceRecords& devices, float scale,
                                DeviceMeasureCache& cache, uint32_t seed) {
  std::set<int32_t> codes;
  for (const Product& p : show.Products.Rows) codes.insert(p.Code);
  for (const Cue& c : show.Cues) codes.insert(c.Code);
  ShowMeasures measures;
  for (int32_t code : codes) {
    const Result<DeviceMeasure> measured = cache.Measure(code, devices, scale, seed);
    if (measured) measures.Figures[code] = FiguresInMetres(measured.Value(), show.Settings.Site);
    else measures.Failed[code] = measured.Message();
  }
  return measures;
}

}  // namespace orvane
