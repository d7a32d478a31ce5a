#include "ui/context_check.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ContextCheck, TheFirstFailingStepNamesTheMessage) {
  ContextFacts facts{true, true, true, true, true};
  EXPECT_FALSE(ContextFailure(facts));
  facts.ContextCurrent = false;
  EXPECT_EQ(ContextFailure(facts), "Unable to activate OpenGL rendering context.");
  facts.ContextCreated = false;
  EXPECT_EQ(ContextFailure(facts), "Unable to create an OpenGL rendering context.");
  facts.FormatSet = false;
  EXPECT_EQ(ContextFailure(facts), "Unable to set the pixel format.");
  facts.FormatFound = false;
  EXPECT_EQ(ContextFailure(facts), "Unable to find a suitable pixel format.");
  facts.HasWindow = false;
  EXPECT_EQ(ContextFailure(facts), "Unable to get a device context.");
}

}  // namespace
}  // namespace orvane
