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
