#include "show/cue_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/decimal_text.h"
#include "model/integer_text.h"
#include "model/timeline_view.h"
#include "show/break_time.h"
#include "show/csv_text.h"
#include "show/cue_address.h"
#include "show/cue_list.h"
#include "show/site_units.h"

namespace orvane {
namespace {

constexpr const char* kHeaders[kCueColumnCount] = {"Fire",       "Break", "Product", "Position", "X (m)",
                                                   "Height (m)", "Z (m)", "Label",   "Module",   "Pin"};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// Millimetres, without the zeros a designer would not type.
std::string EditMetres(double metres) {
  std::string text = Fixed(metres, 3);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

Failure Refuse(size_t index, const std::string& what) {
  return Fail(std::string(kCueFileName) + " line " + std::to_string(CueFileLine(index)) + ": " + what + ".");
}

// The cue's coordinates in metres, each when it is its own or its position's.
struct Metres {
  std::optional<double> X, Height, Z;
};

Metres CueMetres(const Cue& cue, const ShowSite& site) {
  Metres m;
  const SitePosition* position = cue.Position.empty() ? nullptr : FindSitePosition(site, cue.Position);
  if (position != nullptr) {
    m.X = position->X;
    m.Z = position->Z;
    m.Height = position->Y;
  }
  const MetrePoint typed = MetresFromUnits(site, {cue.X.value_or(0), cue.Y.value_or(site.GroundY), cue.Z.value_or(0)});
  if (cue.X) m.X = typed.X;
  if (cue.Y) m.Height = typed.Y;
  if (cue.Z) m.Z = typed.Z;
  return m;
}

std::optional<double> MetresOf(const Metres& m, CueColumn column) {
  return column == CueColumn::X ? m.X : column == CueColumn::Z ? m.Z : m.Height;
}

std::string ProductText(const Cue& cue, const ProductTable& products) {
  const Product* row = FindProduct(products, cue.Code);
  if (row == nullptr) return std::to_string(cue.Code);
  std::string text = row->Name.empty() ? std::to_string(cue.Code) : row->Name;
  text += std::string(" (") + ProductTypeName(row->Type);
  if (row->CalibreMm) text += ", " + EditMetres(*row->CalibreMm) + " mm";
  return text + ")";
}

Result<CueListChange> Replace(const std::vector<Cue>& cues, size_t index, Cue after) {
  if (after == cues[index]) return CueListChange{};
  return MakeChange(cues, {index}, {std::move(after)});
}

Result<CueListChange> SetBreak(const std::vector<Cue>& cues, size_t index, std::string_view text,
                               const CueTableContext& context) {
  const std::string_view trimmed = TrimBlanks(text);
  const std::optional<int64_t> breakMs = ParseCueTime(trimmed);
  if (!breakMs) return Refuse(index, "break \"" + std::string(trimmed) + "\" is not a time in seconds");
  return MoveBreakChange(cues, index, *breakMs, context);
}

Result<CueListChange> SetProduct(const std::vector<Cue>& cues, size_t index, std::string_view text,
                                 const CueTableContext& context) {
  const std::string_view trimmed = TrimBlanks(text);
  // A product's name picks its code.
  if (!ParseInteger(trimmed))
    for (const Product& p : context.Products.Rows)
      if (!p.Name.empty() && ColumnName(p.Name) == ColumnName(trimmed))
        return SetCueFieldChange(cues, index, CueField::Code, std::to_string(p.Code), context.Devices);
  return SetCueFieldChange(cues, index, CueField::Code, trimmed, context.Devices);
}

Result<CueListChange> SetPosition(const std::vector<Cue>& cues, size_t index, std::string_view text,
                                  const CueTableContext& context) {
  const std::string name(TrimBlanks(text));
  Cue after = cues[index];
  if (name.empty()) {
    // The cue stays where the position put it.
    if (const SitePosition* p = FindSitePosition(context.Site, after.Position)) {
      const UnitPoint at = UnitsFromMetres(context.Site, {p->X, p->Z, p->Y.value_or(0)});
      after.X = at.X;
      after.Z = at.Z;
      if (p->Y && !after.Y) after.Y = at.Y;
    }
    after.Position.clear();
    return Replace(cues, index, std::move(after));
  }
  if (FindSitePosition(context.Site, name) == nullptr)
    return Refuse(index, "position \"" + name + "\" is not a position of the site");
  after.Position = name;
  after.X.reset();
  after.Z.reset();
  return Replace(cues, index, std::move(after));
}

Result<CueListChange> SetCoordinate(const std::vector<Cue>& cues, size_t index, CueColumn column, std::string_view text,
                                    const CueTableContext& context) {
  const char* name = column == CueColumn::X ? "x" : column == CueColumn::Z ? "z" : "height";
  const std::string_view trimmed = TrimBlanks(text);
  Cue after = cues[index];
  std::optional<float>& field = column == CueColumn::X ? after.X : column == CueColumn::Z ? after.Z : after.Y;
  // A coordinate typed for a cue fired at a position frees it, the other one kept.
  if (column != CueColumn::Height && !after.Position.empty()) {
    if (const SitePosition* p = FindSitePosition(context.Site, after.Position)) {
      const UnitPoint at = UnitsFromMetres(context.Site, {p->X, p->Z, 0});
      after.X = at.X;
      after.Z = at.Z;
    }
    after.Position.clear();
  }
  if (trimmed.empty()) {
    field.reset();
    return Replace(cues, index, std::move(after));
  }
  const std::optional<double> metres = ReadDecimal(trimmed);
  if (!metres || !std::isfinite(*metres))
    return Refuse(index, std::string(name) + " \"" + std::string(trimmed) + "\" is not a number of metres");
  const UnitPoint units = UnitsFromMetres(context.Site, {*metres, *metres, *metres});
  const float value = column == CueColumn::X ? units.X : column == CueColumn::Z ? units.Z : units.Y;
  if (!InShowRange({value, value, value})) {
    const double reach = kMaxCuePosition * context.Site.MetresPerUnit;
    const std::string range = column == CueColumn::Height
                                  ? Fixed(-reach - context.Site.GroundY * context.Site.MetresPerUnit, 1) + " to " +
                                        Fixed(reach - context.Site.GroundY * context.Site.MetresPerUnit, 1)
                                  : Fixed(-reach, 1) + " to " + Fixed(reach, 1);
    return Refuse(index,
                  std::string(name) + " " + std::string(trimmed) + " m is outside the show's range (" + range + " m)");
  }
  field = value;
  return Replace(cues, index, std::move(after));
}

Result<CueListChange> SetAddress(const std::vector<Cue>& cues, size_t index, CueColumn column, std::string_view text,
                                 const CueTableContext& context) {
  Cue after = cues[index];
  const bool module = column == CueColumn::Module;
  const char* name = module ? "module" : "pin";
  text = TrimBlanks(text);
  if (text.empty()) {
    after.Module = after.Pin = std::nullopt;
    return Replace(cues, index, std::move(after));
  }
  const std::optional<int32_t> value = ParseCueAddress(text);
  if (!value)
    return Refuse(index, std::string(name) + " \"" + std::string(text) + "\" is not a whole number from 0 to " +
                             std::to_string(kMaxCueAddress));
  if (!after.Module || !after.Pin) {
    const auto assigned = context.Assigned ? context.Assigned(index) : std::nullopt;
    if (!assigned) return Refuse(index, "a module needs a pin: the cue has no address to take the other from");
    after.Module = assigned->first;
    after.Pin = assigned->second;
  }
  (module ? after.Module : after.Pin) = *value;
  return Replace(cues, index, std::move(after));
}

}  // namespace

const char* CueColumnHeader(CueColumn column) {
  const auto i = static_cast<size_t>(column);
  return i < kCueColumnCount ? kHeaders[i] : "";
}

const char* CueColumnEditName(CueColumn column) { return column == CueColumn::Break ? "Set break" : "Edit cue"; }

bool CueColumnIsNumber(CueColumn column) {
  return column != CueColumn::Product && column != CueColumn::Position && column != CueColumn::Label;
}

int64_t CuePrefireMs(const Cue& cue, const CueTableContext& context) {
  const std::optional<int64_t> measured = context.Prefire ? context.Prefire(cue.Code) : std::nullopt;
  return PrefireMs(FindProduct(context.Products, cue.Code), measured);
}

std::string CueColumnText(const Cue& cue, CueColumn column, const CueTableContext& context) {
  switch (column) {
    case CueColumn::Fire: return ClockText(cue.TimeMs);
    case CueColumn::Break: return ClockText(CueBreakMs(cue, context));
    case CueColumn::Product: return ProductText(cue, context.Products);
    case CueColumn::X:
    case CueColumn::Height:
    case CueColumn::Z: {
      const std::optional<double> m = MetresOf(CueMetres(cue, context.Site), column);
      return m ? Fixed(*m, 1) : std::string();
    }
    default: return CueColumnEditText(cue, column, context);
  }
}

std::string CueColumnEditText(const Cue& cue, CueColumn column, const CueTableContext& context) {
  switch (column) {
    case CueColumn::Fire: return CueTimeText(cue.TimeMs);
    case CueColumn::Break: return CueTimeText(CueBreakMs(cue, context));
    case CueColumn::Product: return std::to_string(cue.Code);
    case CueColumn::Position: return cue.Position;
    case CueColumn::X:
    case CueColumn::Height:
    case CueColumn::Z: {
      const std::optional<double> m = MetresOf(CueMetres(cue, context.Site), column);
      return m ? EditMetres(*m) : std::string();
    }
    case CueColumn::Label: return cue.Label;
    case CueColumn::Module: return cue.Module ? std::to_string(*cue.Module) : std::string();
    case CueColumn::Pin: return cue.Pin ? std::to_string(*cue.Pin) : std::string();
  }
  return {};
}

Result<CueListChange> SetCueColumnChange(const std::vector<Cue>& cues, size_t index, CueColumn column,
                                         std::string_view text, const CueTableContext& context) {
  if (index >= cues.size()) return CueListChange{};
  if (text == CueColumnEditText(cues[index], column, context)) return CueListChange{};
  switch (column) {
    case CueColumn::Fire: return SetCueFieldChange(cues, index, CueField::Time, text, context.Devices);
    case CueColumn::Break: return SetBreak(cues, index, text, context);
    case CueColumn::Product: return SetProduct(cues, index, text, context);
    case CueColumn::Position: return SetPosition(cues, index, text, context);
    case CueColumn::X:
    case CueColumn::Height:
    case CueColumn::Z: return SetCoordinate(cues, index, column, text, context);
    case CueColumn::Label: return SetCueFieldChange(cues, index, CueField::Label, text, context.Devices);
    case CueColumn::Module:
    case CueColumn::Pin: return SetAddress(cues, index, column, text, context);
  }
  return CueListChange{};
}

Result<CueListChange> MoveBreakChange(const std::vector<Cue>& cues, size_t index, int64_t breakMs,
                                      const CueTableContext& context) {
  if (index >= cues.size()) return CueListChange{};
  const Result<int64_t> fire = FireTimeForBreak(breakMs, CuePrefireMs(cues[index], context));
  if (!fire) return Refuse(index, fire.Message());
  return MoveCueChange(cues, index, fire.Value());
}

}  // namespace orvane
