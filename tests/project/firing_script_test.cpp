// Addresses, checks and the script's text.

#include "project/firing_script.h"

#include <gtest/gtest.h>

#include "project/firing_checks.h"
#include "project/rehearsal.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

Cue At(int64_t ms, const std::string& position, int line, std::optional<int32_t> module = {},
       std::optional<int32_t> pin = {}) {
  Cue cue;
  cue.TimeMs = ms;
  cue.Code = 101;
  cue.Position = position;
  cue.Line = line;
  cue.Module = module;
  cue.Pin = pin;
  return cue;
}

ShowSite SiteAB() {
  ShowSite site;
  site.Positions = {{"A", -60, 0, std::nullopt}, {"B", 40, 20, std::nullopt}};
  return site;
}

FiringProfile Small() {
  FiringProfile p;
  p.Name = "small";
  p.PinsPerModule = 2;
  p.Modules = 5;
  p.Columns = {{"T", ScriptField::kIgnitionTime},
               {"M", ScriptField::kModule},
               {"P", ScriptField::kPin},
               {"L", ScriptField::kLabel}};
  return p;
}

struct Show {
  std::vector<Cue> Cues;
  ShowSite Site = SiteAB();
  ProductTable Products;
  FiringScriptPlan Plan(const FiringProfile& profile) const {
    return PlanFiringScript({Cues, CueTableContext{Site, Products, nullptr, {}}, "Night", "2026-12-09"}, profile);
  }
};

TEST(FiringAddresses, EachPositionStartsOnAFreeModuleAndFillsPinsInTimeOrder) {
  // B comes after A on the site, whatever the file's order; cue 5 keeps its given module 2,
  // which the assignment then leaves alone.
  const std::vector<Cue> cues = {At(3000, "B", 2),     At(1000, "A", 3), At(500, "A", 4), At(2000, "A", 5),
                                 At(100, "", 6, 2, 7), At(0, "", 7),     At(50, "Z", 8)};
  FiringProfile p = Small();
  p.Modules = 6;
  const AddressPlan plan = AssignAddresses(cues, SiteAB(), p);
  ASSERT_FALSE(plan.Error) << *plan.Error;
  EXPECT_EQ(plan.AssignedCount, 6u);
  const std::vector<CueAddress> expected = {
      {4, 1, true},                               // B after A's two modules (2 is given)
      {1, 2, true},                               // A: 500 ms, then 1000 ms, then 2000 ms
      {1, 1, true}, {3, 1, true}, {2, 7, false},  // as cues.csv gives it
      {6, 1, true},                               // no position: last
      {5, 1, true},                               // a name the site lacks: after the site's
  };
  EXPECT_EQ(plan.Addresses, expected);
}

TEST(FiringAddresses, RunningOutOfModulesIsRefusedNamingTheCue) {
  FiringProfile p = Small();
  p.Modules = 1;
  const AddressPlan plan = AssignAddresses({At(0, "A", 2), At(1, "A", 3), At(2, "A", 4)}, SiteAB(), p);
  ASSERT_TRUE(plan.Error);
  EXPECT_EQ(*plan.Error,
            "The profile's 1 modules of 2 pins are all used before position \"A\" gets its addresses (from cues.csv "
            "line 4).");
}

TEST(FiringAddresses, WritingBackIsOneChangeThatUndoes) {
  std::vector<Cue> cues = {At(0, "A", 2), At(10, "A", 3, 4, 1), At(20, "B", 4)};
  const std::vector<Cue> before = cues;
  const AddressPlan plan = AssignAddresses(cues, SiteAB(), Small());
  const CueListChange change = WriteAddressesChange(cues, plan.Addresses);
  EXPECT_EQ(change.Added.size(), 2u);
  ApplyChange(cues, change);
  ASSERT_EQ(cues.size(), 3u);
  for (size_t i = 0; i < cues.size(); ++i) {
    EXPECT_EQ(cues[i].Module, plan.Addresses[i].Module) << i;
    EXPECT_EQ(cues[i].Pin, plan.Addresses[i].Pin) << i;
    EXPECT_EQ(cues[i].TimeMs, before[i].TimeMs) << i;
  }
  // Addressed now, the cues get the same addresses again.
  EXPECT_EQ(AssignAddresses(cues, SiteAB(), Small()).AssignedCount, 0u);
  RevertChange(cues, change);
  EXPECT_EQ(cues, before);
}

TEST(FiringChecks, EachProblemNamesTheCueLines) {
  FiringProfile p = Small();
  p.MinSpacingMs = 100;
  p.MaxShowLengthMs = 60'000;
  const struct {
    std::vector<Cue> cues;
    std::vector<std::string> problems;
  } cases[] = {
      {{At(0, "A", 2, 1, 1), At(500, "B", 9, 1, 1)}, {"cues.csv lines 2 and 9: both fire module 1 pin 1."}},
      {{At(0, "A", 2, 1, 1), At(99, "B", 3, 1, 2)},
       {"cues.csv lines 2 and 3: module 1 fires at 0.000 s and 0.099 s, less than the profile's 100 ms apart."}},
      {{At(0, "A", 2, 1, 1), At(100, "B", 3, 1, 2), At(100, "B", 4, 2, 1)}, {}},
      {{At(0, "A", 2, 6, 1)}, {"cues.csv line 2: module 6 is outside the profile's modules 1 to 5."}},
      {{At(0, "A", 2, 0, 3)},
       {"cues.csv line 2: module 0 is outside the profile's modules 1 to 5.",
        "cues.csv line 2: pin 3 is outside the profile's pins 1 to 2."}},
      {{At(60'001, "A", 5)}, {"cues.csv line 5: fires at 60.001 s, past the profile's longest show of 60 s."}},
      {{At(-1, "A", 5)}, {"cues.csv line 5: fires at -0.001 s, before the show starts."}},
  };
  for (const auto& c : cases) {
    const Show show{c.cues};
    const FiringScriptPlan plan = show.Plan(p);
    EXPECT_EQ(plan.Problems, c.problems) << c.cues.size();
    EXPECT_EQ(plan.Bytes.empty(), !c.problems.empty());
  }
}

TEST(FiringChecks, MinimumSpacingUsesTheRoundedTimes) {
  FiringProfile p = Small();
  p.MinSpacingMs = 100;
  p.ResolutionMs = 100;
  // 949 ms and 1040 ms are 91 ms apart, but fire at 0.9 s and 1.0 s.
  const Show apart{{At(949, "A", 2, 1, 1), At(1040, "A", 3, 1, 2)}};
  EXPECT_TRUE(apart.Plan(p).Problems.empty());
  // Both fire at 1.0 s.
  const Show together{{At(960, "A", 2, 1, 1), At(1040, "A", 3, 1, 2)}};
  EXPECT_EQ(
      together.Plan(p).Problems,
      std::vector<std::string>{
          "cues.csv lines 2 and 3: module 1 fires at 1.000 s and 1.000 s, less than the profile's 100 ms apart."});
}

TEST(FiringChecks, ManyProblemsEndInACount) {
  std::vector<Cue> cues;
  for (int i = 0; i < 60; ++i) cues.push_back(At(i * 1000, "A", i + 2, 1, 1));
  const FiringScriptPlan plan = Show{cues}.Plan(Small());
  ASSERT_EQ(plan.Problems.size(), kMaxScriptProblems + 1);
  EXPECT_EQ(plan.Problems.back(), "... and 9 more.");
}

TEST(FiringScript, WritesHeaderLinesColumnsAndRoundedTimes) {
  FiringProfile p = Small();
  p.TimeFormat = ScriptTimeFormat::kSeconds;
  p.TimeDecimals = 1;
  p.ResolutionMs = 100;
  p.DecimalSeparator = ',';
  p.Delimiter = ';';
  p.Crlf = true;
  p.HeaderLines = {"{title} ({profile}), {date}: {cue_count} cues to {length}"};
  Show show{{At(1250, "A", 2), At(40, "B", 3), At(1249, "A", 4)}};
  show.Cues[0].Label = "left; \"big\"";
  const FiringScriptPlan plan = show.Plan(p);
  ASSERT_FALSE(plan.Refused()) << plan.Problems.front();
  EXPECT_EQ(plan.Bytes,
            "Night (small), 2026-12-09: 3 cues to 1,3\r\n"
            "T;M;P;L\r\n"
            "0,0;2;1;\r\n"
            "1,2;1;1;\r\n"
            "1,3;1;2;\"left; \"\"big\"\"\"\r\n");
  EXPECT_DOUBLE_EQ(plan.LargestRoundingMs, 50);
  EXPECT_EQ(plan.LargestRoundingLine, 2);
  const std::string report = FiringScriptReport(plan);
  EXPECT_NE(report.find("addresses assigned: 3\n"), std::string::npos) << report;
  EXPECT_NE(report.find("largest rounding: 50.000 ms (cues.csv line 2)"), std::string::npos) << report;
  // By address instead.
  p.Sort = ScriptSort::kAddress;
  const std::string byAddress = show.Plan(p).Bytes;
  EXPECT_NE(byAddress.find("1,2;1;1;\r\n1,3;1;2;"), std::string::npos) << byAddress;
  EXPECT_LT(byAddress.find("1,3;1;2"), byAddress.find("0,0;2;1"));
}

TEST(FiringScript, Latin1RefusesWhatItCannotHold) {
  FiringProfile p = Small();
  p.Encoding = ScriptEncoding::kLatin1;
  Show show{{At(0, "A", 2), At(10, "A", 3)}};
  show.Cues[0].Label = "caf\xC3\xA9";     // é: held
  show.Cues[1].Label = "5 \xE2\x82\xAC";  // €: not
  FiringScriptPlan plan = show.Plan(p);
  ASSERT_EQ(plan.Problems.size(), 1u);
  EXPECT_EQ(plan.Problems[0],
            "cues.csv line 3: the label holds \"\xE2\x82\xAC\", which ISO-8859-1 cannot hold; choose a UTF-8 profile "
            "or change the text.");
  EXPECT_TRUE(plan.Bytes.empty());
  EXPECT_FALSE(WriteFiringScript("/nonexistent/never.csv", plan));
  show.Cues[1].Label = "\xFF";
  EXPECT_EQ(show.Plan(p).Problems.at(0),
            "cues.csv line 3: the label is not UTF-8 text; choose a UTF-8 profile or change the text.");
  show.Cues[1].Label = "ok";
  plan = show.Plan(p);
  ASSERT_FALSE(plan.Refused());
  EXPECT_NE(plan.Bytes.find("caf\xE9\n"), std::string::npos);
}

TEST(FiringScript, SubtitlesAreNumberedTimedEntries) {
  FiringProfile p = Small();
  p.Layout = ScriptLayout::kSubtitles;
  p.TimeFormat = ScriptTimeFormat::kSubtitleClock;
  p.SubtitleMs = 1000;
  p.Columns = {{"", ScriptField::kPosition}, {"", ScriptField::kProductName}, {"pin", ScriptField::kPin}};
  Show show{{At(61'500, "A", 2), At(250, "", 3)}};
  show.Products.Rows.push_back(Product{.Code = 101, .Name = "Red peony"});
  const FiringScriptPlan plan = show.Plan(p);
  ASSERT_FALSE(plan.Refused());
  EXPECT_EQ(plan.Bytes,
            "1\n00:00:00,250 --> 00:00:01,250\nRed peony, pin 1\n\n"
            "2\n00:01:01,500 --> 00:01:02,500\nA, Red peony, pin 1\n\n");
}

TEST(Rehearsal, CountsDownToTheNextIgnitionsSoonestFirst) {
  Show show{{At(3000, "B", 2), At(1000, "A", 3), At(1000, "A", 4), At(500, "A", 5)}};
  show.Products.Rows.push_back(Product{.Code = 101, .Name = "Red peony"});
  const CueTableContext context{show.Site, show.Products, nullptr, {}};
  const AddressPlan plan = AssignAddresses(show.Cues, show.Site, Small());
  const std::vector<RehearsalIgnition> next = NextIgnitions(show.Cues, plan.Addresses, context, 600, 2);
  ASSERT_EQ(next.size(), 2u);
  EXPECT_EQ(next[0].ToGoMs, 400);
  EXPECT_EQ(next[0].Module, plan.Addresses[1].Module);
  EXPECT_EQ(next[0].Pin, plan.Addresses[1].Pin);
  EXPECT_EQ(next[1].Pin, plan.Addresses[2].Pin);
  EXPECT_EQ(RehearsalText(next),
            "   0.4 s   module 1 pin 2   Red peony (A)\n   0.4 s   module 2 pin 1   Red peony (A)\n");
  // An ignition at the moment is still to come; after the last, nothing is.
  EXPECT_EQ(NextIgnitions(show.Cues, plan.Addresses, context, 3000, 5).size(), 1u);
  EXPECT_TRUE(NextIgnitions(show.Cues, plan.Addresses, context, 3001, 5).empty());
}

}  // namespace
}  // namespace orvane
