#include "show/show_folder.h"

#include <cassert>
#include <set>

#include "model/device_file_writer.h"
#include "show/cue_list.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

// Keeps what the device load says for the open report, which the caller shows. The load's
// error box is left out: the report's error replaces it. The load only informs (a box with
// one button) and never asks or picks, so nothing needs an answer from the user.
class LoadNoticeRecorder : public UserDialogs {
 public:
  explicit LoadNoticeRecorder(std::vector<Notice>& notices) : notices_(notices) {}
  DialogAnswer Message(DialogKind kind, DialogButtons buttons, const std::string& text, const std::string&) override {
    assert(buttons == DialogButtons::Ok || buttons == DialogButtons::Yes);
    if (kind != DialogKind::Error) notices_.push_back({kind, text, buttons});
    return buttons == DialogButtons::Yes ? DialogAnswer::Yes : DialogAnswer::Ok;
  }
  std::optional<std::string> InputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<uint32_t> PickColor(uint32_t) override { return std::nullopt; }
  std::optional<std::string> PickFolder(const std::string&, const std::string&) override { return std::nullopt; }

 private:
  std::vector<Notice>& notices_;
};

}  // namespace

std::string ShowTitle(const ShowSettings& settings, const fs::path& folder) {
  if (!settings.Title.empty()) return settings.Title;
  const fs::path clean = folder.has_filename() ? folder : folder.parent_path();
  return clean.filename().string();
}

std::optional<fs::path> ShowMusicPath(const ShowSettings& settings, const fs::path& folder) {
  if (settings.MusicFile.empty()) return std::nullopt;
  const fs::path music(settings.MusicFile);
  return music.is_absolute() ? music : folder / music;
}

std::vector<fs::path> ShowInputFiles(const fs::path& folder) {
  std::vector<fs::path> inputs = DeviceFilesInFolder(folder).ValueOr({}).Files;
  inputs.push_back(folder / kCueFileName);
  inputs.push_back(folder / kProductFileName);
  inputs.push_back(folder / kCameraPathFileName);
  const fs::path settingsPath = folder / kShowSettingsFileName;
  inputs.push_back(settingsPath);
  if (const Result<std::string> text = ReadSmallFile(settingsPath, kMaxShowSettingsBytes)) {
    if (const Result<ShowSettings> settings = ReadShowSettings(text.Value())) {
      if (const auto music = ShowMusicPath(settings.Value(), folder)) inputs.push_back(*music);
    }
  }
  return inputs;
}

ShowOpenReport OpenShowFolder(const fs::path& folder, DeviceList& list, ShowDocument& show) {
  ShowOpenReport report;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    report.Error = "\"" + folder.string() + "\" is not a folder.";
    return report;
  }
  ShowDocument read;
  const fs::path settingsPath = folder / kShowSettingsFileName;
  if (fs::exists(fs::symlink_status(settingsPath, ec))) {
    const Result<std::string> text = ReadSmallFile(settingsPath, kMaxShowSettingsBytes);
    if (!text) {
      report.Error = text.Message();
      return report;
    }
    Result<ShowSettings> settings = ReadShowSettings(text.Value());
    if (!settings) {
      report.Error = settings.Message();
      return report;
    }
    read.Settings = std::move(settings.Value());
  }
  const fs::path productsPath = folder / kProductFileName;
  std::string productText;
  read.ProductsFile = fs::exists(fs::symlink_status(productsPath, ec));
  if (read.ProductsFile) {
    Result<std::string> bytes = ReadSmallFile(productsPath, kMaxProductFileBytes);
    if (!bytes) {
      report.Error = bytes.Message();
      return report;
    }
    productText = std::move(bytes.Value());
    if (Result<ProductTable> syntax = ReadProducts(productText, kProductFileName, nullptr); !syntax) {
      report.Error = syntax.Message();
      return report;
    }
  }
  const fs::path cuesPath = folder / kCueFileName;
  if (!fs::exists(fs::symlink_status(cuesPath, ec))) {
    report.Error = "The folder \"" + folder.string() + "\" holds no " + kCueFileName + ".";
    return report;
  }
  const Result<std::string> cueText = ReadSmallFile(cuesPath, kMaxCueFileBytes);
  if (!cueText) {
    report.Error = cueText.Message();
    return report;
  }
  // Everything but the codes is checked before the list is replaced.
  if (const Result<std::vector<Cue>> syntax = ReadCueList(cueText.Value(), kCueFileName, nullptr, &read.Settings.Site);
      !syntax) {
    report.Error = syntax.Message();
    return report;
  }
  const fs::path cameraPath = folder / kCameraPathFileName;
  if (fs::exists(fs::symlink_status(cameraPath, ec))) {
    const Result<std::string> text = ReadSmallFile(cameraPath, kMaxCameraPathBytes);
    if (!text) {
      report.Error = text.Message();
      return report;
    }
    Result<std::vector<CameraKey>> path = ReadCameraPath(text.Value(), kCameraPathFileName);
    if (!path) {
      report.Error = path.Message();
      return report;
    }
    read.CameraKeys = std::move(path.Value());
    read.CameraFile = true;
  }
  LoadNoticeRecorder recorder(report.Notices);
  report.Devices = list.LoadFolder(folder, recorder);
  if (report.Devices.Error) {
    // A show with devices silently missing would compile into a different show.
    report.Error = report.Devices.ErrorFile.empty()
                       ? *report.Devices.Error
                       : "The device file \"" + report.Devices.ErrorFile.string() +
                             "\" stopped the load of the show: " + *report.Devices.Error + ".";
    return report;
  }
  Result<std::vector<Cue>> cues = ReadCueList(cueText.Value(), kCueFileName, &list.Devices(), &read.Settings.Site);
  if (!cues) {
    report.Error = cues.Message();
    return report;
  }
  read.Cues = std::move(cues.Value());
  if (read.ProductsFile) {
    Result<ProductTable> products = ReadProducts(productText, kProductFileName, &list.Devices());
    if (!products) {
      report.Error = products.Message();
      return report;
    }
    read.Products = std::move(products.Value());
  }
  if (const auto music = ShowMusicPath(read.Settings, folder)) report.MusicMissing = !fs::exists(*music, ec);
  show = std::move(read);
  return report;
}

std::vector<FileContent> ShowFolderFiles(const ShowDocument& show, const DeviceRecords& devices,
                                         std::vector<int32_t>* duplicateCodes) {
  std::vector<FileContent> files;
  std::set<std::string> names;
  for (const auto& device : devices) {
    std::string name = DeviceFileName(*device);
    if (!names.insert(name).second) {
      if (duplicateCodes != nullptr) duplicateCodes->push_back(device->Definition.Code);
      continue;
    }
    files.push_back({std::move(name), DeviceSaveText(*device)});
  }
  files.push_back({kCueFileName, CueListText(show.Cues)});
  files.push_back({kShowSettingsFileName, ShowSettingsText(show.Settings)});
  if (show.CameraFile || !show.CameraKeys.empty())
    files.push_back({kCameraPathFileName, CameraPathText(show.CameraKeys)});
  if (show.ProductsFile || !show.Products.Rows.empty() || !show.Products.ExtraColumns.empty())
    files.push_back({kProductFileName, ProductsText(show.Products)});
  return files;
}

std::vector<std::string> KeepFilesAsRead(std::vector<FileContent>& files, const DeviceRecords& devices,
                                         const fs::path& folder) {
  std::set<std::string> asRead;
  for (const auto& device : devices)
    if (SavedAsRead(*device, folder)) asRead.insert(DeviceFileName(*device));
  std::erase_if(files, [&asRead](const FileContent& file) { return asRead.count(file.Name) != 0; });
  return {asRead.begin(), asRead.end()};
}

ShowSaveReport SaveShowFolder(const fs::path& folder, const ShowDocument& show, const DeviceRecords& devices,
                              ExistingShowFiles existing) {
  ShowSaveReport report;
  std::vector<FileContent> files = ShowFolderFiles(show, devices, &report.DuplicateCodes);
  KeepFilesAsRead(files, devices, folder);
  std::error_code ec;
  fs::create_directories(folder, ec);
  bool differs = false;
  for (const FileContent& file : files) {
    const fs::path path = folder / file.Name;
    if (!fs::exists(fs::symlink_status(path, ec))) continue;
    // Anything that cannot be read back as the same bytes counts as different.
    const Result<std::string> current = ReadSmallFile(path, file.Bytes.size());
    if (!current || current.Value() != file.Bytes) differs = true;
  }
  if (differs && existing == ExistingShowFiles::kKeep) {
    report.WouldReplace = true;
    return report;
  }
  if (const Result<> written = WriteFilesTogether(folder, files); !written) {
    report.Error = written.Message();
    return report;
  }
  report.Saved = true;
  return report;
}

}  // namespace orvane
