#include "model/device_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "model/decimal_text.h"
#include "model/device_file_writer.h"
#include "model/ini_file.h"
#include "model/legacy_text.h"
#include "model/record_decimals.h"
#include "util/byte_reader.h"
#include "util/date_time.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

constexpr size_t kColorSegmentBytes = 11;
constexpr const char* kTooLarge = "larger than 1 MiB, not a device file";
constexpr const char* kUnreadable = "the file cannot be read";

int16_t Low16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v))); }
uint16_t LowU16(int32_t v) { return static_cast<uint16_t>(static_cast<uint32_t>(v)); }
uint8_t LowU8(int32_t v) { return static_cast<uint8_t>(static_cast<uint32_t>(v)); }

DeviceFileResult Skip(std::string reason) { return {DeviceFileStatus::Skipped, std::move(reason)}; }

// Reads the typed keys of one file, keeping the first decimal value the conversion
// refuses: that ends the whole load.
class RecordReader {
 public:
  explicit RecordReader(const IniFile& ini) : ini_(ini) {}

  std::string Text(std::string_view section, std::string_view key) const {
    return TextAsUtf8(ini_.ReadString(section, key));
  }
  int32_t Integer(std::string_view section, std::string_view key, int32_t fallback) const {
    return ini_.ReadInteger(section, key, fallback);
  }
  bool Bool(std::string_view section, std::string_view key, bool fallback) const {
    return ini_.ReadBool(section, key, fallback);
  }
  float Decimal32(std::string_view section, std::string_view key) {
    const std::string text = ini_.ReadString(section, key, "0");
    const auto value = ReadFloat32(text);
    if (!value) Refuse(text);
    return value.value_or(0.0f);
  }
  // An empty date is the moment of loading.
  double Date(std::string_view section, std::string_view key) {
    const std::string text = ini_.ReadString(section, key);
    if (text.empty()) return CurrentDateTime();
    const auto value = ReadDecimal(text);
    if (!value) Refuse(text);
    return value.value_or(0.0);
  }
  const std::optional<std::string>& Error() const { return error_; }

 private:
  void Refuse(const std::string& text) {
    if (!error_) error_ = InvalidFloatMessage(NormalizeNumber(text));
  }

  const IniFile& ini_;
  std::optional<std::string> error_;
};

void ReadDefinition(RecordReader& r, TDefnDevice& d) {
  d.Name = r.Text("Definition", "Name");
  d.Active = r.Bool("Definition", "Active", true);
  d.DelayA = r.Integer("Definition", "DelayA", 0);
  d.DelayB = r.Integer("Definition", "DelayB", 0);
  d.EffectLength = r.Integer("Definition", "EffectLength", 0);
  d.EffectIcon = r.Integer("Definition", "EffectIcon", 0);
  d.Description = r.Text("Definition", "Description");
  d.DeviceIcon = r.Integer("Definition", "DeviceIcon", 0);
}

void ReadAdditional(RecordReader& r, TAdditDevice& a) {
  a.Trade = r.Text("Additional", "Trade");
  a.Price1 = r.Decimal32("Additional", "Price1");
  a.Dealer1 = r.Text("Additional", "Dealer1");
  a.Price2 = r.Decimal32("Additional", "Price2");
  a.Dealer2 = r.Text("Additional", "Dealer2");
  a.Price3 = r.Decimal32("Additional", "Price3");
  a.Dealer3 = r.Text("Additional", "Dealer3");
  a.Manufacturer = r.Text("Additional", "Manufacturer");
  a.Weight = Low16(r.Integer("Additional", "Weight", 0));
  a.Elevation = Low16(r.Integer("Additional", "Elevation", 0));
  a.Warnings = r.Text("Additional", "Warnings");
}

void ReadSimulation(RecordReader& r, TBaseDevice& d) {
  constexpr std::string_view s = "Simulation";
  d.ProjectionXY = Low16(r.Integer(s, "ProjectionXY", 0));
  d.OpeningXY = Low16(r.Integer(s, "OpeningXY", 1));
  d.ProjectionXZ = Low16(r.Integer(s, "ProjectionXZ", 0));
  d.OpeningXZ = Low16(r.Integer(s, "OpeningXZ", 1));
  d.StarQuantity = LowU16(r.Integer(s, "StarQuantity", 1));
  d.StarKind = StarKind{LowU8(r.Integer(s, "StarKind", 1))};
  d.TrailExists = r.Bool(s, "TrailExists", false);
  d.TrailLife = r.Integer(s, "TrailLife", 0);
  d.StarWeight = r.Integer(s, "StarWeight", 10);
  d.StarSpeed = r.Integer(s, "StarSpeed", 10);
  d.StarResistance = r.Integer(s, "StarResistance", 10);
  d.StarSize = r.Integer(s, "StarSize", 10);
  d.SpeedKind = SpeedKind{LowU8(r.Integer(s, "SpeedKind", 1))};
  d.EffectLength = r.Integer(s, "EffectLength", 1);
  d.MinStarLife = r.Integer(s, "MinStarLife", 100);
  d.MaxStarLife = r.Integer(s, "MaxStarLife", 100);
  d.NextEffExists = r.Bool(s, "NextEffExists", false);
  d.NextEffCode = r.Integer(s, "NextEffCode", 0);
  d.NextEffStart = r.Integer(s, "NextEffStart", 0);
  d.NextParExists = r.Bool(s, "NextParExists", false);
  d.NextParCode = r.Integer(s, "NextParCode", 0);
  d.NextParStart = r.Integer(s, "NextParStart", 0);
  d.BestX = r.Decimal32(s, "BestX");
  d.BestY = r.Decimal32(s, "BestY");
  d.BestZ = r.Decimal32(s, "BestZ");
}

void ReadCredits(RecordReader& r, TCreditsDevice& c) {
  c.Author = r.Text("Credits", "Author");
  c.Company = r.Text("Credits", "Company");
  c.Date = r.Date("Credits", "Date");
  c.Comments = r.Text("Credits", "Comments");
}

}  // namespace

SegmentList DecodeColorData(const std::vector<uint8_t>& bytes) {
  SegmentList segments;
  ByteReader data(bytes);
  const int32_t count = data.I32();
  if (data.Failed() || count <= 0) return segments;
  const size_t n = std::min(static_cast<size_t>(count), data.Remaining() / kColorSegmentBytes);
  segments.reserve(n);
  for (size_t k = 0; k < n; ++k) {
    const uint8_t initialPos = data.U8();
    const uint8_t finalPos = data.U8();
    const uint8_t flags = data.U8();
    const uint32_t initialColor = data.U32();
    segments.push_back(NewColorSegment(initialPos, finalPos, flags, initialColor, data.U32()));
  }
  return segments;
}

std::string FileStem(const fs::path& path) {
  const std::string name = path.filename().string();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

DeviceFileRead ReadDeviceFile(std::string_view bytes, std::string_view fileStem) {
  DeviceFileRead out;
  if (bytes.find('\0') != std::string_view::npos) {
    out.Result = Skip("binary data, not a device file");
    return out;
  }
  const IniFile ini(bytes);
  if (!ini.HasSection("ORVN")) {
    out.Result = Skip("no [ORVN] section");
    return out;
  }
  if (AsciiLower(ini.ReadString("ORVN", "Signature")) != "device") {
    out.Result = Skip("the signature is not \"device\"");
    return out;
  }
  if (!ini.HasSection("Device")) {
    out.Result = Skip("no [Device] section");
    return out;
  }
  // A code written in the file loads, negative or not; without one (or with one that is
  // not a number) the file is no device's, even when named "-1".
  const int32_t code = ini.ReadInteger("Device", "Code", -1);
  if (code != ini.ReadInteger("Device", "Code", 0)) {
    out.Result = Skip("the device code is missing");
    return out;
  }
  if (std::to_string(code) != fileStem) {
    out.Result = Skip("device code " + std::to_string(code) + " does not match the file name");
    return out;
  }

  auto device = std::make_unique<TBaseDevice>();
  TDefnDevice& defn = device->Definition;
  defn.Code = code;
  defn.Kind = AsciiLower(ini.ReadString("Device", "Kind")) == "subdevice";
  RecordReader reader(ini);
  if (!defn.Kind) {
    ReadDefinition(reader, defn);
    ReadAdditional(reader, defn.Additional);
  }
  ReadSimulation(reader, *device);
  ReadCredits(reader, defn.Credits);
  if (reader.Error()) {
    out.Result = {DeviceFileStatus::ConversionError, *reader.Error()};
    return out;
  }
  device->ColorData = DecodeColorData(ini.ReadBinary("Simulation", "ColorData"));
  out.Result = {DeviceFileStatus::Loaded, {}};
  out.Device = std::move(device);
  return out;
}

namespace {

// Reads at most one byte past the cap, so a file that grows after the size check is
// still refused without being read whole.
std::optional<std::string> ReadWholeFile(const fs::path& path, uintmax_t expectedSize, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return kUnreadable;
  std::string chunk(static_cast<size_t>(std::min(expectedSize, kMaxDeviceFileBytes)) + 1, '\0');
  while (bytes.size() <= kMaxDeviceFileBytes && in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    bytes.append(chunk.data(), static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) return kUnreadable;
  if (bytes.size() > kMaxDeviceFileBytes) return kTooLarge;
  return std::nullopt;
}

uint64_t TableBytes(const TBaseDevice& device) { return device.Compiled ? device.Compiled->TableBytes : 0; }

uint64_t PreparedBytes(const DeviceRecords& devices) {
  uint64_t total = 0;
  for (const auto& device : devices) total += TableBytes(*device);
  return total;
}

}  // namespace

DeviceFileResult LoadDeviceFile(const fs::path& path, DeviceRecords& devices, const PrepareStep& prepare) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) return Skip("the file does not exist");
  if (fs::is_directory(st)) return Skip("a directory");
  // Pipes and devices could block or never end.
  if (!fs::is_regular_file(st)) return Skip("not a regular file");
  const uintmax_t size = fs::file_size(path, ec);
  if (ec) return Skip(kUnreadable);
  if (size > kMaxDeviceFileBytes) return Skip(kTooLarge);

  std::string bytes;
  if (auto failure = ReadWholeFile(path, size, bytes)) return Skip(*failure);
  DeviceFileRead read = ReadDeviceFile(bytes, FileStem(path));
  if (read.Result.Status != DeviceFileStatus::Loaded) return read.Result;
  read.Device->Source =
      std::make_shared<const DeviceSource>(DeviceSource{path, std::move(bytes), DeviceFileText(*read.Device)});
  if (!prepare) return Skip(NotPreparedReason(false));
  if (const PrepareResult prepared = prepare(*read.Device); !prepared) return Skip(NotPreparedReason(prepared));
  if (PreparedBytes(devices) + TableBytes(*read.Device) > kMaxPreparedBytes)
    return Skip("the device could not be prepared: the loaded devices' tables would take more than " +
                std::to_string(kMaxPreparedBytes >> 20) + " MiB");
  devices.push_back(std::move(read.Device));
  return read.Result;
}

namespace {

bool HasExtension(const std::string& name, std::string_view ext) {
  const size_t dot = name.rfind('.');
  return dot != std::string::npos && AsciiLower(std::string_view(name).substr(dot + 1)) == ext;
}

}  // namespace

Result<DeviceFolderListing> DeviceFilesInFolder(const fs::path& folder) {
  DeviceFolderListing listing;
  std::vector<std::string> devicesFound, subDevicesFound;
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool isDevice = HasExtension(name, "odev");
    if (!isDevice && !HasExtension(name, "osub")) continue;
    std::error_code dirEc;
    if (it->is_directory(dirEc)) {
      listing.Directories.push_back({it->path(), "a directory"});
      continue;
    }
    (isDevice ? devicesFound : subDevicesFound).push_back(name);
  }
  if (ec) return Fail("The folder \"" + folder.string() + "\" cannot be read.");
  std::sort(devicesFound.begin(), devicesFound.end());
  std::sort(subDevicesFound.begin(), subDevicesFound.end());
  listing.Files.reserve(devicesFound.size() + subDevicesFound.size());
  for (const auto& n : devicesFound) listing.Files.push_back(folder / n);
  for (const auto& n : subDevicesFound) listing.Files.push_back(folder / n);
  return listing;
}

FolderLoadReport LoadDeviceFiles(const std::vector<fs::path>& files, DeviceRecords& devices,
                                 const PrepareStep& prepare) {
  FolderLoadReport report;
  for (const auto& file : files) {
    const DeviceFileResult r = LoadDeviceFile(file, devices, prepare);
    switch (r.Status) {
      case DeviceFileStatus::Loaded: ++report.Loaded; break;
      case DeviceFileStatus::Skipped: report.Skipped.push_back({file, r.Message}); break;
      case DeviceFileStatus::ConversionError:
        report.Error = r.Message;
        report.ErrorFile = file;
        return report;
    }
  }
  return report;
}

FolderLoadReport LoadDeviceFolder(const fs::path& folder, DeviceRecords& devices, const PrepareStep& prepare) {
  const Result<DeviceFolderListing> listing = DeviceFilesInFolder(folder);
  if (!listing) {
    FolderLoadReport report;
    report.Error = listing.Message();
    return report;
  }
  FolderLoadReport report = LoadDeviceFiles(listing.Value().Files, devices, prepare);
  const std::vector<SkippedFile>& directories = listing.Value().Directories;
  report.Skipped.insert(report.Skipped.begin(), directories.begin(), directories.end());
  return report;
}

}  // namespace orvane
