#include "project/product_adding.h"

#include "effects/effect_recipe.h"
#include "model/device_chain.h"

namespace orvane {

Result<int32_t> AddProductChain(ShowProject& project, const std::string& name, std::vector<TBaseDevice> chain,
                                UserDialogs& dialogs) {
  if (chain.empty()) return Fail("The product \"" + name + "\" has no devices.");
  const DeviceList& list = project.Devices();
  const CodeTaken taken = [&list](int32_t code) {
    for (const auto& d : list.Devices())
      if (d->Definition.Code == code) return true;
    return false;
  };
  if (Result<> renumbered = RenumberChain(chain, taken, kAddedProductFirstCode); !renumbered) return renumbered.Error();
  const int32_t root = chain.front().Definition.Code;
  bool added = false;
  project.EditDevices("Add product " + name, [&](DeviceList& devices) { added = devices.AddDevices(chain, dialogs); });
  if (!added) return Fail("The product \"" + name + "\" could not be added.");
  return root;
}

Result<int32_t> AddEffectFromDescription(ShowProject& project, std::string_view description, UserDialogs& dialogs) {
  const Result<EffectDescription> described = ParseEffectDescription(description);
  if (!described) return described.Error();
  // Named as a product made on the command line; AddProductChain gives the codes.
  const Result<EffectChain> named = MakeEffect(
      described.Value(), [](int32_t) { return false; }, 0);
  if (!named) return named.Error();
  return AddProductChain(project, DescriptionText(described.Value()), named.Value().Devices, dialogs);
}

std::optional<int32_t> AskForNewEffect(ShowProject& project, UserDialogs& dialogs) {
  std::string text;
  for (;;) {
    const std::optional<std::string> typed = dialogs.InputText(
        "New effect from description", "Calibre, colours and type, as in \"100mm gold willow\":", text);
    if (!typed) return std::nullopt;
    text = *typed;
    const Result<int32_t> added = AddEffectFromDescription(project, text, dialogs);
    if (added) return added.Value();
    dialogs.Message(DialogKind::Warning, DialogButtons::Ok, added.Message());
  }
}

}  // namespace orvane
