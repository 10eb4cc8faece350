// The tutorial window: its text, that the text cannot be changed but can be
// copied, and the ways it closes (and the one that must not close it).
#include "UNT_Tutorial.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QTextEdit* textBox(QWidget& w) { return w.findChild<QTextEdit*>(QStringLiteral("RCH_Tutorial")); }
QPushButton* closeButton(QWidget& w) { return w.findChild<QPushButton*>(QStringLiteral("BBT_Fechar")); }

TEST(Tutorial, HoldsTheSixtyLinesWithTheirTrailingBlanks) {
  TFRM_Tutorial tutorial;
  const QStringList lines = textBox(tutorial)->toPlainText().split(u'\n');
  ASSERT_EQ(lines.size(), 60);
  EXPECT_EQ(lines[0], u"KLAVRegistraPropostas: Programa para digitação de ");
  EXPECT_EQ(lines[3], u"");
  EXPECT_EQ(lines[4], u"Sequência operacional");
  EXPECT_EQ(lines[7], u"Preços ou Processo Licitatótio.");
  EXPECT_EQ(lines[42], u"nome do arquivo tem a seguinte composição: PL_000001_");
  EXPECT_EQ(lines[43], u"2010_12123123000199.PRO, onde");
  EXPECT_EQ(lines[58], u"composição descrita no item 15 deste tutorial.");
  EXPECT_EQ(lines[59], u"");
  int withTrailingBlank = 0;
  for (const QString& line : lines) withTrailingBlank += line.endsWith(u' ') ? 1 : 0;
  EXPECT_EQ(withTrailingBlank, 29);
}

TEST(Tutorial, WindowLayout) {
  TFRM_Tutorial tutorial;
  tutorial.show();
  EXPECT_EQ(tutorial.windowTitle(), u"Tutorial");
  EXPECT_EQ(tutorial.size(), QSize(360, 547));
  EXPECT_EQ(tutorial.minimumSize(), tutorial.maximumSize());
  EXPECT_FALSE(tutorial.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(textBox(tutorial)->geometry(), QRect(5, 5, 350, 501));
  EXPECT_EQ(textBox(tutorial)->mapTo(&tutorial, QPoint(0, 0)), QPoint(5, 5));
  EXPECT_EQ(closeButton(tutorial)->mapTo(&tutorial, QPoint(0, 0)), QPoint(130, 512 + 5));
  EXPECT_EQ(closeButton(tutorial)->size(), QSize(75, 25));
  EXPECT_EQ(closeButton(tutorial)->text(), u"&Fechar");
  EXPECT_EQ(tutorial.focusWidget(), textBox(tutorial)) << "the text has the focus when the window opens";
  EXPECT_EQ(textBox(tutorial)->verticalScrollBar()->value(), 0);
  EXPECT_EQ(textBox(tutorial)->palette().color(QPalette::Text), QColor(0x80, 0, 0));
}

TEST(Tutorial, TextCannotBeChangedButCanBeCopied) {
  TFRM_Tutorial tutorial;
  tutorial.show();
  tutorial.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&tutorial));
  QTextEdit* text = textBox(tutorial);
  const QString original = text->toPlainText();

  QTest::keyClicks(text, QStringLiteral("abc"));
  QTest::keyClick(text, Qt::Key_Backspace);
  QTest::keyClick(text, Qt::Key_Delete);
  QTest::keyClick(text, Qt::Key_Return);
  QApplication::clipboard()->setText(QStringLiteral("colado"));
  QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(text, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(text->toPlainText(), original);
  EXPECT_TRUE(tutorial.isVisible()) << "Enter in the text does not close the window";

  QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), original);
}

// Opens the tutorial modally, runs `act` once it is up and returns whether
// that closed it (it is closed by force otherwise).
bool closesOn(std::function<void(TFRM_Tutorial&)> act) {
  bool closedByAct = true;
  QTimer::singleShot(0, [&] {
    auto* tutorial = qobject_cast<TFRM_Tutorial*>(QApplication::activeModalWidget());
    ASSERT_NE(tutorial, nullptr);
    tutorial->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(tutorial));
    act(*tutorial);
    // A mnemonic presses its button with a short animation before it clicks.
    if (!QTest::qWaitFor([tutorial] { return !tutorial->isVisible(); }, 500)) {
      closedByAct = false;
      tutorial->done(QDialog::Rejected);
    }
  });
  TFRM_Tutorial tutorial;
  tutorial.exec();
  return closedByAct;
}

TEST(Tutorial, ClosesByFecharAltFAndCloseBoxButNotByEsc) {
  const struct {
    const char* what;
    std::function<void(TFRM_Tutorial&)> act;
    bool closes;
  } cases[] = {
      {"click Fechar", [](TFRM_Tutorial& t) { QTest::mouseClick(closeButton(t), Qt::LeftButton); }, true},
      {"Alt+F", [](TFRM_Tutorial& t) { QTest::keyClick(textBox(t), Qt::Key_F, Qt::AltModifier); }, true},
      {"close box", [](TFRM_Tutorial& t) { t.close(); }, true},
      {"Esc in the text", [](TFRM_Tutorial& t) { QTest::keyClick(textBox(t), Qt::Key_Escape); }, false},
      {"Esc on Fechar",
       [](TFRM_Tutorial& t) {
         closeButton(t)->setFocus();
         QTest::keyClick(closeButton(t), Qt::Key_Escape);
       },
       false},
  };
  for (const auto& c : cases) EXPECT_EQ(closesOn(c.act), c.closes) << c.what;
}

// A click that travels the way the platform's clicks do, through the
// window, so that a modal window in front can block it.
void clickAsTheUser(QWidget& window, QWidget& target) {
  const QPoint at = target.mapTo(&window, target.rect().center());
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at);
}

TEST(Tutorial, MainWindowTakesNoInputWhileItIsOpen) {
  QWidget main;
  auto* button = new QPushButton(QStringLiteral("Gravar"), &main);
  button->setGeometry(10, 10, 80, 25);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  bool tried = false;
  QTimer::singleShot(0, [&] {
    auto* tutorial = qobject_cast<TFRM_Tutorial*>(QApplication::activeModalWidget());
    ASSERT_NE(tutorial, nullptr);
    clickAsTheUser(main, *button);
    tried = true;
    tutorial->close();
  });
  TFRM_Tutorial tutorial;
  tutorial.exec();
  EXPECT_TRUE(tried);
  EXPECT_EQ(clicks, 0);
  clickAsTheUser(main, *button);
  EXPECT_EQ(clicks, 1) << "the window takes input again once the tutorial is closed";
}

}  // namespace
