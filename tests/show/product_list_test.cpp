// products.csv, the calibre rule and break times.

#include "show/product_list.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"
#include "show/break_time.h"
#include "show/calibre_rule.h"
#include "support/form_device.h"

namespace orvane {
namespace {

const DeviceRecords& Devices() {
  static const DeviceRecords devices = [] {
    DeviceRecords list;
    for (int32_t code : {101, 201, 301}) {
      auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
      EXPECT_TRUE(PrepareCompiledPart(*d));
      list.push_back(std::move(d));
    }
    return list;
  }();
  return devices;
}

Result<ProductTable> Read(const std::string& text) { return ReadProducts(text, "products.csv", &Devices()); }

TEST(Products, ReadsEveryColumnInAnyOrderAndCase) {
  const Result<ProductTable> r = Read(
      "Name,CODE,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,stock\n"
      "\"75 mm red peony, large\",101,Shell,75,,2.5,3.16,red to green,Orvane Works,P-75,12.50,40\n"
      "cake,201,cake,30,25,20,,gold+silver,,,99,0\n"
      "plain,301,,,,,,,,,,\n");
  ASSERT_TRUE(r) << r.Message();
  const ProductTable& t = r.Value();
  ASSERT_EQ(t.Rows.size(), 3u);
  const Product& shell = t.Rows[0];
  EXPECT_EQ(shell.Code, 101);
  EXPECT_EQ(shell.Name, "75 mm red peony, large");
  EXPECT_EQ(shell.Type, ProductType::kShell);
  EXPECT_EQ(shell.CalibreMm, 75.0);
  EXPECT_FALSE(shell.Shots);
  EXPECT_EQ(shell.DurationS, 2.5);
  EXPECT_EQ(shell.PrefireMs, 3160);
  EXPECT_EQ(shell.Colours, "red to green");
  EXPECT_EQ(shell.Maker, "Orvane Works");
  EXPECT_EQ(shell.PartNumber, "P-75");
  EXPECT_EQ(shell.Price, 12.5);
  EXPECT_EQ(shell.Stock, 40);
  EXPECT_EQ(shell.Line, 2);
  EXPECT_EQ(t.Rows[1].Shots, 25);
  EXPECT_FALSE(t.Rows[1].PrefireMs);  // measured
  EXPECT_EQ(t.Rows[1].Stock, 0);
  EXPECT_EQ(t.Rows[2].Type, ProductType::kOther);
  EXPECT_EQ(FindProduct(t, 201), &t.Rows[1]);
  EXPECT_EQ(FindProduct(t, 999), nullptr);
}

TEST(Products, UnknownColumnsAndEveryValueSurviveASave) {
  const std::string text =
      "supplier,code,name, Notes ,type\n"
      "\"Harbour, Ltd\",101,\" spaced \",\"two\nlines\",mine\n"
      "X,301,comet,,comet\n";
  const Result<ProductTable> r = Read(text);
  ASSERT_TRUE(r) << r.Message();
  EXPECT_EQ(r.Value().ExtraColumns, (std::vector<std::string>{"supplier", "Notes"}));
  EXPECT_EQ(r.Value().Rows[0].Extra, (std::vector<std::string>{"Harbour, Ltd", "two\nlines"}));
  const std::string saved = ProductsText(r.Value());
  EXPECT_EQ(
      saved.substr(0, saved.find('\n')),
      "code,name,type,calibre_mm,shots,duration_s,prefire_s,colours,maker,part_number,price,stock,supplier,Notes");
  const Result<ProductTable> back = Read(saved);
  ASSERT_TRUE(back) << back.Message();
  ProductTable a = r.Value(), b = back.Value();
  for (Product& p : a.Rows) p.Line = 0;
  for (Product& p : b.Rows) p.Line = 0;
  EXPECT_EQ(a, b);
  EXPECT_EQ(ProductsText(b), saved);
}

TEST(Products, BadRowsAreRefusedWithLineAndColumnAndNothingIsKept) {
  const std::string header = "code,name,type,calibre_mm,shots,duration_s,prefire_s,price,stock\n";
  const std::string good = "101,a,shell,75,,,,,\n";
  const struct {
    std::string rows;
    const char* message;
  } cases[] = {
      {"102,b,shell,75,,,,,\n", "line 3: code 102 names no device of the show"},
      {"abc,b,shell,75,,,,,\n", "line 3: code \"abc\" is not a device code"},
      {",b,shell,75,,,,,\n", "line 3: code is empty"},
      {"101,again,shell,75,,,,,\n", "line 3: code 101 has a product on line 2 already"},
      {"201,b,bomb,75,,,,,\n",
       "line 3: type \"bomb\" is not shell, comet, mine, cake, candle, fountain, rocket or other"},
      {"201,b,shell,-75,,,,,\n", "line 3: calibre_mm \"-75\" is not a number of millimetres above 0"},
      {"201,b,shell,0,,,,,\n", "line 3: calibre_mm \"0\" is not a number of millimetres above 0"},
      {"201,b,shell,nan,,,,,\n", "line 3: calibre_mm \"nan\" is not a number of millimetres above 0"},
      {"201,b,cake,50,0,,,,\n", "line 3: shots \"0\" is not a whole number above 0"},
      {"201,b,cake,50,2.5,,,,\n", "line 3: shots \"2.5\" is not a whole number above 0"},
      {"201,b,cake,50,$10,,,,\n", "line 3: shots \"$10\" is not a whole number above 0"},
      {"201,b,cake,50,,-1,,,\n", "line 3: duration_s \"-1\" is not a number of seconds from 0"},
      {"201,b,cake,50,,,-0.5,,\n", "line 3: prefire_s \"-0.5\" is not a number of seconds from 0 (empty: measured)"},
      {"201,b,cake,50,,,,12€,\n", "line 3: price \"12€\" is not a price from 0 (digits with \".\" for the decimals)"},
      {"201,b,cake,50,,,,inf,\n", "line 3: price \"inf\" is not a price from 0 (digits with \".\" for the decimals)"},
      {"201,b,cake,50,,,,,-3\n", "line 3: stock \"-3\" is not a whole number from 0"},
      {"201,\"b,cake\n", "line 3: a quoted field is not closed"},
  };
  for (const auto& c : cases) {
    const Result<ProductTable> r = Read(header + good + c.rows);
    ASSERT_FALSE(r) << c.rows;
    EXPECT_EQ(r.Message(), "products.csv " + std::string(c.message) + ".") << c.rows;
  }
  const Result<ProductTable> noCode = Read("name,type\nx,shell\n");
  ASSERT_FALSE(noCode);
  EXPECT_EQ(noCode.Message(), "products.csv line 1: the header has no \"code\" column.");
  EXPECT_FALSE(Read(""));
  // Without devices, codes are only read.
  EXPECT_TRUE(ReadProducts(header + "999,x,,,,,,,\n", "products.csv", nullptr));
}

TEST(CalibreRule, ThirtyMetresPerInchUpTo150MillimetresThenLessThanLinear) {
  const struct {
    double calibre;
    std::optional<double> height;
  } cases[] = {{25, 30.0},        {75, 90.0},         {150, 180.0},       {300, 330.0},
               {0, std::nullopt}, {-5, std::nullopt}, {301, std::nullopt}};
  for (const auto& c : cases) {
    const std::optional<double> h = CalibreRuleHeight(c.calibre);
    ASSERT_EQ(h.has_value(), c.height.has_value()) << c.calibre;
    if (h) {
      EXPECT_NEAR(*h, *c.height, 1e-9) << c.calibre;
    }
  }
  EXPECT_FALSE(OffCalibreRule(90 * 1.25, 75));
  EXPECT_TRUE(OffCalibreRule(90 * 1.26, 75));
  EXPECT_FALSE(OffCalibreRule(90 * 0.75, 75));
  EXPECT_TRUE(OffCalibreRule(90 * 0.74, 75));
  EXPECT_FALSE(OffCalibreRule(5, 500));  // the rule says nothing there
  Product shell;
  ProductFigures aloft;
  aloft.Broke = true;
  aloft.BreakHeight = 80;
  EXPECT_FALSE(CalibreRuleApplies(shell, aloft));  // no calibre
  shell.CalibreMm = 75;
  EXPECT_TRUE(CalibreRuleApplies(shell, aloft));
  ProductFigures atFiring = aloft;
  atFiring.BreakHeight = 0.5;
  EXPECT_FALSE(CalibreRuleApplies(shell, atFiring));
  ProductFigures never;
  EXPECT_FALSE(CalibreRuleApplies(shell, never));
  shell.CalibreMm = 400;
  EXPECT_FALSE(CalibreRuleApplies(shell, aloft));
}

TEST(BreakTime, TypedPrefireWinsOverTheMeasuredOneAndFireIsBreakLessPrefire) {
  Product typed;
  typed.PrefireMs = 3160;
  const Product measured;
  EXPECT_EQ(PrefireMs(&typed, 2000), 3160);
  EXPECT_EQ(PrefireMs(&measured, 2000), 2000);
  EXPECT_EQ(PrefireMs(nullptr, 2000), 2000);
  EXPECT_EQ(PrefireMs(nullptr, std::nullopt), 0);
  EXPECT_EQ(BreakTimeMs(69340, 3160), 72500);
  const Result<int64_t> fire = FireTimeForBreak(72500, 3160);
  ASSERT_TRUE(fire);
  EXPECT_EQ(fire.Value(), 69340);
  EXPECT_EQ(FireTimeForBreak(3160, 3160).ValueOr(-1), 0);
  const Result<int64_t> early = FireTimeForBreak(1200, 3160);
  ASSERT_FALSE(early);
  EXPECT_EQ(early.Message(), "a break at 1.200 s would fire the cue before the show starts (its prefire is 3.160 s)");
  EXPECT_FALSE(FireTimeForBreak(int64_t{90'000} * 1000 * 1000, 0));
}

}  // namespace
}  // namespace orvane
