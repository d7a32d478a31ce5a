// The cue table in metres, products and break times, and its edits.

#include "show/cue_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "compiler/compiled_device_prep.h"
#include "model/timeline_view.h"
#include "show/show_root_cues.h"
#include "support/form_device.h"

namespace orvane {
namespace {

struct Table {
  Table() {
    for (int32_t code : {101, 201}) {
      auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
      d->BestY = -2.0f;
      EXPECT_TRUE(PrepareCompiledPart(*d));
      Devices.push_back(std::move(d));
    }
    Site.Positions = {{"A", -50, 0, std::nullopt}, {"B", 10.1, 20, 5.0}};
    Product shell;
    shell.Code = 101;
    shell.Name = "Orange shell";
    shell.Type = ProductType::kShell;
    shell.CalibreMm = 50;
    Products.Rows.push_back(shell);
    Product comet;
    comet.Code = 201;
    comet.Name = "Green comet";
    comet.Type = ProductType::kComet;
    comet.PrefireMs = 400;
    Products.Rows.push_back(comet);
    // Cues sorted by fire time, as the window keeps them.
    Cues = {{2000, 101, std::nullopt, std::nullopt, std::nullopt, "at A", 2, "A"},
            {5000, 201, 0.505f, 1.0f, -1.0f, "typed", 3},
            {9000, 101, std::nullopt, 0.0f, std::nullopt, "at B, raised", 4, "B"}};
  }
  CueTableContext Context() const {
    return {Site, Products, &Devices, [](int32_t code) -> std::optional<int64_t> {
              if (code == 101) return 1920;
              return std::nullopt;
            }};
  }
  std::vector<std::string> Row(size_t i) const {
    std::vector<std::string> row;
    for (int c = 0; c < kCueColumnCount; ++c)
      row.push_back(CueColumnText(Cues[i], static_cast<CueColumn>(c), Context()));
    return row;
  }
  Cue After(const CueListChange& change) const {
    std::vector<Cue> cues = Cues;
    ApplyChange(cues, change);
    return cues[change.Added.at(0).Index];
  }
  DeviceRecords Devices;
  ShowSite Site;
  ProductTable Products;
  std::vector<Cue> Cues;
};

TEST(CueTable, ShowsTimesProductsPositionsAndMetres) {
  const Table t;
  std::vector<std::string> headers;
  for (int c = 0; c < kCueColumnCount; ++c) headers.push_back(CueColumnHeader(static_cast<CueColumn>(c)));
  EXPECT_EQ(headers, (std::vector<std::string>{"Fire", "Break", "Product", "Position", "X (m)", "Height (m)", "Z (m)",
                                               "Label", "Module", "Pin"}));
  EXPECT_EQ(t.Row(0), (std::vector<std::string>{"0:02.00", "0:03.92", "Orange shell (shell, 50 mm)", "A", "-50.0", "",
                                                "0.0", "at A", "", ""}));
  // A typed prefire wins; typed coordinates in metres, the height above ground at -2.
  EXPECT_EQ(t.Row(1), (std::vector<std::string>{"0:05.00", "0:05.40", "Green comet (comet)", "", "10.1", "60.0",
                                                "-20.0", "typed", "", ""}));
  // The cue's own height wins over its position's.
  EXPECT_EQ(t.Row(2)[5], "40.0");
  EXPECT_EQ(CueColumnEditText(t.Cues[1], CueColumn::X, t.Context()), "10.1");
  EXPECT_EQ(CueColumnEditText(t.Cues[1], CueColumn::Break, t.Context()), "5.400");
  Table bare;
  bare.Products.Rows.clear();
  EXPECT_EQ(CueColumnText(bare.Cues[0], CueColumn::Product, bare.Context()), "101");
  EXPECT_EQ(CueColumnEditText(bare.Cues[0], CueColumn::Product, bare.Context()), "101");
}

TEST(CueTable, AddressesAreTypedTogetherAndClearedTogether) {
  Table t;
  CueTableContext context = t.Context();
  context.Assigned = [](size_t index) { return std::optional(std::pair<int32_t, int32_t>(3, int32_t(index) + 1)); };
  // A module typed on a cue without an address keeps the pin it was assigned.
  const Result<CueListChange> module = SetCueColumnChange(t.Cues, 1, CueColumn::Module, " 7 ", context);
  ASSERT_TRUE(module) << module.Message();
  const Cue addressed = t.After(module.Value());
  EXPECT_EQ(addressed.Module, 7);
  EXPECT_EQ(addressed.Pin, 2);
  EXPECT_EQ(addressed.TimeMs, t.Cues[1].TimeMs);
  t.Cues[1] = addressed;
  EXPECT_EQ(CueColumnText(t.Cues[1], CueColumn::Pin, context), "2");
  const Result<CueListChange> pin = SetCueColumnChange(t.Cues, 1, CueColumn::Pin, "12", context);
  ASSERT_TRUE(pin);
  EXPECT_EQ(t.After(pin.Value()).Module, 7);
  EXPECT_EQ(t.After(pin.Value()).Pin, 12);
  const Result<CueListChange> cleared = SetCueColumnChange(t.Cues, 1, CueColumn::Module, "", context);
  ASSERT_TRUE(cleared);
  EXPECT_FALSE(t.After(cleared.Value()).Module || t.After(cleared.Value()).Pin);
  for (const char* bad : {"-1", "65536", "x", "1.5"}) {
    const Result<CueListChange> r = SetCueColumnChange(t.Cues, 1, CueColumn::Pin, bad, context);
    ASSERT_FALSE(r) << bad;
    EXPECT_EQ(r.Message(), std::string("cues.csv line 3: pin \"") + bad + "\" is not a whole number from 0 to 65535.");
  }
  // Without an assignment to take the other from, one alone is refused.
  const Result<CueListChange> alone = SetCueColumnChange(t.Cues, 0, CueColumn::Pin, "4", t.Context());
  ASSERT_FALSE(alone);
  EXPECT_EQ(alone.Message(), "cues.csv line 2: a module needs a pin: the cue has no address to take the other from.");
}

TEST(CueTable, TypingABreakFiresThePrefireEarlier) {
  const Table t;
  const struct {
    size_t row;
    const char* text;
    int64_t fire;
  } cases[] = {{0, "72.5", 70580}, {0, "1:12.50", 70580}, {1, "10", 9600}, {0, "1.92", 0}};
  for (const auto& c : cases) {
    const Result<CueListChange> change = SetCueColumnChange(t.Cues, c.row, CueColumn::Break, c.text, t.Context());
    ASSERT_TRUE(change) << c.text << ": " << change.Message();
    const Cue moved = t.After(change.Value());
    EXPECT_EQ(moved.TimeMs, c.fire) << c.text;
    EXPECT_EQ(CueBreakMs(moved, t.Context()), c.fire + (c.row == 0 ? 1920 : 400)) << c.text;
  }
  const Result<CueListChange> early = SetCueColumnChange(t.Cues, 0, CueColumn::Break, "1.5", t.Context());
  ASSERT_FALSE(early);
  EXPECT_EQ(early.Message(),
            "cues.csv line 2: a break at 1.500 s would fire the cue before the show starts (its prefire is 1.920 s).");
  const Result<CueListChange> bad = SetCueColumnChange(t.Cues, 0, CueColumn::Break, "soon", t.Context());
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.Message(), "cues.csv line 2: break \"soon\" is not a time in seconds.");
  // The text as it stands changes nothing.
  const Result<CueListChange> same = SetCueColumnChange(t.Cues, 0, CueColumn::Break, "3.920", t.Context());
  ASSERT_TRUE(same);
  EXPECT_TRUE(same.Value().Empty());
}

TEST(CueTable, ABreakDraggedWithSnappingLandsOnTheBeat) {
  const Table t;
  const std::vector<double> beats = {3.0, 3.5, 4.0, 4.5};
  // The marker at the break (3.92 s) is dragged to 4.4 s and snaps to the beat at 4.5 s.
  const double snapped = SnapToBeat(4.4, beats);
  const Result<CueListChange> change =
      MoveBreakChange(t.Cues, 0, static_cast<int64_t>(std::llround(snapped * 1000)), t.Context());
  ASSERT_TRUE(change) << change.Message();
  const Cue moved = t.After(change.Value());
  EXPECT_EQ(CueBreakMs(moved, t.Context()), 4500);
  EXPECT_EQ(moved.TimeMs, 4500 - 1920);
  EXPECT_FALSE(MoveBreakChange(t.Cues, 0, 1000, t.Context()));
}

TEST(CueTable, PositionsKeepTheCueInPlaceWhenCleared) {
  const Table t;
  const ShowRoots before = ShowRootCues(t.Cues, t.Devices, t.Site);
  for (size_t row : {size_t{0}, size_t{2}}) {
    const Result<CueListChange> cleared = SetCueColumnChange(t.Cues, row, CueColumn::Position, "", t.Context());
    ASSERT_TRUE(cleared) << cleared.Message();
    std::vector<Cue> cues = t.Cues;
    ApplyChange(cues, cleared.Value());
    EXPECT_TRUE(cues[row].Position.empty());
    const ShowRoots after = ShowRootCues(cues, t.Devices, t.Site);
    ASSERT_EQ(after.Cues.size(), 3u);
    EXPECT_EQ(after.Cues[row].X, before.Cues[row].X) << row;
    EXPECT_EQ(after.Cues[row].Y, before.Cues[row].Y) << row;
    EXPECT_EQ(after.Cues[row].Z, before.Cues[row].Z) << row;
  }
  const Result<CueListChange> named = SetCueColumnChange(t.Cues, 1, CueColumn::Position, " B ", t.Context());
  ASSERT_TRUE(named) << named.Message();
  const Cue atB = t.After(named.Value());
  EXPECT_EQ(atB.Position, "B");
  EXPECT_FALSE(atB.X || atB.Z);
  EXPECT_EQ(atB.Y, 1.0f);  // its own height stays
  const Result<CueListChange> unknown = SetCueColumnChange(t.Cues, 1, CueColumn::Position, "Q", t.Context());
  ASSERT_FALSE(unknown);
  EXPECT_EQ(unknown.Message(), "cues.csv line 3: position \"Q\" is not a position of the site.");
}

TEST(CueTable, CoordinatesAreTypedInMetres) {
  const Table t;
  const struct {
    size_t row;
    CueColumn column;
    const char* text;
    std::optional<float> x, y, z;
    const char* position;
  } cases[] = {
      {1, CueColumn::X, "10.1", 0.505f, 1.0f, -1.0f, ""},
      {1, CueColumn::X, "-30,5", -1.525f, 1.0f, -1.0f, ""},
      {1, CueColumn::Height, "0", 0.505f, -2.0f, -1.0f, ""},
      {1, CueColumn::Z, "", 0.505f, 1.0f, std::nullopt, ""},
      // A coordinate typed for a cue at a position frees it, keeping the other one.
      {0, CueColumn::X, "-40", -2.0f, std::nullopt, 0.0f, ""},
      {0, CueColumn::Height, "10", std::nullopt, -1.5f, std::nullopt, "A"},
  };
  for (const auto& c : cases) {
    const Result<CueListChange> change = SetCueColumnChange(t.Cues, c.row, c.column, c.text, t.Context());
    ASSERT_TRUE(change) << c.text << ": " << change.Message();
    if (change.Value().Empty()) {
      EXPECT_EQ(std::string(c.text), "10.1");  // the text as shown
      continue;
    }
    const Cue after = t.After(change.Value());
    EXPECT_EQ(after.X, c.x) << c.text;
    EXPECT_EQ(after.Y, c.y) << c.text;
    EXPECT_EQ(after.Z, c.z) << c.text;
    EXPECT_EQ(after.Position, c.position) << c.text;
  }
  const Result<CueListChange> far = SetCueColumnChange(t.Cues, 1, CueColumn::X, "250", t.Context());
  ASSERT_FALSE(far);
  EXPECT_EQ(far.Message(), "cues.csv line 3: x 250 m is outside the show's range (-218.4 to 218.4 m).");
  const Result<CueListChange> high = SetCueColumnChange(t.Cues, 1, CueColumn::Height, "300", t.Context());
  ASSERT_FALSE(high);
  EXPECT_EQ(high.Message(), "cues.csv line 3: height 300 m is outside the show's range (-178.4 to 258.4 m).");
  const Result<CueListChange> word = SetCueColumnChange(t.Cues, 1, CueColumn::Z, "near", t.Context());
  ASSERT_FALSE(word);
  EXPECT_EQ(word.Message(), "cues.csv line 3: z \"near\" is not a number of metres.");
}

TEST(CueTable, ChoosingAProductSetsTheCode) {
  const Table t;
  for (const char* text : {"201", "green COMET"}) {
    const Result<CueListChange> change = SetCueColumnChange(t.Cues, 0, CueColumn::Product, text, t.Context());
    ASSERT_TRUE(change) << text << ": " << change.Message();
    EXPECT_EQ(t.After(change.Value()).Code, 201) << text;
  }
  const Result<CueListChange> missing = SetCueColumnChange(t.Cues, 0, CueColumn::Product, "999", t.Context());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.Message(), "cues.csv line 2: no device has code 999.");
}

}  // namespace
}  // namespace orvane
