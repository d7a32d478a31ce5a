#pragma once
// A generated effect as a row of products.csv: the root device's code, the normalised
// description as its name, its type, calibre, shots, measured duration and colours.
// Prefire is what a show would measure; empty ("measured") for an effect without a break.

#include <cstdint>
#include <optional>
#include <string>

#include "effects/effect_chain.h"
#include "effects/effect_measure.h"

namespace orvane {

inline constexpr const char* kProductsCsvHeader =
    "code,name,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,stock";
inline constexpr const char* kGeneratedMaker = "Orvane";

struct ProductRow {
  int32_t Code = 0;
  std::string Name;
  std::string Type;
  int CalibreTenths = 0;  // tenths of a millimetre
  int Shots = 0;          // 0: not a cake, written empty
  double DurationS = 0;
  std::optional<int64_t> PrefireMs;
  std::string Colours;
  std::string Maker;
};

ProductRow GeneratedProductRow(const EffectChain& chain, const EffectMeasurement& measured,
                               std::optional<int64_t> prefireMs);

struct MeasuredProduct {
  EffectMeasurement Sizes;  // median of kMeasureSeeds
  ProductRow Row;
};

// The chain (codes assigned) measured and made into its row.
Result<MeasuredProduct> MeasureGeneratedProduct(const EffectChain& chain);

// One CSV line (no line end) in the header's column order.
std::string ProductRowCsv(const ProductRow& row);

}  // namespace orvane
