// Reading descriptions: what each word may be, the normalised text, and refusals that name
// the word at fault.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "effects/effect_description.h"
#include "effects/effect_library.h"

namespace orvane {
namespace {

TEST(DescriptionParser, ReadsEveryFormIntoTheNormalisedText) {
  const struct {
    const char* Text;
    const char* Normalised;
  } cases[] = {
      {"100mm gold willow", "100mm gold willow"},
      {"7.5cm red peony", "75mm red peony"},
      {"7,5cm red peony", "75mm red peony"},
      {"3in blue ring", "75mm blue ring"},
      {"3 in BLUE Ring", "75mm blue ring"},
      {"6\" white strobe", "150mm white strobe"},
      {"100 mm gold willow", "100mm gold willow"},
      {"2.5in red peony", "62.5mm red peony"},
      {"62.5mm red peony", "62.5mm red peony"},
      {"red to green 100mm peony", "100mm red to green peony"},
      {"100mm red+green peony", "100mm red and green peony"},
      {"100mm red, white, blue peony", "100mm red and white and blue peony"},
      {"100mm peony", "100mm red peony"},
      {"100mm willow", "100mm gold willow"},
      {"100mm willow with trails", "100mm gold willow"},
      {"125mm silver peony with trails dense", "125mm dense silver peony with trails"},
      {"100mm blue horizontal ring", "100mm blue horizontal ring"},
      {"100mm vertical ring", "100mm green ring"},
      {"30mm red peony cake with 25 shots", "30mm red peony cake 25 shots"},
      {"30mm red peony cake of 25 shots", "30mm red peony cake 25 shots"},
      {"25 shots 30mm willow cake", "30mm gold willow cake 25 shots"},
      {"50mm cake", "50mm red peony cake 10 shots"},
      {"  20mm   gold   comet  ", "20mm gold comet"},
      {"150mm silver mine", "150mm silver mine"},
  };
  for (const auto& c : cases) {
    const Result<EffectDescription> d = ParseEffectDescription(c.Text);
    ASSERT_TRUE(d.Ok()) << c.Text << ": " << d.Message();
    EXPECT_EQ(DescriptionText(d.Value()), c.Normalised) << c.Text;
    // The normalised text is a description of the same effect.
    const Result<EffectDescription> again = ParseEffectDescription(DescriptionText(d.Value()));
    ASSERT_TRUE(again.Ok()) << c.Normalised;
    EXPECT_EQ(again.Value(), d.Value()) << c.Normalised;
  }
}

TEST(DescriptionParser, ReadsWhatEachWordSays) {
  const Result<EffectDescription> cake = ParseEffectDescription("40mm red to white and blue strobe cake 12 shots");
  ASSERT_TRUE(cake.Ok()) << cake.Message();
  const EffectDescription& d = cake.Value();
  EXPECT_EQ(d.CalibreTenths, 400);
  EXPECT_EQ(d.Type, EffectType::kCake);
  EXPECT_EQ(d.ShotType, EffectType::kStrobe);
  EXPECT_EQ(d.Shots, 12);
  ASSERT_EQ(d.Colours.size(), 2u);
  EXPECT_EQ(d.Colours[0].First.Name, "red");
  ASSERT_TRUE(d.Colours[0].Then.has_value());
  EXPECT_EQ(d.Colours[0].Then->Name, "white");
  EXPECT_EQ(d.Colours[1].First.Name, "blue");
  EXPECT_FALSE(d.Colours[1].Then.has_value());
  EXPECT_EQ(ProductColoursText(d), "red to white+blue");
}

TEST(DescriptionParser, RefusesNamingTheWordAndWhatWasExpected) {
  const std::string longText(250, 'a');
  const struct {
    std::string Text;
    const char* Word;      // quoted in the message, or empty
    const char* Expected;  // a part of the message
  } cases[] = {
      {"100mm sparkly willow", "\"sparkly\" does not fit", "a colour (red, orange"},
      {"100mm sparkly willow", "\"sparkly\"", "a type (peony, chrysanthemum"},
      {"100 gold willow", "\"100\"", "a calibre needs a unit"},
      {"gold willow", "", "gives no calibre"},
      {"100mm gold", "", "names no effect type: add one of peony"},
      {"100mm red to", "\"to\"", "expected a colour after \"to\""},
      {"100mm red to sparkly peony", "\"to\"", "expected a colour after \"to\""},
      {"100mm red to green to blue peony", "\"to\"", "from one colour to one other"},
      {"100mm to green peony", "\"to\"", "between two colours"},
      {"100mm red willow peony", "\"peony\"", "one effect type only (\"willow\" came first)"},
      {"200mm red peony", "\"200mm\"", "calibres go from 20mm to 150mm (200mm given)"},
      {"1.5cm red peony", "\"1.5cm\"", "calibres go from 20mm"},
      {"99999999999mm red peony", "\"99999999999mm\"", "expected a calibre such as"},
      {"100mm 75mm peony", "\"75mm\"", "the calibre is given twice"},
      {"7.55cm peony", "\"7.55cm\"", "expected a calibre such as"},
      {"100mm peony 5 shots", "", "shots are counted for cakes only"},
      {"30mm peony cake 1 shots", "", "a cake has 2 to 100 shots"},
      {"30mm peony cake 101 shots", "", "a cake has 2 to 100 shots"},
      {"30mm peony cake 2.5 shots", "\"2.5\"", "a whole number of shots"},
      {"30mm peony cake shots", "\"shots\"", "expected a number before"},
      {"30mm comet cake", "\"comet\"", "a cake's shots are aerial shells"},
      {"100mm red and green ring", "", "a ring takes one colour or one colour change"},
      {"100mm red and green comet", "", "a comet takes one colour"},
      {"100mm horizontal peony", "", "only a ring is horizontal or vertical"},
      {"100mm horizontal vertical ring", "\"vertical\"", "a ring has one plane"},
      {"100mm and red peony", "\"and\"", "a colour on each side"},
      {"100mm red and peony", "\"and\"", "a colour on each side"},
      {"100mm red and green and blue and white peony", "\"white\"", "at most 3 colours"},
      {"with 100mm peony", "\"with\"", "\"trails\" or \"N shots\" after \"with\""},
      {"30mm peony cake of x5 shots", "\"of\"", "\"trails\" or \"N shots\" after \"of\""},
      {"100mm red peony of trails", "\"of\"", "\"with trails\" or \"of N shots\""},
      {"", "", "The description is empty"},
      {" \t\n", "", "The description is empty"},
      {longText, "", "at most 200 characters"},
      {std::string("100mm \xff\x01 willow"), "\"\xff\x01\"", "expected a calibre"},
  };
  for (const auto& c : cases) {
    const Result<EffectDescription> d = ParseEffectDescription(c.Text);
    ASSERT_FALSE(d.Ok()) << c.Text;
    EXPECT_NE(d.Message().find(c.Word), std::string::npos) << c.Text << ": " << d.Message();
    EXPECT_NE(d.Message().find(c.Expected), std::string::npos) << c.Text << ": " << d.Message();
  }
}

TEST(DescriptionParser, TheLibraryCatalogueIsNormalisedAndCoversEveryTypeAndCalibre) {
  const std::vector<std::string> catalogue = GeneratedCatalogue();
  EXPECT_GE(catalogue.size(), 60u);
  std::set<std::string> seen;
  std::set<std::pair<EffectType, int>> cells;
  for (const std::string& text : catalogue) {
    const Result<EffectDescription> d = ParseEffectDescription(text);
    ASSERT_TRUE(d.Ok()) << text << ": " << d.Message();
    EXPECT_EQ(DescriptionText(d.Value()), text) << "a product's name is its normalised description";
    EXPECT_TRUE(seen.insert(text).second) << text << " twice";
    cells.insert({d.Value().Type, d.Value().CalibreTenths / 10});
  }
  for (EffectType type : kEffectTypes)
    for (int calibre : {50, 75, 100, 125, 150})
      EXPECT_TRUE(cells.count({type, calibre})) << EffectTypeName(type) << " " << calibre;
}

}  // namespace
}  // namespace orvane
