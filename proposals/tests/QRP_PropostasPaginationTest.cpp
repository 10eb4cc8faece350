// Page breaks of a long proposal report: no lot header left at a page's
// foot, no lot total alone at a page's top, no item block split from its
// brand and technical description.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "QRP_PropostasTestTables.h"
#include "reportengine/Layout.h"
#include "reportengine/Render.h"

using proposals::Purpose;

namespace {

struct BadBreaks {
  int lotHeadersLastOnPage = 0;
  int lotTotalsFirstOnPage = 0;
  int itemBlocksSplit = 0;
};

BadBreaks badBreaks(const reportengine::Document& document) {
  static const std::set<std::string> itemBlock{"DTB_Propostas", "CHB_Marca", "CHB_Especificacao", "ChildBand1"};
  BadBreaks bad;
  std::map<int, std::set<std::size_t>> pagesOfItem;
  for (std::size_t p = 0; p < document.pages.size(); ++p) {
    const auto& bands = document.pages[p].bands;
    // The body starts after the column header.
    auto body = bands.begin();
    for (auto it = bands.begin(); it != bands.end(); ++it)
      if (it->name == "CHB_Propostas") body = it + 1;
    if (body != bands.end() && body->name == "QRB_RodapeLote") ++bad.lotTotalsFirstOnPage;
    if (body != bands.end() && bands.back().name == "QRG_Lote") ++bad.lotHeadersLastOnPage;
    for (auto it = body; it != bands.end(); ++it)
      if (itemBlock.count(it->name)) pagesOfItem[it->row].insert(p);
  }
  for (const auto& [row, pages] : pagesOfItem) bad.itemBlocksSplit += pages.size() > 1;
  return bad;
}

// A bidding process judged by lot: `count` items in lots of 50, each with a
// two-line technical description.
std::vector<ItemRow> lotsOfItems(int count) {
  std::vector<ItemRow> items;
  for (int i = 1; i <= count; ++i) {
    ItemRow row{1 + (i - 1) / 50, "LOTE " + std::to_string(1 + (i - 1) / 50), i,
                "PRODUTO " + std::to_string(i) + " COMPRIMIDO 500 MG CAIXA COM 20 UNIDADES", 100, 10, 1.25, 12.5};
    row.especificacao = "Item " + std::to_string(i) +
                        ": produto de primeira qualidade, embalagem original do fabricante com identificação do "
                        "lote, data de fabricação e validade. Validade mínima de 12 meses na data da entrega.";
    items.push_back(std::move(row));
  }
  return items;
}

}  // namespace

TEST(QRP_PropostasPagination, ALongLotReportKeepsLotHeadersItemBlocksAndLotTotalsWithTheirItems) {
  recordtable::Table processo("CDS_Processo");
  ProcessoOptions options;
  options.purpose = Purpose::PL;
  options.idtTipoApuracao = "4";
  const int count = 10000;
  fillProcesso(processo, options, lotsOfItems(count));
  TQRP_Propostas report;
  report.ConfigurarFinalidade(TQRP_Propostas::kProcessoLicitatorio, "4");
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kProcessoLicitatorio);
  reportengine::QtTextMeasurer measurer;
  reportengine::Document document = reportengine::layoutReport(report, measurer);

  BadBreaks bad = badBreaks(document);
  EXPECT_EQ(bad.lotHeadersLastOnPage, 0);
  EXPECT_EQ(bad.lotTotalsFirstOnPage, 0);
  EXPECT_EQ(bad.itemBlocksSplit, 0);
  // Still every item once, every lot total once, and the lot header is not repeated on a new page.
  int details = 0, lotHeaders = 0, lotTotals = 0;
  for (const auto& page : document.pages)
    for (const auto& band : page.bands) {
      details += band.name == "DTB_Propostas";
      lotHeaders += band.name == "QRG_Lote";
      lotTotals += band.name == "QRB_RodapeLote";
    }
  EXPECT_EQ(details, count);
  EXPECT_EQ(lotHeaders, count / 50);
  EXPECT_EQ(lotTotals, count / 50);
  EXPECT_EQ(document.pages.back().bands.back().name, "SUB_Propostas");
}
