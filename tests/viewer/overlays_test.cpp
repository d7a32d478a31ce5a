// Overlay lines: slots, fade-in and fade-out, freeing.

#include <gtest/gtest.h>

#include <vector>

#include "viewer/font_service.h"
#include "viewer/overlays.h"

namespace orvane {
namespace {

std::vector<float> DrawnAlphas(OverlayList& list, int passes) {
  std::vector<float> alphas;
  for (int i = 0; i < passes; ++i) {
    list.DrawAndFade([&alphas](const TTextAtt& line) { alphas.push_back(line.Alpha); });
  }
  return alphas;
}

TEST(Overlays, StepPointTwoIsOpaqueOnTheSixthDrawnFrame) {
  OverlayList list;
  OverlaySlot slot = nullptr;
  list.AddOverlay("PAUSE", 10, 25, 0, 1, 0, 0, 0.2f, slot);
  const std::vector<float> alphas = DrawnAlphas(list, 7);
  const float expected[] = {0, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 1.0f};
  ASSERT_EQ(alphas.size(), 7u);
  for (size_t i = 0; i < alphas.size(); ++i) EXPECT_NEAR(alphas[i], expected[i], 1e-6) << i;
  EXPECT_EQ(alphas[5], 1.0f) << "capped exactly at 1";
}

TEST(Overlays, FadeOutDrawsTheLastPositiveAlphaThenFrees) {
  OverlayList list;
  OverlaySlot slot = nullptr;
  list.AddOverlay("x", 0, 0, 1, 1, 1, 1, 0.5f, slot);
  list.RemoveOverlay(slot);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(DrawnAlphas(list, 1), std::vector<float>{1.0f});
  EXPECT_EQ(DrawnAlphas(list, 1), std::vector<float>{0.5f});
  EXPECT_TRUE(list.Empty()) << "freed in the pass that reached 0";
}

TEST(Overlays, SlotKeepsItsLineUniqueAndEmptySlotRemovesNothing) {
  OverlayList list;
  OverlaySlot slot = nullptr, other = nullptr;
  list.AddOverlay("first", 1, 2, 1, 0, 0, 0, 0.1f, slot);
  TTextAtt* held = slot;
  list.AddOverlay("second", 3, 4, 0, 1, 0, 0, 0.1f, slot);
  EXPECT_EQ(list.Size(), 1u);
  EXPECT_EQ(slot, held);
  EXPECT_EQ(list.At(0).Text, "first");
  list.RemoveOverlay(other);
  EXPECT_FALSE(list.At(0).FadingOut);
  list.AddOverlay("third", 0, 0, 0, 0, 1, 0, 0.1f, other);
  EXPECT_EQ(list.Size(), 2u);
}

TEST(Overlays, SlotWhoseLineWasFreedIsLeftUnchanged) {
  OverlayList list;
  OverlaySlot slot = nullptr;
  list.AddOverlay("gone", 0, 0, 1, 1, 1, 0, 1, slot);
  OverlaySlot stale = slot;
  list.RemoveOverlay(slot);
  DrawnAlphas(list, 1);
  ASSERT_TRUE(list.Empty());
  list.RemoveOverlay(stale);  // must not touch the freed line
  EXPECT_NE(stale, nullptr);
}

TEST(Overlays, DrawsLastAddedFirst) {
  OverlayList list;
  OverlaySlot a = nullptr, b = nullptr;
  list.AddOverlay("a", 0, 0, 1, 1, 1, 1, 0, a);
  list.AddOverlay("b", 0, 0, 1, 1, 1, 1, 0, b);
  std::vector<std::string> order;
  list.DrawAndFade([&order](const TTextAtt& line) { order.push_back(line.Text); });
  EXPECT_EQ(order, (std::vector<std::string>{"b", "a"}));
}

TEST(OverlayText, CharactersOutsideTheFontBecomeQuestionMarks) {
  EXPECT_EQ(OverlayText("Caf\xc3\xa9\t~\x7f"), "Caf???~\x7f");
}

}  // namespace
}  // namespace orvane
