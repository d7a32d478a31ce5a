#include "model/device_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "device_test_helpers.h"
#include "model/device_file.h"
#include "model/ini_file.h"
#include "model/presets.h"
#include "model/record_decimals.h"
#include "support/scripted_dialogs.h"
#include "support/test_paths.h"

namespace orvane {
namespace {

using testing::ExpectSameRecord;
using testing::RealPrepare;
using testing::ScratchDir;

// A record with values at the edges of every field.
TBaseDevice OddDevice() {
  TBaseDevice d;
  d.ProjectionXY = -32768;
  d.OpeningXY = 32767;
  d.ProjectionXZ = -1;
  d.OpeningXZ = 0;
  d.StarQuantity = 40000;
  d.StarKind = StarKind{200};
  d.TrailExists = true;
  d.TrailLife = -5;
  d.StarWeight = -100;
  d.StarSpeed = INT32_MAX;
  d.StarResistance = INT32_MIN;
  d.StarSize = 0;
  d.SpeedKind = SpeedKind{255};
  d.EffectLength = 1;
  d.MinStarLife = -1;
  d.MaxStarLife = 1000;
  d.NextEffExists = true;
  d.NextEffCode = 77;
  d.NextEffStart = 13;
  d.NextParExists = false;
  d.NextParCode = 5;  // kept even with the box off
  d.NextParStart = 9;
  for (int k = 0; k < 7; ++k)
    d.ColorData.push_back(NewColorSegment(k * 10, 100 - k, k, 0xFFFFFFFFu - k, 0x00ABCDEFu + k));
  d.BestX = 0.1f;
  d.BestY = -1e-7f;
  d.BestZ = 1234.5678f;
  TDefnDevice& defn = d.Definition;
  defn.Code = 4096;
  defn.Name =
      "Fuegos \xC2\xAB\xC3\x91"
      "and\xC3\xBA\xC2\xBB \xE7\x81\xAB";
  defn.Active = false;
  defn.DelayA = INT32_MIN;
  defn.DelayB = -3;
  defn.EffectLength = 123456;
  defn.Description = "  leading and trailing blanks  ";
  defn.DeviceIcon = 3;
  defn.EffectIcon = -4;
  defn.Additional = {"\"quoted\"", FLT_MAX, "a=b; c", -0.0f, "'", 1e-45f, "", "M", -32768, 32767, "x\ty"};
  defn.Credits = {"Ana", "=", 45123.456789123, "\"half"};
  return d;
}

std::unique_ptr<TBaseDevice> SaveAndLoad(const TBaseDevice& d, const ScratchDir& dir) {
  EXPECT_TRUE(SaveDeviceFile(d, dir.Path()));
  DeviceRecords loaded;
  const DeviceFileResult r = LoadDeviceFile(dir.Path() / DeviceFileName(d), loaded, RealPrepare());
  EXPECT_EQ(r.Status, DeviceFileStatus::Loaded) << r.Message;
  return loaded.empty() ? nullptr : std::move(loaded.front());
}

TEST(DeviceFileWriter, WritesEveryKeyInTheLoaderFormat) {
  TBaseDevice d = OddDevice();
  d.ColorData = {NewColorSegment(0, 50, kMixColor, 0x0080FFFF, 0x0080FF80)};
  const IniFile ini(DeviceFileText(d));
  EXPECT_EQ(ini.ReadString("ORVN", "Signature"), "Device");
  EXPECT_EQ(ini.ReadString("Device", "Kind"), "device");
  EXPECT_EQ(ini.ReadString("Simulation", "ColorData"), "01000000003202FFFF800080FF8000");
  EXPECT_EQ(ini.ReadString("Simulation", "TrailExists"), "1");
  EXPECT_EQ(ini.ReadString("Simulation", "NextParExists"), "0");
  EXPECT_EQ(ini.ReadString("Definition", "Active"), "0");
  EXPECT_EQ(ini.ReadString("Simulation", "BestX"), "0.1");
  EXPECT_EQ(ini.ReadString("Simulation", "BestY"), "-1e-07");
  const std::vector<std::pair<const char*, std::vector<const char*>>> keys = {
      {"Definition", {"Name", "Active", "DelayA", "DelayB", "EffectLength", "EffectIcon", "Description", "DeviceIcon"}},
      {"Additional",
       {"Trade", "Price1", "Dealer1", "Price2", "Dealer2", "Price3", "Dealer3", "Manufacturer", "Weight", "Elevation",
        "Warnings"}},
      {"Simulation", {"ProjectionXY",   "OpeningXY",     "ProjectionXZ", "OpeningXZ",    "StarQuantity",
                      "StarKind",       "TrailExists",   "TrailLife",    "StarWeight",   "StarSpeed",
                      "StarResistance", "StarSize",      "SpeedKind",    "EffectLength", "MinStarLife",
                      "MaxStarLife",    "NextEffExists", "NextEffCode",  "NextEffStart", "NextParExists",
                      "NextParCode",    "NextParStart",  "BestX",        "BestY",        "BestZ"}},
      {"Credits", {"Author", "Company", "Date", "Comments"}},
  };
  for (const auto& [section, names] : keys)
    for (const char* key : names) EXPECT_NE(ini.RawValue(section, key), nullptr) << section << "/" << key;
  EXPECT_EQ(DeviceFileName(d), "4096.odev");
  d.Definition.Kind = true;
  EXPECT_EQ(DeviceFileName(d), "4096.osub");
  EXPECT_EQ(IniFile(DeviceFileText(d)).ReadString("Device", "Kind"), "subdevice");
}

TEST(DeviceFileWriter, OddValuesRoundTrip) {
  ScratchDir dir;
  const TBaseDevice d = OddDevice();
  auto back = SaveAndLoad(d, dir);
  ASSERT_NE(back, nullptr);
  ExpectSameRecord(d, *back);
  EXPECT_TRUE(std::signbit(back->Definition.Additional.Price2));
}

TEST(DeviceFileWriter, SubDeviceKeepsWhatTheLoaderReads) {
  ScratchDir dir;
  TBaseDevice d = OddDevice();
  d.Definition.Kind = true;
  auto back = SaveAndLoad(d, dir);
  ASSERT_NE(back, nullptr);
  TBaseDevice expected = d;
  const TCreditsDevice credits = d.Definition.Credits;
  expected.Definition = TDefnDevice{};
  expected.Definition.Code = d.Definition.Code;
  expected.Definition.Kind = true;
  expected.Definition.Credits = credits;
  ExpectSameRecord(expected, *back);
}

TEST(DeviceFileWriter, TextsThatCannotBeOneLine) {
  EXPECT_EQ(ProfileTextValue("a\r\nb\nc\rd"), "a b c d");
  EXPECT_EQ(ProfileTextValue(std::string("x\0y", 3)), "x y");
  EXPECT_EQ(ProfileTextValue(" x"), "\" x\"");
  EXPECT_EQ(ProfileTextValue("plain words"), "plain words");
  ScratchDir dir;
  TBaseDevice d = OddDevice();
  d.Definition.Credits.Comments = "first line\r\nsecond line\n";
  auto back = SaveAndLoad(d, dir);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Definition.Credits.Comments, "first line second line ");
  EXPECT_EQ(back->Definition.Credits.Author, "Ana");  // the break added no key
}

TEST(DeviceFileWriter, DecimalTextsReadBackExactly) {
  uint32_t state = 12345;
  for (int k = 0; k < 200000; ++k) {
    state = state * 1664525u + 1013904223u;
    float f;
    std::memcpy(&f, &state, sizeof f);
    if (!std::isfinite(f)) continue;
    const std::string text = Float32Text(f);
    for (char sep : {'.', ','}) {
      const auto back = ReadFloat32(text, sep);
      ASSERT_TRUE(back.has_value()) << text;
      ASSERT_EQ(std::memcmp(&*back, &f, sizeof f), 0) << text;
    }
    const double date = static_cast<double>(state) / 7.0;
    ASSERT_EQ(ReadDecimal(Float64Text(date), '.'), date);
  }
  EXPECT_EQ(Float32Text(std::numeric_limits<float>::infinity()), "0");
}

TEST(DeviceFileWriter, PresetsRoundTripThroughAFolder) {
  for (int k = 1; k <= kPresetCount; ++k) {
    SCOPED_TRACE("preset " + std::to_string(k));
    ScratchDir dir;
    testing::ScriptedDialogs dialogs;
    DeviceList saved(RealPrepare());
    ASSERT_TRUE(ApplyPreset(k, saved, dialogs));
    const SaveReport report = saved.SaveToFolder(dir.Path(), dialogs);
    EXPECT_EQ(report.Written, saved.Devices().size());
    DeviceList loaded(RealPrepare());
    loaded.LoadFolder(dir.Path(), dialogs);
    EXPECT_TRUE(dialogs.Messages.empty());
    ASSERT_EQ(loaded.Devices().size(), saved.Devices().size());
    for (size_t i = 0; i < saved.Devices().size(); ++i) {
      TBaseDevice expected = *saved.Devices()[i];
      if (expected.Definition.Kind) {
        const TDefnDevice full = expected.Definition;
        expected.Definition = TDefnDevice{};
        expected.Definition.Code = full.Code;
        expected.Definition.Kind = true;
        expected.Definition.Credits = full.Credits;
      }
      ExpectSameRecord(expected, *loaded.Devices()[i]);
    }
  }
}

TEST(DeviceFileWriter, DuplicateFileNamesKeepTheFirstDevice) {
  ScratchDir dir;
  DeviceRecords devices;
  for (int k = 0; k < 3; ++k) {
    auto d = std::make_unique<TBaseDevice>(OddDevice());
    d->Definition.Code = 5;
    d->Definition.Kind = k == 2;
    d->StarQuantity = static_cast<uint16_t>(k + 1);
    devices.push_back(std::move(d));
  }
  EXPECT_TRUE(ExistingDeviceFiles(devices, dir.Path()).empty());
  const SaveReport report = SaveDeviceFolder(devices, dir.Path());
  EXPECT_EQ(report.Written, 2u);
  EXPECT_EQ(report.DuplicateCodes, std::vector<int32_t>{5});
  EXPECT_EQ(IniFile(testing::ReadFileBytes(dir.Path() / "5.odev")).ReadInteger("Simulation", "StarQuantity", 0), 1);
  EXPECT_EQ(ExistingDeviceFiles(devices, dir.Path()), (std::vector<std::string>{"5.odev", "5.osub"}));
  EXPECT_TRUE(SaveDeviceFolder(devices, dir.Path() / "missing").Error.has_value());
}

// A sub-device file as a hand (or another program) wrote it: the loader reads no
// [Definition] for a sub-device, nor keys and sections it does not know.
constexpr char kHandWrittenSubDevice[] =
    "; the finale's crackle\r\n[ORVN]\r\nSignature=Device\r\n[Device]\r\nCode=102\r\nKind=subdevice\r\n"
    "[Definition]\r\nName=102\r\nActive=1\r\nEffectLength=1200\r\n"
    "[Simulation]\r\nStarQuantity=40\r\nMaker=ACME\r\nEffectLength=1200\r\nBestY=1,5\r\n[Workshop]\r\nNote=keep\r\n";

ino_t Inode(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_ino;
}

TEST(DeviceFileWriter, SavingKeepsWhatTheReaderSkippedAndWritesOnlyChangedDevices) {
  ScratchDir dir;
  const auto in = dir.Path() / "in";
  const auto file = dir.Write("in/102.osub", kHandWrittenSubDevice);
  DeviceRecords devices;
  ASSERT_EQ(LoadDeviceFile(file, devices, RealPrepare()).Status, DeviceFileStatus::Loaded);
  EXPECT_FALSE(ChangedSinceRead(*devices[0]));

  // Unchanged, saved elsewhere: the very bytes it was read from.
  std::filesystem::create_directory(dir.Path() / "out");
  EXPECT_EQ(SaveDeviceFolder(devices, dir.Path() / "out").Written, 1u);
  EXPECT_EQ(testing::ReadFileBytes(dir.Path() / "out" / "102.osub"), kHandWrittenSubDevice);
  // Unchanged, saved where it came from: not written at all.
  const ino_t before = Inode(file);
  const SaveReport again = SaveDeviceFolder(devices, in);
  EXPECT_EQ(again.Written, 0u);
  EXPECT_EQ(again.Unchanged, 1u);
  EXPECT_EQ(Inode(file), before);

  // Changed: only the changed value is set; what the reader skipped stays.
  devices[0]->StarQuantity = 77;
  EXPECT_TRUE(ChangedSinceRead(*devices[0]));
  std::string expected = kHandWrittenSubDevice;
  expected.replace(expected.find("StarQuantity=40"), 15, "StarQuantity=77");
  EXPECT_EQ(DeviceSaveText(*devices[0]), expected);
  EXPECT_EQ(SaveDeviceFolder(devices, in).Written, 1u);
  EXPECT_EQ(testing::ReadFileBytes(file), expected);
  // The loader reads it as before: the new value, the decimal with its comma.
  DeviceRecords reloaded;
  ASSERT_EQ(LoadDeviceFile(file, reloaded, RealPrepare()).Status, DeviceFileStatus::Loaded);
  EXPECT_EQ(reloaded[0]->StarQuantity, 77);
  EXPECT_EQ(reloaded[0]->BestY, 1.5f);
  EXPECT_EQ(reloaded[0]->Definition.Name, "") << "a sub-device's definition is still not read";
}

}  // namespace
}  // namespace orvane
