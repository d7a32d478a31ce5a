#pragma once
// A show folder: the show's device files (loaded exactly as the folder Load loads them),
// cues.csv and, optionally, show.json and products.csv. Opening replaces the device list as Load does;
// saving writes every file through temporary files and renames them together.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/device_list.h"
#include "model/user_dialogs.h"
#include "show/cue.h"
#include "show/product_list.h"
#include "show/show_settings.h"
#include "show/staged_files.h"

namespace orvane {

struct ShowDocument {
  ShowSettings Settings;
  std::vector<Cue> Cues;
  ProductTable Products;
  // The folder held products.csv: a save writes it even when no row is left.
  bool ProductsFile = false;
};

// The title, or the folder's name when show.json gives none.
std::string ShowTitle(const ShowSettings& settings, const std::filesystem::path& folder);

// The music file's path (a relative name is taken from the show folder); nothing without music.
std::optional<std::filesystem::path> ShowMusicPath(const ShowSettings& settings, const std::filesystem::path& folder);

struct ShowOpenReport {
  // Set when the show was not opened. show.json and the text of cues.csv are checked
  // before the devices are loaded, so such a refusal leaves the device list alone; a
  // cue naming a code no loaded device has is found after the load, which then stays.
  std::optional<std::string> Error;
  FolderLoadReport Devices;
  // The show names a music file that is not there: the show opens; the player goes without.
  bool MusicMissing = false;
};

ShowOpenReport OpenShowFolder(const std::filesystem::path& folder, DeviceList& list, UserDialogs& dialogs,
                              ShowDocument& show);

inline constexpr const char* kReplaceShowFilesQuestion =
    "Some files of the show already exist in the folder with other contents, do you wish to replace them?";

struct ShowSaveReport {
  bool Saved = false;  // false also when the user chose not to replace files
  std::optional<std::string> Error;
  // Devices not written because an earlier device of the list has the same file name.
  std::vector<int32_t> DuplicateCodes;
};

// The files a save writes: one per device (the first of each file name), cues.csv, show.json,
// and products.csv when the show has products or had the file.
std::vector<FileContent> ShowFolderFiles(const ShowDocument& show, const DeviceRecords& devices,
                                         std::vector<int32_t>* duplicateCodes = nullptr);

// Writes the show into the folder (created when missing). Files that exist with other
// contents are replaced only after a Yes to kReplaceShowFilesQuestion. Other files of
// the folder are left alone.
ShowSaveReport SaveShowFolder(const std::filesystem::path& folder, const ShowDocument& show,
                              const DeviceRecords& devices, UserDialogs& dialogs);

}  // namespace orvane
