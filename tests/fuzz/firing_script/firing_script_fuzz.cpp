// Feeds any bytes to the reader of orvane scripts; cues it reads must export with the same
// profile to a script that reads back to the same cues.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/firing_script.h"
#include "project/firing_script_import.h"

namespace {

// The shipped profile's columns, without the header lines that carry the date.
orvane::FiringProfile Orvane() {
  using orvane::ScriptField;
  orvane::FiringProfile p;
  p.Name = "orvane";
  p.Modules = 65'536;
  p.PinsPerModule = 65'536;
  p.ModuleBase = p.PinBase = 0;
  p.MaxShowLengthMs = 86'400'000;
  for (const ScriptField f :
       {ScriptField::kIgnitionTime, ScriptField::kModule, ScriptField::kPin, ScriptField::kPosition, ScriptField::kCode,
        ScriptField::kLabel, ScriptField::kX, ScriptField::kY, ScriptField::kZ})
    p.Columns.push_back({orvane::ScriptFieldName(f), f});
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static const orvane::FiringProfile profile = Orvane();
  orvane::Result<std::vector<orvane::Cue>> read = orvane::ReadFiringScript(bytes, "fuzz.csv", profile);
  if (!read) {
    if (read.Message().empty()) std::abort();
    return 0;
  }
  const orvane::ShowSite site;
  const orvane::ProductTable products;
  const orvane::FiringScriptPlan plan =
      orvane::PlanFiringScript({read.Value(), orvane::CueTableContext{site, products, nullptr, {}}, "", ""}, profile);
  // Pins used twice are refused; everything else must be written and read back.
  if (plan.Refused()) return 0;
  orvane::Result<std::vector<orvane::Cue>> again = orvane::ReadFiringScript(plan.Bytes, "again.csv", profile);
  if (!again) std::abort();
  std::vector<orvane::Cue> a = read.Value(), b = again.Value();
  if (a.size() != b.size()) std::abort();
  for (size_t i = 0; i < a.size(); ++i) {
    a[i].Line = b[i].Line = 0;
    // Cues read without an address are given one on the way.
    if (!a[i].Module) a[i].Module = b[i].Module, a[i].Pin = b[i].Pin;
  }
  if (!(a == b)) std::abort();
  return 0;
}
