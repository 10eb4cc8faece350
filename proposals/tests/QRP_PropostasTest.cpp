#include <gtest/gtest.h>

#include "QRP_PropostasTestTables.h"
#include "reportengine/Layout.h"
#include "reportengine/Render.h"

using proposals::Purpose;
using Texts = std::vector<std::string>;

namespace {

Texts textsOf(const reportengine::Document& document, std::string_view element) {
  Texts texts;
  for (const auto& page : document.pages)
    for (const auto& item : page.items)
      if (item.element == element) texts.push_back(item.text);
  return texts;
}

bool printed(const reportengine::Document& document, std::string_view band) {
  for (const auto& page : document.pages)
    for (const auto& placed : page.bands)
      if (placed.name == band) return true;
  return false;
}

}  // namespace

TEST(QRP_Propostas, CopiesTheProposedItemsAndLeavesTheItemTableFilteredOnItsFirstRow) {
  recordtable::Table processo("CDS_Processo");
  fillProcesso(processo, {}, twoLots());
  processo.setFilterText("NRO_LOTE = 2");
  processo.setFiltered(true);
  processo.next();
  TQRP_Propostas report;
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kCotacaoDePrecos);

  recordtable::Table& r = report.CDS_Relatorio;
  ASSERT_EQ(r.recordCount(), 4u);  // LARANJA PERA has no proposed quantity
  Texts products;
  for (r.first(); !r.eof(); r.next()) {
    products.push_back(r.fieldByName("DES_PRODUTO").asText());
    if (r.recordNumber() == r.recordCount()) break;
  }
  EXPECT_EQ(products, (Texts{"BANANA PRATA", "MAÇÃ FUJI", "ARROZ TIPO 1", "SAL REFINADO"}));
  r.first();
  EXPECT_EQ(r.fieldByName("DES_TIPOENTIDADE").asText(), "PREFEITURA MUNICIPAL DE EXEMPLO");  // trimmed
  EXPECT_EQ(r.fieldByName("DES_TIPOAPURACAO").asText(), "MENOR PREÇO POR LOTE");
  EXPECT_EQ(r.fieldByName("NRO_CGC").asText(), "92.603.417/0001-67");
  EXPECT_EQ(r.fieldByName("NRO_PROCESSO").asInteger(), 45);  // the quotation's number
  EXPECT_EQ(r.fieldByName("DAT_PROCESSO").asText(), "12/03/2012");
  EXPECT_EQ(r.fieldByName("COD_FORNECEDOR").asText(), "12123123000199");
  EXPECT_EQ(r.fieldByName("DES_FORNECEDOR").asText(), "FORNECEDORA EXEMPLO LTDA");
  EXPECT_DOUBLE_EQ(r.fieldByName("VLR_TOTALPROPOSTA").asFloat(), 6.0);
  for (const char* biddingOnly : {"DES_MODALIDADE", "SEQ_MODALIDADELICITACAO", "DAT_ENTREGA", "DAT_ABERTURAPROP"})
    EXPECT_TRUE(r.fieldByName(biddingOnly).isNull()) << biddingOnly;

  EXPECT_TRUE(processo.filtered());
  EXPECT_EQ(processo.filterText(), "NRO_LOTE = 2");
  EXPECT_EQ(processo.recordNumber(), 1u);
  EXPECT_EQ(processo.fieldByName("NRO_ITEM").asInteger(), 4);
  EXPECT_FALSE(processo.displaySuspended());
}

TEST(QRP_Propostas, BiddingProcessCopiesItsOwnFieldsAndKeepsAnEmptyDateEmpty) {
  recordtable::Table processo("CDS_Processo");
  ProcessoOptions options;
  options.purpose = Purpose::PL;
  options.openingOfProposals = false;
  fillProcesso(processo, options, twoLots());
  TQRP_Propostas report;
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kProcessoLicitatorio);
  recordtable::Table& r = report.CDS_Relatorio;
  r.first();
  EXPECT_EQ(r.fieldByName("NRO_PROCESSO").asInteger(), 14);
  EXPECT_EQ(r.fieldByName("DES_MODALIDADE").asText(), "PREGÃO PRESENCIAL");
  EXPECT_EQ(r.fieldByName("SEQ_MODALIDADELICITACAO").asInteger(), 7);
  EXPECT_EQ(r.fieldByName("DAT_ENTREGA").displayText(), "20/05/2011 09:00");
  EXPECT_TRUE(r.fieldByName("DAT_ABERTURAPROP").isNull());
}

TEST(QRP_Propostas, AFailedFillStillRestoresTheItemTable) {
  recordtable::Table processo("CDS_Processo");
  fillProcesso(processo, {}, twoLots());
  processo.setFilterText("NRO_LOTE = 1");
  processo.setFiltered(true);
  TQRP_Propostas report;
  // A bidding process read from a quotation's table lacks NRO_PROCESSO.
  EXPECT_THROW(report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kProcessoLicitatorio),
               recordtable::TableError);
  EXPECT_TRUE(processo.filtered());
  EXPECT_EQ(processo.recordCount(), 3u);
  EXPECT_FALSE(processo.displaySuspended());
  EXPECT_EQ(report.CDS_Relatorio.state(), recordtable::TableState::Browse);  // no half-made row pending
}

TEST(QRP_Propostas, PurposeAndJudgementTypeDecideTitlesLotGroupingAndProcessData) {
  struct Case {
    int purpose;
    const char* idt;
    bool grouped;
  } cases[] = {
      {TQRP_Propostas::kCotacaoDePrecos, "2", true},      {TQRP_Propostas::kCotacaoDePrecos, "4", false},
      {TQRP_Propostas::kCotacaoDePrecos, "5", false},     {TQRP_Propostas::kProcessoLicitatorio, "4", true},
      {TQRP_Propostas::kProcessoLicitatorio, "2", false}, {TQRP_Propostas::kProcessoLicitatorio, "5", false},
  };
  for (const Case& c : cases) {
    TQRP_Propostas report;
    report.ConfigurarFinalidade(c.purpose, c.idt);
    bool bidding = c.purpose == TQRP_Propostas::kProcessoLicitatorio;
    EXPECT_EQ(report.QRG_Lote->enabled(), c.grouped) << c.purpose << c.idt;
    EXPECT_EQ(report.QRB_RodapeLote->enabled(), c.grouped) << c.purpose << c.idt;
    EXPECT_EQ(report.CHB_DadosProcesso->enabled(), bidding);
    EXPECT_TRUE(report.CHB_Objeto->enabled());
    EXPECT_EQ(report.QRL_Titulo1->text, bidding ? "PROCESSO LICITATÓRIO" : "COTAÇÃO DE PREÇOS");
    EXPECT_EQ(report.QRL_QuantidadeProduto->text, bidding ? "do Processo" : "da Cotação");
  }
}

TEST(QRP_Propostas, LotAndProposalTotalsRestartWithEveryRun) {
  recordtable::Table processo("CDS_Processo");
  fillProcesso(processo, {}, twoLots());
  TQRP_Propostas report;
  report.ConfigurarFinalidade(TQRP_Propostas::kCotacaoDePrecos, "2");
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kCotacaoDePrecos);
  reportengine::QtTextMeasurer measurer;
  for (int run = 1; run <= 2; ++run) {  // preview, then printing
    reportengine::Document document = reportengine::layoutReport(report, measurer);
    EXPECT_EQ(textsOf(document, "QRE_Lote"), (Texts{"0001 - HORTIFRUTIGRANJEIROS", "0002 - MERCEARIA"}));
    EXPECT_EQ(textsOf(document, "QRL_ValorTotalLote"), (Texts{"10,00", "5,50"})) << "run " << run;
    EXPECT_EQ(textsOf(document, "QRL_ValorTotalProposta"), Texts{"15,50"}) << "run " << run;
    EXPECT_EQ(textsOf(document, "QRT_VLR_Proposta"), (Texts{"1,5000", "2,0000", "5,5000", "0,0000"}));
    EXPECT_EQ(textsOf(document, "QRT_VLR_TotalProposta"), (Texts{"6,00", "4,00", "5,50", "0,00"}));
    EXPECT_EQ(textsOf(document, "QRE_NRO_Processo"), Texts{"000045 / 2012"});
  }
  // Without grouping the same items make one list with the same total.
  report.ConfigurarFinalidade(TQRP_Propostas::kCotacaoDePrecos, "5");
  reportengine::Document flat = reportengine::layoutReport(report, measurer);
  EXPECT_FALSE(printed(flat, "QRG_Lote"));
  EXPECT_FALSE(printed(flat, "QRB_RodapeLote"));
  EXPECT_EQ(textsOf(flat, "QRL_ValorTotalProposta"), Texts{"15,50"});
}

TEST(QRP_Propostas, TotalsAddTheRoundedCurrencyValuesOfManyItems) {
  std::vector<ItemRow> items;
  for (int i = 1; i <= 1000; ++i) items.push_back({1 + i / 500, "LOTE", i, "PRODUTO", 1, 1, 0.01, 0.01});
  recordtable::Table processo("CDS_Processo");
  fillProcesso(processo, {}, items);
  TQRP_Propostas report;
  report.ConfigurarFinalidade(TQRP_Propostas::kCotacaoDePrecos, "2");
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kCotacaoDePrecos);
  reportengine::QtTextMeasurer measurer;
  reportengine::Document document = reportengine::layoutReport(report, measurer);
  EXPECT_EQ(textsOf(document, "QRL_ValorTotalLote"), (Texts{"4,99", "5,00", "0,01"}));
  EXPECT_EQ(textsOf(document, "QRL_ValorTotalProposta"), Texts{"10,00"});
}

TEST(QRP_Propostas, HugeAmountsAndALongSupplierNameStayInsideTheirColumns) {
  recordtable::Table processo("CDS_Processo");
  std::vector<ItemRow> items{{1, "LOTE", 1, "PRODUTO", 999999999.9999, 999999999.9999, 999999999.9999, 999999999.99}};
  fillProcesso(processo, {}, items);
  processo.edit();
  processo.fieldByName("DES_NOME").setText(std::string(100, 'W'));
  processo.post();
  TQRP_Propostas report;
  report.ConfigurarFinalidade(TQRP_Propostas::kCotacaoDePrecos, "2");
  report.PreencherRelatorio(processo, sampleCabecalho(), TQRP_Propostas::kCotacaoDePrecos);
  reportengine::QtTextMeasurer measurer;
  reportengine::Document document = reportengine::layoutReport(report, measurer);
  ASSERT_EQ(document.pages.size(), 1u);
  for (const char* amount : {"QRT_QTD_Produto", "QRT_QTD_Proposta", "QRT_VLR_Proposta"})
    EXPECT_EQ(textsOf(document, amount), Texts{"999.999.999,9999"}) << amount;
  EXPECT_EQ(textsOf(document, "QRT_VLR_TotalProposta"), Texts{"999.999.999,99"});
  EXPECT_EQ(textsOf(document, "QRL_ValorTotalLote"), Texts{"999.999.999,99"});
  EXPECT_EQ(textsOf(document, "QRL_ValorTotalProposta"), Texts{"999.999.999,99"});
  // Nothing wider than its box: the name is shrunk to 6 pt and then cut, before "CNPJ:".
  for (const auto& item : document.pages[0].items) {
    if (item.kind != reportengine::PageItem::Kind::Text) continue;
    EXPECT_LE(measurer.textWidth(item.font, item.text), item.width + 1e-6) << item.element << " " << item.text;
    if (item.element == "QRT_DES_Fornecedor") {
      EXPECT_DOUBLE_EQ(item.font.pointSize, reportengine::kMinimumPointSize);
      EXPECT_LT(item.text.size(), 100u);
      EXPECT_LE(item.x + item.width, document.setup.leftMargin + 147.6);  // "CNPJ:" starts there
    }
  }
}
