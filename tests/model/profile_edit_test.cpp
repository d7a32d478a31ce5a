#include "model/profile_edit.h"

#include <gtest/gtest.h>

#include "model/ini_file.h"

namespace orvane {
namespace {

TEST(ProfileEdit, SetsValuesWhereTheReaderReadsThemAndKeepsEverythingElse) {
  struct Case {
    const char* Name;
    std::string Text;
    std::vector<ProfileValue> Values;
    std::string Expected;
  };
  const std::vector<Case> cases = {
      {"a key in place, its spelling, blanks and the CR LF ends kept",
       "; made by hand\r\n[Simulation]\r\n  starQuantity = 5\r\nUnknown=1\r\n",
       {{"Simulation", "StarQuantity", "77"}},
       "; made by hand\r\n[Simulation]\r\n  starQuantity =77\r\nUnknown=1\r\n"},
      {"sections and keys without case; the first key of a name wins",
       "[SIMULATION]\nBestX=1\nbestx=2\n",
       {{"Simulation", "BestX", "3"}},
       "[SIMULATION]\nBestX=3\nbestx=2\n"},
      {"a repeated section is skipped as the reader skips it",
       "[Simulation]\nBestY=1\n[Simulation]\nBestX=9\n",
       {{"Simulation", "BestX", "2"}},
       "[Simulation]\nBestY=1\nBestX=2\n[Simulation]\nBestX=9\n"},
      {"a key the section lacks goes after its last key, before the blank line",
       "[Device]\nCode=1\n\n[Credits]\nAuthor=me\n",
       {{"Device", "Kind", "subdevice"}},
       "[Device]\nCode=1\nKind=subdevice\n\n[Credits]\nAuthor=me\n"},
      {"a section the text lacks goes at the end, even without a last line end",
       "[Device]\nCode=1",
       {{"Credits", "Author", "me"}, {"Credits", "Company", "us"}},
       "[Device]\nCode=1\n[Credits]\nAuthor=me\nCompany=us\n"},
      {"a byte-order mark and junk lines stay",
       "\xEF\xBB\xBF[ORVN]\njunk without equals\nSignature=Device\n",
       {{"ORVN", "Signature", "device"}},
       "\xEF\xBB\xBF[ORVN]\njunk without equals\nSignature=device\n"},
      {"no values: the same bytes", "[A]\r\nb=c", {}, "[A]\r\nb=c"},
  };
  for (const Case& c : cases) {
    const std::string edited = SetProfileValues(c.Text, c.Values);
    EXPECT_EQ(edited, c.Expected) << c.Name;
    const IniFile ini(edited);
    for (const ProfileValue& v : c.Values) EXPECT_EQ(ini.ReadString(v.Section, v.Key), v.Value) << c.Name;
  }
}

TEST(ProfileEdit, ListsTheValuesOfEachKeyLineInOrder) {
  const std::vector<ProfileValue> values = ProfileValues("top=0\n[A]\r\n k = v \n;c=d\n[B]\nx=\"q\"\n[A]\nk=again\n");
  const std::vector<ProfileValue> expected = {{"A", "k", "v"}, {"B", "x", "\"q\""}, {"A", "k", "again"}};
  EXPECT_EQ(values, expected);
}

}  // namespace
}  // namespace orvane
