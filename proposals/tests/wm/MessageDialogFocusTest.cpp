// The real message dialog over the window on a real desktop: it takes the
// activation from the main window, and when it closes the window manager
// gives the activation back and the field to correct has the focus.
#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "DesktopWindowFixture.h"
#include "ProposalRules.h"

namespace proposals_testing {
namespace {

TEST_F(DesktopWindowTest, RealMessageDialogReturnsTheFocusToTheFieldToCorrect) {
  TFRM_KLAVPropostas& w = *window;
  setMessageBoxHook({});
  ASSERT_NO_FATAL_FAILURE(pickPurpose(proposals::Purpose::CP));
  ASSERT_NO_FATAL_FAILURE(typeInto(w.MSK_CodigoNacional, QStringLiteral("12345678000196")));
  // While the dialog is up (its own event loop runs inside the click), the
  // text is read and Return pressed on the real keyboard.
  QString shown;
  bool dialogActive = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isActiveWindow()) return;
    poll.stop();
    dialogActive = true;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) shown += label->text();
    desktop.key("Return");
  });
  poll.start();
  desktop.click(w.BBT_GravarFornecedor);
  ASSERT_TRUE(waitUntil([&] { return dialogActive && QApplication::activeModalWidget() == nullptr; }));
  EXPECT_TRUE(shown.contains(u"Número do CNPJ inválido")) << shown.toStdString();
  ASSERT_TRUE(waitUntil([&] { return w.isActiveWindow(); }));
  ASSERT_TRUE(waitUntil([&] { return w.MSK_CodigoNacional->hasFocus(); }))
      << (focused() ? focused()->objectName().toStdString() : "no focus widget");
  EXPECT_TRUE(w.PNL_Chave1->isEnabled());
}

}  // namespace
}  // namespace proposals_testing
