// Whole runs through the real window: open a sample, enter brands,
// quantities and prices with key presses, "Gravar" through the items and
// lots, check totals, buttons and messages, "Encerrar", and read the written
// proposals file back with the record table engine.
#include <QFile>
#include <QFileInfo>
#include <QWheelEvent>

#include <unistd.h>

#include "ProposalRules.h"
#include "WindowFixture.h"
#include "recordtable/table.h"

namespace proposals_testing {
namespace {

class EntryTest : public WindowTest {
 protected:
  // Types brand and price (and quantity when given) into the entry panel
  // and clicks "Gravar".
  void propose(const QString& brand, const QString& price, const QString& quantity = {}) {
    TFRM_KLAVPropostas& w = *window;
    ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_Marca, brand));
    if (!quantity.isNull()) {
      ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_Quantidade, quantity));
    }
    ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_ValorUnitario, price));
    click(w.BBT_Gravar);
  }

  double current(const char* field) { return window->CDS_Processo.fieldByName(field).asFloat(); }
  std::int64_t currentInt(const char* field) { return window->CDS_Processo.fieldByName(field).asInteger(); }

  QByteArray exported(const QString& path) { return zultool({QStringLiteral("export"), path}); }
};

TEST_F(EntryTest, LotModeRunThroughAllLotsClosesAndReopens) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::PL));
  const QString process = sample(QStringLiteral("PL_000014_2011"));
  openFile(w.BBT_Arquivo, process);
  ASSERT_TRUE(messages.empty());

  // Lot 1: the item grid entered shows the first item; the quantity is the
  // tendered one and cannot be typed.
  click(w.DBG_Item);
  ASSERT_TRUE(w.BBT_Gravar->isEnabled());
  EXPECT_EQ(w.PNL_Quantidade->text(), u"120.000,0000 ");
  const int lot1Items = w.DBG_Item->model()->rowCount();
  ASSERT_GT(lot1Items, 1);
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("  Medley  "), QStringLiteral("0,125")));
  ASSERT_TRUE(messages.empty());
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled());
  EXPECT_TRUE(w.BBT_Relatorio->isEnabled());
  EXPECT_TRUE(w.EDT_Marca->hasFocus());
  EXPECT_EQ(w.PNL_ValorTotal->text(), u"15.000,00 ");  // 120 000 x 0,125
  EXPECT_EQ(currentInt("NRO_ITEM"), 2);                 // advanced to the next item
  EXPECT_EQ(w.PNL_Quantidade->text(), u"3.500,0000 ");

  // A partly priced lot blocks the closing and nothing is written.
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"ADV");
  EXPECT_EQ(messages[0].text,
            u"Atenção! Existem itens no lote -0001- sem propostas e o encerramento não será realizado.");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 1");  // the lot on view is restored
  EXPECT_TRUE(w.CDS_Processo.filtered());
  messages.clear();

  // The rest of lot 1, then "Gravar" on its last item moves to lot 2.
  click(w.DBG_Item);
  QTest::keyClick(w.DBG_Item, Qt::Key_Down);
  ASSERT_EQ(currentInt("NRO_ITEM"), 2);
  for (int i = 1; i < lot1Items; ++i) ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Marca"), QStringLiteral("2")));
  ASSERT_TRUE(messages.empty());
  EXPECT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 2");
  EXPECT_EQ(w.DBG_Lote->currentIndex().row(), 1);
  EXPECT_EQ(w.PNL_ValorTotal->text(), u"0,00 ");      // lot 2 has no priced item
  EXPECT_FALSE(w.BBT_Relatorio->isEnabled());

  // Lot 3 partly priced with lot 2 untouched: one lot named.
  click(w.DBG_Lote);
  QTest::keyClick(w.DBG_Lote, Qt::Key_Down);
  ASSERT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 3");
  click(w.DBG_Item);
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Cremer"), QStringLiteral("1")));
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text,
            u"Atenção! Existem itens no lote -0003- sem propostas e o encerramento não será realizado.");
  messages.clear();
  // Lot 4 (one item): pricing its only item wraps round to lot 1.
  click(w.DBG_Lote);
  QTest::keyClick(w.DBG_Lote, Qt::Key_End, Qt::ControlModifier);
  click(w.DBG_Item);
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Soro"), QStringLiteral("3,5")));
  EXPECT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 1");
  // Finish lot 3 (the one partly priced) by walking to it.
  click(w.DBG_Lote);
  QTest::keyClick(w.DBG_Lote, Qt::Key_Down);
  QTest::keyClick(w.DBG_Lote, Qt::Key_Down);
  ASSERT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 3");
  click(w.DBG_Item);
  const int lot3Items = w.DBG_Item->model()->rowCount();
  QTest::keyClick(w.DBG_Item, Qt::Key_Down);
  for (int i = 1; i < lot3Items; ++i) ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Cremer"), QStringLiteral("1")));
  EXPECT_EQ(w.CDS_Processo.filterText(), "NRO_LOTE = 4");
  ASSERT_TRUE(messages.empty());

  // Lot 2 is unpriced and the others are full: the closing goes on.
  click(w.BBT_Encerrar);
  const QString written = QFileInfo(process).absolutePath() + QStringLiteral("/PL_000014_2011_12345678000195.PRO");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_EQ(messages[0].text,
            u"O arquivo\nPL_000014_2011_12345678000195.PRO\nfoi gravado com êxito.\nO programa será encerrado.");
  EXPECT_FALSE(w.isVisible());
  ASSERT_TRUE(QFile::exists(written));

  // Read back: every item of every lot, with supplier and proposals.
  recordtable::Table back;
  back.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
  back.loadFromFile(written.toStdString());
  EXPECT_EQ(back.recordCount(), 16u);
  back.first();
  EXPECT_EQ(back.fieldByName("DES_MARCA").asText(), "Medley");
  EXPECT_EQ(back.fieldByName("QTD_PROPOSTA").asFloat(), 120000);
  EXPECT_EQ(back.fieldByName("VLR_PROPOSTA").asFloat(), 0.125);
  EXPECT_EQ(back.fieldByName("VLR_TOTALPROPOSTA").asFloat(), 15000);
  for (; !back.eof(); back.next()) {
    EXPECT_EQ(back.fieldByName("NRO_FORNECEDOR").asText(), "12345678000195");
    EXPECT_EQ(back.fieldByName("VLR_PROPOSTA").asFloat() > 0, back.fieldByName("NRO_LOTE").asInteger() != 2);
  }

  // Reopened through "Abrir Propostas" in a new window: the proposals show,
  // and "Encerrar" again writes the same content.
  const QByteArray firstContent = exported(written);
  window = std::make_unique<TFRM_KLAVPropostas>();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  messages.clear();
  pickPurpose(proposals::Purpose::PL);
  openFile(window->BBT_Proposta, written);
  ASSERT_TRUE(messages.empty());
  EXPECT_EQ(window->MSK_CodigoNacional->displayText(), u"12.345.678/0001-95");
  EXPECT_TRUE(window->BBT_Encerrar->isEnabled());
  EXPECT_EQ(window->PNL_ValorTotal->text(), u"614.000,00 ");  // lot 1 on view: 15 000 + 2 x 299 500
  click(window->DBG_Item);
  EXPECT_EQ(window->EDT_Marca->text(), u"Medley");
  EXPECT_EQ(window->MED_ValorUnitario->text(), u"0,1250");
  QFile::remove(written);
  click(window->BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_EQ(exported(written), firstContent);
}

TEST_F(EntryTest, ItemModeRunWithQuantityChecksZeroPriceAndConfirmation) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP, QStringLiteral("11144477735"), QStringLiteral("José")));
  const QString process = sample(QStringLiteral("CP_000052_2012"));
  openFile(w.BBT_Arquivo, process);
  ASSERT_TRUE(messages.empty());
  ASSERT_TRUE(w.BBT_Gravar->isEnabled());
  EXPECT_EQ(w.MED_Quantidade->text(), u"1.200,0000");

  // A quantity one ten-thousandth above the tendered one is refused on exit.
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_Quantidade, QStringLiteral("1200,0001")));
  click(w.MED_ValorUnitario);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"ADV");
  EXPECT_EQ(messages[0].text, u"A quantidade proposta não pode ser maior do que a quantidade licitada.");
  EXPECT_TRUE(w.MED_Quantidade->hasFocus());
  EXPECT_EQ(w.MED_Quantidade->selectedText(), w.MED_Quantidade->text());
  EXPECT_EQ(w.MED_Quantidade->ValueText(), u"1200,0000");
  messages.clear();
  // Exactly the tendered quantity passes.
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_Quantidade, QStringLiteral("1200")));
  click(w.MED_ValorUnitario);
  EXPECT_TRUE(messages.empty());

  // Zero quantity refused; a negative price refused; a zero price asks.
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Votoran"), QStringLiteral("10"), QStringLiteral("0")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"ERR");
  EXPECT_EQ(messages[0].text, u"A quantidade deve ser maior que 0 ( zero ).");
  EXPECT_TRUE(w.MED_Quantidade->hasFocus());
  messages.clear();
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Votoran"), QStringLiteral("-10"), QStringLiteral("3")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"ERR");
  EXPECT_EQ(messages[0].text, u"O valor unitário não pode ser negativo.");
  EXPECT_TRUE(w.MED_ValorUnitario->hasFocus());
  EXPECT_EQ(current("VLR_PROPOSTA"), 0);
  messages.clear();
  answers = {false};
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Votoran"), QStringLiteral("0"), QStringLiteral("3")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"CON");
  EXPECT_TRUE(messages[0].withCancel);
  EXPECT_EQ(messages[0].text,
            u"O valor unitário deve ser maior que 0 ( zero )\nUm valor igual a 0 anulará a proposta do item. Confirma?");
  EXPECT_TRUE(w.MED_ValorUnitario->hasFocus());
  EXPECT_EQ(currentInt("NRO_ITEM"), 1);
  EXPECT_EQ(current("QTD_PROPOSTA"), 0);
  messages.clear();
  answers = {true};
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Votoran"), QStringLiteral("0"), QStringLiteral("3")));
  EXPECT_EQ(messages.size(), 1u);
  w.CDS_Processo.first();
  EXPECT_EQ(current("QTD_PROPOSTA"), 3);
  EXPECT_EQ(current("VLR_TOTALPROPOSTA"), 0);
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled());
  EXPECT_FALSE(w.BBT_Relatorio->isEnabled());
  messages.clear();

  // Item 2 with an untouched quantity stores the tendered one: 350 x 0,0050.
  // The wheel moves the item cursor and the entry panel follows it.
  click(w.DBG_Item);
  ASSERT_EQ(currentInt("NRO_ITEM"), 1);
  const QPoint inside = w.DBG_Item->viewport()->rect().center();
  QWheelEvent wheel(inside, w.DBG_Item->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w.DBG_Item->viewport(), &wheel);
  ASSERT_EQ(currentInt("NRO_ITEM"), 2);
  EXPECT_EQ(w.MED_Quantidade->text(), u"350,0000");
  ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Gerdau"), QStringLiteral("0,005")));
  ASSERT_TRUE(messages.empty());
  w.CDS_Processo.prior();
  EXPECT_EQ(current("QTD_PROPOSTA"), 350);
  EXPECT_EQ(current("VLR_TOTALPROPOSTA"), 1.75);
  EXPECT_EQ(w.PNL_ValorTotal->text(), u"1,75 ");
  EXPECT_TRUE(w.BBT_Relatorio->isEnabled());
  EXPECT_EQ(w.DBG_Item->model()->index(1, 7).data().toString(), u"1,75");

  // Unpriced items: a question; Cancel writes nothing, Ok writes the file.
  const QString written = QFileInfo(process).absolutePath() + QStringLiteral("/CP_000052_2012_11144477735.PRO");
  answers = {false};
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"CON");
  EXPECT_EQ(messages[0].text, u"Atenção! Existem itens sem propostas. Confirma o encerramento?.");
  EXPECT_FALSE(QFile::exists(written));
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.ItemGridActive);
  EXPECT_TRUE(w.LotGridActive);
  messages.clear();
  answers = {true};
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].kind, u"INF");
  EXPECT_TRUE(QFile::exists(written));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(EntryTest, GravarCannotStoreAValueTheBoxRefuses) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP));
  openFile(w.BBT_Arquivo, sample(QStringLiteral("CP_000052_2012")));
  ASSERT_NO_FATAL_FAILURE(typeInto(w.EDT_Marca, QStringLiteral("Marca")));
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MED_ValorUnitario, QStringLiteral("-")));
  click(w.BBT_Gravar);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], u"Valor inválido.");
  EXPECT_TRUE(w.MED_ValorUnitario->hasFocus());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(current("VLR_PROPOSTA"), 0);
  EXPECT_TRUE(w.CDS_Processo.fieldByName("DES_MARCA").asText().empty());
  EXPECT_FALSE(w.BBT_Encerrar->isEnabled());
  // The window losing and regaining activation is no exit: no new box.
  QWidget other;
  other.show();
  other.activateWindow();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(waitUntil([&] { return !w.isActiveWindow(); }));
  w.activateWindow();
  QApplication::setActiveWindow(&w);
  ASSERT_TRUE(waitUntil([&] { return w.isActiveWindow(); }));
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(w.MED_ValorUnitario->hasFocus());
}

TEST_F(EntryTest, CtrlDeleteIsDiscardedAndOtherKeysPass) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP));
  openFile(w.BBT_Arquivo, sample(QStringLiteral("CP_000045_2012")));
  for (QTableView* grid : {w.DBG_Lote, w.DBG_Item}) {
    click(grid);
    QKeyEvent blocked(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(static_cast<QObject&>(w).eventFilter(grid, &blocked));
    QKeyEvent plain(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_FALSE(static_cast<QObject&>(w).eventFilter(grid, &plain));
    const int row = grid->currentIndex().row();
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), row + 1);
  }
  EXPECT_EQ(w.CDS_Processo.totalRecordCount(), 16u);
}

TEST_F(EntryTest, AFailedSaveKeepsTheWindowAndDataAndCanBeRetried) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::CP));
  QDir(scratch.path()).mkdir(QStringLiteral("pasta"));
  const QString folder = scratch.filePath(QStringLiteral("pasta"));
  const QString process = folder + QStringLiteral("/CP_000052_2012.ZUL");
  QFile::copy(sample(QStringLiteral("CP_000052_2012")), process);
  openFile(w.BBT_Arquivo, process);
  for (int i = 0; i < 12; ++i) ASSERT_NO_FATAL_FAILURE(propose(QStringLiteral("Marca"), QStringLiteral("1")));
  ASSERT_TRUE(messages.empty());

  // A folder without write permission; running as root ignores the
  // permission, so there a directory stands where the file should go.
  const QString target = folder + QStringLiteral("/CP_000052_2012_12345678000195.PRO");
  const bool root = geteuid() == 0;
  if (root) {
    QDir().mkpath(target + QStringLiteral("/x"));
  } else {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
  }
  click(w.BBT_Encerrar);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], QStringLiteral("Não foi possível gravar o arquivo\nCP_000052_2012_12345678000195.PRO\n") +
                           (root ? QStringLiteral("O caminho é uma pasta.") : QStringLiteral("Permissão negada.")));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.CDS_Processo.recordCount(), 12u);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("CP_000052_2012.ZUL")});

  if (root) {
    QDir(target).removeRecursively();
  } else {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  click(w.BBT_Encerrar);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].kind, u"INF");
  EXPECT_TRUE(QFile::exists(target));
}

}  // namespace
}  // namespace proposals_testing
