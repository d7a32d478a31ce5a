#pragma once
// The six preset shows: fixed example lists of three or four chained devices, made by
// filling the form and pressing Create for each device, like a user would.

#include <cstdint>
#include <string>
#include <vector>

#include "model/device_list.h"

namespace orvane {

inline constexpr int kPresetCount = 6;

struct PresetSegment {
  uint8_t InitialPos, FinalPos, Flags;
  uint32_t InitialColor, FinalColor;  // 0x00BBGGRR
};

struct PresetLink {
  bool On = false;
  int32_t Code = 0;
  int Start = 0;
};

struct PresetDevice {
  int32_t Code;
  bool SubDevice;
  const char* PosX;
  const char* PosY;
  const char* PosZ;
  int ProjXY, OpenXY, ProjXZ, OpenXZ;
  int Stars;
  bool Progressive;
  bool Trail;
  int TrailLife;
  int Weight, Speed, Resistance, Size;
  bool RandomSpeed;
  int LengthMs;
  int MinLife, MaxLife;
  PresetLink NextEffect;
  PresetLink PerStar;
  std::vector<PresetSegment> Segments;
};

// The devices of preset k (1..6) in the order they are created; empty for any other k.
const std::vector<PresetDevice>& PresetDevices(int k);

// Sets the form's controls to the device's values.
void FillFormFromPreset(const PresetDevice& device, DeviceForm& form);

// Replaces the list by preset k without asking, through the window's own Create path;
// ends with the first device selected and the focus on the Compile button. The window
// unchecks "Show projection" itself. False for a k outside 1..6.
bool ApplyPreset(int k, DeviceList& list, UserDialogs& dialogs);

}  // namespace orvane
