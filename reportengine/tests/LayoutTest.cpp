#include <gtest/gtest.h>

#include <algorithm>

#include "LayoutFixture.h"
#include "reportengine/Model.h"

using namespace reportengine;
using Names = std::vector<std::string>;

namespace {

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    report.setTable(&table);
    report.clock = [] { return formats::DateTime{2012, 3, 7, 14, 5, 9, 0}; };
    Band& header = report.setPageHeader("PH", 20);
    header.addSystem("PAGE", ElementKind::PageNumber, "Página: ", 150, 0, 45, Align::Right, {});
    header.addSystem("NOW", ElementKind::DateTime, "", 150, 5, 45, Align::Right, {});
    header.addChild("PH1", 10).addChild("PH2", 5);
    report.setColumnHeader("CH", 10).addLine("RULE", 0, 9, 195.8, true);
    Group& lot = report.addGroup("GH", "LOTE", 6);
    lot.header->addExpression("LOT", "FORMATNUMERIC('0000 - ',T.LOTE) + T.NAME", 10, 0, 150, Align::Left, {});
    report.setGroupFooter(lot, "GF", 7).addLabel("TOTAL", "0,00", 150, 1, 40, Align::Right, {});
    Band& detail = report.setDetail("D", 5);
    detail.addField("NAME", "NAME", "", 20, 0.5, 40, Align::Left, {}, true);
    detail.addField("VALUE", "VALUE", "#,##0.0000", 150, 0.5, 40, Align::Right, {});
    detail.addField("WHEN", "WHEN", "dd/mm/yyyy hh:nn", 100, 0.5, 40, Align::Left, {});
    detail.addChild("D1", 5).addChild("D2", 1).addLine("SEP", 0, 0, 195.8, true);
    report.setSummary("S", 20).addShape("SIGN", 40, 10, 80, 0.3);
    for (const char* name : {"PH", "PH1", "PH2", "CH", "GH", "GF", "D", "D1", "D2", "S"})
      report.findBand(name)->beforePrint = [this](Band& band, bool&) { hooks.push_back(band.name()); };
  }

  Document layout() { return layoutReport(report, measurer); }

  recordtable::Table table{"T"};
  Report report;
  FixedMeasurer measurer;
  Names hooks;
};

double bottomLimit(const Document& d) { return d.setup.height - d.setup.bottomMargin; }

}  // namespace

TEST_F(LayoutTest, GroupHeadersAndFootersFrameEachLotAndChildChainsFollowTheirBand) {
  fillTable(table, {{2, 1, "c", 1}, {1, 2, "b", 2}, {1, 1, "a", 3}});
  Names footerSaw;
  report.findBand("GF")->beforePrint = [&](Band& band, bool&) {
    footerSaw.push_back(table.fieldByName("ITEM").asText());
    band.element("TOTAL").text = "lote " + table.fieldByName("LOTE").asText();
  };
  Document d = layout();
  ASSERT_EQ(d.pages.size(), 1u);
  EXPECT_EQ(bandNames(d.pages[0]), (Names{"PH", "PH1", "PH2", "CH", "GH", "D", "D1", "D2", "D", "D1", "D2", "GF",
                                          "GH", "D", "D1", "D2", "GF", "S"}));
  EXPECT_EQ(textsOf(d.pages[0], "LOT"), (Names{"0001 - a", "0002 - c"}));
  EXPECT_EQ(textsOf(d.pages[0], "NAME"), (Names{"a", "b", "c"}));  // index order, not insertion order
  EXPECT_EQ(footerSaw, (Names{"2", "1"}));                          // the footer sees its lot's last row
  EXPECT_EQ(textsOf(d.pages[0], "TOTAL"), (Names{"lote 1", "lote 2"}));
  // Bands follow each other without gaps, from the top margin.
  double y = d.setup.topMargin;
  for (const PlacedBand& band : d.pages[0].bands) {
    EXPECT_DOUBLE_EQ(band.top, y) << band.name;
    y += band.height;
  }
}

TEST_F(LayoutTest, DisabledBandsNeitherPrintNorCallTheirHookButTheirChildrenDo) {
  fillTable(table, {{1, 1, "a", 1}, {2, 1, "b", 2}});
  report.findBand("PH1")->setEnabled(false);
  report.findBand("GH")->setEnabled(false);
  report.findBand("GF")->setEnabled(false);
  report.findBand("D")->beforePrint = [this](Band& band, bool& print) {
    hooks.push_back(band.name());
    print = table.fieldByName("LOTE").asInteger() != 2;  // a hook may leave its band out
  };
  Document d = layout();
  EXPECT_EQ(bandNames(d.pages[0]), (Names{"PH", "PH2", "CH", "D", "D1", "D2", "D1", "D2", "S"}));
  EXPECT_EQ(hooks, (Names{"PH", "PH2", "CH", "D", "D1", "D2", "D", "D1", "D2", "S"}));
}

TEST_F(LayoutTest, PagesBreakBeforeABandThatDoesNotFitAndRepeatTheHeadingChain) {
  std::vector<Row> rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({1, i, "item " + std::to_string(i), double(i)});
  fillTable(table, rows);
  Document d = layout();
  ASSERT_EQ(d.pages.size(), 4u);  // 45 mm of headings, 11 mm per row, 214 mm left per page
  std::vector<int> detailRows;
  int groupHeaders = 0;
  for (std::size_t p = 0; p < d.pages.size(); ++p) {
    const Page& page = d.pages[p];
    Names names = bandNames(page);
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(Names(names.begin(), names.begin() + 4), (Names{"PH", "PH1", "PH2", "CH"})) << "page " << p + 1;
    EXPECT_EQ(textsOf(page, "PAGE"), Names{"Página: " + std::to_string(p + 1)});
    for (const PlacedBand& band : page.bands) {
      EXPECT_LE(band.top + band.height, bottomLimit(d) + 1e-9) << band.name << " on page " << p + 1;
      if (band.name == "D") detailRows.push_back(band.row);
      groupHeaders += band.name == "GH";
    }
  }
  EXPECT_EQ(groupHeaders, 1);  // not repeated on a new page
  ASSERT_EQ(detailRows.size(), 60u);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(detailRows[std::size_t(i)], i);
  EXPECT_EQ(bandNames(d.pages.back()).back(), "S");
}

TEST_F(LayoutTest, AGroupHeaderMarkedSoIsRepeatedOnAPageThatContinuesItsGroup) {
  const_cast<Group&>(*report.groups()[0]).reprintOnNewPage = true;
  std::vector<Row> rows;
  for (int i = 1; i <= 30; ++i) rows.push_back({1, i, "x", 1});
  fillTable(table, rows);
  Document d = layout();
  ASSERT_EQ(d.pages.size(), 2u);
  Names second = bandNames(d.pages[1]);
  second.resize(5);
  EXPECT_EQ(second, (Names{"PH", "PH1", "PH2", "CH", "GH"}));
}

TEST_F(LayoutTest, StretchingTextGrowsItsBandAndPushesTheFollowingBandsDown) {
  fillTable(table, {{1, 1, "um texto longo que ocupa tres linhas ao todo", 1}, {1, 2, "curto", 2}});
  Document d = layout();
  const Page& page = d.pages[0];
  EXPECT_EQ(textsOf(page, "NAME"), (Names{"um texto longo que", "ocupa tres linhas ao", "todo", "curto"}));
  auto band = [&](std::string_view name, int nth) {
    for (const PlacedBand& b : page.bands)
      if (b.name == name && nth-- == 0) return b;
    return PlacedBand{};
  };
  EXPECT_DOUBLE_EQ(band("D", 0).height, 5 + 2 * 4.0);  // two more lines of 4 mm
  EXPECT_DOUBLE_EQ(band("D1", 0).top, band("D", 0).top + 13);
  EXPECT_DOUBLE_EQ(band("D", 1).height, 5);
  std::vector<double> lineTops;
  for (const PageItem& item : page.items)
    if (item.element == "NAME") lineTops.push_back(item.y - band("D", 0).top);
  EXPECT_DOUBLE_EQ(lineTops[1] - lineTops[0], 4.0);
  EXPECT_DOUBLE_EQ(lineTops[2] - lineTops[1], 4.0);
}

TEST_F(LayoutTest, ABandTallerThanAPageIsSplitAcrossPagesWithNothingLost) {
  std::string tall;
  for (int i = 1; i <= 100; ++i) tall += "linha" + std::to_string(i) + "\n";
  fillTable(table, {{1, 1, "antes", 1}, {1, 2, tall, 2}, {1, 3, "depois", 3}});
  Document d = layout();
  ASSERT_GE(d.pages.size(), 3u);
  Names lines;
  for (const Page& page : d.pages) {
    Names heading = bandNames(page);
    heading.resize(4);
    EXPECT_EQ(heading, (Names{"PH", "PH1", "PH2", "CH"}));
    for (const PageItem& item : page.items) {
      EXPECT_LE(item.y + item.height, bottomLimit(d) + 1e-9) << item.element << " " << item.text;
      if (item.element == "NAME") lines.push_back(item.text);
    }
  }
  Names expected{"antes"};
  for (int i = 1; i <= 100; ++i) expected.push_back("linha" + std::to_string(i));
  expected.push_back("");  // the text's final line break
  expected.push_back("depois");
  EXPECT_EQ(lines, expected);
}

TEST_F(LayoutTest, FieldsUseTheirPatternsNullsPrintNothingAndEveryRunStartsWithItsHook) {
  fillTable(table, {{1, 1, "a", 1234.5}, {1, 2, "b", -0.00001}});
  table.first();
  table.edit();
  table.fieldByName("WHEN").setDateTime({2010, 12, 31, 9, 7, 0, 0});
  table.post();
  int runs = 0;
  report.beforeRun = [&] { ++runs; };
  Document first = layout();
  Document second = layout();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(textsOf(first.pages[0], "VALUE"), (Names{"1.234,5000", "0,0000"}));
  EXPECT_EQ(textsOf(first.pages[0], "WHEN"), (Names{"31/12/2010 09:07", ""}));
  EXPECT_EQ(textsOf(first.pages[0], "NOW"), Names{"07/03/2012 14:05:09"});
  EXPECT_EQ(bandNames(first.pages[0]), bandNames(second.pages[0]));
}

TEST_F(LayoutTest, AReportWithoutRowsPrintsItsHeadingsAndSummary) {
  fillTable(table, {});
  EXPECT_EQ(bandNames(layout().pages[0]), (Names{"PH", "PH1", "PH2", "CH", "S"}));
  report.setTable(nullptr);
  Document d = layout();
  ASSERT_EQ(d.pages.size(), 1u);
  EXPECT_EQ(bandNames(d.pages[0]), (Names{"PH", "PH1", "PH2", "CH", "S"}));
}

TEST_F(LayoutTest, AnUnknownFieldFailsTheRunWithTheTablesError) {
  fillTable(table, {{1, 1, "a", 1}});
  report.detail()->addField("BAD", "NO_SUCH_FIELD", "", 0, 0, 10, Align::Left, {});
  EXPECT_THROW(layout(), recordtable::TableError);
}

namespace {

// Every band and item of every page lies within the page's margins.
void expectEverythingOnPaper(const Document& d) {
  for (std::size_t p = 0; p < d.pages.size(); ++p) {
    for (const PlacedBand& band : d.pages[p].bands) {
      EXPECT_GE(band.top, d.setup.topMargin - 1e-9) << band.name << " on page " << p + 1;
      EXPECT_LE(band.top + band.height, bottomLimit(d) + 1e-9) << band.name << " on page " << p + 1;
    }
    for (const PageItem& item : d.pages[p].items)
      EXPECT_LE(item.y + item.height, bottomLimit(d) + 1e-9) << item.element << " on page " << p + 1;
  }
}

}  // namespace

TEST_F(LayoutTest, AHeadingTallerThanThePageIsWholeOnPageOneAndClippedToHalfAPageLater) {
  // 100 lines of 4 mm in the page header chain: far more than a page.
  std::string object;
  for (int i = 1; i <= 100; ++i) object += "objeto" + std::to_string(1000 + i) + " ";
  Element& text = report.findBand("PH2")->addLabel("OBJ", object, 10, 0, 24, Align::Left, {});
  text.stretch = true;  // 12 characters a line: one word each
  std::vector<Row> rows;
  for (int i = 1; i <= 60; ++i) rows.push_back({1 + i / 30, i, "item " + std::to_string(i), double(i)});
  fillTable(table, rows);
  Document d = layout();

  expectEverythingOnPaper(d);
  // Page 1's heading is whole, over as many pages as it takes, in order.
  Names objectLines;
  std::size_t p = 0;
  for (; p < d.pages.size(); ++p) {
    Names lines = textsOf(d.pages[p], "OBJ");
    objectLines.insert(objectLines.end(), lines.begin(), lines.end());
    if (objectLines.size() >= 100) break;
  }
  ASSERT_EQ(objectLines.size(), 100u);
  for (int i = 1; i <= 100; ++i) EXPECT_EQ(objectLines[std::size_t(i - 1)], "objeto" + std::to_string(1000 + i));
  EXPECT_EQ(bandNames(d.pages[p]).back(), "D2") << "the body starts right after the heading";
  // Later pages: the repeated heading and the column header take half the printable height at most,
  // and the cut text says so.
  const double half = (bottomLimit(d) - d.setup.topMargin) / 2;
  std::vector<int> detailRows;
  for (const Page& page : d.pages)
    for (const PlacedBand& band : page.bands)
      if (band.name == "D") detailRows.push_back(band.row);
  for (std::size_t later = p + 1; later < d.pages.size(); ++later) {
    const Page& page = d.pages[later];
    auto columnHeader = std::find_if(page.bands.begin(), page.bands.end(), [](auto& b) { return b.name == "CH"; });
    ASSERT_NE(columnHeader, page.bands.end()) << "page " << later + 1;
    EXPECT_LE(columnHeader->top + columnHeader->height - d.setup.topMargin, half + 1e-9);
    Names lines = textsOf(page, "OBJ");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().substr(lines.back().size() - 3), "…") << lines.back();
    EXPECT_EQ(textsOf(page, "PAGE"), Names{"Página: " + std::to_string(later + 1)});
  }
  ASSERT_GT(d.pages.size(), p + 1) << "the items need more pages";
  ASSERT_EQ(detailRows.size(), 60u);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(detailRows[std::size_t(i)], i);
  EXPECT_EQ(bandNames(d.pages.back()).back(), "S");
}

TEST_F(LayoutTest, TextsWiderThanTheirBoxAreClippedOrShrunkDownToSixPoints) {
  fillTable(table, {{1, 1, "x", 1}});
  struct Case {
    std::string text;
    Align align;
    TextFit fit;
    std::string shown;
    double pointSize;
  } cases[] = {
      {"0123456789", Align::Right, TextFit::Clip, "0123456789", 9},  // 10 characters fill 20 mm
      {"0123456789ABCD", Align::Left, TextFit::Clip, "0123456789", 9},
      {"0123456789ABCD", Align::Right, TextFit::Clip, "456789ABCD", 9},
      {"0123456789ABCD", Align::Center, TextFit::Clip, "23456789AB", 9},
      {"0123456789ABCD", Align::Right, TextFit::ShrinkToFit, "0123456789ABCD", 6.4},
      {std::string(30, '9'), Align::Right, TextFit::ShrinkToFit, std::string(15, '9'), 6},  // 6 pt, then clipped
  };
  Band& summary = *report.summary();
  for (const Case& c : cases) {
    Element& label = summary.addLabel("FIT", c.text, 100, 0, 20, c.align, {});
    label.fit = c.fit;
    Document d = layout();
    const PageItem* item = nullptr;
    for (const PageItem& i : d.pages.back().items)
      if (i.element == "FIT") item = &i;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, c.shown) << c.text;
    EXPECT_NEAR(item->font.pointSize, c.pointSize, 1e-9) << c.text;
    EXPECT_LE(measurer.textWidth(item->font, item->text), item->width + 1e-9) << c.text;
    EXPECT_DOUBLE_EQ(item->width, 20);
    label.text = "";
    label.name = "USED";
  }
}

namespace {

// The bands of a page after its heading (the column header).
Names bodyOf(const Page& page) {
  Names names = bandNames(page);
  auto heading = std::find(names.begin(), names.end(), "CH");
  return Names(heading + 1, names.end());
}

Names firstOf(const Names& names, std::size_t count) { return Names(names.begin(), names.begin() + long(count)); }
Names lastOf(const Names& names, std::size_t count) { return Names(names.end() - long(count), names.end()); }

}  // namespace

TEST_F(LayoutTest, KeepRulesMoveALotHeaderWithItsItemAndAnItemBlockAndALotTotalTogether) {
  // 214.4 mm of body a page; lot 1 fills page 1 up to 14.4 mm from its foot:
  // room for lot 2's header (6 mm) and a detail band (5 mm), not its chain (11 mm).
  std::vector<Row> rows;
  for (int i = 1; i <= 17; ++i) rows.push_back({1, i, "x", 1});
  rows.push_back({2, 1, "y", 1});
  rows.push_back({2, 2, "y", 1});
  fillTable(table, rows);
  Band& lotHeader = *report.findBand("GH");
  Band& detail = *report.detail();
  Document free = layout();
  EXPECT_EQ(lastOf(bodyOf(free.pages[0]), 3), (Names{"GF", "GH", "D"}));
  EXPECT_EQ(firstOf(bodyOf(free.pages[1]), 1), (Names{"D1"}));  // the item's block split
  detail.keep.chainTogether = true;
  Document together = layout();
  EXPECT_EQ(lastOf(bodyOf(together.pages[0]), 2), (Names{"GF", "GH"}));  // a bare lot header
  EXPECT_EQ(firstOf(bodyOf(together.pages[1]), 3), (Names{"D", "D1", "D2"}));
  lotHeader.keep.withNext = true;
  Document kept = layout();
  EXPECT_EQ(lastOf(bodyOf(kept.pages[0]), 1), (Names{"GF"}));
  EXPECT_EQ(firstOf(bodyOf(kept.pages[1]), 4), (Names{"GH", "D", "D1", "D2"}));
}

TEST_F(LayoutTest, AGroupFooterKeptWithThePreviousBandTakesTheLastItemAlong) {
  // 18 items and one wrapped name leave 6.4 mm: less than the lot total's 7 mm.
  std::vector<Row> rows;
  for (int i = 1; i <= 18; ++i) rows.push_back({1, i, i == 5 ? "um nome que ocupa duas linhas" : "x", 1});
  rows.push_back({2, 1, "y", 1});
  fillTable(table, rows);
  report.detail()->keep.chainTogether = true;
  Document alone = layout();
  EXPECT_EQ(firstOf(bodyOf(alone.pages[1]), 1), (Names{"GF"}));
  report.findBand("GF")->keep.withPrevious = true;
  hooks.clear();
  Document kept = layout();
  EXPECT_EQ(lastOf(bodyOf(kept.pages[0]), 3), (Names{"D", "D1", "D2"}));
  EXPECT_EQ(firstOf(bodyOf(kept.pages[1]), 4), (Names{"D", "D1", "D2", "GF"}));
  int details = 0;
  for (const Page& page : kept.pages)
    for (const PlacedBand& band : page.bands) details += band.name == "D";
  EXPECT_EQ(details, 19);  // moved, not printed twice
  EXPECT_EQ(std::count(hooks.begin(), hooks.end(), "D"), 19);  // and its hook ran once
}
