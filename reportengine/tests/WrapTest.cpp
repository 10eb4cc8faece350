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
