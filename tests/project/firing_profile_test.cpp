// Profiles read from JSON, times rounded and written in each format.

#include <gtest/gtest.h>

#include <filesystem>

#include "project/firing_profile.h"
#include "project/script_time.h"
#include "show/staged_files.h"

namespace orvane {
namespace {

std::string Profile(const std::string& extra) {
  return R"({"name":"test","columns":[{"header":"Time","field":"ignition_time"}])" + extra + "}";
}

std::string Refusal(const std::string& text) {
  const Result<FiringProfile> r = ReadFiringProfile(text, "my.json");
  return r ? "(read)" : r.Message();
}

TEST(FiringProfile, ReadsEverySetting) {
  const Result<FiringProfile> r = ReadFiringProfile(R"({
    "name": "full", "extension": "txt", "layout": "table", "delimiter": "\\t", "decimal_separator": ",",
    "encoding": "ISO-8859-1", "line_ending": "crlf", "header_lines": ["{title} on {date}", "{cue_count} cues"],
    "column_headers": false, "columns": [{"header": "T", "field": "ignition_time"}, {"field": "pin"}],
    "time_format": "seconds", "time_decimals": 1, "resolution_ms": 500, "pin_base": 0, "module_base": 0,
    "pins_per_module": 12, "modules": 4, "min_spacing_ms": 250, "max_show_length_s": 600, "sort": "address",
    "subtitle_ms": 700})",
                                                    "full.json");
  ASSERT_TRUE(r) << r.Message();
  const FiringProfile& p = r.Value();
  EXPECT_EQ(p.Name, "full");
  EXPECT_EQ(p.Extension, "txt");
  EXPECT_EQ(p.Delimiter, '\t');
  EXPECT_EQ(p.DecimalSeparator, ',');
  EXPECT_EQ(p.Encoding, ScriptEncoding::kLatin1);
  EXPECT_TRUE(p.Crlf);
  EXPECT_EQ(p.HeaderLines.size(), 2u);
  EXPECT_FALSE(p.ColumnHeaders);
  ASSERT_EQ(p.Columns.size(), 2u);
  EXPECT_EQ(p.Columns[1].Field, ScriptField::kPin);
  EXPECT_EQ(p.Columns[1].Header, "");
  EXPECT_EQ(p.TimeFormat, ScriptTimeFormat::kSeconds);
  EXPECT_EQ(p.TimeDecimals, 1);
  EXPECT_EQ(p.ResolutionMs, 500);
  EXPECT_EQ(p.PinBase, 0);
  EXPECT_EQ(p.ModuleBase, 0);
  EXPECT_EQ(p.PinsPerModule, 12);
  EXPECT_EQ(p.Modules, 4);
  EXPECT_EQ(p.MinSpacingMs, 250);
  EXPECT_EQ(p.MaxShowLengthMs, 600'000);
  EXPECT_EQ(p.Sort, ScriptSort::kAddress);
  EXPECT_EQ(p.SubtitleMs, 700);
}

TEST(FiringProfile, ResolutionDefaultsToTheFormatsStep) {
  const struct {
    const char* format;
    int64_t resolution;
  } cases[] = {{R"("time_format":"milliseconds")", 1},
               {R"("time_format":"seconds","time_decimals":2)", 10},
               {R"("time_format":"seconds","time_decimals":0)", 1000},
               {R"("time_format":"hh:mm:ss.ff")", 10},
               {R"("time_format":"hh:mm:ss,mmm")", 1}};
  for (const auto& c : cases) {
    const Result<FiringProfile> r = ReadFiringProfile(Profile(std::string(",") + c.format), "p.json");
    ASSERT_TRUE(r) << c.format << ": " << r.Message();
    EXPECT_EQ(r.Value().ResolutionMs, c.resolution) << c.format;
  }
}

TEST(FiringProfile, BadProfilesAreRefusedWithTheirPosition) {
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"{\"name\": \"x\",\n  \"columns\": [}", "my.json: line 2, column 15: not valid JSON."},
      {Profile(R"(,"resolution_ms":86E400)"), "my.json: not valid JSON (a number too large)."},
      {"[1]", "my.json: the profile must be a JSON object."},
      {R"({"columns":[{"field":"pin"}]})", "my.json: \"name\": is missing."},
      {Profile(R"(,"colour":"red")"),
       "my.json: \"colour\": unknown setting; the settings are described in the README."},
      {R"({"name":"x","columns":[{"field":"pin"},{"header":"C","field":"colour"}]})",
       "my.json: \"columns\"[1].\"field\": unknown field \"colour\"."},
      {R"({"name":"x","columns":[{"header":"C"}]})", "my.json: \"columns\"[0].\"field\": is missing."},
      {R"({"name":"x","columns":[{"field":"pin","width":3}]})", "my.json: \"columns\"[0].\"width\": unknown setting."},
      {R"({"name":"x","columns":[]})", "my.json: \"columns\": must be a list of 1 to 64 columns."},
      {Profile(R"(,"time_format":"minutes")"),
       "my.json: \"time_format\": must be seconds or milliseconds or hh:mm:ss.ff or hh:mm:ss:ff or hh:mm:ss,mmm."},
      {Profile(R"(,"time_format":"hh:mm:ss.ff","resolution_ms":15)"),
       "my.json: \"resolution_ms\": impossible resolution: 15 ms cannot be written in steps of 10 ms."},
      {Profile(R"(,"time_format":"seconds","time_decimals":1,"resolution_ms":250)"),
       "my.json: \"resolution_ms\": impossible resolution: 250 ms cannot be written in steps of 100 ms."},
      {Profile(R"(,"resolution_ms":0)"), "my.json: \"resolution_ms\": must be a whole number from 1 to 60000."},
      {Profile(R"(,"resolution_ms":2.5)"), "my.json: \"resolution_ms\": must be a whole number from 1 to 60000."},
      {Profile(R"(,"resolution_ms":1e300)"), "my.json: \"resolution_ms\": must be a whole number from 1 to 60000."},
      {Profile(R"(,"time_format":"hh:mm:ss:ff","resolution_ms":40)"),
       "my.json: \"resolution_ms\": a frame timecode's resolution is its frame; leave it out."},
      {Profile(R"(,"frames_per_second":25)"),
       "my.json: \"frames_per_second\": only an \"hh:mm:ss:ff\" time format has frames."},
      {Profile(R"(,"time_format":"hh:mm:ss:ff","frames_per_second":0)"),
       "my.json: \"frames_per_second\": must be a whole number from 1 to 1000."},
      {Profile(R"(,"pin_base":2)"), "my.json: \"pin_base\": must be 0 or 1."},
      {Profile(R"(,"pins_per_module":-1)"), "my.json: \"pins_per_module\": must be a whole number from 1 to 65536."},
      {Profile(R"(,"modules":18446744073709551615)"), "my.json: \"modules\": must be a whole number from 1 to 65536."},
      {Profile(R"(,"encoding":"latin1")"), "my.json: \"encoding\": must be UTF-8 or ISO-8859-1."},
      {Profile(R"(,"delimiter":";;")"), "my.json: \"delimiter\": must be one ASCII character (\"\\t\" for a tab)."},
      {Profile(R"(,"decimal_separator":",")"), "my.json: \"decimal_separator\": must differ from the delimiter."},
      {Profile(R"(,"delimiter":"\"")"), "my.json: \"delimiter\": must not be a quote or a line break."},
      {Profile(R"(,"extension":"../x")"),
       "my.json: \"extension\": must be a plain file extension without a dot, such as \"csv\"."},
      {Profile(R"(,"header_lines":["{titel}"])"),
       "my.json: \"header_lines\"[0]: unknown placeholder \"{titel}\"; the placeholders are {title}, {date}, "
       "{cue_count}, {profile} and {length}."},
      {Profile(R"(,"header_lines":["open {title"])"), "my.json: \"header_lines\"[0]: a \"{\" is not closed."},
      {Profile(R"(,"header_lines":["a\nb"])"), "my.json: \"header_lines\"[0]: must be one line."},
      {Profile(R"(,"layout":"subtitles")"), "my.json: \"time_format\": subtitles are timed \"hh:mm:ss,mmm\"."},
      {Profile(R"(,"sort":"random")"), "my.json: \"sort\": must be time or address."},
      {std::string(70'000, ' '), "my.json: a profile is at most 64 KiB."},
      {std::string(20, '[') + std::string(20, ']'), "my.json: nested too deeply for a profile."},
  };
  for (const auto& c : cases) EXPECT_EQ(Refusal(c.text), c.message) << c.text.substr(0, 80);
}

TEST(FiringProfile, EveryShippedProfileReads) {
  const std::filesystem::path folder = ORVANE_PROFILES_DIR;
  const std::vector<std::string> names = ProfileNamesIn(folder);
  for (const char* name : {"channel-cue", "orvane", "srt", "timecode-30"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  for (const std::string& name : names) {
    const Result<std::string> text = ReadSmallFile(folder / (name + ".json"), kMaxProfileBytes);
    ASSERT_TRUE(text) << name;
    const Result<FiringProfile> r = ReadFiringProfile(text.Value(), name);
    ASSERT_TRUE(r) << r.Message();
    EXPECT_EQ(r.Value().Name, name);
  }
}

TEST(ScriptTime, RoundsToTheNearestTickHalfAwayFromZero) {
  const struct {
    int64_t ms;
    ScriptTick tick;
    int64_t ticks;
  } cases[] = {
      {0, {1, 1}, 0},
      {1234, {1, 1}, 1234},
      {1234, {10, 1}, 123},
      {1235, {10, 1}, 124},
      {-1235, {10, 1}, -124},
      {1249, {100, 1}, 12},
      {1250, {100, 1}, 13},
      {-1250, {100, 1}, -13},
      {50, {1000, 30}, 2},
      {16, {1000, 30}, 0},
      {17, {1000, 30}, 1},
      {1000, {1000, 30}, 30},
      {86'400'000, {1000, 30}, 2'592'000},
      {20, {40, 1}, 1},
      {19, {40, 1}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RoundToTicks(c.ms, c.tick), c.ticks) << c.ms << " at " << c.tick.Numerator << "/" << c.tick.Denominator;
  EXPECT_DOUBLE_EQ(TicksToMs(2, {1000, 30}), 2000.0 / 30);
}

TEST(ScriptTime, WritesAndReadsEachFormat) {
  FiringProfile seconds;
  seconds.TimeFormat = ScriptTimeFormat::kSeconds;
  seconds.TimeDecimals = 2;
  seconds.ResolutionMs = 10;
  seconds.DecimalSeparator = ',';
  FiringProfile ms;
  FiringProfile hundredths;
  hundredths.TimeFormat = ScriptTimeFormat::kHundredths;
  hundredths.ResolutionMs = 10;
  FiringProfile frames;
  frames.TimeFormat = ScriptTimeFormat::kFrames;
  frames.FramesPerSecond = 30;
  FiringProfile subtitles;
  subtitles.TimeFormat = ScriptTimeFormat::kSubtitleClock;
  const struct {
    const FiringProfile* profile;
    int64_t ms;
    const char* text;
  } cases[] = {
      {&seconds, 12'340, "12,34"},
      {&seconds, 0, "0,00"},
      {&ms, 3'723'045, "3723045"},
      {&hundredths, 3'723'040, "01:02:03.04"},
      {&frames, 3'723'000 + 400, "01:02:03:12"},
      {&subtitles, 3'723'045, "01:02:03,045"},
      {&subtitles, 86'400'000, "24:00:00,000"},
  };
  for (const auto& c : cases) {
    const int64_t ticks = RoundToTicks(c.ms, ProfileTick(*c.profile));
    EXPECT_EQ(ScriptTimeText(ticks, *c.profile), c.text) << c.ms;
    EXPECT_EQ(ParseScriptTime(c.text, *c.profile), c.ms) << c.text;
  }
  for (const char* bad : {"", "1,2345", "x", "1.5"}) EXPECT_FALSE(ParseScriptTime(bad, seconds)) << bad;
  for (const char* bad : {"01:02:03:30", "01:60:00:00", "1:02:03:04", "01:02:03.04"})
    EXPECT_FALSE(ParseScriptTime(bad, frames)) << bad;
  EXPECT_FALSE(ParseScriptTime("01:02:03.4", hundredths));
  EXPECT_FALSE(ParseScriptTime("1234567890123", ms));
}

}  // namespace
}  // namespace orvane
