// Pictures of the window as the screen shows it under a window manager, for
// the README: the start state, item mode, lot mode, and the file dialog in
// Portuguese. Written only when PROPOSALS_SCREENSHOT_DIR names a folder;
// otherwise the test only checks that the screen shows the framed window.
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "DesktopTestSupport.h"
#include "ProposalRules.h"
#include "Translations.h"

namespace desktop_testing {
namespace {

class Screenshot : public proposals_testing::WindowTest {
 protected:
  // The window with its frame and title bar as the screen shows it, and
  // `around` (a dialog in front) when given.
  void take(const char* name, const QWidget* around = nullptr) {
    QTest::qWait(300);  // the X server has drawn the last paint
    QRect area = window->frameGeometry();
    if (around != nullptr) area = area.united(around->frameGeometry());
    const QImage picture = screenPicture().copy(area);
    EXPECT_EQ(picture.size(), area.size());
    const QString folder = qEnvironmentVariable("PROPOSALS_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
      EXPECT_TRUE(picture.save(QDir(folder).filePath(QString::fromUtf8(name))));
    }
  }
};

TEST_F(Screenshot, TheWindowInBothModesAndTheFileDialogInPortuguese) {
  TFRM_KLAVPropostas& w = *window;
  ASSERT_TRUE(waitUntil([&] { return w.frameGeometry().top() < w.geometry().top(); })) << "framed by openbox";
  take("window-start.png");

  confirmSupplier(proposals::Purpose::PL);
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000001_2010")));
  ASSERT_TRUE(messages.empty());
  typeInto(w.EDT_Marca, QStringLiteral("Tilibra"));
  typeInto(w.MED_Quantidade, QStringLiteral("10"));
  typeInto(w.MED_ValorUnitario, QStringLiteral("12,5"));
  click(w.BBT_Gravar);
  take("window-item-mode.png");

  // Replacing a file with a stored proposal asks first; the hook answers Ok.
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000014_2011")));
  ASSERT_TRUE(w.IsLotMode());
  click(w.DBG_Item);
  QTest::keyClick(w.DBG_Item, Qt::Key_Down);
  take("window-lot-mode.png");

  const QLocale machine;
  QTranslator* translator = proposals::installPortuguese(*qApp);
  ASSERT_NE(translator, nullptr);
  proposals::setOpenDialogHook({});
  bool taken = false;
  std::function<void()> shoot = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isActiveWindow()) {
      QTimer::singleShot(20, shoot);
      return;
    }
    dialog->setDirectory(QStringLiteral(PROPOSALS_SAMPLES_DIR));
    take("file-dialog-pt-BR.png", dialog);
    taken = true;
    pressKey("Escape");
  };
  QTimer::singleShot(0, shoot);
  click(w.BBT_Arquivo);
  EXPECT_TRUE(taken);
  QCoreApplication::removeTranslator(translator);
  delete translator;
  QLocale::setDefault(machine);
}

}  // namespace
}  // namespace desktop_testing
