#include "model/presets.h"

namespace orvane {
namespace {

constexpr uint8_t kNone = 0;
constexpr uint8_t kFadeMix = kFadeOut | kMixColor;
constexpr uint8_t kFadeBlink = kFadeOut | kBlink;
constexpr PresetLink kOff{};
constexpr PresetLink Link(int32_t code, int start) { return {true, code, start}; }

// The tables are aligned by hand, one device per two lines.
// clang-format off
// Columns: code, sub-device, X, Y, Z, projection/opening XY, projection/opening XZ, stars,
// progressive, trail on, trail life, weight, speed, resistance, size, random speeds,
// length ms, minimum/maximum life, next effect, per star, segments.
const std::vector<PresetDevice> kPreset1 = {
    {101, false, "0", "-2", "0", 90, 20, 0, 180, 80, true, true, 8, 30, 35, 15, 8, true, 8000, 25, 75, kOff,
     Link(102, 100), {{0, 50, kMixColor, 0x80FF80, 0x80FFFF}, {50, 100, kBlink, 0x80FFFF, 0x80FFFF}}},
    {102, true, "0", "0", "0", 90, 130, 0, 180, 3, false, false, 100, 50, 10, 5, 15, true, 1200, 50, 100, kOff,
     Link(103, 100), {{0, 100, kNone, 0x15ABFF, 0x15ABFF}}},
    {103, true, "0", "0", "0", 0, 360, 0, 180, 30, false, false, 100, 0, 6, 5, 8, true, 750, 50, 100,
     Link(104, 13), kOff, {{0, 100, kNone, 0x53DDFF, 0x53DDFF}}},
    {104, true, "0", "0", "0", 0, 360, 0, 180, 15, true, false, 100, 0, 15, 5, 10, true, 500, 50, 50, kOff, kOff,
     {{0, 100, kFadeMix, 0x8AE8FF, 0x4040FF}}},
};

const std::vector<PresetDevice> kPreset2 = {
    {201, false, "0", "-2", "0", 92, 48, 0, 180, 5, true, false, 100, 0, 21, 5, 20, true, 2500, 78, 100,
     Link(202, 0), Link(203, 100), {{0, 100, kMixColor, 0x80FF80, 0x80FF80}}},
    {202, true, "0", "-2", "0", 146, 17, 0, 360, 10, true, true, 30, 100, 30, 5, 5, true, 2500, 100, 50, kOff, kOff,
     {{0, 25, kNone, 0x8080FF, 0x8080FF},
      {25, 50, kNone, 0x80FF80, 0x80FF80},
      {50, 75, kNone, 0xFFFF80, 0xFFFF80},
      {75, 100, kNone, 0xFF80FF, 0xFF80FF}}},
    {203, true, "0", "0", "0", 90, 156, 0, 180, 50, false, true, 50, 78, 10, 25, 5, true, 1000, 50, 100,
     Link(204, 0), kOff, {{0, 100, kMixColor, 0xFF8000, 0xFF80FF}}},
    {204, true, "0", "0", "0", 0, 360, 0, 180, 100, false, false, 100, 60, 22, 8, 15, false, 700, 50, 100, kOff,
     kOff, {{0, 100, kFadeOut, 0x80FFFF, 0x80FFFF}}},
};

const std::vector<PresetDevice> kPreset3 = {
    {301, false, "0", "0", "0", 0, 360, 0, 180, 200, false, false, 100, 5, 25, 5, 10, false, 1200, 50, 100,
     Link(302, 50), kOff, {{0, 50, kMixColor, 0xFFFF00, 0x8000FF}, {50, 100, kMixColor, 0x8000FF, 0x80FFFF}}},
    {302, true, "0", "0", "0", 0, 360, 0, 180, 200, false, false, 100, 5, 50, 5, 10, false, 800, 50, 100,
     Link(303, 2), kOff, {{0, 50, kMixColor, 0xFFFF00, 0x80FF00}, {50, 100, kNone, 0x80FF00, 0x80FF00}}},
    {303, true, "0", "0", "0", 0, 7, 0, 360, 500, false, false, 100, 0, 45, 20, 10, false, 1000, 100, 100, kOff,
     kOff, {{0, 100, kFadeBlink, 0x4080FF, 0x4080FF}}},
};

// The first three devices of preset 4 share their first three segments.
const PresetSegment kRed4{0, 15, kNone, 0x8080FF, 0x8080FF};
const PresetSegment kYellow4{15, 30, kNone, 0x80FFFF, 0x80FFFF};
const PresetSegment kGreen4{30, 45, kNone, 0x80FF80, 0x80FF80};

const std::vector<PresetDevice> kPreset4 = {
    {401, false, "0", "-2", "0", 90, 40, 0, 180, 600, true, false, 100, 60, 30, 5, 10, true, 2500, 50, 100,
     Link(402, 90), kOff, {kRed4, kYellow4, kGreen4, {45, 100, kMixColor, 0xFFFF80, 0xFF0080}}},
    {402, true, "0", "-2", "0", 47, 32, 0, 122, 600, true, false, 100, 60, 30, 5, 10, true, 2500, 50, 100,
     Link(403, 90), kOff, {kRed4, kYellow4, kGreen4, {45, 100, kMixColor, 0x80FF80, 0x38CF30}}},
    {403, true, "0", "-2", "0", 137, 28, 0, 100, 600, true, false, 100, 60, 30, 5, 10, true, 2500, 50, 100,
     Link(404, 95), kOff, {kRed4, kYellow4, kGreen4, {45, 100, kMixColor, 0xC080FF, 0xFF00FF}}},
    {404, true, "0", "-2", "0", 160, 15, 0, 360, 600, false, false, 100, 100, 32, 30, 5, true, 2000, 50, 100, kOff,
     kOff, {{0, 100, kNone, 0x8080FF, 0x8080FF}}},
};

const std::vector<PresetDevice> kPreset5 = {
    {501, false, "0", "-2", "0", 92, 68, 0, 180, 5, false, false, 100, 30, 30, 15, 15, false, 2000, 75, 100, kOff,
     Link(502, 100), {{0, 50, kMixColor, 0x80FF80, 0x80FFFF}, {50, 100, kNone, 0x80FFFF, 0x80FFFF}}},
    {502, true, "0", "0", "0", 0, 14, 0, 360, 100, false, false, 100, 0, 25, 5, 15, false, 400, 50, 100,
     Link(503, 2), kOff, {{0, 100, kFadeOut, 0x80FF80, 0x80FF80}}},
    {503, true, "0", "0", "0", 0, 360, 0, 180, 100, true, false, 100, 43, 5, 18, 12, true, 6000, 50, 20, kOff, kOff,
     {{0, 50, kMixColor, 0x8080FF, 0x80FFFF}, {50, 100, kFadeBlink, 0x80FFFF, 0x80FFFF}}},
};

const std::vector<PresetDevice> kPreset6 = {
    {601, false, "0", "-2", "0", 92, 26, 0, 180, 1, false, true, 16, 20, 25, 20, 10, false, 2000, 100, 100, kOff,
     Link(602, 100), {{0, 100, kMixColor, 0xFF80FF, 0x80FFFF}}},
    {602, true, "0", "0", "0", 0, 360, 0, 180, 10, false, true, 20, 35, 6, 20, 5, false, 4000, 50, 100, kOff,
     Link(603, 100), {{0, 100, kFadeOut, 0x24B3FF, 0x24B3FF}}},
    {603, true, "0", "0", "0", 0, 360, 0, 180, 5, true, false, 100, 38, 15, 20, 8, true, 3400, 50, 14,
     Link(604, 0), kOff, {{0, 100, kFadeOut, 0xFF80FF, 0xFF80FF}}},
    {604, true, "0", "0", "0", 0, 360, 0, 180, 1, false, false, 100, 38, 0, 20, 20, false, 3400, 100, 100, kOff,
     kOff, {}},
};

// clang-format on

void FillLink(const PresetLink& link, bool& check, std::string& code, int& position) {
  check = link.On;
  code = link.On ? std::to_string(link.Code) : std::string();
  position = link.On ? link.Start : 100;
}

}  // namespace

const std::vector<PresetDevice>& PresetDevices(int k) {
  static const std::vector<PresetDevice> none;
  switch (k) {
    case 1: return kPreset1;
    case 2: return kPreset2;
    case 3: return kPreset3;
    case 4: return kPreset4;
    case 5: return kPreset5;
    case 6: return kPreset6;
    default: return none;
  }
}

void FillFormFromPreset(const PresetDevice& d, DeviceForm& f) {
  f.DevCode = std::to_string(d.Code);
  f.SubDevice = d.SubDevice;
  f.PosX = d.PosX;
  f.PosY = d.PosY;
  f.PosZ = d.PosZ;
  f.ProjXY = d.ProjXY;
  f.OpenXY = d.OpenXY;
  f.ProjXZ = d.ProjXZ;
  f.OpenXZ = d.OpenXZ;
  f.StarQuantity = std::to_string(d.Stars);
  f.Progressive = d.Progressive;
  f.Explosive = !d.Progressive;
  f.Trail = d.Trail;
  f.TrailLength = d.TrailLife;
  f.Weight = d.Weight;
  f.Speed = d.Speed;
  f.Resistance = d.Resistance;
  f.Size = d.Size;
  f.RandomSpeed = d.RandomSpeed;
  f.HomogeneousSpeed = !d.RandomSpeed;
  f.EffectLength = std::to_string(d.LengthMs);
  f.MinLife = d.MinLife;
  f.MaxLife = d.MaxLife;
  FillLink(d.NextEffect, f.NextEff, f.NextEffCode, f.NextEffPos);
  FillLink(d.PerStar, f.NextPar, f.NextParCode, f.NextParPos);
}

bool ApplyPreset(int k, DeviceList& list, UserDialogs& dialogs) {
  const auto& devices = PresetDevices(k);
  if (devices.empty()) return false;
  list.ClearDevices();
  for (const PresetDevice& d : devices) {
    FillFormFromPreset(d, list.Form());
    for (const PresetSegment& s : d.Segments)
      list.EditSegments().push_back(NewColorSegment(s.InitialPos, s.FinalPos, s.Flags, s.InitialColor, s.FinalColor));
    list.Create(dialogs);
    list.ClearEditSegments();
    list.Form().PosX = list.Form().PosY = list.Form().PosZ = "0";
  }
  list.Select(0);
  list.RequestFocus(FormFocus::RenderBt);
  return true;
}

}  // namespace orvane
