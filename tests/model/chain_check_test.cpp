#include "model/chain_check.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct Links {
  int code;
  int effect = -1;  // -1: box off
  int star = -1;
};

DeviceRecords List(std::initializer_list<Links> links) {
  DeviceRecords devices;
  for (const Links& s : links) {
    auto d = std::make_unique<TBaseDevice>();
    d->Definition.Code = s.code;
    d->NextEffExists = s.effect >= 0;
    d->NextEffCode = s.effect >= 0 ? s.effect : 0;
    d->NextParExists = s.star >= 0;
    d->NextParCode = s.star >= 0 ? s.star : 0;
    devices.push_back(std::move(d));
  }
  return devices;
}

TEST(HasRecursion, SelfLinks) {
  EXPECT_TRUE(HasRecursion(List({{1}, {5, -1, 5}})));
  EXPECT_TRUE(HasRecursion(List({{5, 5}})));
  // A code left in a box that is off is no link.
  DeviceRecords off = List({{5}});
  off[0]->NextEffCode = 5;
  off[0]->NextParCode = 5;
  EXPECT_FALSE(HasRecursion(off));
}

TEST(HasRecursion, TwoDeviceCycleInEitherOrder) {
  EXPECT_TRUE(HasRecursion(List({{1, 2}, {2, -1, 1}})));
  EXPECT_TRUE(HasRecursion(List({{2, -1, 1}, {1, 2}})));
}

TEST(HasRecursion, LongerCycles) {
  EXPECT_TRUE(HasRecursion(List({{1, 2}, {2, 3}, {3, -1, 1}})));
  EXPECT_TRUE(HasRecursion(List({{3, 1}, {2, 3}, {1, 2}})));
  EXPECT_TRUE(HasRecursion(List({{1, -1, 2}, {3, 1}, {2, 3}})));
}

TEST(HasRecursion, ChainsThatEnd) {
  EXPECT_FALSE(HasRecursion({}));
  EXPECT_FALSE(HasRecursion(List({{1}, {2}})));
  EXPECT_FALSE(HasRecursion(List({{1, 2, 3}, {2, 4}, {3, -1, 4}, {4}})));
  // A link to a code no device has.
  EXPECT_FALSE(HasRecursion(List({{1, 99}})));
  // Device 2 has both boxes off, so it ends the chain even though it shares a code.
  EXPECT_FALSE(HasRecursion(List({{1, 2}, {2}})));
  // Two devices linking to the same one.
  EXPECT_FALSE(HasRecursion(List({{1, 3}, {2, 3}, {3}})));
}

}  // namespace
}  // namespace orvane
