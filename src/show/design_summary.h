#pragma once
// What a show needs and costs, as a designer checks it before ordering: cues, the products
// used against stock, cost, cues per position and per calibre, first and last break and
// the show's length. Plain text and CSV.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "show/product_figures.h"
#include "show/show_folder.h"

namespace orvane {

struct ProductUse {
  int32_t Code = 0;
  const Product* Row = nullptr;  // of the show's table; null: the device has no product row
  size_t Cues = 0;
  bool Short = false;          // more cues than the stock holds
  std::optional<double> Cost;  // cues * price, when priced
};

struct CueCount {
  std::string Key;  // empty: no position / no calibre
  size_t Cues = 0;
};

struct DesignSummary {
  size_t Cues = 0;
  std::vector<ProductUse> Products;   // by ascending code
  double Cost = 0;                    // of the priced products
  size_t Unpriced = 0;                // products used without a price (or without a row)
  std::vector<CueCount> PerPosition;  // the site's order, then cues with none
  std::vector<CueCount> PerCalibre;   // ascending, then cues with none
  std::optional<int64_t> FirstBreakMs, LastBreakMs;
  int64_t LengthMs = 0;  // the latest end of a cue: fire + its measured duration
};

// `measured` holds the figures of the devices cues fire (a missing one counts as breaking
// on firing and lasting no time). The summary refers to `show`'s products: keep it alive.
DesignSummary SummarizeDesign(const ShowDocument& show, const std::map<int32_t, ProductFigures>& measured);

// One "name: value" a line.
std::string DesignSummaryText(const DesignSummary& summary);
// section,key,name,cues,stock,short,amount
std::string DesignSummaryCsv(const DesignSummary& summary);

}  // namespace orvane
