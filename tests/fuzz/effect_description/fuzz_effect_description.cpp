// Feeds any text to the description reader. What it accepts must read back the same from
// its normalised text, and its recipe must make devices the main window could hold.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "effects/effect_recipe.h"
#include "model/form_ranges.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const orvane::Result<orvane::EffectDescription> description = orvane::ParseEffectDescription(text);
  if (!description) {
    if (description.Message().empty()) std::abort();
    return 0;
  }
  const orvane::Result<orvane::EffectDescription> again =
      orvane::ParseEffectDescription(orvane::DescriptionText(description.Value()));
  if (!again || !(again.Value() == description.Value())) std::abort();
  const orvane::EffectChain chain = orvane::BuildEffectChain(description.Value());
  if (chain.Devices.empty()) std::abort();
  for (const orvane::TBaseDevice& d : chain.Devices)
    if (orvane::OutsideFormRanges(d)) std::abort();
  return 0;
}
