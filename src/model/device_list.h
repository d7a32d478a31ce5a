#pragma once
// The device list the main window works on, as a model the window only displays: the
// owned records, the list-view items, the working segments, the form's values, the
// selection and the list's font colour, with Create, Assign, Delete, Delete all, Load,
// file drop and Save. Every message goes through UserDialogs.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/device_file.h"
#include "model/device_file_writer.h"
#include "model/device_form.h"
#include "model/device_lookup.h"
#include "model/user_dialogs.h"

namespace orvane {

struct DeviceListItem {
  std::string Caption;            // the device code in decimal
  TBaseDevice* Record = nullptr;  // null once FreeDevice has taken the record
  int Image = 0;                  // 0 device, 1 sub-device
};

// The list as it stands, to be put back whole: what an undoable device edit keeps before
// and after. Records are copies (their compiled parts are shared, never changed).
struct DeviceListState {
  struct Item {
    std::string Caption;
    std::optional<size_t> Record;  // index into Records; nothing once FreeDevice took it
    int Image = 0;
  };
  std::vector<TBaseDevice> Records;
  std::vector<Item> Items;
  std::optional<size_t> Selected;
  bool RedFont = false;
};

// What the window enables after each operation.
struct ListButtons {
  bool Create = true;
  bool Assign = false;
  bool Delete = false;
  bool Save = false;
};

class DeviceList {
 public:
  // `prepare` is the compiled device preparation (PrepareCompiledPart in the program).
  explicit DeviceList(PrepareStep prepare);

  // State the window shows.
  const DeviceRecords& Devices() const { return devices_; }
  // Goes up with every change of the records (never with a selection or a form edit): a
  // compile of the list's devices is current while it stays.
  uint64_t Revision() const { return revision_; }
  // Makes the revision larger than `other`, for a list that takes another's place.
  void AdvanceRevisionPast(uint64_t other) { revision_ = std::max(revision_, other) + 1; }
  const PrepareStep& Prepare() const { return prepare_; }
  const std::vector<DeviceListItem>& Items() const { return items_; }
  std::optional<size_t> Selection() const { return selected_; }
  bool RedFont() const { return redFont_; }  // the last chaining check found a cycle
  ListButtons EnabledButtons() const;
  // The control that should take the focus after the last operation (None: leave it).
  FormFocus Focus() const { return focus_; }
  void RequestFocus(FormFocus focus) { focus_ = focus; }

  // The form's values: the window writes its widgets here before Create or Assign and
  // shows them again after any operation (selecting an item fills them).
  DeviceForm& Form() { return form_; }
  const DeviceForm& Form() const { return form_; }
  // The working segments; the colour editor replaces them.
  SegmentList& EditSegments() { return editSegments_; }
  const SegmentList& EditSegments() const { return editSegments_; }

  // The last device-data folder, with a trailing '/'.
  const std::string& DeviceFolder() const { return deviceFolder_; }
  void SetDeviceFolder(const std::filesystem::path& folder);

  // Buttons.
  void Create(UserDialogs& dialogs);
  // Replaces the selected device by the form's values, keeping its definition data. The
  // form's code and Sub-device box are adopted (a code another device has is refused like
  // Create's duplicate), so the record and its compiled part always agree. The new
  // record is made before the old one is freed: when that fails the old device stays.
  void Assign(UserDialogs& dialogs);
  void Delete(UserDialogs& dialogs);
  void DeleteAll(UserDialogs& dialogs);

  // Selecting an item shows its device in the form.
  void Select(size_t index);
  void Deselect();

  // Makes a record from the form and EditSegments, prepares it and appends it to
  // Devices; null after "The device could not be created.".
  TBaseDevice* BuildDevice(UserDialogs& dialogs);
  void ShowDevice(size_t index);
  void FreeDevice(size_t index);
  void ClearDevices();
  void ClearEditSegments() { editSegments_.clear(); }
  // Rebuilds the items from Devices after a load, selects the first and runs the check.
  void RefreshDeviceList(UserDialogs& dialogs);

  DeviceListState Capture() const;
  // Puts a captured list back (a new revision) and shows its selected device in the form.
  void Restore(const DeviceListState& state);

  std::shared_ptr<const TCompDevice> FindByCode(int32_t code) const;
  // The compiled parts in list order, for a compile running on another thread.
  CompiledParts CompiledSnapshot() const;
  bool HasRecursion() const;

  // Load button: asks for the folder ("Select Device data folder", from DeviceFolder);
  // nothing when cancelled.
  std::optional<FolderLoadReport> LoadChosenFolder(UserDialogs& dialogs);
  // Replaces the list by the folder's device files. A refused decimal value ends the load
  // with its message in an error box; the devices read before stay and are listed.
  FolderLoadReport LoadFolder(const std::filesystem::path& folder, UserDialogs& dialogs);
  // Dropped files are added to the list, whatever their names.
  FolderLoadReport LoadDroppedFiles(const std::vector<std::filesystem::path>& files, UserDialogs& dialogs);

  // Appends prepared copies of the records (a product's chain, under codes the list does
  // not use) and selects the first. Nothing is added when one cannot be prepared: false,
  // after "The device could not be created.".
  bool AddDevices(const std::vector<TBaseDevice>& records, UserDialogs& dialogs);

  // Save button: asks for the folder, confirms replacing files already there, writes
  // every device; nothing when cancelled.
  std::optional<SaveReport> SaveChosenFolder(UserDialogs& dialogs);
  SaveReport SaveToFolder(const std::filesystem::path& folder, UserDialogs& dialogs);

 private:
  void CheckRecursion(UserDialogs& dialogs, const char* cycleMessage);
  bool CodeTakenByAnother(int32_t code, const TBaseDevice* self) const;
  void ShowLoadError(const FolderLoadReport& report, UserDialogs& dialogs) const;

  PrepareStep prepare_;
  DeviceRecords devices_;
  std::vector<DeviceListItem> items_;
  SegmentList editSegments_;
  DeviceForm form_;
  std::optional<size_t> selected_;
  bool redFont_ = false;
  FormFocus focus_ = FormFocus::None;
  std::string deviceFolder_;
  uint64_t revision_ = 0;
};

}  // namespace orvane
