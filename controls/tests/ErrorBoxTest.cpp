// The controls' error box: the real modal box once, and the seam.
#include "controls/AppTitle.h"
#include "controls/ErrorBox.h"

#include "WidgetFixture.h"

#include <QAbstractButton>

namespace controls {
namespace {

TEST(ErrorBox, RealBoxHasTitleErrorIconAndOneOkButton) {
  const ErrorBoxHook saved = setErrorBoxHook({});
  QWidget owner;
  owner.show();
  bool inspected = false;
  testing_support::answerNextMessageBox([&](QMessageBox& box) {
    inspected = true;
    EXPECT_EQ(box.windowTitle(), applicationTitle());
    EXPECT_EQ(box.windowTitle(), u"controls_tests");
    EXPECT_EQ(box.text(), u"Hora inválida");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    ASSERT_EQ(box.buttons().size(), 1);
    EXPECT_EQ(box.standardButton(box.buttons().front()), QMessageBox::Ok);
    EXPECT_TRUE(box.isModal());
    EXPECT_EQ(box.parentWidget(), &owner);
  });
  showErrorBox(&owner, QStringLiteral("Hora inválida"));  // returns once OK is pressed
  EXPECT_TRUE(inspected);
  setErrorBoxHook(saved);
}

TEST(ErrorBox, HookReceivesTheTextAndCanBeRemoved) {
  std::vector<QString> seen;
  const ErrorBoxHook saved = setErrorBoxHook([&](QWidget*, const QString& text) { seen.push_back(text); });
  showErrorBox(nullptr, QStringLiteral("Valor inválido."));
  EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("Valor inválido.")});

  const ErrorBoxHook mine = setErrorBoxHook(saved);
  EXPECT_TRUE(static_cast<bool>(mine)) << "setting a hook hands back the one it replaces";
}

}  // namespace
}  // namespace controls
