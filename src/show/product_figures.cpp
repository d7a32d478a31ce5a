#include "show/product_figures.h"

#include <cstdio>

#include "show/break_time.h"
#include "show/calibre_rule.h"

namespace orvane {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Metres(double m) { return Fixed(m, 1) + " m"; }

}  // namespace

std::string ProductFiguresText(const Product* row, const ProductFigures& f) {
  if (!f.Seen) return "no particles";
  std::string text = "prefire " + Fixed(PrefireMs(row, f.PrefireMs) / 1000.0, 2) + " s";
  if (row != nullptr && row->PrefireMs) text += " (typed; measured " + Fixed(f.PrefireMs / 1000.0, 2) + " s)";
  else text += " (measured)";
  if (f.Broke) {
    text += ", break height " + Metres(f.BreakHeight);
    if (row != nullptr && row->CalibreMm) {
      if (const auto rule = CalibreRuleHeight(*row->CalibreMm)) {
        text += " (rule " + Metres(*rule);
        if (CalibreRuleApplies(*row, f) && OffCalibreRule(f.BreakHeight, *row->CalibreMm))
          text += ", OFF by " + Fixed((f.BreakHeight / *rule - 1) * 100, 0) + " %";
        text += ")";
      }
    }
  } else {
    text += ", no break";
  }
  text += ", spread " + Metres(f.Spread) + ", top " + Metres(f.Top) + ", duration " + Fixed(f.DurationS, 2) + " s";
  if (f.Cut) text += ", runs on past the measurement's end";
  return text;
}

}  // namespace orvane
