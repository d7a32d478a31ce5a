// Feeds any bytes to the INI reader and the device file reader, and checks that a record
// read from them is written back to a file that reads to the same record.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "model/device_file.h"
#include "model/device_file_writer.h"
#include "model/ini_file.h"

namespace {

using orvane::TBaseDevice;

bool SameFloat(float a, float b) { return a == b; }

// The stored fields only: an empty span gives NaN rates, which never compare equal.
bool SameSegments(const orvane::SegmentList& a, const orvane::SegmentList& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].InitialPos != b[i].InitialPos || a[i].FinalPos != b[i].FinalPos || a[i].Flags != b[i].Flags ||
        a[i].InitialColor != b[i].InitialColor || a[i].FinalColor != b[i].FinalColor)
      return false;
  }
  return true;
}

bool SameRecord(const TBaseDevice& a, const TBaseDevice& b) {
  return a.ProjectionXY == b.ProjectionXY && a.OpeningXY == b.OpeningXY && a.ProjectionXZ == b.ProjectionXZ &&
         a.OpeningXZ == b.OpeningXZ && a.StarQuantity == b.StarQuantity && a.StarKind == b.StarKind &&
         a.TrailExists == b.TrailExists && a.TrailLife == b.TrailLife && a.StarWeight == b.StarWeight &&
         a.StarSpeed == b.StarSpeed && a.StarResistance == b.StarResistance && a.StarSize == b.StarSize &&
         a.SpeedKind == b.SpeedKind && a.EffectLength == b.EffectLength && a.MinStarLife == b.MinStarLife &&
         a.MaxStarLife == b.MaxStarLife && a.NextEffExists == b.NextEffExists && a.NextEffCode == b.NextEffCode &&
         a.NextEffStart == b.NextEffStart && a.NextParExists == b.NextParExists && a.NextParCode == b.NextParCode &&
         a.NextParStart == b.NextParStart && SameSegments(a.ColorData, b.ColorData) && a.Definition == b.Definition &&
         SameFloat(a.BestX, b.BestX) && SameFloat(a.BestY, b.BestY) && SameFloat(a.BestZ, b.BestZ);
}

void ExerciseIni(std::string_view bytes) {
  const orvane::IniFile ini(bytes);
  volatile size_t sink = 0;
  for (std::string_view section : {"ORVN", "Device", "Simulation", "", "s"}) {
    sink = sink + ini.HasSection(section);
    for (std::string_view key : {"Signature", "Code", "ColorData", "BestX", "", "k"}) {
      sink = sink + ini.ReadString(section, key).size();
      sink = sink + static_cast<size_t>(ini.ReadInteger(section, key, 0));
      sink = sink + ini.ReadBinary(section, key).size();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ExerciseIni(bytes);
  // The stem is the code the seeds carry, so valid seeds get past the name check.
  orvane::DeviceFileRead read = orvane::ReadDeviceFile(bytes, "12");
  if (read.Device) {
    const std::string text = orvane::DeviceFileText(*read.Device);
    orvane::DeviceFileRead again = orvane::ReadDeviceFile(text, "12");
    if (!again.Device || !SameRecord(*read.Device, *again.Device)) std::abort();
    // A changed device saved over its own file: the file reads as the changed record.
    TBaseDevice& device = *read.Device;
    device.Source =
        std::make_shared<const orvane::DeviceSource>(orvane::DeviceSource{"12.odev", std::string(bytes), text});
    device.StarQuantity = static_cast<uint16_t>(device.StarQuantity + 1);
    device.BestX = device.BestX == 2.5f ? -1.0f : 2.5f;
    device.Definition.Credits.Author += "x";
    orvane::DeviceFileRead saved = orvane::ReadDeviceFile(orvane::DeviceSaveText(device), "12");
    if (!saved.Device) std::abort();
    // A file without a date reads as the moment it is read, each time.
    saved.Device->Definition.Credits.Date = device.Definition.Credits.Date;
    if (!SameRecord(device, *saved.Device)) std::abort();
  }
  return 0;
}
