#include "model/device_form.h"

#include <charconv>
#include <string_view>

#include "model/integer_text.h"
#include "model/record_decimals.h"
#include "util/date_time.h"

namespace orvane {
namespace {

constexpr int32_t kMaxStarQuantity = 65535;

bool Refuse(UserDialogs& dialogs, FormFocus& focus, FormFocus target, std::string_view what) {
  focus = target;
  dialogs.Message(DialogKind::Information, DialogButtons::Yes, std::string(what) + ", please verify.");
  return false;
}

// A code edit: an integer of 0 or above, with the device-code messages.
bool CheckCode(const std::string& text, UserDialogs& dialogs, FormFocus& focus, FormFocus target) {
  const auto code = ParseInteger(text);
  if (!code) return Refuse(dialogs, focus, target, "Value entered in device code is not valid");
  if (*code < 0) return Refuse(dialogs, focus, target, "Value entered in device code is out of range");
  return true;
}

bool CheckCount(const std::string& text, int32_t max, std::string_view name, UserDialogs& dialogs, FormFocus& focus,
                FormFocus target) {
  const auto value = ParseInteger(text);
  const std::string prefix = "Value entered in " + std::string(name);
  if (!value) return Refuse(dialogs, focus, target, prefix + " is not valid");
  if (*value <= 0 || *value > max) return Refuse(dialogs, focus, target, prefix + " is out of range");
  return true;
}

bool CheckPosition(const std::string& text, std::string_view axis, UserDialogs& dialogs, FormFocus& focus,
                   FormFocus target) {
  if (ReadFloat32(text)) return true;
  return Refuse(dialogs, focus, target, "Value entered in " + std::string(axis) + " position is not valid");
}

int32_t IntegerOf(const std::string& text) { return ParseInteger(text).value_or(0); }

}  // namespace

bool ValidateForm(const DeviceForm& f, UserDialogs& dialogs, FormFocus& focus) {
  return CheckCode(f.DevCode, dialogs, focus, FormFocus::DevCodeEdit) &&
         CheckCount(f.StarQuantity, kMaxStarQuantity, "star quantity", dialogs, focus, FormFocus::StarQuanEdit) &&
         CheckCount(f.EffectLength, INT32_MAX, "effect length", dialogs, focus, FormFocus::EffectLengthEdit) &&
         (!f.NextEff || CheckCode(f.NextEffCode, dialogs, focus, FormFocus::NextEffCodeEdit)) &&
         (!f.NextPar || CheckCode(f.NextParCode, dialogs, focus, FormFocus::NextParCodeEdit)) &&
         CheckPosition(f.PosX, "X", dialogs, focus, FormFocus::PosXEdit) &&
         CheckPosition(f.PosY, "Y", dialogs, focus, FormFocus::PosYEdit) &&
         CheckPosition(f.PosZ, "Z", dialogs, focus, FormFocus::PosZEdit);
}

std::unique_ptr<TBaseDevice> MakeDevice(const DeviceForm& f, const SegmentList& segments, const PrepareStep& prepare,
                                        bool* outOfMemory) {
  auto d = std::make_unique<TBaseDevice>();
  d->Definition.Code = IntegerOf(f.DevCode);
  d->Definition.Kind = f.SubDevice;
  d->Definition.Credits.Date = CurrentDateTime();
  d->ProjectionXY = static_cast<int16_t>(f.ProjXY);
  d->OpeningXY = static_cast<int16_t>(f.OpenXY);
  d->ProjectionXZ = static_cast<int16_t>(f.ProjXZ);
  d->OpeningXZ = static_cast<int16_t>(f.OpenXZ);
  d->StarQuantity = static_cast<uint16_t>(static_cast<uint32_t>(IntegerOf(f.StarQuantity)));
  d->StarKind = f.Progressive ? StarKind::Progressive : f.Explosive ? StarKind::Explosive : StarKind::None;
  d->TrailExists = f.Trail;
  d->TrailLife = f.TrailLength;
  d->StarWeight = f.Weight;
  d->StarSpeed = f.Speed;
  d->StarResistance = f.Resistance;
  d->StarSize = f.Size;
  d->SpeedKind = f.RandomSpeed ? SpeedKind::Random : f.HomogeneousSpeed ? SpeedKind::Homogeneous : SpeedKind::None;
  d->EffectLength = IntegerOf(f.EffectLength);
  d->MinStarLife = f.MinLife;
  d->MaxStarLife = f.MaxLife;
  d->NextEffExists = f.NextEff;
  d->NextEffCode = f.NextEff ? IntegerOf(f.NextEffCode) : 0;
  d->NextEffStart = f.NextEff ? f.NextEffPos : 0;
  d->NextParExists = f.NextPar;
  d->NextParCode = f.NextPar ? IntegerOf(f.NextParCode) : 0;
  d->NextParStart = f.NextPar ? f.NextParPos : 0;
  d->BestX = ReadFloat32(f.PosX).value_or(0.0f);
  d->BestY = ReadFloat32(f.PosY).value_or(0.0f);
  d->BestZ = ReadFloat32(f.PosZ).value_or(0.0f);
  d->ColorData.reserve(segments.size());
  for (const ColorSegment& s : segments)
    d->ColorData.push_back(NewColorSegment(s.InitialPos, s.FinalPos, s.Flags, s.InitialColor, s.FinalColor));
  if (!prepare) return nullptr;
  const PrepareResult prepared = prepare(*d);
  if (outOfMemory != nullptr) *outOfMemory = prepared.OutOfMemory;
  if (!prepared) return nullptr;
  return d;
}

std::string FormatPosition(float value, char separator) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 1);
  std::string text(buf, res.ptr);
  for (char& c : text)
    if (c == '.') c = separator;
  return text;
}

}  // namespace orvane
