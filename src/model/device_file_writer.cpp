#include "model/device_file_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <system_error>

#include "model/profile_edit.h"
#include "model/record_decimals.h"
#include "util/byte_reader.h"
#include "util/safe_file.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendByte(std::string& out, uint32_t byte) {
  out.push_back(kHexDigits[(byte >> 4) & 0xF]);
  out.push_back(kHexDigits[byte & 0xF]);
}

void AppendLittleEndian32(std::string& out, uint32_t v) {
  std::array<uint8_t, 4> bytes{};
  ByteWriter(bytes).U32(v);
  for (uint8_t byte : bytes) AppendByte(out, byte);
}

bool IsBlankOrQuote(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '"' || c == '\''; }

class ProfileWriter {
 public:
  void Section(std::string_view name) {
    out_ += '[';
    out_ += name;
    out_ += "]\r\n";
  }
  void Key(std::string_view key, std::string_view value) {
    out_ += key;
    out_ += '=';
    out_ += value;
    out_ += "\r\n";
  }
  void Text(std::string_view key, std::string_view text) { Key(key, ProfileTextValue(text)); }
  void Integer(std::string_view key, int64_t value) { Key(key, std::to_string(value)); }
  void Bool(std::string_view key, bool value) { Key(key, value ? "1" : "0"); }
  void Float(std::string_view key, float value) { Key(key, Float32Text(value)); }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

void WriteDefinition(ProfileWriter& w, const TDefnDevice& d) {
  w.Section("Definition");
  w.Text("Name", d.Name);
  w.Bool("Active", d.Active);
  w.Integer("DelayA", d.DelayA);
  w.Integer("DelayB", d.DelayB);
  w.Integer("EffectLength", d.EffectLength);
  w.Integer("EffectIcon", d.EffectIcon);
  w.Text("Description", d.Description);
  w.Integer("DeviceIcon", d.DeviceIcon);
}

void WriteAdditional(ProfileWriter& w, const TAdditDevice& a) {
  w.Section("Additional");
  w.Text("Trade", a.Trade);
  w.Float("Price1", a.Price1);
  w.Text("Dealer1", a.Dealer1);
  w.Float("Price2", a.Price2);
  w.Text("Dealer2", a.Dealer2);
  w.Float("Price3", a.Price3);
  w.Text("Dealer3", a.Dealer3);
  w.Text("Manufacturer", a.Manufacturer);
  w.Integer("Weight", a.Weight);
  w.Integer("Elevation", a.Elevation);
  w.Text("Warnings", a.Warnings);
}

void WriteSimulation(ProfileWriter& w, const TBaseDevice& d) {
  w.Section("Simulation");
  w.Integer("ProjectionXY", d.ProjectionXY);
  w.Integer("OpeningXY", d.OpeningXY);
  w.Integer("ProjectionXZ", d.ProjectionXZ);
  w.Integer("OpeningXZ", d.OpeningXZ);
  w.Integer("StarQuantity", d.StarQuantity);
  w.Integer("StarKind", StoredByte(d.StarKind));
  w.Bool("TrailExists", d.TrailExists);
  w.Integer("TrailLife", d.TrailLife);
  w.Integer("StarWeight", d.StarWeight);
  w.Integer("StarSpeed", d.StarSpeed);
  w.Integer("StarResistance", d.StarResistance);
  w.Integer("StarSize", d.StarSize);
  w.Integer("SpeedKind", StoredByte(d.SpeedKind));
  w.Integer("EffectLength", d.EffectLength);
  w.Integer("MinStarLife", d.MinStarLife);
  w.Integer("MaxStarLife", d.MaxStarLife);
  w.Bool("NextEffExists", d.NextEffExists);
  w.Integer("NextEffCode", d.NextEffCode);
  w.Integer("NextEffStart", d.NextEffStart);
  w.Bool("NextParExists", d.NextParExists);
  w.Integer("NextParCode", d.NextParCode);
  w.Integer("NextParStart", d.NextParStart);
  w.Float("BestX", d.BestX);
  w.Float("BestY", d.BestY);
  w.Float("BestZ", d.BestZ);
  w.Key("ColorData", EncodeColorData(d.ColorData));
}

void WriteCredits(ProfileWriter& w, const TCreditsDevice& c) {
  w.Section("Credits");
  w.Text("Author", c.Author);
  w.Text("Company", c.Company);
  w.Key("Date", Float64Text(c.Date));
  w.Text("Comments", c.Comments);
}

}  // namespace

std::string DeviceFileName(const TBaseDevice& device) {
  return std::to_string(device.Definition.Code) + (device.Definition.Kind ? ".osub" : ".odev");
}

std::string EncodeColorData(const SegmentList& segments) {
  std::string out;
  out.reserve(8 + 22 * segments.size());
  AppendLittleEndian32(out, static_cast<uint32_t>(segments.size()));
  for (const ColorSegment& s : segments) {
    AppendByte(out, s.InitialPos);
    AppendByte(out, s.FinalPos);
    AppendByte(out, s.Flags);
    AppendLittleEndian32(out, s.InitialColor);
    AppendLittleEndian32(out, s.FinalColor);
  }
  return out;
}

std::string ProfileTextValue(std::string_view text) {
  std::string line;
  line.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF: one space
    line.push_back((c == '\r' || c == '\n' || c == '\0') ? ' ' : c);
  }
  if (!line.empty() && (IsBlankOrQuote(line.front()) || IsBlankOrQuote(line.back()))) line = '"' + line + '"';
  return line;
}

std::string DeviceFileText(const TBaseDevice& device) {
  const TDefnDevice& d = device.Definition;
  ProfileWriter w;
  w.Section("ORVN");
  w.Key("Signature", "Device");
  w.Section("Device");
  w.Integer("Code", d.Code);
  w.Key("Kind", d.Kind ? "subdevice" : "device");
  WriteDefinition(w, d);
  WriteAdditional(w, d.Additional);
  WriteSimulation(w, device);
  WriteCredits(w, d.Credits);
  return w.Take();
}

bool ChangedSinceRead(const TBaseDevice& device) {
  return !device.Source || DeviceFileText(device) != device.Source->WrittenAsRead;
}

std::string DeviceSaveText(const TBaseDevice& device) {
  if (!device.Source) return DeviceFileText(device);
  const std::string now = DeviceFileText(device);
  const DeviceSource& source = *device.Source;
  if (now == source.WrittenAsRead) return source.Text;
  const std::vector<ProfileValue> before = ProfileValues(source.WrittenAsRead);
  std::vector<ProfileValue> changed;
  for (const ProfileValue& value : ProfileValues(now)) {
    if (std::find(before.begin(), before.end(), value) == before.end()) changed.push_back(value);
  }
  return SetProfileValues(source.Text, changed);
}

bool SavedAsRead(const TBaseDevice& device, const fs::path& folder) {
  if (ChangedSinceRead(device)) return false;
  std::error_code ec;
  return fs::equivalent(device.Source->Path, folder / DeviceFileName(device), ec);
}

Result<> SaveDeviceFile(const TBaseDevice& device, const fs::path& folder) {
  const fs::path target = folder / DeviceFileName(device);
  if (!WriteFileSafely(target, DeviceSaveText(device)).empty())
    return Fail("The file \"" + target.string() + "\" could not be written.");
  return {};
}

SaveReport SaveDeviceFolder(const DeviceRecords& devices, const fs::path& folder) {
  SaveReport report;
  std::set<std::string> names;
  for (const auto& device : devices) {
    if (!names.insert(DeviceFileName(*device)).second) {
      report.DuplicateCodes.push_back(device->Definition.Code);
      continue;
    }
    if (SavedAsRead(*device, folder)) {
      ++report.Unchanged;
      continue;
    }
    if (const Result<> saved = SaveDeviceFile(*device, folder); !saved) {
      report.Error = saved.Message();
      return report;
    }
    ++report.Written;
  }
  return report;
}

std::vector<std::string> ExistingDeviceFiles(const DeviceRecords& devices, const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& device : devices) {
    std::error_code ec;
    const std::string name = DeviceFileName(*device);
    if (fs::exists(folder / name, ec)) names.insert(name);
  }
  return {names.begin(), names.end()};
}

}  // namespace orvane
