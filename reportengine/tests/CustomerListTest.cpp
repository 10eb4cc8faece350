// The README's customer list: a data source of its own, a page footer and
// the page count, laid out with the fixed measurer.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CustomerList.h"
#include "LayoutFixture.h"

using namespace reportengine;

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
  std::size_t start = text.find(from);
  std::size_t end = text.find(to, start);
  if (start == std::string::npos || end == std::string::npos) return {};
  start = text.find('\n', start) + 1;
  return text.substr(start, end - start);
}

std::vector<Customer> customers(int count) {
  std::vector<Customer> rows;
  const char* states[] = {"PR", "RS", "SC"};
  for (int i = 0; i < count; ++i)
    rows.push_back({"Cliente " + std::to_string(i + 1), "Cidade", states[i * 3 / count], 1000.5 * i});
  return rows;
}

}  // namespace

TEST(CustomerList, TheReadmeShowsTheExampleAsItIsTested) {
  std::string example = between(fileText(REPORTENGINE_SOURCE_DIR "/tests/CustomerList.h"), "// README example begins",
                                "// README example ends");
  ASSERT_FALSE(example.empty());
  std::string readme = fileText(REPORTENGINE_SOURCE_DIR "/README.md");
  EXPECT_NE(readme.find(example), std::string::npos) << "README.md no longer shows tests/CustomerList.h";
}

TEST(CustomerList, RowsFromItsOwnSourceGroupedWithAPageFooterAndThePageCount) {
  CustomerList report(customers(150));
  FixedMeasurer measurer;
  Document d = layoutReport(report, measurer);
  ASSERT_GE(d.pages.size(), 3u);
  const double footerTop = d.setup.height - d.setup.bottomMargin - 6;
  int lines = 0;
  std::vector<std::string> states;
  for (std::size_t p = 0; p < d.pages.size(); ++p) {
    const Page& page = d.pages[p];
    EXPECT_EQ(textsOf(page, "Pagina"),
              std::vector<std::string>{"Página " + std::to_string(p + 1) + " de " + std::to_string(d.pages.size())});
    ASSERT_EQ(page.bands.back().name, "Rodape");
    EXPECT_DOUBLE_EQ(page.bands.back().top, footerTop);
    for (const PlacedBand& band : page.bands) {
      if (band.name != "Rodape") {
        EXPECT_LE(band.top + band.height, footerTop + 1e-9) << band.name << " " << p + 1;
      }
      lines += band.name == "Cliente";
    }
    for (const std::string& state : textsOf(page, "UF")) states.push_back(state);
    EXPECT_NE(page.bands[page.bands.size() - 2].name, "Estado") << "bare state heading on page " << p + 1;
  }
  EXPECT_EQ(lines, 150);
  EXPECT_EQ(states, (std::vector<std::string>{"Estado: PR", "Estado: RS", "Estado: SC"}));
  EXPECT_EQ(textsOf(d.pages[0], "Saldo")[1], "1.000,50");
  // A field the source does not have fails the run with the source's error.
  report.detail()->addField("X", "NO_SUCH_FIELD", "", 0, 0, 10, Align::Left, {});
  EXPECT_THROW(layoutReport(report, measurer), std::out_of_range);
}
