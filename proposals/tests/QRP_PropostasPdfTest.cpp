// The proposal report rendered to PDF and read back as text.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include "QRP_PropostasTestTables.h"
#include "reportengine/Layout.h"
#include "reportengine/Render.h"

using proposals::Purpose;

namespace {

// Fills the report from `items`, renders it to PDF and gives the PDF's text.
QString renderedText(const ProcessoOptions& options, const std::vector<ItemRow>& items, int* pages = nullptr) {
  recordtable::Table processo("CDS_Processo");
  fillProcesso(processo, options, items);
  int purpose = options.purpose == Purpose::CP ? TQRP_Propostas::kCotacaoDePrecos : TQRP_Propostas::kProcessoLicitatorio;
  TQRP_Propostas report;
  report.ConfigurarFinalidade(purpose, options.idtTipoApuracao);
  report.PreencherRelatorio(processo, sampleCabecalho(), purpose);
  reportengine::QtTextMeasurer measurer;
  reportengine::Document document = reportengine::layoutReport(report, measurer);
  if (pages) *pages = static_cast<int>(document.pages.size());
  QTemporaryDir dir;
  QString path = dir.filePath("relatorio.pdf");
  QString error;
  if (!reportengine::savePdf(document, path, &error)) return "<save failed: " + error + ">";
  return pdfToText(path);
}

// The lines of the text that match `pattern`.
QStringList linesMatching(const QString& text, const QString& pattern) {
  return text.split('\n').filter(QRegularExpression(pattern));
}

}  // namespace

TEST(QRP_PropostasPdf, PriceQuotationWithLotsPrintsHeadingsItemsLotTotalsAndTheSummary) {
  QString text = renderedText({}, twoLots());
  for (const char* expected :
       {"Entidade:", "PREFEITURA MUNICIPAL DE EXEMPLO", "Municipío:", "EXEMPLO - RS", "92.603.417/0001-67",
        "Página: 1", "COTAÇÃO DE PREÇOS", "Propostas de Preços", "000045 / 2012", "12/03/2012",
        "Tipo de Apuração:", "MENOR PREÇO POR LOTE", "Objeto:", "Aquisição de gêneros alimentícios",
        "FORNECEDORA EXEMPLO LTDA", "12123123000199", "da Cotação", "Vlr Unitário",
        "Valor Total", "Lote:", "0001 - HORTIFRUTIGRANJEIROS", "0002 - MERCEARIA", "Marca:", "Marca Boa",
        "Especificação:", "Especificação curta.", "Total da Proposta:", "Assinatura do responsável:"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  EXPECT_TRUE(QString(text).remove(' ').contains("PROPOSTA"));  // letter-spaced: pdftotext splits it anywhere
  EXPECT_FALSE(text.contains("Modalidade:"));
  EXPECT_FALSE(text.contains("LARANJA PERA"));  // no proposed quantity
  EXPECT_EQ(linesMatching(text, "Nome:.*FORNECEDORA EXEMPLO LTDA.*CNPJ:.*12123123000199").size(), 1);
  // One block per proposed item: number, code, description, quantities, price and total on one line.
  EXPECT_EQ(linesMatching(text, "00001 +005101 +BANANA PRATA +3\\.200,0000 +4,0000 +1,5000 +6,00").size(), 1);
  EXPECT_EQ(linesMatching(text, "00002 +005102 +MAÇÃ FUJI +1\\.500,0000 +2,0000 +2,0000 +4,00").size(), 1);
  EXPECT_EQ(linesMatching(text, "00004 +005104 +ARROZ TIPO 1 +500,0000 +1,0000 +5,5000 +5,50").size(), 1);
  EXPECT_EQ(linesMatching(text, "00005 +005105 +SAL REFINADO +100,0000 +3,0000 +0,0000 +0,00$").size(), 1);
  EXPECT_EQ(linesMatching(text, "^ *Marca:").size(), 4);
  QStringList lotTotals = linesMatching(text, "Total do Lote:");
  ASSERT_EQ(lotTotals.size(), 2);
  EXPECT_TRUE(lotTotals[0].trimmed().endsWith("10,00")) << lotTotals[0].toStdString();
  EXPECT_TRUE(lotTotals[1].trimmed().endsWith("5,50")) << lotTotals[1].toStdString();
  EXPECT_TRUE(linesMatching(text, "Total da Proposta:")[0].trimmed().endsWith("15,50"));
}

TEST(QRP_PropostasPdf, BiddingProcessPrintsTheProcessDataAndAnEmptyOpeningDateAsNothing) {
  ProcessoOptions options;
  options.purpose = Purpose::PL;
  options.idtTipoApuracao = "4";
  options.openingOfProposals = false;
  QString text = renderedText(options, twoLots());
  for (const char* expected : {"PROCESSO LICITATÓRIO", "do Processo", "000014 / 2012", "Modalidade:",
                               "PREGÃO PRESENCIAL", "Sequencial:", "000007", "Entrega:", "20/05/2011 09:00",
                               "Abertura Documentação:", "20/05/2011 09:30", "Lote:", "Total do Lote:"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  QStringList opening = linesMatching(text, "Abertura Propostas:");
  ASSERT_EQ(opening.size(), 1);
  EXPECT_TRUE(opening[0].trimmed().endsWith("Abertura Propostas:")) << opening[0].toStdString();

  options.idtTipoApuracao = "5";  // judged by item: one continuous list
  text = renderedText(options, twoLots());
  EXPECT_FALSE(text.contains("Lote:"));
  EXPECT_TRUE(linesMatching(text, "Total da Proposta:")[0].trimmed().endsWith("15,50"));
}

TEST(QRP_PropostasPdf, LongTextsWrapOntoFurtherLinesWithinTheirColumn) {
  std::string especificacao;
  for (int i = 1; i <= 40; ++i) especificacao += "palavra" + std::to_string(i) + " ";
  std::vector<ItemRow> items{{1, "LOTE UM", 1, "PRODUTO", 10, 1, 2, 2, "Marca", especificacao},
                             {1, "LOTE UM", 2, "SEGUINTE", 10, 1, 3, 3}};
  ProcessoOptions options;
  options.objeto = "Objeto " + std::string(60, 'x') + " " + especificacao;
  QString text = renderedText(options, items);
  QStringList first = linesMatching(text, "palavra1 ");
  QStringList last = linesMatching(text, "palavra40");
  ASSERT_EQ(first.size(), 2) << text.toStdString();  // in the object and in the item's technical description
  ASSERT_EQ(last.size(), 2);
  EXPECT_NE(first[1], last[1]);
  // Every word of the technical description is there, in order, and the next item comes after it.
  int position = 0;
  for (int i = 1; i <= 40; ++i) {
    int at = text.indexOf(QRegularExpression(QStringLiteral("palavra%1\\b").arg(i)), position);
    ASSERT_GE(at, 0) << i;
    position = at;
  }
  EXPECT_GT(text.lastIndexOf("SEGUINTE"), text.lastIndexOf("palavra40"));
}

TEST(QRP_PropostasPdf, ManyItemsFillSeveralPagesEachWithItsHeadingAndPageNumber) {
  std::vector<ItemRow> items;
  for (int i = 1; i <= 150; ++i) items.push_back({1 + i / 60, "LOTE", i, "PRODUTO " + std::to_string(i), 10, 1, 1, 1});
  int pages = 0;
  QString text = renderedText({}, items, &pages);
  ASSERT_GE(pages, 4);
  QStringList pageTexts = text.split('\f', Qt::SkipEmptyParts);
  ASSERT_EQ(pageTexts.size(), pages);
  for (int p = 0; p < pages; ++p) {
    EXPECT_TRUE(pageTexts[p].contains(QStringLiteral("Página: %1").arg(p + 1))) << p + 1;
    EXPECT_TRUE(pageTexts[p].contains("COTAÇÃO DE PREÇOS")) << p + 1;
    EXPECT_TRUE(pageTexts[p].contains("Vlr Unitário")) << p + 1;
  }
  for (int i = 1; i <= 150; ++i)
    EXPECT_EQ(linesMatching(text, QStringLiteral("PRODUTO %1 ").arg(i)).size(), 1) << i;
  EXPECT_TRUE(pageTexts.last().contains("Total da Proposta:"));
}

TEST(QRP_PropostasPdf, APurchaseObjectLongerThanAPageLeavesItemsAndTotalsOnPaper) {
  std::string objeto;
  while (objeto.size() < 7500) objeto += "fornecimento parcelado de material de consumo conforme termo de referência; ";
  ProcessoOptions options;
  options.purpose = Purpose::PL;
  options.idtTipoApuracao = "4";
  options.objeto = objeto;
  std::vector<ItemRow> items;
  for (int i = 1; i <= 120; ++i) items.push_back({1 + i / 60, "LOTE", i, "PRODUTO " + std::to_string(i), 10, 1, 1, 1});
  int pages = 0;
  QString text = renderedText(options, items, &pages);
  QStringList pageTexts = text.split('\f', Qt::SkipEmptyParts);
  ASSERT_EQ(pageTexts.size(), pages);
  for (int i = 1; i <= 120; ++i)
    EXPECT_EQ(linesMatching(text, QStringLiteral("PRODUTO %1 ").arg(i)).size(), 1) << i;
  EXPECT_EQ(linesMatching(text, "Total do Lote:").size(), 3);
  ASSERT_EQ(linesMatching(text, "Total da Proposta:").size(), 1);
  EXPECT_TRUE(linesMatching(text, "Total da Proposta:")[0].trimmed().endsWith("120,00"));
  EXPECT_TRUE(pageTexts.last().contains("Assinatura do responsável:"));
  // Later pages repeat a cut heading; the object's text ends there with "…".
  EXPECT_TRUE(pageTexts.last().contains(QStringLiteral("…"))) << pageTexts.last().toStdString();
  EXPECT_TRUE(pageTexts.last().contains("Vlr Unitário"));
}
