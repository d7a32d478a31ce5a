// Safety rules: the shipped ones, a show's own, and refusals of bad files.

#include "project/safety_rule.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_paths.h"

namespace orvane {
namespace {

TEST(SafetyRule, ShippedRulesReadAndGiveTheirDistances) {
  EXPECT_EQ(ShippedSafetyRuleNames(), (std::vector<std::string>{"1m-per-mm", "70ft-per-inch"}));
  const Result<SafetyRule> feet = LoadSafetyRule("70ft-per-inch", {});
  ASSERT_TRUE(feet) << feet.Message();
  EXPECT_EQ(feet.Value().Title, "70 ft per inch of calibre");
  EXPECT_NEAR(RuleDistance(feet.Value(), 25.4), 21.336, 1e-9);
  const Result<SafetyRule> metric = LoadSafetyRule("1m-per-mm", {});
  ASSERT_TRUE(metric) << metric.Message();
  EXPECT_FALSE(metric.Value().Source.empty());
  EXPECT_EQ(RuleDistance(metric.Value(), 30), 50);
  EXPECT_EQ(RuleDistance(metric.Value(), 125), 125);
}

TEST(SafetyRule, AShowsOwnRuleComesFirstAndNamesAreNotPaths) {
  testing::ScratchDir dir;
  dir.Write("safety-rules/70ft-per-inch.json",
            R"({"name": "70ft-per-inch", "title": "Local", "source": "the council", "metres_per_mm": 2})");
  const Result<SafetyRule> local = LoadSafetyRule("70ft-per-inch", dir.Path());
  ASSERT_TRUE(local) << local.Message();
  EXPECT_EQ(local.Value().Title, "Local");
  EXPECT_FALSE(LoadSafetyRule("../70ft-per-inch", dir.Path()));
  EXPECT_FALSE(LoadSafetyRule("", dir.Path()));
  const Result<SafetyRule> unknown = LoadSafetyRule("nope", dir.Path());
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.Message().find("70ft-per-inch"), std::string::npos) << unknown.Message();
}

TEST(SafetyRule, BadFilesAreRefusedSayingWhy) {
  struct Case {
    const char* Text;
    const char* Says;
  };
  const Case cases[] = {
      {"", "not valid JSON"},
      {"[1]", "JSON object"},
      {R"({"name": "x", "title": "t", "source": "s"})", "\"metres_per_mm\" is missing"},
      {R"({"name": "x", "title": "t", "source": "s", "metres_per_mm": 0})", "above 0"},
      {R"({"name": "x", "title": "t", "source": "s", "metres_per_mm": 1e400})", "not valid JSON"},
      {R"({"name": "x", "title": "t", "source": "s", "metres_per_mm": "1"})", "must be a number"},
      {R"({"name": "x", "title": "t", "source": "s", "metres_per_mm": 1, "minimum_m": -1})", "0 or more"},
      {R"({"name": "x", "title": "t", "source": "s", "metres_per_mm": 1, "colour": 1})", "unknown field"},
      {R"({"name": "a/b", "title": "t", "source": "s", "metres_per_mm": 1})", "\"name\""},
      {R"({"name": "x", "title": {"a": [1]}, "source": "s", "metres_per_mm": 1})", "nested too deeply"},
  };
  for (const Case& c : cases) {
    const Result<SafetyRule> read = ReadSafetyRule(c.Text, "rule.json");
    ASSERT_FALSE(read) << c.Text;
    EXPECT_NE(read.Message().find(c.Says), std::string::npos) << c.Text << " -> " << read.Message();
    EXPECT_EQ(read.Message().rfind("rule.json: ", 0), 0u) << read.Message();
  }
  EXPECT_FALSE(ReadSafetyRule(std::string(kMaxSafetyRuleBytes + 1, ' '), "rule.json"));
}

}  // namespace
}  // namespace orvane
