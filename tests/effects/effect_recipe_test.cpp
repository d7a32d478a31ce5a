// Recipes: every chain they make is one the main window could hold and the compiler can
// run, under codes the target list does not use.

#include <gtest/gtest.h>

#include <set>

#include "effects/effect_recipe.h"
#include "model/chain_check.h"
#include "model/device_file_writer.h"
#include "model/form_ranges.h"

namespace orvane {
namespace {

EffectDescription Described(const std::string& text) {
  const Result<EffectDescription> d = ParseEffectDescription(text);
  EXPECT_TRUE(d.Ok()) << text << ": " << (d.Ok() ? "" : d.Message());
  return d.Ok() ? d.Value() : EffectDescription{};
}

EffectChain Made(const std::string& text, int32_t first = 1000) {
  Result<EffectChain> chain = MakeEffect(
      Described(text), [](int32_t) { return false; }, first);
  EXPECT_TRUE(chain.Ok());
  return chain.Ok() ? chain.Value() : EffectChain{};
}

// Every type at the ends and middle of the calibre range, with every modifier it takes.
std::vector<std::string> Variety() {
  std::vector<std::string> texts;
  for (EffectType type : kEffectTypes) {
    for (const char* calibre : {"20mm", "50mm", "100mm", "150mm"}) {
      const std::string name(EffectTypeName(type));
      texts.push_back(std::string(calibre) + " " + name);
      texts.push_back(std::string(calibre) + " red to blue " + name);
      texts.push_back(std::string(calibre) + " dense " + name + " with trails");
      if (TakesColourGroups(type)) texts.push_back(std::string(calibre) + " red and green and white " + name);
    }
  }
  for (const char* t : {"100mm horizontal ring", "150mm purple to yellow horizontal ring", "20mm willow cake 100 shots",
                        "150mm crossette cake 2 shots", "150mm red and green crackle cake 3 shots"})
    texts.emplace_back(t);
  return texts;
}

TEST(EffectRecipe, EveryChainKeepsToTheWindowsRangesAndChainsWithinItself) {
  for (const std::string& text : Variety()) {
    const EffectChain chain = Made(text);
    ASSERT_FALSE(chain.Devices.empty()) << text;
    std::set<int32_t> codes;
    DeviceRecords records;
    for (const TBaseDevice& d : chain.Devices) {
      EXPECT_EQ(OutsideFormRanges(d), std::nullopt) << text << ", " << d.Definition.Name;
      EXPECT_TRUE(codes.insert(d.Definition.Code).second) << text << ": code " << d.Definition.Code << " twice";
      EXPECT_EQ(d.Definition.EffectLength, d.EffectLength) << text;
      records.push_back(std::make_unique<TBaseDevice>(d));
    }
    EXPECT_TRUE(CheckChainLinks(chain).Ok()) << text;
    EXPECT_FALSE(HasRecursion(records)) << text;
    EXPECT_FALSE(chain.Devices.front().Definition.Kind) << text << ": the product's root is a device";
    EXPECT_EQ(chain.Devices.front().BestY, kRecipeGroundY) << text;
    for (size_t i = 1; i < chain.Devices.size(); ++i) {
      // Cake shots after the first are started by the one before.
      EXPECT_TRUE(chain.Devices[i].Definition.Kind) << text << ": device " << i << " is a sub-device";
    }
  }
}

TEST(EffectRecipe, EveryDeviceIsReachedFromTheRoot) {
  for (const std::string& text : Variety()) {
    const EffectChain chain = Made(text);
    std::set<int32_t> reached = {chain.RootCode()};
    for (bool grew = true; grew;) {
      grew = false;
      for (const TBaseDevice& d : chain.Devices) {
        if (!reached.count(d.Definition.Code)) continue;
        for (auto [on, code] : {std::pair{d.NextEffExists, d.NextEffCode}, std::pair{d.NextParExists, d.NextParCode}})
          if (on && reached.insert(code).second) grew = true;
      }
    }
    EXPECT_EQ(reached.size(), chain.Devices.size()) << text;
  }
}

TEST(EffectRecipe, CountsOfDevicesFollowTheDescription) {
  const struct {
    const char* Text;
    size_t Devices;
  } cases[] = {
      {"100mm red peony", 2},                                  // lift, burst
      {"100mm red and green and blue peony", 4},               // one burst per colour
      {"100mm green ring", 3},                                 // two half rings
      {"100mm green horizontal ring", 2},                      // one flat ring
      {"100mm silver crossette", 6},                           // comets and four arms
      {"100mm gold crackle", 3},                               // stars and their pops
      {"100mm red and white crackle", 4},                      // the pops are shared
      {"100mm gold comet", 1},                                 //
      {"100mm red and green mine", 2},                         //
      {"100mm gold fountain", 1},                              //
      {"30mm red peony cake 25 shots", 26},                    // a lift per shot, one burst
      {"30mm red and green crackle cake 4 shots", 4 + 2 + 1},  // shots, bursts, pops
  };
  for (const auto& c : cases) EXPECT_EQ(Made(c.Text).Devices.size(), c.Devices) << c.Text;
}

TEST(EffectRecipe, TakesTheLowestCodesTheTargetDoesNotUse) {
  const std::set<int32_t> taken = {1000, 1002, 1003};
  Result<EffectChain> chain = MakeEffect(
      Described("100mm red and green peony"), [&taken](int32_t c) { return taken.count(c) != 0; }, 1000);
  ASSERT_TRUE(chain.Ok());
  const std::vector<TBaseDevice>& d = chain.Value().Devices;
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].Definition.Code, 1001);
  EXPECT_EQ(d[1].Definition.Code, 1004);
  EXPECT_EQ(d[2].Definition.Code, 1005);
  EXPECT_EQ(d[0].NextParCode, 1004);  // the lift starts the first burst
  EXPECT_EQ(d[1].NextEffCode, 1005);  // which starts the second with it
  EXPECT_EQ(d[0].Definition.Name, "100mm red and green peony: lift");
  EXPECT_EQ(d[1].Definition.Description, "100mm red and green peony");
}

TEST(EffectRecipe, RunningOutOfCodesIsRefusedRatherThanSearchedForever) {
  const Result<EffectChain> all = MakeEffect(
      Described("100mm red peony"), [](int32_t) { return true; }, 5);
  ASSERT_FALSE(all.Ok());
  EXPECT_NE(all.Message().find("No free device codes"), std::string::npos) << all.Message();
  const Result<EffectChain> top = MakeEffect(
      Described("100mm red peony"), [](int32_t) { return false; }, std::numeric_limits<int32_t>::max());
  EXPECT_FALSE(top.Ok()) << "two devices cannot both fit above the largest code";
}

TEST(EffectRecipe, TheSameDescriptionMakesTheSameFiles) {
  for (const char* text : {"100mm gold willow", "30mm red peony cake 10 shots", "75mm silver mine"}) {
    const EffectChain a = Made(text);
    const EffectChain b = Made(text);
    ASSERT_EQ(a.Devices.size(), b.Devices.size());
    for (size_t i = 0; i < a.Devices.size(); ++i)
      EXPECT_EQ(DeviceFileText(a.Devices[i]), DeviceFileText(b.Devices[i])) << text;
  }
}

TEST(EffectRecipe, BiggerCalibresFlyHigherAndWider) {
  for (EffectType type : {EffectType::kPeony, EffectType::kWillow, EffectType::kMine}) {
    const std::string name(EffectTypeName(type));
    const EffectChain small = Made("50mm " + name);
    const EffectChain big = Made("150mm " + name);
    EXPECT_GT(big.Devices.front().StarSpeed, small.Devices.front().StarSpeed) << name;
    EXPECT_GT(big.Devices.back().EffectLength, small.Devices.back().EffectLength) << name;
  }
}

}  // namespace
}  // namespace orvane
