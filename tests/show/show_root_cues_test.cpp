#include "show/show_root_cues.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::vector<Cue> CuesOnLines(size_t count) {
  std::vector<Cue> cues(count);
  for (size_t i = 0; i < count; ++i) cues[i].Line = static_cast<int>(i) + 2;
  return cues;
}

std::vector<CueExtent> Culled(size_t count, const std::vector<size_t>& culled) {
  std::vector<CueExtent> extents(count);
  for (size_t i : culled) extents[i].Culled = 10 * i + 1;
  return extents;
}

TEST(CulledCuesWarning, NamesTheLinesOfTheCuesWhoseParticlesLeftTheRange) {
  const std::string range = " left the range a show file can store (-10.92 to 10.92 scene units from the origin)";
  EXPECT_FALSE(CulledCuesWarning(CuesOnLines(3), Culled(3, {}), "cues.csv"));
  EXPECT_EQ(CulledCuesWarning(CuesOnLines(3), Culled(3, {1}), "cues.csv"),
            "Particles of the cue at cues.csv line 3" + range + " and are not shown there.");
  EXPECT_EQ(CulledCuesWarning(CuesOnLines(4), Culled(4, {0, 3}), "list.csv"),
            "Particles of the cues at list.csv lines 2, 5" + range + " and are not shown there.");
  std::vector<size_t> many(14);
  for (size_t i = 0; i < many.size(); ++i) many[i] = i;
  const auto named = CulledCuesWarning(CuesOnLines(14), Culled(14, many), "cues.csv");
  ASSERT_TRUE(named);
  EXPECT_NE(named->find("lines 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 and 4 more left"), std::string::npos) << *named;
}

}  // namespace
}  // namespace orvane
