// Whole seeded compiles against digests recorded from the plain implementation (every
// float32 step written out as in the formulas, before any speed work). Any change to the
// bytes of a compiled show, however small, fails here.

#include <gtest/gtest.h>

#include "compile_rig.h"
#include "model/device_list.h"
#include "model/presets.h"
#include "support/scripted_dialogs.h"
#include "util/random.h"

namespace orvane {
namespace {

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t h = 14695981039346656037ull;
  for (uint8_t b : bytes) {
    h ^= b;
    h *= 1099511628211ull;
  }
  return h;
}

struct Golden {
  size_t Size;
  uint64_t Digest;
};

void ExpectGolden(const char* name, const std::vector<uint8_t>& bytes, Golden golden) {
  EXPECT_EQ(bytes.size(), golden.Size) << name;
  EXPECT_EQ(Fnv1a(bytes), golden.Digest) << name;
}

std::vector<uint8_t> CompilePreset(int k, float scale) {
  EnableSeededMode(7);
  DeviceList list([](TBaseDevice& d) { return PrepareCompiledPart(d); });
  testing::ScriptedDialogs dialogs;
  EXPECT_TRUE(ApplyPreset(k, list, dialogs));
  testing::CompileRig rig;
  rig.Scale = scale;
  EXPECT_EQ(TakeSnapshot(
                PresetDevices(k).front().Code, [&list](int32_t c) { return list.FindByCode(c); }, rig.Snapshot),
            SnapshotStatus::kReady);
  auto bytes = rig.Compile(PresetDevices(k).front().Code);
  DisableSeededMode();
  return bytes;
}

TEST(CompileGolden, Presets) {
  const Golden golden[6] = {
      {4697292, 0xef46dbb68998035eull}, {679736, 0x9045aa23ec0f1e3full}, {180426, 0x4402960a997aebd0ull},
      {1202018, 0x6078763d5a796b88ull}, {745908, 0x65b27a28ae2f1d07ull}, {192408, 0xb605da40bf713949ull},
  };
  for (int k = 1; k <= 6; ++k) {
    const std::string name = "preset " + std::to_string(k);
    ExpectGolden(name.c_str(), CompilePreset(k, 1.0f), golden[k - 1]);
  }
  ExpectGolden("preset 1 at scale 1.5", CompilePreset(1, 1.5f), {4697292, 0x9ea869c5dae4bc44ull});
}

// Crowded trails, progressive sets riding moving emitters, blinking and fading colours,
// random speeds, and a device without drag, whose stars fly beyond what a record holds:
// those 6800 records are culled. The recorded show held them too (wrapped to the far side);
// with them left out it is otherwise the same, record for record, frame for frame.
TEST(CompileGolden, StressedShow) {
  EnableSeededMode(99);
  TBaseDevice shell = testing::FormDevice(1);
  shell.StarQuantity = 400;
  shell.TrailExists = true;
  shell.TrailLife = 60;
  shell.StarSize = 30;
  shell.SpeedKind = SpeedKind::Random;
  shell.NextParExists = true;
  shell.NextParCode = 2;
  shell.NextParStart = 40;
  shell.ColorData.push_back(NewColorSegment(0, 60, kMixColor | kBlink, 0x2040FF, 0xFF8020));
  shell.ColorData.push_back(NewColorSegment(60, 100, kFadeOut, 0xFFFFFF, 0xFFFFFF));
  TBaseDevice comet = testing::FormDevice(2);
  comet.StarQuantity = 6;
  comet.StarKind = StarKind::Progressive;
  comet.TrailExists = true;
  comet.TrailLife = 100;
  comet.StarSize = 5;
  comet.EffectLength = 1600;
  comet.StarResistance = 40;
  comet.NextEffExists = true;
  comet.NextEffCode = 3;
  comet.NextEffStart = 70;
  TBaseDevice still = testing::FormDevice(3);
  still.StarQuantity = 3;
  still.StarResistance = 0;  // only a device file can hold it
  still.EffectLength = 400;
  testing::CompileRig rig;
  rig.Scale = 1.25f;
  rig.Add(testing::Prepared(shell));
  rig.Add(testing::Prepared(comet));
  rig.Add(testing::Prepared(still));
  CompileOutcome outcome;
  const auto bytes = rig.Compile(1, &outcome);
  DisableSeededMode();
  EXPECT_EQ(outcome.Culled, 6800u);
  ExpectGolden("stressed show", bytes, {15663272 - 6800 * kRecordSize, 0xe9ac2ab968252556ull});
}

}  // namespace
}  // namespace orvane
