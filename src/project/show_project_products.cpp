// The show project's site, products, measurements and break times.

#include "project/show_project.h"

#include <algorithm>
#include <cmath>

#include "show/site_units.h"

namespace orvane {

void ShowProject::SetSite(ShowSite site) {
  ShowSettings after = data_.Show.Settings;
  after.Site = std::move(site);
  EditSettings("Site", std::move(after));
}

Result<> ShowProject::MoveSitePosition(const std::string& name, double xM, double zM) {
  ShowSettings after = data_.Show.Settings;
  auto found = std::find_if(after.Site.Positions.begin(), after.Site.Positions.end(),
                            [&name](const SitePosition& p) { return p.Name == name; });
  if (found == after.Site.Positions.end()) return Fail("The site has no position \"" + name + "\".");
  const UnitPoint units = UnitsFromMetres(after.Site, {xM, zM, found->Y.value_or(0)});
  if (!std::isfinite(xM) || !std::isfinite(zM) || !InShowRange(units))
    return Fail("Position " + name + " cannot go there: it would lie outside the show's range.");
  if (found->X == xM && found->Z == zM) return {};
  found->X = xM;
  found->Z = zM;
  EditSettings("Move position " + name, std::move(after));
  return {};
}

void ShowProject::EditProducts(std::string text, ProductTable after) {
  if (after == data_.Show.Products) return;
  Execute(std::make_unique<ProductsCommand>(std::move(text), data_.Show.Products, std::move(after)));
}

const ShowMeasures& ShowProject::Measures() const {
  const MeasuresKey key{generation_, history_.StateId(), data_.Devices.Revision()};
  if (measuresKey_ != key) {
    measures_ = MeasureShowDevices(data_.Show, data_.Devices.Devices(), data_.Show.Settings.Scale.value_or(1.0f),
                                   measureCache_);
    measuresKey_ = key;
  }
  return measures_;
}

CueTableContext ShowProject::TableContext() const {
  const ShowMeasures& measures = Measures();
  return {data_.Show.Settings.Site, data_.Show.Products, &data_.Devices.Devices(),
          [&measures](int32_t code) -> std::optional<int64_t> {
            const auto found = measures.Figures.find(code);
            if (found == measures.Figures.end()) return std::nullopt;
            return found->second.PrefireMs;
          },
          [this](size_t index) -> std::optional<std::pair<int32_t, int32_t>> {
            const AddressPlan& plan = Addresses();
            if (plan.Error || index >= plan.Addresses.size()) return std::nullopt;
            return std::pair{plan.Addresses[index].Module, plan.Addresses[index].Pin};
          }};
}

void ShowProject::SetScriptProfile(FiringProfile profile) {
  scriptProfile_ = std::move(profile);
  addressesKey_.reset();
}

const AddressPlan& ShowProject::Addresses() const {
  const MeasuresKey key{generation_, history_.StateId(), 0};
  if (addressesKey_ != key) {
    addresses_ = AssignAddresses(data_.Show.Cues, data_.Show.Settings.Site, scriptProfile_);
    addressesKey_ = key;
  }
  return addresses_;
}

bool ShowProject::ReadsFile(const std::filesystem::path& file) const {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return false;
  std::vector<std::filesystem::path> files;
  if (!folder_.empty())
    for (const FileContent& f : ShowFolderFiles(data_.Show, data_.Devices.Devices())) files.push_back(folder_ / f.Name);
  if (const auto music = MusicPath()) files.push_back(*music);
  return std::any_of(files.begin(), files.end(),
                     [&](const std::filesystem::path& f) { return std::filesystem::equivalent(f, file, error); });
}

bool ShowProject::WriteAddresses() {
  const AddressPlan& plan = Addresses();
  if (plan.Error) return false;
  CueListChange change = WriteAddressesChange(data_.Show.Cues, plan.Addresses);
  if (change.Empty()) return false;
  EditCues("Write addresses", std::move(change));
  return true;
}

int64_t ShowProject::CueBreakMs(size_t row) const {
  if (row >= data_.Show.Cues.size()) return 0;
  return orvane::CueBreakMs(data_.Show.Cues[row], TableContext());
}

Result<CueListChange> ShowProject::CheckCueColumn(size_t row, CueColumn column, const std::string& text) const {
  Result<CueListChange> change = SetCueColumnChange(data_.Show.Cues, row, column, text, TableContext());
  if (!change) return Fail("Row " + std::to_string(row + 1) + ", " + change.Message());
  return change;
}

Result<> ShowProject::SetCueColumn(size_t row, CueColumn column, const std::string& text) {
  Result<CueListChange> change = CheckCueColumn(row, column, text);
  if (!change) return change.Error();
  EditCues(CueColumnEditName(column), std::move(change.Value()));
  return {};
}

Result<> ShowProject::MoveCueBreak(size_t row, int64_t breakMs) {
  Result<CueListChange> change = MoveBreakChange(data_.Show.Cues, row, breakMs, TableContext());
  if (!change) return Fail("Row " + std::to_string(row + 1) + ", " + change.Message());
  EditCues("Move break", std::move(change.Value()));
  return {};
}

Result<int32_t> ShowProject::AddLibraryProduct(const LibraryShelf& shelf, int32_t code) {
  const Product* row = FindProduct(shelf.Products, code);
  if (row == nullptr)
    return Fail("The library shelf \"" + shelf.Name + "\" has no product with code " + std::to_string(code) + ".");
  Result<ChainCopy> copy = CopyChainInto(shelf.Devices, code, data_.Devices.Devices(), data_.Devices.Prepare());
  if (!copy) return copy.Error();

  DeviceListState before = data_.Devices.Capture();
  DeviceListState after = before;
  // The root selected, so that Add cue fires the product.
  after.Selected = after.Items.size();
  for (const auto& device : copy.Value().Devices) {
    after.Items.push_back(
        {std::to_string(device->Definition.Code), after.Records.size(), device->Definition.Kind ? 1 : 0});
    after.Records.push_back(*device);
  }
  ProductTable products = data_.Show.Products;
  Product added = *row;
  added.Code = copy.Value().Root();
  added.Line = 0;
  added.Extra.assign(products.ExtraColumns.size(), std::string());
  products.Rows.push_back(std::move(added));

  auto group = std::make_unique<ProjectCommandGroup>("Add product");
  group->Add(std::make_unique<DeviceListCommand>("Add product", std::move(before), std::move(after)));
  group->Add(std::make_unique<ProductsCommand>("Add product", data_.Show.Products, std::move(products)));
  Execute(std::move(group));
  return copy.Value().Root();
}

DesignSummary ShowProject::Summary() const { return SummarizeDesign(data_.Show, Measures().Figures); }

}  // namespace orvane
