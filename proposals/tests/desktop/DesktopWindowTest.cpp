// The main window on a desktop with a window manager, acted on through real
// X events: how it looks on screen, Enter on "Gravar", the closing warning
// scrolled with the wheel, and Qt's file dialog in Portuguese.
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTranslator>

#include "DesktopTestSupport.h"
#include "ProposalRules.h"
#include "Translations.h"
#include "UNT_Mensagem1.h"

namespace desktop_testing {
namespace {

class OnDesktop : public proposals_testing::WindowTest {};

bool near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) <= 40 && std::abs(a.green() - b.green()) <= 40 &&
         std::abs(a.blue() - b.blue()) <= 40;
}

TEST_F(OnDesktop, AScreenLargeEnoughShowsTheWholeWindowWithoutScrollBars) {
  TFRM_KLAVPropostas& w = *window;
  EXPECT_EQ(w.size(), QSize(1009, 646));
  auto* scroller = w.findChild<QScrollArea*>(QStringLiteral("SCR_Janela"));
  EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
  EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
  EXPECT_EQ(w.PNL_Botoes->mapTo(&w, QPoint(0, 0)), QPoint(0, 611));
}

TEST_F(OnDesktop, TheScreenShowsLabelsInMaroonAndCaptionsAndValuesInNavy) {
  TFRM_KLAVPropostas& w = *window;
  confirmSupplier(proposals::Purpose::PL);
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000014_2011")));
  ASSERT_TRUE(waitUntil([&] { return w.isActiveWindow(); }));
  QTest::qWait(200);  // the X server has drawn the last paint
  const QImage screen = screenPicture();
  const QColor maroon(128, 0, 0);
  const QColor navy(0, 0, 128);
  const struct {
    QWidget* widget;
    QColor colour;
  } cases[] = {
      {w.LBL_Entidade, maroon},   {w.LBL_NomeEntidade, maroon},       {w.LBL_CNPJ, maroon},
      {w.STT_Finalidade, navy},   {w.STT_AnoExercicioProcesso, navy}, {w.PNL_AnoExercicioProcesso, navy},
      {w.PNL_TipoApuracao, navy}, {w.STT_Objeto, navy},               {w.STT_Marca, navy},
  };
  for (const auto& c : cases) {
    const QColor seen = darkestPixel(screen, c.widget);
    EXPECT_TRUE(near(seen, c.colour)) << c.widget->objectName().toStdString() << " shows "
                                      << seen.name().toStdString();
  }
}

TEST_F(OnDesktop, EnterOnGravarStoresTheItem) {
  TFRM_KLAVPropostas& w = *window;
  confirmSupplier(proposals::Purpose::CP);
  openFile(w.BBT_Arquivo, sample(QStringLiteral("CP_000052_2012")));
  const int row = w.DBG_Item->currentIndex().row();
  typeInto(w.EDT_Marca, QStringLiteral("Marca"));
  typeInto(w.MED_Quantidade, QStringLiteral("2"));
  typeInto(w.MED_ValorUnitario, QStringLiteral("1,25"));
  w.BBT_Gravar->setFocus();
  ASSERT_TRUE(waitUntil([&] { return w.BBT_Gravar->hasFocus(); }));
  ASSERT_TRUE(pressKey("Return"));
  ASSERT_TRUE(waitUntil([&] { return w.PNL_ValorTotal->text() == u"2,50 "; })) << w.PNL_ValorTotal->text().toStdString();
  EXPECT_EQ(w.DBG_Item->currentIndex().row(), row + 1);
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled());
  EXPECT_TRUE(messages.empty());
}

// A proposals file of 100 lots of two items, the first priced and the
// second not: "Encerrar" warns of every lot in the real message dialog, and
// the wheel over the text scrolls to the last one.
TEST_F(OnDesktop, TheClosingWarningWithAHundredPartlyPricedLotsScrollsToItsLastLot) {
  TFRM_KLAVPropostas& w = *window;
  const QString path = fixture(QStringLiteral("PL_000014_2011"), QStringLiteral("PL_000014_2011_12345678000195.PRO"),
                               [](QByteArray& json) {
                                 QJsonObject file = QJsonDocument::fromJson(json).object();
                                 const QJsonObject model = file[QStringLiteral("records")].toArray().first().toObject();
                                 QJsonArray records;
                                 for (int lot = 1; lot <= 100; ++lot) {
                                   for (int item = 0; item < 2; ++item) {
                                     QJsonObject record = model;
                                     const double price = item == 0 ? 1.5 : 0.0;
                                     record[QStringLiteral("NRO_LOTE")] = lot;
                                     record[QStringLiteral("DES_LOTE")] = QStringLiteral("LOTE %1").arg(lot);
                                     record[QStringLiteral("NRO_ITEM")] = 2 * (lot - 1) + item + 1;
                                     record[QStringLiteral("NRO_FORNECEDOR")] = QStringLiteral("12345678000195");
                                     record[QStringLiteral("DES_NOME")] = QStringLiteral("Papelaria Central Ltda");
                                     record[QStringLiteral("QTD_PROPOSTA")] = item == 0 ? 10.0 : 0.0;
                                     record[QStringLiteral("VLR_PROPOSTA")] = price;
                                     record[QStringLiteral("VLR_TOTALPROPOSTA")] = 10.0 * price;
                                     records.append(record);
                                   }
                                 }
                                 file[QStringLiteral("records")] = records;
                                 json = QJsonDocument(file).toJson();
                               });
  pickPurpose(proposals::Purpose::PL);
  openFile(w.BBT_Proposta, path);
  ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
  ASSERT_TRUE(w.IsLotMode());
  ASSERT_EQ(w.CDS_Lote.recordCount(), 100u);

  setMessageBoxHook({});  // the real dialog
  QString shownText;
  bool scrolled = false;
  bool lastLineShown = false;
  std::function<void()> act = [&] {
    auto* dialog = qobject_cast<TFRM_Mensagem1*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || !dialog->isActiveWindow()) {
      QTimer::singleShot(20, act);
      return;
    }
    shownText = dialog->text();
    auto* room = dialog->findChild<QScrollArea*>(QStringLiteral("SCR_Mensagem"));
    auto* message = dialog->findChild<QLabel*>(QStringLiteral("LBL_Mensagem"));
    QScrollBar* bar = room->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0) << "longer than the label holds";
    turnWheel(centreOf(room), 40);
    scrolled = waitUntil([&] { return bar->value() == bar->maximum(); });
    const int bottom = message->mapTo(room->viewport(), QPoint(0, message->height())).y();
    lastLineShown = bottom <= room->viewport()->height();
    EXPECT_EQ(dialog->size(), QSize(362, 106));
    pressKey("Return");  // "Ok", the only button
  };
  QTimer::singleShot(0, act);
  click(w.BBT_Encerrar);
  EXPECT_TRUE(shownText.startsWith(QStringLiteral("Atenção! Existem itens nos lotes -0001-0002-")));
  EXPECT_TRUE(shownText.endsWith(QStringLiteral("-0099-0100- sem propostas e o encerramento não será realizado.")));
  EXPECT_TRUE(scrolled);
  EXPECT_TRUE(lastLineShown) << "the last lot is in view";
  EXPECT_TRUE(w.isVisible()) << "nothing was closed";
}

TEST_F(OnDesktop, TheFileDialogSpeaksPortuguese) {
  const QLocale machine;
  QTranslator* translator = proposals::installPortuguese(*qApp);
  ASSERT_NE(translator, nullptr) << "Qt's pt_BR translations are missing (qt6-translations-l10n)";
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::Purpose::PL);
  proposals::setOpenDialogHook({});
  QString title;
  QStringList buttons;
  std::function<void()> look = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || !dialog->isActiveWindow()) {
      QTimer::singleShot(20, look);
      return;
    }
    title = dialog->windowTitle();
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->isVisible()) buttons << button->text();
    }
    pressKey("Escape");
  };
  QTimer::singleShot(0, look);
  click(w.BBT_Proposta);
  EXPECT_EQ(title, u"Abrir");
  buttons.replaceInStrings(QStringLiteral("&"), QString());  // the shortcut mark
  EXPECT_TRUE(buttons.contains(QStringLiteral("Abrir"))) << buttons.join(u'|').toStdString();
  EXPECT_TRUE(buttons.contains(QStringLiteral("Cancelar"))) << buttons.join(u'|').toStdString();
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QLocale::setDefault(machine);
}

}  // namespace
}  // namespace desktop_testing
