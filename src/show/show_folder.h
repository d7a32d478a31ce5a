#pragma once
// A show folder: the show's device files (loaded exactly as the folder Load loads them),
// cues.csv and, optionally, show.json, products.csv and camera.csv (the night video's camera
// path). Opening replaces the device list as Load does; saving writes every file through
// temporary files and renames them together.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/device_list.h"
#include "model/notice.h"
#include "show/camera_path.h"
#include "show/cue.h"
#include "show/product_list.h"
#include "show/show_settings.h"
#include "show/staged_files.h"

namespace orvane {

struct ShowDocument {
  ShowSettings Settings;
  std::vector<Cue> Cues;
  std::vector<CameraKey> CameraKeys;
  // camera.csv belongs to the show: a save writes it, without keys as a header alone.
  bool CameraFile = false;
  ProductTable Products;
  // The folder held products.csv: a save writes it even when no row is left.
  bool ProductsFile = false;
};

// The title, or the folder's name when show.json gives none.
std::string ShowTitle(const ShowSettings& settings, const std::filesystem::path& folder);

// The music file's path (a relative name is taken from the show folder); nothing without music.
std::optional<std::filesystem::path> ShowMusicPath(const ShowSettings& settings, const std::filesystem::path& folder);

// Every file of the folder that opening or compiling the show reads: the device files,
// cues.csv, products.csv, camera.csv, show.json and the music it names (when show.json can be read). An output
// must never be one of them.
std::vector<std::filesystem::path> ShowInputFiles(const std::filesystem::path& folder);

struct ShowOpenReport {
  // Set when the show was not opened. show.json and the text of cues.csv are checked
  // before the devices are loaded, so such a refusal leaves the device list alone; a
  // device file with a refused decimal value, or a cue naming a code no loaded device
  // has, is found during or after the load, whose devices then stay. The load's own
  // error box is not shown: this message names the file as well.
  std::optional<std::string> Error;
  FolderLoadReport Devices;
  // What the device load had to say besides its error (a chaining cycle among the loaded
  // devices), in order, for the caller to show as the load showed it.
  std::vector<Notice> Notices;
  // The show names a music file that is not there: the show opens; the player goes without.
  bool MusicMissing = false;
};

ShowOpenReport OpenShowFolder(const std::filesystem::path& folder, DeviceList& list, ShowDocument& show);

inline constexpr const char* kReplaceShowFilesQuestion =
    "Some files of the show already exist in the folder with other contents, do you wish to replace them?";

// What a save does when files of the show exist in the folder with other contents.
enum class ExistingShowFiles : uint8_t { kKeep, kReplace };

struct ShowSaveReport {
  bool Saved = false;
  // Files exist with other contents and were to be kept: nothing was written. The caller
  // asks kReplaceShowFilesQuestion and, on a Yes, saves again replacing them.
  bool WouldReplace = false;
  std::optional<std::string> Error;
  // Devices not written because an earlier device of the list has the same file name.
  std::vector<int32_t> DuplicateCodes;
};

// The files a save writes: one per device (the first of each file name, DeviceSaveText),
// cues.csv, show.json, products.csv when the show has products or had the file, and
// camera.csv when the show has a camera path.
std::vector<FileContent> ShowFolderFiles(const ShowDocument& show, const DeviceRecords& devices,
                                         std::vector<int32_t>* duplicateCodes = nullptr);

// Leaves out the files of devices unchanged since they were read from this very folder
// (SavedAsRead): a save writes no file it would give back as it is; the names left out.
std::vector<std::string> KeepFilesAsRead(std::vector<FileContent>& files, const DeviceRecords& devices,
                                         const std::filesystem::path& folder);

// Writes the show into the folder (created when missing). A device unchanged since it was
// read from this very folder keeps its file untouched. Files that exist with other
// contents are replaced only when `existing` says so. Other files of the folder are left
// alone.
ShowSaveReport SaveShowFolder(const std::filesystem::path& folder, const ShowDocument& show,
                              const DeviceRecords& devices, ExistingShowFiles existing);

}  // namespace orvane
