// The main window as a desktop user meets it: colours and fonts of the
// panels, grid cells that show their whole text (or a tool tip), Enter on a
// focused button, Qt's dialogs in Portuguese.
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFileDialog>
#include <QHelpEvent>
#include <QImage>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QTranslator>

#include "GridCellDelegate.h"
#include "ProposalRules.h"
#include "Translations.h"
#include "WindowFixture.h"

namespace proposals_testing {
namespace {

// Waits until `condition` holds, processing events; false after `ms`.
template <class Condition>
bool waitFor(Condition condition, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QTest::qWait(10);
  }
  return true;
}

// The darkest pixel inside `widget` on a picture of the whole window: the
// core of its text's strokes, where the text colour shows unblended.
QColor darkestPixel(const QImage& picture, const QWidget* window, const QWidget* widget) {
  const QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
  QColor darkest = Qt::white;
  // One pixel in from the edges: the sunken frames of caption boxes are dark.
  for (int y = area.top() + 2; y < area.bottom() - 1; ++y) {
    for (int x = area.left() + 2; x < area.right() - 1; ++x) {
      const QColor colour = picture.pixelColor(x, y);
      if (colour.lightness() < darkest.lightness()) darkest = colour;
    }
  }
  return darkest;
}

bool near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) <= 40 && std::abs(a.green() - b.green()) <= 40 &&
         std::abs(a.blue() - b.blue()) <= 40;
}

class DesktopTest : public WindowTest {};

TEST_F(DesktopTest, LabelsDrawInMaroonAndCaptionsAndValuesInNavy) {
  TFRM_KLAVPropostas& w = *window;
  confirmSupplier(proposals::Purpose::PL);
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000014_2011")));
  ASSERT_FALSE(w.LBL_NomeEntidade->text().isEmpty());
  const QImage picture = w.grab().toImage();
  const QColor maroon(128, 0, 0);
  const QColor navy(0, 0, 128);
  const struct {
    QWidget* widget;
    QColor colour;
  } cases[] = {
      {w.LBL_Entidade, maroon}, {w.LBL_NomeEntidade, maroon}, {w.LBL_Municipio, maroon},
      {w.LBL_CNPJ, maroon}, {w.LBL_NumeroCNPJ, maroon},
      {w.STT_Finalidade, navy}, {w.STT_NomeFornecedor, navy}, {w.STT_Objeto, navy},
      {w.STT_AnoExercicioProcesso, navy}, {w.PNL_AnoExercicioProcesso, navy},
      {w.STT_TipoApuracao, navy}, {w.PNL_TipoApuracao, navy}, {w.PNL_NumeroProcesso, navy},
      {w.STT_Especificacao, navy}, {w.STT_Marca, navy}, {w.STT_ValorTotal, navy},
  };
  for (const auto& c : cases) {
    const QColor seen = darkestPixel(picture, &w, c.widget);
    EXPECT_TRUE(near(seen, c.colour)) << c.widget->objectName().toStdString() << " draws in "
                                      << seen.name().toStdString();
  }
}

TEST_F(DesktopTest, WindowFontsResolveToFreeFontsOfMatchingWidths) {
  const struct {
    const char* family;
    const char* resolved;
  } cases[] = {{"Arial", "Liberation Sans"}, {"MS Sans Serif", "MS Sans Serif"}};
  for (const auto& c : cases) {
    QFont font(QString::fromLatin1(c.family));
    font.setPixelSize(11);
    EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(c.resolved)) << c.family;
  }
  // The texts the window puts in narrow places fit them.
  TFRM_KLAVPropostas& w = *window;
  const int listRoom = w.CMB_Finalidade->width() - 24;  // the drop-down arrow and frame take the rest
  for (int i = 0; i < w.CMB_Finalidade->count(); ++i) {
    EXPECT_LE(w.CMB_Finalidade->fontMetrics().horizontalAdvance(w.CMB_Finalidade->itemText(i)), listRoom);
  }
  // "CNPJ:" ends a few pixels before the number starts.
  EXPECT_LE(w.LBL_CNPJ->geometry().left() + w.LBL_CNPJ->fontMetrics().horizontalAdvance(w.LBL_CNPJ->text()) + 2,
            w.LBL_NumeroCNPJ->geometry().left() + w.LBL_NumeroCNPJ->indent());
}

TEST_F(DesktopTest, CodigoAndUnidMedShowTheirWholeTextForEverySample) {
  TFRM_KLAVPropostas& w = *window;
  const struct {
    const char* name;
    proposals::Purpose purpose;
  } samples[] = {{"PL_000001_2010", proposals::Purpose::PL}, {"PL_000014_2011", proposals::Purpose::PL},
                 {"CP_000052_2012", proposals::Purpose::CP}, {"CP_000045_2012", proposals::Purpose::CP}};
  auto* delegate = qobject_cast<proposals::GridCellDelegate*>(w.DBG_Item->itemDelegate());
  ASSERT_NE(delegate, nullptr);
  for (const auto& s : samples) {
    if (w.BBT_Limpar->isEnabled()) click(w.BBT_Limpar);
    confirmSupplier(s.purpose);
    openFile(w.BBT_Arquivo, sample(QString::fromLatin1(s.name)));
    // Lot by lot in lot mode: the grid shows one lot's items at a time.
    const int lots = w.IsLotMode() ? w.DBG_Lote->model()->rowCount() : 1;
    int checked = 0;
    for (int lot = 0; lot < lots; ++lot) {
      if (w.IsLotMode()) w.DBG_Lote->setCurrentIndex(w.DBG_Lote->model()->index(lot, 0));
      QAbstractItemModel* items = w.DBG_Item->model();
      for (int row = 0; row < items->rowCount(); ++row) {
        for (const int column : {1, 3}) {  // Código, Unid Med
          const QModelIndex cell = items->index(row, column);
          EXPECT_FALSE(delegate->isCellCut(*w.DBG_Item, cell)) << s.name << " row " << row << ": "
                                                                << cell.data().toString().toStdString();
          ++checked;
        }
      }
    }
    EXPECT_GT(checked, 0) << s.name;
  }
}

TEST_F(DesktopTest, ACutCellShowsItsWholeTextAsAToolTip) {
  TFRM_KLAVPropostas& w = *window;
  const QString longName = QStringLiteral("PRODUTO DE NOME MUITO LONGO ") + QString(60, u'X') + QStringLiteral(" FIM");
  const QString path = fixture(QStringLiteral("CP_000052_2012"), QStringLiteral("CP_000099_2012.ZUL"),
                               [&](QByteArray& json) {
                                 const int at = json.lastIndexOf("\"DES_PRODUTO\"");  // a record's, not the definition
                                 const int open = json.indexOf('"', json.indexOf(':', at)) + 1;
                                 const int close = json.indexOf('"', open);
                                 json.replace(open, close - open, longName.toUtf8());
                               });
  confirmSupplier(proposals::Purpose::CP);
  openFile(w.BBT_Arquivo, path);
  auto* delegate = qobject_cast<proposals::GridCellDelegate*>(w.DBG_Item->itemDelegate());
  QAbstractItemModel* items = w.DBG_Item->model();
  int cutRow = -1;
  for (int row = 0; row < items->rowCount() && cutRow < 0; ++row) {
    if (items->index(row, 2).data().toString() == longName) cutRow = row;
  }
  ASSERT_GE(cutRow, 0);
  const QModelIndex cut = items->index(cutRow, 2);
  const QModelIndex whole = items->index(cutRow == 0 ? 1 : 0, 2);
  EXPECT_TRUE(delegate->isCellCut(*w.DBG_Item, cut));
  EXPECT_FALSE(delegate->isCellCut(*w.DBG_Item, whole));

  const QPoint at = w.DBG_Item->visualRect(cut).center();
  QHelpEvent help(QEvent::ToolTip, at, w.DBG_Item->viewport()->mapToGlobal(at));
  QApplication::sendEvent(w.DBG_Item->viewport(), &help);
  EXPECT_TRUE(waitFor([] { return QToolTip::isVisible(); }));
  EXPECT_EQ(QToolTip::text(), longName);

  const QPoint elsewhere = w.DBG_Item->visualRect(whole).center();
  QHelpEvent noHelp(QEvent::ToolTip, elsewhere, w.DBG_Item->viewport()->mapToGlobal(elsewhere));
  QApplication::sendEvent(w.DBG_Item->viewport(), &noHelp);
  EXPECT_TRUE(waitFor([] { return !QToolTip::isVisible(); })) << "a whole text needs no tool tip";
}

TEST_F(DesktopTest, EnterOnAFocusedButtonPressesIt) {
  TFRM_KLAVPropostas& w = *window;
  // Enter on "Confirmar" confirms the supplier.
  pickPurpose(proposals::Purpose::CP);
  typeInto(w.MSK_CodigoNacional, QStringLiteral("12345678000195"));
  typeInto(w.EDT_NomeFornecedor, QStringLiteral("Papelaria Central"));
  w.BBT_GravarFornecedor->setFocus();
  QTest::keyClick(w.BBT_GravarFornecedor, Qt::Key_Return);
  ASSERT_TRUE(messages.empty());
  EXPECT_FALSE(w.PNL_Chave1->isEnabled()) << "the supplier is confirmed";
  EXPECT_TRUE(w.BBT_Arquivo->hasFocus());

  // Enter on "Gravar" stores the item; the keypad's Enter does the same.
  openFile(w.BBT_Arquivo, sample(QStringLiteral("CP_000052_2012")));
  const struct {
    Qt::Key key;
    Qt::KeyboardModifier modifier;
    const char* total;
  } presses[] = {{Qt::Key_Return, Qt::NoModifier, "2,50 "}, {Qt::Key_Enter, Qt::KeypadModifier, "5,00 "}};
  for (const auto& [key, modifier, total] : presses) {
    const int row = w.DBG_Item->currentIndex().row();
    typeInto(w.EDT_Marca, QStringLiteral("Marca"));
    typeInto(w.MED_Quantidade, QStringLiteral("1"));
    typeInto(w.MED_ValorUnitario, QStringLiteral("2,5"));
    w.BBT_Gravar->setFocus();
    ASSERT_TRUE(w.BBT_Gravar->hasFocus());
    QTest::keyClick(w.BBT_Gravar, key, modifier);
    ASSERT_TRUE(messages.empty()) << messages.front().text.toStdString();
    EXPECT_EQ(w.DBG_Item->currentIndex().row(), row + 1) << "stored and moved on";
    EXPECT_EQ(w.PNL_ValorTotal->text(), QString::fromLatin1(total)) << "the stored item counts in the total";
  }
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled()) << "an item was saved";

  // Enter with a modifier presses nothing.
  w.BBT_Limpar->setFocus();
  QTest::keyClick(w.BBT_Limpar, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_TRUE(w.BBT_Encerrar->isEnabled()) << "Ctrl+Enter is not Enter";
}

TEST_F(DesktopTest, QtsOwnDialogsSpeakPortuguese) {
  const QLocale machine;
  QTranslator* translator = proposals::installPortuguese(*qApp);
  ASSERT_NE(translator, nullptr) << "Qt's pt_BR translations are missing (qt6-translations-l10n)";
  TFRM_KLAVPropostas& w = *window;
  pickPurpose(proposals::Purpose::PL);
  proposals::setOpenDialogHook({});  // the real file dialog
  QString title;
  QStringList buttons;
  bool seen = false;
  std::function<void()> inspect = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      QTimer::singleShot(10, inspect);
      return;
    }
    seen = true;
    title = dialog->windowTitle();
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->isVisible()) buttons << button->text();
    }
    dialog->reject();
  };
  QTimer::singleShot(0, inspect);
  click(w.BBT_Proposta);
  EXPECT_TRUE(seen);
  EXPECT_EQ(title, u"Abrir");
  buttons.replaceInStrings(QStringLiteral("&"), QString());  // the shortcut mark
  EXPECT_TRUE(buttons.contains(QStringLiteral("Abrir"))) << buttons.join(u'|').toStdString();
  EXPECT_TRUE(buttons.contains(QStringLiteral("Cancelar"))) << buttons.join(u'|').toStdString();
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QLocale::setDefault(machine);
}

}  // namespace
}  // namespace proposals_testing
