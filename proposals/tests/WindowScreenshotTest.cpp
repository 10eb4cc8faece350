// Pictures of the window for the README: the start state and a lot-mode
// sample open. They are written only when PROPOSALS_SCREENSHOT_DIR names a
// folder (run under Xvfb with the xcb platform for the real look, see the
// README); otherwise the test only checks that the window renders whole.
#include <QPixmap>

#include "ProposalRules.h"
#include "WindowFixture.h"

namespace proposals_testing {
namespace {

void save(const QPixmap& picture, const char* name) {
  const QString folder = qEnvironmentVariable("PROPOSALS_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  EXPECT_TRUE(picture.save(QDir(folder).filePath(QString::fromUtf8(name))));
}

TEST_F(WindowTest, ScreenshotsOfTheStartStateAndALotModeSample) {
  TFRM_KLAVPropostas& w = *window;
  const QPixmap start = w.grab();
  EXPECT_EQ(start.size(), QSize(1009, 646) * start.devicePixelRatio());
  save(start, "window-start.png");

  ASSERT_NO_FATAL_FAILURE(confirmSupplier(proposals::Purpose::PL));
  openFile(w.BBT_Arquivo, sample(QStringLiteral("PL_000014_2011")));
  ASSERT_TRUE(messages.empty());
  click(w.DBG_Item);
  QTest::keyClick(w.DBG_Item, Qt::Key_Down);
  save(w.grab(), "window-lot-mode.png");
}

}  // namespace
}  // namespace proposals_testing
