#include "effects/product_row.h"

#include <cstdio>

#include "effects/effect_targets.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {

ProductRow GeneratedProductRow(const EffectChain& chain, const EffectMeasurement& measured,
                               std::optional<int64_t> prefireMs) {
  const EffectDescription& d = chain.Description;
  ProductRow row;
  row.Code = chain.RootCode();
  row.Name = DescriptionText(d);
  row.Type = std::string(ProductTypeName(d.Type));
  row.CalibreTenths = d.CalibreTenths;
  row.Shots = d.Type == EffectType::kCake ? d.Shots : 0;
  row.DurationS = measured.DurationS;
  row.PrefireMs = prefireMs;
  row.Colours = ProductColoursText(d);
  row.Maker = kGeneratedMaker;
  return row;
}

Result<MeasuredProduct> MeasureGeneratedProduct(const EffectChain& chain) {
  const Result<EffectMeasurement> sizes = MeasureEffectMedian(chain, kRecipeMetresPerUnit);
  if (!sizes) return sizes.Error();
  const Result<std::optional<int64_t>> prefire = MeasurePrefireMs(chain);
  if (!prefire) return prefire.Error();
  return MeasuredProduct{sizes.Value(), GeneratedProductRow(chain, sizes.Value(), prefire.Value())};
}

std::string ProductRowCsv(const ProductRow& row) {
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.2f", row.DurationS);
  // code,name,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,stock
  return std::to_string(row.Code) + "," + CsvField(row.Name) + "," + CsvField(row.Type) + "," +
         CalibreNumberText(row.CalibreTenths) + "," + (row.Shots > 0 ? std::to_string(row.Shots) : "") + "," +
         duration + "," + (row.PrefireMs ? CueTimeText(*row.PrefireMs) : "") + "," + CsvField(row.Colours) + "," +
         CsvField(row.Maker) + ",,,";
}

}  // namespace orvane
