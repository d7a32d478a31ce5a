#include "show/cue_list.h"

#include <gtest/gtest.h>

#include "compiler/compiled_device_prep.h"
#include "show/csv_text.h"
#include "show/show_root_cues.h"
#include "support/failure_text.h"
#include "support/form_device.h"

namespace orvane {
namespace {

using testing::FailureText;

DeviceRecords TwoDevices() {
  DeviceRecords devices;
  for (int32_t code : {101, 102}) {
    auto d = std::make_unique<TBaseDevice>(testing::FormDevice(code));
    d->BestX = 1.5f;
    d->BestY = -2.0f;
    EXPECT_TRUE(PrepareCompiledPart(*d));
    devices.push_back(std::move(d));
  }
  return devices;
}

Result<std::vector<Cue>> Read(const std::string& text) {
  static const DeviceRecords devices = TwoDevices();
  return ReadCueList(text, "cues.csv", &devices);
}

std::string ErrorOf(const std::string& text) {
  const Result<std::vector<Cue>> r = Read(text);
  return r ? "(read)" : r.Message();
}

TEST(CueTime, SecondsAndMinutesRoundHalfEvenToMilliseconds) {
  EXPECT_EQ(ParseCueTime("0"), 0);
  EXPECT_EQ(ParseCueTime("12.5"), 12500);
  EXPECT_EQ(ParseCueTime(" .25 "), 250);
  EXPECT_EQ(ParseCueTime("1:05.250"), 65250);
  EXPECT_EQ(ParseCueTime("10:00"), 600000);
  // Halves of a millisecond go to the even one.
  EXPECT_EQ(ParseCueTime("0.0125"), 12);
  EXPECT_EQ(ParseCueTime("0.0135"), 14);
  EXPECT_EQ(ParseCueTime("-1.5"), -1500);
  for (const char* bad : {"", "1,5", "1e3", "abc", "1:5", "1:60", ":30", "1.2.3", "+1", "1:05:00", "99999999"})
    EXPECT_FALSE(ParseCueTime(bad).has_value()) << bad;
  EXPECT_EQ(CueTimeText(65250), "65.250");
  EXPECT_EQ(CueTimeText(7), "0.007");
}

TEST(CueFrames, FloorOfFortyMilliseconds) {
  EXPECT_EQ(CueFrame(0), 0u);
  EXPECT_EQ(CueFrame(39), 0u);
  EXPECT_EQ(CueFrame(40), 1u);
  EXPECT_EQ(CueFrame(*ParseCueTime("0.0795")), 2u);  // 79.5 ms is 80 ms
  EXPECT_EQ(CueFrame(*ParseCueTime("0.0785")), 1u);  // 78.5 ms is 78 ms
}

TEST(CueList, ReadsColumnsInAnyOrderAndCase) {
  const Result<std::vector<Cue>> r = Read(
      "Label,CODE,Time,notes,X,y,z\r\n"
      "\"opening, left\",101,0.5,whatever,-3,,\r\n"
      "\r\n"
      ",102,1:00,,,\"0,25\",2\r\n"
      " , , , , , , \r\n");
  ASSERT_TRUE(r.Ok()) << r.Message();
  ASSERT_EQ(r.Value().size(), 2u);
  EXPECT_EQ(r.Value()[0].Label, "opening, left");
  EXPECT_EQ(r.Value()[0].Code, 101);
  EXPECT_EQ(r.Value()[0].TimeMs, 500);
  EXPECT_EQ(r.Value()[0].X, -3.0f);
  EXPECT_FALSE(r.Value()[0].Y.has_value());
  EXPECT_EQ(r.Value()[0].Line, 2);
  EXPECT_EQ(r.Value()[1].TimeMs, 60000);
  EXPECT_EQ(r.Value()[1].Y, 0.25f);
  EXPECT_EQ(r.Value()[1].Z, 2.0f);
  EXPECT_EQ(r.Value()[1].Line, 4);
}

TEST(CueList, RefusesTheWholeListNamingLineAndField) {
  const std::string head = "time,code,x,y,z,label\n";
  EXPECT_EQ(ErrorOf(head + "0,101\n1,101\n2,101\n3,101\n4,101\n6,512\n"), "cues.csv line 7: no device has code 512.");
  EXPECT_EQ(ErrorOf(head + "soon,101\n"), "cues.csv line 2: time \"soon\" is not a time in seconds.");
  EXPECT_EQ(ErrorOf(head + "-1,101\n"), "cues.csv line 2: time -1 is negative.");
  EXPECT_EQ(
      ErrorOf(head + "3600,101\n"),
      "cues.csv line 2: time 3600 is at or after the end of the longest show (3600 s): the cue would never fire.");
  EXPECT_EQ(ErrorOf(head + "1,101\n86400.001,101\n"),
            "cues.csv line 3: time 86400.001 is at or after the end of the longest show (3600 s): the cue would never "
            "fire.");
  EXPECT_TRUE(Read(head + "3599.999,101\n").Ok()) << "the last millisecond still fires";
  EXPECT_EQ(ErrorOf(head + "1,\n"), "cues.csv line 2: code is empty.");
  EXPECT_EQ(ErrorOf(head + "1,1o1\n"), "cues.csv line 2: code \"1o1\" is not a device code.");
  EXPECT_EQ(ErrorOf(head + "1,101,a\n"), "cues.csv line 2: x \"a\" is not a number.");
  EXPECT_EQ(ErrorOf(head + "1,101,0,10.923\n"),
            "cues.csv line 2: y 10.923 is outside the show's range (-10.922 to 10.922).");
  EXPECT_EQ(ErrorOf(head + "1,101,0,0,1e39\n"), "cues.csv line 2: z \"1e39\" is not a number.");
  // A label spanning lines moves the next cue's line.
  EXPECT_EQ(ErrorOf(head + "1,101,,,,\"two\nlines\"\n\n,101\n"), "cues.csv line 5: time is empty.");
  EXPECT_EQ(ErrorOf(head + "1,101,,,,\"open\n"), "cues.csv line 2: a quoted field is not closed.");
  EXPECT_EQ(ErrorOf(head + "1,101,,,,\"x\"y\n"),
            "cues.csv line 2: a quoted field must end at a comma or at the end of the line.");
  EXPECT_EQ(ErrorOf(""), "cues.csv line 1: the header line naming the columns is missing.");
  std::string many = head;
  for (size_t i = 0; i <= kMaxCues; ++i) many += "1,101\n";
  EXPECT_EQ(ErrorOf(many), "cues.csv line 100002: the list holds more than 100000 cues.");
  EXPECT_EQ(ErrorOf("when,code\n1,101\n"), "cues.csv line 1: the header has no \"time\" column.");
  EXPECT_EQ(ErrorOf("time,device\n1,101\n"), "cues.csv line 1: the header has no \"code\" column.");
}

TEST(CueList, HeaderOnlyIsAnEmptyListAndCodesAreUncheckedWithoutDevices) {
  const Result<std::vector<Cue>> empty = Read("\xEF\xBB\xBFtime,code\n");
  EXPECT_TRUE(empty.Ok());
  EXPECT_TRUE(empty.Value().empty());
  const Result<std::vector<Cue>> unchecked = ReadCueList("time,code\n1,999\n", "list.csv", nullptr);
  ASSERT_EQ(unchecked.Value().size(), 1u);
  EXPECT_EQ(unchecked.Value()[0].Code, 999);
}

TEST(CueList, WritingGivesBackTheSameCues) {
  std::vector<Cue> cues(4);
  cues[0] = {0, 101, 1.5f, std::nullopt, -0.1f, "plain", 0};
  cues[1] = {12345, 102, std::nullopt, 10.92f, std::nullopt, "a, \"quoted\" label", 0};
  cues[2] = {kMaxCueTimeMs, 101, -10.9f, 0.3f, 1e-7f, " padded\r\nlines ", 0};
  cues[3] = {40, 102, std::nullopt, std::nullopt, std::nullopt, "", 0};
  const std::string text = CueListText(cues);
  const Result<std::vector<Cue>> back = Read(text);
  ASSERT_TRUE(back.Ok()) << back.Message();
  ASSERT_EQ(back.Value().size(), cues.size());
  for (size_t i = 0; i < cues.size(); ++i) {
    Cue read = back.Value()[i];
    read.Line = 0;
    EXPECT_EQ(read, cues[i]) << i;
  }
  EXPECT_EQ(CueListText(back.Value()), text);
}

TEST(CueList, ModuleAndPinColumnsReadAndWriteBack) {
  const Result<std::vector<Cue>> r = Read("time,code,pin,module\n1,101,3,0\n2,102,,\n3,101,65535,12\n");
  ASSERT_TRUE(r.Ok()) << r.Message();
  ASSERT_EQ(r.Value().size(), 3u);
  EXPECT_EQ(r.Value()[0].Module, 0);
  EXPECT_EQ(r.Value()[0].Pin, 3);
  EXPECT_FALSE(r.Value()[1].Module || r.Value()[1].Pin);
  EXPECT_EQ(r.Value()[2].Pin, 65535);
  const std::string text = CueListText(r.Value());
  EXPECT_EQ(text.substr(0, text.find('\n')), "time,code,x,y,z,label,module,pin");
  const Result<std::vector<Cue>> back = Read(text);
  ASSERT_TRUE(back.Ok()) << back.Message();
  EXPECT_EQ(back.Value(), r.Value());
  // Lists without addresses keep their columns.
  const Result<std::vector<Cue>> plain = Read("time,code\n1,101\n");
  EXPECT_EQ(CueListText(plain.Value()), "time,code,x,y,z,label\n1.000,101,,,,\n");
}

TEST(CueList, BadAddressesAreRefusedNamingTheLine) {
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"1,101,1,", "cues.csv line 2: module is given without pin."},
      {"1,101,,4", "cues.csv line 2: pin is given without module."},
      {"1,101,-1,2", "cues.csv line 2: module \"-1\" is not a whole number from 0 to 65535."},
      {"1,101,1,65536", "cues.csv line 2: pin \"65536\" is not a whole number from 0 to 65535."},
      {"1,101,1,$10", "cues.csv line 2: pin \"$10\" is not a whole number from 0 to 65535."},
      {"1,101,1.5,2", "cues.csv line 2: module \"1.5\" is not a whole number from 0 to 65535."},
      {"1,101,99999999999,2", "cues.csv line 2: module \"99999999999\" is not a whole number from 0 to 65535."},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(std::string("time,code,module,pin\n") + c.line + "\n"), c.message);
}

ShowSite SiteAB() {
  ShowSite site;
  site.Positions = {{"A", -60, 0, std::nullopt}, {"B", 40, 20, 10.0}};
  return site;
}

TEST(CueList, APositionColumnNamesSitePositions) {
  const ShowSite site = SiteAB();
  const Result<std::vector<Cue>> r = ReadCueList(
      "time,code,position,y,label\n1,101, A ,,left\n2,102,B,1.5,\n3,101,,,free\n", "cues.csv", nullptr, &site);
  ASSERT_TRUE(r.Ok()) << r.Message();
  ASSERT_EQ(r.Value().size(), 3u);
  EXPECT_EQ(r.Value()[0].Position, "A");
  EXPECT_FALSE(r.Value()[0].X || r.Value()[0].Z);
  EXPECT_EQ(r.Value()[1].Y, 1.5f);
  EXPECT_EQ(r.Value()[2].Position, "");
  const std::string text = CueListText(r.Value());
  EXPECT_EQ(text.substr(0, text.find('\n')), "time,code,x,y,z,label,position");
  const Result<std::vector<Cue>> back = ReadCueList(text, "cues.csv", nullptr, &site);
  ASSERT_TRUE(back.Ok()) << back.Message();
  for (size_t i = 0; i < r.Value().size(); ++i) {
    Cue a = r.Value()[i], b = back.Value()[i];
    a.Line = b.Line = 0;
    EXPECT_EQ(a, b) << i;
  }
}

TEST(CueList, PositionsTheSiteLacksOrThatClashWithCoordinatesAreRefused) {
  const ShowSite site = SiteAB();
  const struct {
    const char* line;
    const char* message;
  } cases[] = {
      {"1,101,C,,,", "cues.csv line 2: position \"C\" is not a position of the site."},
      {"1,101,a,,,", "cues.csv line 2: position \"a\" is not a position of the site."},
      {"1,101,A,0.5,,", "cues.csv line 2: x is given with position \"A\"; give one or the other."},
      {"1,101,A,,,0", "cues.csv line 2: z is given with position \"A\"; give one or the other."},
  };
  for (const auto& c : cases) {
    const Result<std::vector<Cue>> r =
        ReadCueList(std::string("time,code,position,x,y,z\n") + c.line + "\n", "cues.csv", nullptr, &site);
    EXPECT_EQ(FailureText(r), c.message) << c.line;
  }
  // Without a site, names are only read.
  EXPECT_TRUE(ReadCueList("time,code,position\n1,101,C\n", "cues.csv", nullptr).Ok());
}

TEST(ShowRootCues, APositionConvertsExactlyAsTypedCoordinatesWould) {
  const ShowSite site = SiteAB();
  const DeviceRecords devices = TwoDevices();  // start at (1.5, -2, 0)
  std::vector<Cue> cues(4);
  cues[0] = {0, 101, std::nullopt, std::nullopt, std::nullopt, "", 0, "A"};
  cues[1] = {100, 102, std::nullopt, 1.25f, std::nullopt, "", 0, "A"};
  cues[2] = {200, 101, std::nullopt, std::nullopt, std::nullopt, "", 0, "B"};
  cues[3] = {300, 101, -3.0f, -2.0f, 0.0f, "", 0};
  const ShowRoots roots = ShowRootCues(cues, devices, site);
  ASSERT_EQ(roots.Cues.size(), 4u);
  EXPECT_EQ(roots.Cues[0].X, roots.Cues[3].X);
  EXPECT_EQ(roots.Cues[0].Y, -2.0f);  // the device's own height: A gives none
  EXPECT_EQ(roots.Cues[0].Z, 0.0f);
  EXPECT_EQ(roots.Cues[1].Y, 1.25f);  // the cue's own height wins
  EXPECT_EQ(roots.Cues[2].X, 2.0f);
  EXPECT_EQ(roots.Cues[2].Y, -1.5f);  // 10 m above the ground at -2
  EXPECT_EQ(roots.Cues[2].Z, 1.0f);
  EXPECT_EQ(roots.Cues[2].Frame, 5u);
  cues[2].Position = "gone";
  const ShowRoots missing = ShowRootCues(cues, devices, site);
  EXPECT_TRUE(missing.Cues.empty());
  EXPECT_EQ(missing.MissingPosition, 2u);
  EXPECT_FALSE(missing.MissingDevice);
  EXPECT_EQ(UnknownPositionMessage(cues[2], 4), "cues.csv line 4: position \"gone\" is not a position of the site.");
}

TEST(CsvText, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("plain text"), "plain text");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField(" x"), "\" x\"");
  const CsvSplit split = SplitCsv("a,\"b\"\"c\",\rd\n");
  ASSERT_EQ(split.Records.size(), 2u);
  EXPECT_EQ(split.Records[0].Fields, (std::vector<std::string>{"a", "b\"c", ""}));
  EXPECT_EQ(split.Records[1].Line, 2);
}

// A label a spreadsheet would run as a formula is written as text.
TEST(CsvText, SpreadsheetFieldsNeverStartAFormula) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1", "'+1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tx", "'\tx"},
      {"=a,b", "\"'=a,b\""},
      {"plain", "plain"},
      {"a=b", "a=b"},
      {"", ""},
  };
  for (const auto& [label, field] : cases) EXPECT_EQ(SpreadsheetField(label), field) << label;
}

}  // namespace
}  // namespace orvane
