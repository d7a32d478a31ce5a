#include "util/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvane {
namespace {

Result<int> Half(int value) {
  if (value % 2 != 0) return Fail(std::to_string(value) + " is odd.");
  return value / 2;
}

Result<> CheckPositive(int value) {
  if (value <= 0) return Fail("not positive");
  return {};
}

TEST(Result, CarriesTheValueOrTheMessage) {
  const Result<int> half = Half(8);
  ASSERT_TRUE(half.Ok());
  EXPECT_EQ(half.Value(), 4);
  EXPECT_EQ(half.ValueOr(-1), 4);

  const Result<int> odd = Half(7);
  ASSERT_FALSE(odd);
  EXPECT_EQ(odd.Message(), "7 is odd.");
  EXPECT_EQ(odd.ValueOr(-1), -1);
}

TEST(Result, VoidFormAndMoveOnlyValues) {
  EXPECT_TRUE(CheckPositive(3).Ok());
  const Result<> refused = CheckPositive(0);
  ASSERT_FALSE(refused.Ok());
  EXPECT_EQ(refused.Message(), "not positive");

  // A string value and a failure are told apart by type, not by content.
  const Result<std::string> empty_text = std::string();
  EXPECT_TRUE(empty_text.Ok());

  Result<std::unique_ptr<int>> owned = std::make_unique<int>(5);
  ASSERT_TRUE(owned.Ok());
  std::unique_ptr<int> taken = std::move(owned.Value());
  EXPECT_EQ(*taken, 5);
}

}  // namespace
}  // namespace orvane
