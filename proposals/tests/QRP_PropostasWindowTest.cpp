// "Relatorio" in the main window: the preview of the items proposed there,
// saved as PDF from the preview and read back.
#include <QFile>
#include <QRegularExpression>

#include "ProposalRules.h"
#include "QRP_PropostasTestTables.h"
#include "WindowFixture.h"
#include "reportengine/PreviewDialog.h"

using proposals_testing::WindowTest;

namespace {

class ReportWindowTest : public WindowTest {
 public:
  void SetUp() override {
    WindowTest::SetUp();
    savedShow_ = reportengine::PreviewDialog::showModal;
    savedSave_ = reportengine::PreviewDialog::saveDialog;
    // The preview is answered by saving the report as PDF, twice: the
    // second run must give the same totals.
    reportengine::PreviewDialog::saveDialog = [this](QWidget*, const QString&) { return pdfPath(); };
    reportengine::PreviewDialog::showModal = [this](reportengine::PreviewDialog& dialog) {
      ++previews;
      previewPages = dialog.pageCount();
      ASSERT_TRUE(dialog.saveAsPdf());
      firstSave = pdfToText(pdfPath());
      ASSERT_TRUE(dialog.saveAsPdf());
    };
  }
  void TearDown() override {
    reportengine::PreviewDialog::showModal = savedShow_;
    reportengine::PreviewDialog::saveDialog = savedSave_;
    WindowTest::TearDown();
  }
  QString pdfPath() const { return scratch.filePath(QStringLiteral("relatorio.pdf")); }

  // Enters brand and unit price for the item on the given row of the item grid.
  void propose(int row, const QString& brand, const QString& price) {
    TFRM_KLAVPropostas& w = *window;
    w.DBG_Item->setFocus();
    w.DBG_Item->setCurrentIndex(w.DBG_Item->model()->index(row, 0));
    ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_Marca, brand));
    ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_ValorUnitario, price));
    click(w.BBT_Gravar);
  }

  int previews = 0;
  int previewPages = 0;
  QString firstSave;

 private:
  decltype(reportengine::PreviewDialog::showModal) savedShow_;
  decltype(reportengine::PreviewDialog::saveDialog) savedSave_;
};

}  // namespace

TEST_F(ReportWindowTest, QuotationByLotPrintsTheProposedItemsWithLotTotalsAndKeepsTheWindowFiltered) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP));
  openFile(w.BBT_Arquivo, sample(QStringLiteral("CP_000045_2012")));
  ASSERT_TRUE(messages.empty());
  ASSERT_NO_FATAL_FAILURE(propose(0, QStringLiteral("Fazenda Boa"), QStringLiteral("2,5")));
  ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
  ASSERT_TRUE(w.BBT_Relatorio->isEnabled());
  const std::string filterBefore = w.CDS_Processo.filterText();
  const bool itemFollowBefore = w.ItemGridActive, lotFollowBefore = w.LotGridActive;

  click(w.BBT_Relatorio);
  ASSERT_EQ(previews, 1);
  EXPECT_TRUE(errors.empty());
  QString text = pdfToText(pdfPath());
  // Each save is a fresh run with the same totals.
  EXPECT_EQ(text.split('\n').filter("Total"), firstSave.split('\n').filter("Total"));
  for (const char* expected : {"COTAÇÃO DE PREÇOS", "da Cotação", "Lote:", "Fazenda Boa", "Total do Lote:",
                               "Total da Proposta:", "Papelaria Central Ltda", "12345678000195",
                               "NOVA ESPERANÇA DO SUL", "92.603.417/0001-67", "Página: 1"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  EXPECT_FALSE(text.contains("Modalidade:"));
  EXPECT_EQ(text.count("Marca:"), 1);  // one proposed item
  EXPECT_EQ(text.count("Total do Lote:"), 1);
  // 3.200 kg at 2,50 (in lot mode the quantity is the one requested).
  EXPECT_EQ(text.split('\n').filter(QRegularExpression("Total do Lote: +8\\.000,00$")).size(), 1) << text.toStdString();
  EXPECT_EQ(text.split('\n').filter(QRegularExpression("Total da Proposta: +8\\.000,00$")).size(), 1);

  EXPECT_TRUE(w.CDS_Processo.filtered());
  EXPECT_EQ(w.CDS_Processo.filterText(), filterBefore);
  EXPECT_EQ(w.CDS_Processo.recordNumber(), 1u);
  EXPECT_FALSE(w.CDS_Processo.displaySuspended());
  EXPECT_EQ(w.ItemGridActive, itemFollowBefore);
  EXPECT_EQ(w.LotGridActive, lotFollowBefore);
}

TEST_F(ReportWindowTest, BiddingProcessByItemPrintsTheProcessDataAndNoLots) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::PL));
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000001_2010")));
  ASSERT_TRUE(messages.empty());
  ASSERT_NO_FATAL_FAILURE(propose(0, QStringLiteral("Faber"), QStringLiteral("1,25")));
  ASSERT_NO_FATAL_FAILURE(propose(1, QStringLiteral("Bic"), QStringLiteral("0,5")));
  ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
  click(w.BBT_Relatorio);
  ASSERT_EQ(previews, 1);
  QString text = pdfToText(pdfPath());
  for (const char* expected : {"PROCESSO LICITATÓRIO", "do Processo", "Modalidade:", "PREGÃO PRESENCIAL",
                               "Abertura Propostas:", "24/02/2010 09:30", "Faber", "Bic", "Total da Proposta:"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
  EXPECT_FALSE(text.contains("Lote:"));
  EXPECT_EQ(text.count("Marca:"), 2);
}
