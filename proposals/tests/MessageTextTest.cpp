// Where the message dialog's text may break besides blanks.
#include <gtest/gtest.h>

#include "MessageText.h"

namespace {

TEST(MessageText, ALineMayEndAfterEachHyphenInsideAWord) {
  // "|" stands for the invisible break point in the expected texts.
  const struct {
    const char* text;
    const char* laidOut;
  } cases[] = {
      {"", ""},
      {"Sem hífen", "Sem hífen"},
      {"nos lotes -0001-0012- sem propostas", "nos lotes -|0001-|0012- sem propostas"},
      {"no lote -0003-", "no lote -|0003-"},           // a final "-" needs no break
      {"a -\nb", "a -\nb"},                           // before a line feed: already a break
      {"--", "-|-"},
      {"O arquivo\nPL_000014_2011.PRO", "O arquivo\nPL_000014_2011.PRO"},
  };
  for (const auto& c : cases) {
    const QString expected = QString::fromUtf8(c.laidOut).replace(QLatin1Char('|'), QChar(0x200B));
    EXPECT_EQ(proposals::withBreaksAfterHyphens(QString::fromUtf8(c.text)), expected) << c.text;
  }
}

}  // namespace
