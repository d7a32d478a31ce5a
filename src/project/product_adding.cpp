#include "project/product_adding.h"

#include "effects/effect_recipe.h"
#include "effects/product_row.h"
#include "model/device_chain.h"
#include "show/product_library.h"
#include "show/product_list.h"

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

Result<int32_t> AddEffectFromDescription(ShowProject& project, std::string_view description, UserDialogs&) {
  const Result<EffectDescription> described = ParseEffectDescription(description);
  if (!described) return described.Error();
  const DeviceList& list = project.Devices();
  const CodeTaken taken = [&list](int32_t code) {
    for (const auto& d : list.Devices())
      if (d->Definition.Code == code) return true;
    return false;
  };
  const Result<EffectChain> chain = MakeEffect(described.Value(), taken, kAddedProductFirstCode);
  if (!chain) return chain.Error();
  const Result<MeasuredProduct> measured = MeasureGeneratedProduct(chain.Value());
  if (!measured) return Fail("The effect could not be measured: " + measured.Message());
  // A shelf of one product, so that its devices and its row join the show as one edit. Its
  // codes are free in the show, so they are kept.
  LibraryShelf shelf;
  shelf.Name = DescriptionText(described.Value());
  for (const TBaseDevice& device : chain.Value().Devices) {
    auto record = std::make_unique<TBaseDevice>(device);
    if (!list.Prepare()(*record)) return Fail("The product \"" + shelf.Name + "\" could not be prepared.");
    shelf.Devices.push_back(std::move(record));
  }
  Result<ProductTable> row = ReadProducts(std::string(kProductsCsvHeader) + "\n" + ProductRowCsv(measured.Value().Row),
                                          kProductFileName, &shelf.Devices);
  if (!row) return row.Error();
  shelf.Products = std::move(row.Value());
  return project.AddLibraryProduct(shelf, chain.Value().RootCode());
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
