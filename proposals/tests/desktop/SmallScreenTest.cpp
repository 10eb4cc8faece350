// The main window on a 1024 × 600 screen, smaller than the window: its title
// bar stays on the screen and its contents scroll, so the mouse reaches
// every control, the action bar included. Run with --screen=1024x600. With
// PROPOSALS_SCREENSHOT_DIR set it also saves a picture of the screen.
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include "DesktopTestSupport.h"

namespace desktop_testing {
namespace {

class SmallScreen : public proposals_testing::WindowTest {};

TEST_F(SmallScreen, TheTitleBarIsOnScreenAndTheMouseReachesEncerrar) {
  TFRM_KLAVPropostas& w = *window;
  const QRect screen = w.screen()->geometry();
  ASSERT_EQ(screen.size(), QSize(1024, 600)) << "run with --screen=1024x600";
  ASSERT_TRUE(waitUntil([&] { return w.frameGeometry().top() < w.geometry().top(); })) << "framed by openbox";
  EXPECT_TRUE(screen.contains(w.frameGeometry())) << "frame and title bar on the screen";
  EXPECT_LT(w.height(), 646);

  auto* scroller = w.findChild<QScrollArea*>(QStringLiteral("SCR_Janela"));
  ASSERT_NE(scroller, nullptr);
  QScrollBar* bar = scroller->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->value(), 0);

  // Encerrar lies below the shown part until the user scrolls down with the
  // wheel over the window: over the entity's name, a place that stays over
  // labels while the contents move (a drop-down list or a grid under the
  // pointer would take the wheel for itself).
  w.BBT_Encerrar->setEnabled(true);
  QSignalSpy pressed(w.BBT_Encerrar, &QPushButton::clicked);
  const QRect shown(scroller->viewport()->mapToGlobal(QPoint(0, 0)), scroller->viewport()->size());
  EXPECT_FALSE(shown.contains(centreOf(w.BBT_Encerrar)));
  ASSERT_TRUE(turnWheel(centreOf(w.LBL_NomeEntidade), 10));
  ASSERT_TRUE(waitUntil([&] { return bar->value() == bar->maximum(); }));
  const QPoint encerrar = centreOf(w.BBT_Encerrar);
  ASSERT_TRUE(shown.contains(encerrar)) << "scrolled into view";
  ASSERT_TRUE(clickMouse(encerrar));
  EXPECT_TRUE(waitUntil([&] { return pressed.count() == 1; })) << "the click reached Encerrar";

  // The README's picture of the whole small screen, when asked for.
  if (const QString folder = qEnvironmentVariable("PROPOSALS_SCREENSHOT_DIR"); !folder.isEmpty()) {
    QTest::qWait(300);
    EXPECT_TRUE(screenPicture().save(QDir(folder).filePath(QStringLiteral("window-small-screen.png"))));
  }
}

}  // namespace
}  // namespace desktop_testing
