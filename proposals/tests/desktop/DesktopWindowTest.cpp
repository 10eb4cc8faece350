// The main window on a desktop with a window manager, acted on through real
// X events: how it looks on screen, Enter on "Gravar", the closing warning
// scrolled with the wheel, and Qt's file dialog in Portuguese.
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTranslator>

#include "DesktopTestSupport.h"
#include "ProposalRules.h"
#include "Translations.h"

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
  confirmSupplier(proposals::kLicitacao);
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
  confirmSupplier(proposals::kCotacao);
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

TEST_F(OnDesktop, TheClosingWarningWithAHundredLotsScrollsToItsLastLot) {
  proposals::PartlyPricedLots lots;
  for (int lot = 1; lot <= 100; ++lot) {
    lots.list += QStringLiteral("%1-").arg(lot, 4, 10, QLatin1Char('0')).toStdString();
    ++lots.count;
  }
  const QString text = QString::fromStdString(proposals::partlyPricedMessage(lots));
  setMessageBoxHook({});  // the real dialog
  bool scrolled = false;
  bool lastLineShown = false;
  std::function<void()> act = [&] {
    auto* dialog = qobject_cast<TFRM_Mensagem1*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || !dialog->isActiveWindow()) {
      QTimer::singleShot(20, act);
      return;
    }
    auto* room = dialog->findChild<QScrollArea*>(QStringLiteral("SCR_Mensagem"));
    auto* message = dialog->findChild<QLabel*>(QStringLiteral("LBL_Mensagem"));
    QScrollBar* bar = room->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    turnWheel(centreOf(room), 40);
    scrolled = waitUntil([&] { return bar->value() == bar->maximum(); });
    const int bottom = message->mapTo(room->viewport(), QPoint(0, message->height())).y();
    lastLineShown = bottom <= room->viewport()->height();
    EXPECT_EQ(dialog->size(), QSize(362, 106));
    pressKey("Return");  // "Ok", the default button
  };
  QTimer::singleShot(0, act);
  EXPECT_TRUE(ShowMessageBox(QStringLiteral("ADV"), text, false));
  EXPECT_TRUE(scrolled);
  EXPECT_TRUE(lastLineShown);
}

TEST_F(OnDesktop, TheFileDialogSpeaksPortuguese) {
  const QLocale machine;
  QTranslator* translator = proposals::installPortuguese(*qApp);
  ASSERT_NE(translator, nullptr) << "Qt's pt_BR translations are missing (qt6-translations-l10n)";
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::kLicitacao);
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
