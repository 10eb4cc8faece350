#include <gtest/gtest.h>

#include "LayoutFixture.h"

using reportengine::Font;
using reportengine::wrapText;

TEST(Wrap, BreaksAtBlanksLineBreaksAndInsideWordsTooWide) {
  FixedMeasurer measurer;  // 2 mm per character
  Font font;
  using Lines = std::vector<std::string>;
  struct Case {
    std::string text;
    double width;
    Lines expected;
  } cases[] = {
      {"", 20, {""}},
      {"curto", 20, {"curto"}},
      {"exatamente", 20, {"exatamente"}},  // 10 characters fill 20 mm
      {"um dois tres quatro", 20, {"um dois", "tres", "quatro"}},
      {"a  b   c", 20, {"a b c"}},  // runs of blanks collapse at breaks
      {"linha1\nlinha2\r\n\nfim", 40, {"linha1", "linha2", "", "fim"}},
      {"paralelepipedo", 10, {"paral", "elepi", "pedo"}},
      {"ççççção", 6, {"ççç", "ççã", "o"}},  // characters, not bytes
      {"x\ty", 40, {"x y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(wrapText(c.text, c.width, font, measurer), c.expected) << c.text;
}

TEST(Wrap, ANarrowerWidthThanOneCharacterStillAdvances) {
  FixedMeasurer measurer;
  EXPECT_EQ(wrapText("abc", 0.5, Font{}, measurer), (std::vector<std::string>{"a", "b", "c"}));
}

namespace {

// Blanks between words cost more together than alone, as kerning can make
// a whole line wider than the sum of its words.
class KerningMeasurer : public FixedMeasurer {
 public:
  double textWidth(const Font& font, std::string_view utf8) const override {
    double blanks = 0;
    for (char c : utf8) blanks += c == ' ';
    return FixedMeasurer::textWidth(font, utf8) + 0.3 * blanks * blanks;
  }
};

}  // namespace

TEST(Wrap, NoLineIsWiderThanItsWidthWhenMeasuredWhole) {
  KerningMeasurer measurer;
  const std::string text = "a bb c dd e ff g hh i jj k ll m nn o pp q rr s tt u";
  for (double width = 4; width <= 60; width += 0.25) {
    std::vector<std::string> lines = wrapText(text, width, Font{}, measurer);
    std::string rejoined;
    for (const std::string& line : lines) {
      EXPECT_LE(measurer.textWidth(Font{}, line), width + 1e-9) << "'" << line << "' in " << width;
      rejoined += (rejoined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(rejoined, text) << width;  // nothing lost or reordered
  }
}

TEST(Wrap, ALongWordCostsAboutOneMeasuringOfItsLengthAndIsRememberedForTheRun) {
  FixedMeasurer measurer;  // 2 mm per character: 50 characters a line of 100 mm
  auto wordOf = [](std::size_t length) {
    std::string word;
    for (std::size_t i = 0; i < length; ++i) word += char('a' + i % 26);
    return word;
  };
  reportengine::WordBreakCache cache;
  for (std::size_t length : {2000u, 20000u}) {
    const std::string word = wordOf(length);
    measurer.measured = 0;
    std::vector<std::string> lines = wrapText(word, 100, Font{}, measurer, &cache);
    ASSERT_EQ(lines.size(), (length + 49) / 50);
    std::string rejoined;
    for (const std::string& line : lines) rejoined += line;
    EXPECT_EQ(rejoined, word);
    // Characters measured grow with the word, not with the word times the line.
    EXPECT_LE(measurer.measured, 8 * length) << length;
    measurer.measured = 0;
    EXPECT_EQ(wrapText(word, 100, Font{}, measurer, &cache), lines);
    EXPECT_LE(measurer.measured, 4 * length) << "pieces measured again for " << length;
  }
}
