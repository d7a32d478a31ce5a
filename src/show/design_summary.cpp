#include "show/design_summary.h"

#include <algorithm>
#include <cstdio>

#include "model/record_decimals.h"
#include "model/timeline_view.h"
#include "show/break_time.h"
#include "show/csv_text.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

std::string Money(double amount) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", amount);
  return text;
}

void CountPositions(const ShowDocument& show, DesignSummary& s) {
  std::map<std::string, size_t> counts;
  for (const Cue& cue : show.Cues) ++counts[cue.Position];
  for (const SitePosition& p : show.Settings.Site.Positions)
    if (const auto it = counts.find(p.Name); it != counts.end()) s.PerPosition.push_back({p.Name, it->second});
  if (const auto none = counts.find(""); none != counts.end()) s.PerPosition.push_back({"", none->second});
}

void CountCalibres(const ShowDocument& show, DesignSummary& s) {
  std::map<double, size_t> counts;
  size_t none = 0;
  for (const Cue& cue : show.Cues) {
    const Product* row = FindProduct(show.Products, cue.Code);
    if (row != nullptr && row->CalibreMm) ++counts[*row->CalibreMm];
    else ++none;
  }
  for (const auto& [calibre, cues] : counts) s.PerCalibre.push_back({Float64Text(calibre), cues});
  if (none > 0) s.PerCalibre.push_back({"", none});
}

std::string ProductLabel(const ProductUse& use) {
  std::string text = std::to_string(use.Code);
  if (use.Row == nullptr) return text + ", no product row";
  text += ", \"" + use.Row->Name + "\", " + ProductTypeName(use.Row->Type);
  if (use.Row->CalibreMm) text += ", " + Float64Text(*use.Row->CalibreMm) + " mm";
  return text;
}

}  // namespace

DesignSummary SummarizeDesign(const ShowDocument& show, const std::map<int32_t, ProductFigures>& measured) {
  DesignSummary s;
  s.Cues = show.Cues.size();
  std::map<int32_t, size_t> uses;
  for (const Cue& cue : show.Cues) {
    ++uses[cue.Code];
    const auto figures = measured.find(cue.Code);
    const bool known = figures != measured.end();
    const int64_t prefire = PrefireMs(FindProduct(show.Products, cue.Code),
                                      known ? std::optional(figures->second.PrefireMs) : std::nullopt);
    const int64_t breakMs = BreakTimeMs(cue.TimeMs, prefire);
    s.FirstBreakMs = std::min(s.FirstBreakMs.value_or(breakMs), breakMs);
    s.LastBreakMs = std::max(s.LastBreakMs.value_or(breakMs), breakMs);
    const int64_t end = cue.TimeMs + (known ? static_cast<int64_t>(figures->second.DurationS * 1000.0 + 0.5) : 0);
    s.LengthMs = std::max(s.LengthMs, end);
  }
  for (const auto& [code, cues] : uses) {
    ProductUse use;
    use.Code = code;
    use.Row = FindProduct(show.Products, code);
    use.Cues = cues;
    if (use.Row != nullptr && use.Row->Stock) use.Short = cues > static_cast<size_t>(*use.Row->Stock);
    if (use.Row != nullptr && use.Row->Price) {
      use.Cost = static_cast<double>(cues) * *use.Row->Price;
      s.Cost += *use.Cost;
    } else {
      ++s.Unpriced;
    }
    s.Products.push_back(use);
  }
  CountPositions(show, s);
  CountCalibres(show, s);
  return s;
}

std::string DesignSummaryText(const DesignSummary& s) {
  std::string text = "cues: " + std::to_string(s.Cues) + "\n";
  for (const ProductUse& use : s.Products) {
    text += "product: " + ProductLabel(use) + ": " + std::to_string(use.Cues) + " used";
    if (use.Row != nullptr && use.Row->Stock) {
      text += ", stock " + std::to_string(*use.Row->Stock);
      if (use.Short) text += ", SHORT by " + std::to_string(use.Cues - static_cast<size_t>(*use.Row->Stock));
    }
    if (use.Cost) text += ", cost " + Money(*use.Cost);
    text += "\n";
  }
  text += "cost: " + Money(s.Cost);
  if (s.Unpriced > 0) text += " (" + std::to_string(s.Unpriced) + " products used without a price left out)";
  text += "\n";
  for (const CueCount& c : s.PerPosition)
    text += "position: " + (c.Key.empty() ? std::string("(none)") : c.Key) + ": " + std::to_string(c.Cues) + " cues\n";
  for (const CueCount& c : s.PerCalibre)
    text += "calibre: " + (c.Key.empty() ? std::string("(none)") : c.Key + " mm") + ": " + std::to_string(c.Cues) +
            " cues\n";
  if (s.FirstBreakMs) text += "first break: " + ClockText(*s.FirstBreakMs) + "\n";
  if (s.LastBreakMs) text += "last break: " + ClockText(*s.LastBreakMs) + "\n";
  text += "length: " + ClockText(s.LengthMs) + "\n";
  return text;
}

std::string DesignSummaryCsv(const DesignSummary& s) {
  std::string text = "section,key,name,cues,stock,short,amount\n";
  auto row = [&text](const std::string& section, const std::string& key, const std::string& name,
                     const std::string& cues, const std::string& stock, const std::string& isShort,
                     const std::string& amount) {
    text += section + "," + SpreadsheetField(key) + "," + SpreadsheetField(name) + "," + cues + "," + stock + "," +
            isShort + "," + amount + "\n";
  };
  row("show", "cues", "", std::to_string(s.Cues), "", "", "");
  row("show", "cost", "", "", "", "", Money(s.Cost));
  row("show", "unpriced_products", "", "", "", "", std::to_string(s.Unpriced));
  if (s.FirstBreakMs) row("show", "first_break_s", "", "", "", "", CueTimeText(*s.FirstBreakMs));
  if (s.LastBreakMs) row("show", "last_break_s", "", "", "", "", CueTimeText(*s.LastBreakMs));
  row("show", "length_s", "", "", "", "", CueTimeText(s.LengthMs));
  for (const ProductUse& use : s.Products) {
    const bool stocked = use.Row != nullptr && use.Row->Stock;
    row("product", std::to_string(use.Code), use.Row != nullptr ? use.Row->Name : "", std::to_string(use.Cues),
        stocked ? std::to_string(*use.Row->Stock) : "", stocked ? (use.Short ? "yes" : "no") : "",
        use.Cost ? Money(*use.Cost) : "");
  }
  for (const CueCount& c : s.PerPosition) row("position", c.Key, "", std::to_string(c.Cues), "", "", "");
  for (const CueCount& c : s.PerCalibre) row("calibre", c.Key, "", std::to_string(c.Cues), "", "", "");
  return text;
}

}  // namespace orvane
