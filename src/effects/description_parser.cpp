// Reading a description word by word. Every word must find its place (a calibre, a
// colour, a type, a modifier); the first that does not is named in the refusal.

#include <cassert>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "effects/effect_description.h"

namespace orvane {
namespace {

// Longer texts are not descriptions; the limit keeps messages short.
constexpr size_t kMaxDescriptionChars = 200;

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) words.push_back(std::move(word));
    word.clear();
  };
  auto digitAt = [&text](size_t i) { return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    // A comma between digits is a decimal comma ("7,5cm"); elsewhere it separates words.
    const bool decimalComma = c == ',' && i > 0 && digitAt(i - 1) && digitAt(i + 1);
    if (std::isspace(u) || (c == ',' && !decimalComma)) {
      flush();
    } else if (c == '+') {
      flush();
      words.emplace_back("+");
    } else {
      word += static_cast<char>(std::tolower(u));
    }
  }
  flush();
  return words;
}

// A decimal with "." or "," and at most one decimal place, in tenths.
std::optional<int> Tenths(std::string_view text) {
  int whole = 0;
  size_t i = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    whole = whole * 10 + (text[i] - '0');
    if (whole > 100000) return std::nullopt;
  }
  if (i == 0) return std::nullopt;
  int tenth = 0;
  if (i < text.size()) {
    if ((text[i] != '.' && text[i] != ',') || i + 2 != text.size() ||
        !std::isdigit(static_cast<unsigned char>(text[i + 1])))
      return std::nullopt;
    tenth = text[i + 1] - '0';
  }
  return whole * 10 + tenth;
}

// Tenths of a millimetre per tenth of the unit.
std::optional<int> UnitFactor(std::string_view unit) {
  if (unit == "mm") return 1;
  if (unit == "cm") return 10;
  if (unit == "in" || unit == "inch" || unit == "inches" || unit == "\"") return kTenthsPerInch / 10;
  return std::nullopt;
}

struct Number {
  std::string Digits;
  std::string Unit;  // what follows the digits in the same word
};

std::optional<Number> SplitNumber(const std::string& word) {
  size_t i = 0;
  while (i < word.size() &&
         (std::isdigit(static_cast<unsigned char>(word[i])) || ((word[i] == '.' || word[i] == ',') && i > 0)))
    ++i;
  if (i == 0) return std::nullopt;
  return Number{word.substr(0, i), word.substr(i)};
}

bool IsShotsWord(std::string_view word) { return word == "shots" || word == "shot"; }

std::string TypeList() {
  std::string list;
  for (EffectType type : kEffectTypes) {
    if (!list.empty()) list += ", ";
    list += EffectTypeName(type);
  }
  return list;
}

std::string ColourList() {
  std::string list;
  for (const NamedColour& colour : EffectColours()) {
    if (!list.empty()) list += ", ";
    list += colour.Name;
  }
  return list;
}

std::string Everything() {
  return "a calibre (75mm, 7.5cm, 3in), a colour (" + ColourList() + "), a type (" + TypeList() +
         "), \"N shots\" for cakes, \"with trails\", \"dense\", \"horizontal\" or \"vertical\"";
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text), words_(Words(text)) {}

  Result<EffectDescription> Read() {
    if (text_.size() > kMaxDescriptionChars)
      return Fail("A description is at most " + std::to_string(kMaxDescriptionChars) + " characters.");
    if (words_.empty()) return Fail("The description is empty: try \"100mm gold willow\".");
    for (i_ = 0; i_ < words_.size(); ++i_) {
      if (auto refusal = Place(); !refusal.empty()) return Fail(refusal);
    }
    return Finish();
  }

 private:
  // An empty text when the word at i_ (and any it takes with it) found its place.
  std::string Place() {
    const std::string& word = words_[i_];
    if (auto colour = EffectColourNamed(word)) return PlaceColour(*colour);
    if (auto type = EffectTypeNamed(word)) return PlaceType(*type);
    if (word == "to") return Unplaced(word, "\"to\" goes between two colours, as in \"red to green\"");
    if (word == "and" || word == "+") {
      if (!colourOpen_ || !NextIsColour()) return Unplaced(word, "expected a colour on each side of \"" + word + "\"");
      return {};
    }
    if (word == "with" || word == "of") {
      if (i_ + 1 < words_.size() && (words_[i_ + 1] == "trails" || words_[i_ + 1] == "tails")) {
        if (word == "of") return Unplaced(word, "expected \"with trails\" or \"of N shots\"");
        ++i_;
        d_.Trails = true;
        return {};
      }
      if (i_ + 2 < words_.size() && SplitNumber(words_[i_ + 1]) && IsShotsWord(words_[i_ + 2])) {
        ++i_;
        return PlaceNumber();
      }
      return Unplaced(word, "expected \"trails\" or \"N shots\" after \"" + word + "\"");
    }
    colourOpen_ = false;
    if (word == "dense") {
      d_.Dense = true;
      return {};
    }
    if (word == "horizontal" || word == "vertical") {
      if (planeGiven_) return Unplaced(word, "a ring has one plane");
      planeGiven_ = true;
      d_.Plane = word == "horizontal" ? RingPlane::kHorizontal : RingPlane::kVertical;
      return {};
    }
    if (SplitNumber(word)) return PlaceNumber();
    if (IsShotsWord(word)) return Unplaced(word, "expected a number before \"" + word + "\"");
    return Unplaced(word, "expected " + Everything());
  }

  std::string PlaceColour(const NamedColour& colour) {
    if (d_.Colours.size() == kMaxColourGroups)
      return Unplaced(words_[i_], "at most " + std::to_string(kMaxColourGroups) + " colours or colour changes");
    ColourGroup group{colour, std::nullopt};
    if (i_ + 1 < words_.size() && words_[i_ + 1] == "to") {
      if (i_ + 2 >= words_.size() || !EffectColourNamed(words_[i_ + 2]))
        return Unplaced("to", "expected a colour after \"to\" (" + ColourList() + ")");
      group.Then = *EffectColourNamed(words_[i_ + 2]);
      i_ += 2;
      if (i_ + 1 < words_.size() && words_[i_ + 1] == "to")
        return Unplaced("to", "a colour change goes from one colour to one other, as in \"red to green\"");
    }
    d_.Colours.push_back(group);
    colourOpen_ = true;
    return {};
  }

  std::string PlaceType(EffectType type) {
    colourOpen_ = false;
    if (!typeGiven_) {
      typeGiven_ = true;
      d_.Type = type;
      return {};
    }
    if (type == EffectType::kCake && d_.Type != EffectType::kCake && !cakeShotGiven_) {
      if (!CanBeCakeShot(d_.Type))
        return Unplaced(std::string(EffectTypeName(d_.Type)),
                        "a cake's shots are aerial shells (peony, chrysanthemum, willow, palm, ring, crossette, "
                        "strobe, crackle)");
      d_.ShotType = d_.Type;
      d_.Type = EffectType::kCake;
      cakeShotGiven_ = true;
      return {};
    }
    return Unplaced(words_[i_], "one effect type only (\"" + std::string(EffectTypeName(d_.Type)) +
                                    "\" came first), or a shell type before \"cake\"");
  }

  // A number: a calibre (with its unit in the word or the next one) or a count of shots.
  std::string PlaceNumber() {
    const std::string& word = words_[i_];
    const std::optional<Number> split = SplitNumber(word);
    assert(split);
    const Number number = split.value_or(Number{});
    std::string unit = number.Unit;
    const bool unitApart = unit.empty() && i_ + 1 < words_.size();
    if (unitApart) unit = words_[i_ + 1];
    if (IsShotsWord(unit)) {
      const std::optional<int> tenths = Tenths(number.Digits);
      if (!tenths || *tenths % 10 != 0 || !number.Unit.empty())
        return Unplaced(word, "expected a whole number of shots, as in \"25 shots\"");
      if (shotsGiven_) return Unplaced(word, "the shots are given twice");
      shotsGiven_ = true;
      d_.Shots = *tenths / 10;
      if (unitApart) ++i_;
      return {};
    }
    const std::optional<int> factor = UnitFactor(unit);
    if (!factor) return Unplaced(word, "a calibre needs a unit: 75mm, 7.5cm or 3in");
    const std::optional<int> tenths = Tenths(number.Digits);
    if (!tenths) return Unplaced(word, "expected a calibre such as 75mm, 7.5cm or 3in");
    if (calibreGiven_) return Unplaced(word, "the calibre is given twice");
    calibreGiven_ = true;
    const int64_t calibre = int64_t{*tenths} * *factor;
    if (calibre < kMinCalibreTenths || calibre > kMaxCalibreTenths)
      return Unplaced(word, "calibres go from " + CalibreText(kMinCalibreTenths) + " to " +
                                CalibreText(kMaxCalibreTenths) + " (" + CalibreText(static_cast<int>(calibre)) +
                                " given)");
    d_.CalibreTenths = static_cast<int>(calibre);
    if (unitApart) ++i_;
    return {};
  }

  bool NextIsColour() const { return i_ + 1 < words_.size() && EffectColourNamed(words_[i_ + 1]); }

  std::string Unplaced(const std::string& word, const std::string& expected) const {
    return "\"" + word + "\" does not fit in \"" + std::string(text_) + "\": " + expected + ".";
  }

  Result<EffectDescription> Finish() {
    const std::string quoted = "\"" + std::string(text_) + "\"";
    if (!calibreGiven_) return Fail(quoted + " gives no calibre: add one such as 100mm, 10cm or 4in.");
    if (!typeGiven_) return Fail(quoted + " names no effect type: add one of " + TypeList() + ".");
    if (d_.Type == EffectType::kCake) {
      if (!shotsGiven_) d_.Shots = kDefaultCakeShots;
      if (d_.Shots < kMinCakeShots || d_.Shots > kMaxCakeShots)
        return Fail(quoted + ": a cake has " + std::to_string(kMinCakeShots) + " to " + std::to_string(kMaxCakeShots) +
                    " shots.");
    } else if (shotsGiven_) {
      return Fail(quoted + ": shots are counted for cakes only, as in \"30mm red peony cake 25 shots\".");
    }
    const EffectType burst = d_.BurstType();
    if (planeGiven_ && burst != EffectType::kRing) return Fail(quoted + ": only a ring is horizontal or vertical.");
    if (d_.Colours.empty()) d_.Colours.push_back({DefaultColour(burst), std::nullopt});
    if (d_.Colours.size() > 1 && !TakesColourGroups(burst))
      return Fail(quoted + ": a " + std::string(EffectTypeName(burst)) + " takes one colour or one colour change.");
    // Types that trail anyway say nothing more with it.
    if (AlwaysTrails(burst)) d_.Trails = false;
    return d_;
  }

  std::string_view text_;
  std::vector<std::string> words_;
  size_t i_ = 0;
  EffectDescription d_;
  bool calibreGiven_ = false;
  bool typeGiven_ = false;
  bool cakeShotGiven_ = false;
  bool shotsGiven_ = false;
  bool planeGiven_ = false;
  bool colourOpen_ = false;  // the last word ended a colour group: "and" may follow
};

}  // namespace

Result<EffectDescription> ParseEffectDescription(std::string_view text) { return Reader(text).Read(); }

}  // namespace orvane
