#include "model/device_list.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "model/chain_check.h"
#include "model/decimal_text.h"
#include "model/integer_text.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDuplicateCode = "This device code already exists in the list, please verify.";
constexpr const char* kNotCreated = "The device could not be created.";

// Said when memory ran out: the form's values are fine, the machine is short.
std::string NotCreatedMessage(bool outOfMemory) {
  return outOfMemory ? std::string(kNotCreated) + " There is not enough memory for its tables." : kNotCreated;
}

DeviceListItem ItemFor(TBaseDevice* record) {
  return {std::to_string(record->Definition.Code), record, record->Definition.Kind ? 1 : 0};
}

void Inform(UserDialogs& dialogs, const std::string& text) {
  dialogs.Message(DialogKind::Information, DialogButtons::Yes, text);
}

// The definition part a device made by Create carries.
void GiveCreateDefinition(TBaseDevice& d) {
  TDefnDevice& defn = d.Definition;
  defn.Name = std::to_string(defn.Code);
  defn.Active = true;
  defn.DelayA = 0;
  defn.DelayB = 0;
  defn.EffectLength = d.EffectLength;
  defn.Description.clear();
  defn.DeviceIcon = 0;
  defn.EffectIcon = 0;
  defn.Additional = TAdditDevice{};
}

void ShowLink(bool exists, int32_t code, int32_t start, bool& check, std::string& codeText, int& position) {
  check = exists;
  codeText = exists ? std::to_string(code) : std::string();
  position = exists ? start : 100;
}

std::string WithTrailingSlash(const fs::path& folder) {
  std::string s = folder.string();
  if (s.empty() || s.back() != '/') s.push_back('/');
  return s;
}

}  // namespace

DeviceList::DeviceList(PrepareStep prepare) : prepare_(std::move(prepare)) {}

ListButtons DeviceList::EnabledButtons() const {
  return {!selected_.has_value(), selected_.has_value(), selected_.has_value(), !items_.empty()};
}

void DeviceList::SetDeviceFolder(const fs::path& folder) { deviceFolder_ = WithTrailingSlash(folder); }

TBaseDevice* DeviceList::BuildDevice(UserDialogs& dialogs) {
  bool outOfMemory = false;
  auto record = MakeDevice(form_, editSegments_, prepare_, &outOfMemory);
  if (!record) {
    dialogs.Message(DialogKind::Error, DialogButtons::Ok, NotCreatedMessage(outOfMemory));
    return nullptr;
  }
  devices_.push_back(std::move(record));
  ++revision_;
  return devices_.back().get();
}

void DeviceList::Create(UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  if (!ValidateForm(form_, dialogs, focus_)) return;
  if (FindByCode(ParseInteger(form_.DevCode).value_or(0))) {
    focus_ = FormFocus::DevCodeEdit;
    Inform(dialogs, kDuplicateCode);
    return;
  }
  if (TBaseDevice* record = BuildDevice(dialogs)) {
    GiveCreateDefinition(*record);
    items_.push_back(ItemFor(record));
    focus_ = FormFocus::DevicesList;
    Select(items_.size() - 1);
  }
  CheckRecursion(dialogs, "The created effect generates recursivity, please verify.");
}

bool DeviceList::AddDevices(const std::vector<TBaseDevice>& records, UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  DeviceRecords prepared;
  for (const TBaseDevice& r : records) {
    auto record = std::make_unique<TBaseDevice>(r);
    if (!prepare_(*record)) {
      dialogs.Message(DialogKind::Error, DialogButtons::Ok, kNotCreated);
      return false;
    }
    prepared.push_back(std::move(record));
  }
  if (prepared.empty()) return true;
  const size_t first = items_.size();
  for (auto& record : prepared) {
    items_.push_back(ItemFor(record.get()));
    devices_.push_back(std::move(record));
  }
  ++revision_;
  focus_ = FormFocus::DevicesList;
  Select(first);
  CheckRecursion(dialogs, "The created effect generates recursivity, please verify.");
  return true;
}

bool DeviceList::CodeTakenByAnother(int32_t code, const TBaseDevice* self) const {
  return std::any_of(devices_.begin(), devices_.end(),
                     [&](const auto& d) { return d.get() != self && d->Compiled && d->Compiled->Code == code; });
}

void DeviceList::Assign(UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  if (!selected_) {
    Inform(dialogs, "Select from the list the device you wish to modify.");
    return;
  }
  if (!ValidateForm(form_, dialogs, focus_)) return;
  DeviceListItem& item = items_[*selected_];
  if (item.Record == nullptr) return;
  const int32_t code = ParseInteger(form_.DevCode).value_or(0);
  if (code != item.Record->Definition.Code && CodeTakenByAnother(code, item.Record)) {
    focus_ = FormFocus::DevCodeEdit;
    Inform(dialogs, kDuplicateCode);
    return;
  }
  bool outOfMemory = false;
  auto fresh = MakeDevice(form_, editSegments_, prepare_, &outOfMemory);
  if (!fresh) {
    dialogs.Message(DialogKind::Error, DialogButtons::Ok, NotCreatedMessage(outOfMemory));
    return;
  }
  TDefnDevice kept = item.Record->Definition;
  kept.Code = fresh->Definition.Code;
  kept.Kind = fresh->Definition.Kind;
  kept.EffectLength = fresh->EffectLength;
  fresh->Definition = std::move(kept);
  // The same device, changed: its file keeps what the reader skipped.
  fresh->Source = item.Record->Source;
  assert(!fresh->Compiled || fresh->Compiled->Code == fresh->Definition.Code);

  FreeDevice(*selected_);
  devices_.push_back(std::move(fresh));
  ++revision_;
  item = ItemFor(devices_.back().get());
  focus_ = FormFocus::DevicesList;
  CheckRecursion(dialogs, "The selected effect generates recursivity, please verify.");
}

void DeviceList::Delete(UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  if (!selected_) {
    dialogs.Message(DialogKind::Information, DialogButtons::Ok, "Select from the list the device you wish to delete.");
    return;
  }
  const size_t i = *selected_;
  const std::string question = "Are you sure you wish to delete the device code " + items_[i].Caption + "?";
  if (dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo, question) != DialogAnswer::Yes) return;
  FreeDevice(i);
  const bool wasLast = i + 1 >= items_.size();
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
  selected_.reset();
  // The font follows the list as it is now; no message for a cycle that was already shown.
  redFont_ = orvane::HasRecursion(devices_);
  if (!wasLast) {
    Select(i);
  } else if (i > 0) {
    Select(i - 1);
  }
}

void DeviceList::DeleteAll(UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  if (items_.empty()) return;
  if (dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                      "Are you sure you want to delete the entire device list?") != DialogAnswer::Yes)
    return;
  ClearDevices();
}

void DeviceList::Select(size_t index) {
  if (index >= items_.size()) return;
  selected_ = index;
  ShowDevice(index);
}

void DeviceList::Deselect() { selected_.reset(); }

void DeviceList::ShowDevice(size_t index) {
  if (index >= items_.size() || items_[index].Record == nullptr) return;
  const TBaseDevice& d = *items_[index].Record;
  DeviceForm& f = form_;
  f.DevCode = std::to_string(d.Definition.Code);
  f.SubDevice = d.Definition.Kind;
  f.ProjXY = d.ProjectionXY;
  f.OpenXY = d.OpeningXY;
  f.ProjXZ = d.ProjectionXZ;
  f.OpenXZ = d.OpeningXZ;
  f.StarQuantity = std::to_string(d.StarQuantity);
  if (d.StarKind == StarKind::Progressive || d.StarKind == StarKind::Explosive) {
    f.Progressive = d.StarKind == StarKind::Progressive;
    f.Explosive = d.StarKind == StarKind::Explosive;
  }
  f.Trail = d.TrailExists;
  f.TrailLength = d.TrailLife;
  f.Weight = d.StarWeight;
  f.Speed = d.StarSpeed;
  f.Resistance = d.StarResistance;
  f.Size = d.StarSize;
  if (d.SpeedKind == SpeedKind::Random || d.SpeedKind == SpeedKind::Homogeneous) {
    f.RandomSpeed = d.SpeedKind == SpeedKind::Random;
    f.HomogeneousSpeed = d.SpeedKind == SpeedKind::Homogeneous;
  }
  f.EffectLength = std::to_string(d.EffectLength);
  f.MinLife = d.MinStarLife;
  f.MaxLife = d.MaxStarLife;
  ShowLink(d.NextEffExists, d.NextEffCode, d.NextEffStart, f.NextEff, f.NextEffCode, f.NextEffPos);
  ShowLink(d.NextParExists, d.NextParCode, d.NextParStart, f.NextPar, f.NextParCode, f.NextParPos);
  editSegments_ = d.ColorData;
  if (const auto part = FindByCode(d.Definition.Code)) {
    const char sep = LocaleDecimalSeparator();
    f.PosX = FormatPosition(part->BestX, sep);
    f.PosY = FormatPosition(part->BestY, sep);
    f.PosZ = FormatPosition(part->BestZ, sep);
  }
}

void DeviceList::FreeDevice(size_t index) {
  if (index >= items_.size() || items_[index].Record == nullptr) return;
  const TBaseDevice* record = items_[index].Record;
  std::erase_if(devices_, [&](const auto& d) { return d.get() == record; });
  items_[index].Record = nullptr;
  ++revision_;
}

void DeviceList::ClearDevices() {
  devices_.clear();
  ++revision_;
  items_.clear();
  selected_.reset();
  redFont_ = false;
  ClearEditSegments();
}

void DeviceList::RefreshDeviceList(UserDialogs& dialogs) {
  items_.clear();
  selected_.reset();
  for (const auto& d : devices_) items_.push_back(ItemFor(d.get()));
  if (items_.empty()) {
    redFont_ = false;
    return;
  }
  focus_ = FormFocus::DevicesList;
  Select(0);
  CheckRecursion(dialogs, "One of the loaded effects generates recursivity, please verify.");
}

void DeviceList::CheckRecursion(UserDialogs& dialogs, const char* cycleMessage) {
  redFont_ = orvane::HasRecursion(devices_);
  if (redFont_) {
    Inform(dialogs, cycleMessage);
    focus_ = FormFocus::DevicesList;
  }
}

DeviceListState DeviceList::Capture() const {
  DeviceListState state;
  state.Records.reserve(devices_.size());
  for (const auto& d : devices_) state.Records.push_back(*d);
  for (const DeviceListItem& item : items_) {
    std::optional<size_t> record;
    for (size_t i = 0; i < devices_.size() && item.Record != nullptr; ++i)
      if (devices_[i].get() == item.Record) record = i;
    state.Items.push_back({item.Caption, record, item.Image});
  }
  state.Selected = selected_;
  state.RedFont = redFont_;
  return state;
}

void DeviceList::Restore(const DeviceListState& state) {
  devices_.clear();
  for (const TBaseDevice& d : state.Records) devices_.push_back(std::make_unique<TBaseDevice>(d));
  items_.clear();
  for (const DeviceListState::Item& item : state.Items) {
    TBaseDevice* record = item.Record && *item.Record < devices_.size() ? devices_[*item.Record].get() : nullptr;
    items_.push_back({item.Caption, record, item.Image});
  }
  ++revision_;
  redFont_ = state.RedFont;
  selected_.reset();
  if (state.Selected && *state.Selected < items_.size()) Select(*state.Selected);
}

std::shared_ptr<const TCompDevice> DeviceList::FindByCode(int32_t code) const {
  return orvane::FindByCode(devices_, code);
}

CompiledParts DeviceList::CompiledSnapshot() const { return orvane::CompiledSnapshot(devices_); }

bool DeviceList::HasRecursion() const { return orvane::HasRecursion(devices_); }

void DeviceList::ShowLoadError(const FolderLoadReport& report, UserDialogs& dialogs) const {
  if (report.Error) dialogs.Message(DialogKind::Error, DialogButtons::Ok, *report.Error);
}

std::optional<FolderLoadReport> DeviceList::LoadChosenFolder(UserDialogs& dialogs) {
  const auto folder = dialogs.PickFolder("Select Device data folder", deviceFolder_);
  if (!folder) return std::nullopt;
  SetDeviceFolder(*folder);
  return LoadFolder(deviceFolder_, dialogs);
}

FolderLoadReport DeviceList::LoadFolder(const fs::path& folder, UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  ClearDevices();
  FolderLoadReport report = LoadDeviceFolder(folder, devices_, prepare_);
  ++revision_;
  ShowLoadError(report, dialogs);
  // Rebuilt even after an error, so the items always match the records that stay.
  RefreshDeviceList(dialogs);
  return report;
}

FolderLoadReport DeviceList::LoadDroppedFiles(const std::vector<fs::path>& files, UserDialogs& dialogs) {
  focus_ = FormFocus::None;
  FolderLoadReport report = LoadDeviceFiles(files, devices_, prepare_);
  ++revision_;
  ShowLoadError(report, dialogs);
  RefreshDeviceList(dialogs);
  return report;
}

std::optional<SaveReport> DeviceList::SaveChosenFolder(UserDialogs& dialogs) {
  if (devices_.empty()) return std::nullopt;
  const auto folder = dialogs.PickFolder("Select the folder to save the devices in", deviceFolder_);
  if (!folder) return std::nullopt;
  if (!ExistingDeviceFiles(devices_, *folder).empty() &&
      dialogs.Message(DialogKind::Confirmation, DialogButtons::YesNo,
                      "Some of these device files already exist in the folder, do you wish to replace them?") !=
          DialogAnswer::Yes)
    return std::nullopt;
  SetDeviceFolder(*folder);
  return SaveToFolder(*folder, dialogs);
}

SaveReport DeviceList::SaveToFolder(const fs::path& folder, UserDialogs& dialogs) {
  SaveReport report = SaveDeviceFolder(devices_, folder);
  if (report.Error) dialogs.Message(DialogKind::Error, DialogButtons::Ok, *report.Error);
  if (!report.DuplicateCodes.empty()) {
    std::string codes;
    for (int32_t c : report.DuplicateCodes) codes += (codes.empty() ? "" : ", ") + std::to_string(c);
    dialogs.Message(DialogKind::Warning, DialogButtons::Ok,
                    "These device codes appear more than once in the list; only the first device of each was "
                    "saved: " +
                        codes + ".");
  }
  return report;
}

}  // namespace orvane
