// A product's chain taken from a list and copied under codes another list does not use.

#include "model/device_chain.h"

#include <gtest/gtest.h>

#include <set>

#include "support/form_device.h"

namespace orvane {
namespace {

TBaseDevice Linked(int32_t code, int32_t effect = -1, int32_t star = -1) {
  TBaseDevice d = testing::FormDevice(code);
  d.NextEffExists = effect >= 0;
  d.NextEffCode = std::max(effect, 0);
  d.NextEffStart = effect >= 0 ? 30 : 0;
  d.NextParExists = star >= 0;
  d.NextParCode = std::max(star, 0);
  d.NextParStart = star >= 0 ? 100 : 0;
  return d;
}

DeviceRecords List(const std::vector<TBaseDevice>& devices) {
  DeviceRecords records;
  for (const TBaseDevice& d : devices) records.push_back(std::make_unique<TBaseDevice>(d));
  return records;
}

std::vector<int32_t> Codes(const std::vector<TBaseDevice>& chain) {
  std::vector<int32_t> codes;
  for (const TBaseDevice& d : chain) codes.push_back(d.Definition.Code);
  return codes;
}

TEST(DeviceChain, TakesWhatTheRootReachesRootFirstThenInListOrder) {
  // 5 -> 7 (per star) -> 2 (effect) -> 7 again; 9 stands alone; 3 chains to a missing 40.
  const DeviceRecords list = List({Linked(2, 7), Linked(9), Linked(7, 2), Linked(5, -1, 7), Linked(3, 40), Linked(7)});
  EXPECT_EQ(Codes(ChainFrom(list, 5)), (std::vector<int32_t>{5, 2, 7}));
  EXPECT_EQ(ChainFrom(list, 5)[2].NextEffCode, 2) << "the first device of a code is the one chained to";
  EXPECT_EQ(Codes(ChainFrom(list, 3)), (std::vector<int32_t>{3}));
  EXPECT_EQ(Codes(ChainFrom(list, 9)), (std::vector<int32_t>{9}));
  EXPECT_TRUE(ChainFrom(list, 11).empty());
}

TEST(DeviceChain, RenumbersAroundTakenCodesAndRelinks) {
  std::vector<TBaseDevice> chain = {Linked(101, 103, 102), Linked(102, -1, 104), Linked(103), Linked(104, 999)};
  const std::set<int32_t> taken = {101, 102, 105};
  ASSERT_TRUE(RenumberChain(
                  chain, [&](int32_t c) { return taken.count(c) != 0; }, 100)
                  .Ok());
  EXPECT_EQ(Codes(chain), (std::vector<int32_t>{100, 103, 104, 106}));
  EXPECT_EQ(chain[0].NextEffCode, 104);
  EXPECT_EQ(chain[0].NextParCode, 103);
  EXPECT_EQ(chain[1].NextParCode, 106);
  // 999 was not in the chain: where it came from it started nothing, and here it must not
  // start whatever device has that code.
  EXPECT_FALSE(chain[3].NextEffExists);
  EXPECT_EQ(chain[3].NextEffCode, 0);
  EXPECT_EQ(chain[3].NextEffStart, 0);
}

TEST(DeviceChain, RunningOutOfCodesChangesNothing) {
  std::vector<TBaseDevice> chain = {Linked(1, 2), Linked(2)};
  const std::vector<TBaseDevice> before = chain;
  const Result<> full = RenumberChain(
      chain, [](int32_t c) { return c != 7; }, 0);
  ASSERT_FALSE(full.Ok());
  EXPECT_NE(full.Message().find("No free device codes"), std::string::npos) << full.Message();
  EXPECT_EQ(Codes(chain), Codes(before));
  EXPECT_FALSE(RenumberChain(
                   chain, [](int32_t) { return false; }, std::numeric_limits<int32_t>::max())
                   .Ok());
  EXPECT_TRUE(RenumberChain(
                  chain, [](int32_t) { return false; }, -50)
                  .Ok());
  EXPECT_EQ(Codes(chain), (std::vector<int32_t>{0, 1})) << "codes start at 0 at the lowest";
}

}  // namespace
}  // namespace orvane
