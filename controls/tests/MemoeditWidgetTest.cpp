// TMemoEdit as a real widget in an active window: typed keys, focus moves,
// the owner's events and the error boxes.
#include "controls/Memoedit.h"

#include "WidgetFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QSignalSpy>

namespace controls {
namespace {

using testing_support::ControlWindow;

const QString kMask = QStringLiteral("###,###,###,###0.0000;0");

class MemoeditWidget : public ControlWindow<TMemoEdit> {
 protected:
  void SetUp() override {
    ControlWindow::SetUp();
    edit->SetMascara(kMask);
    edit->setText(QString());
  }

  // Types a script: characters are typed; "\b" is Backspace, "<" the left
  // arrow, "[" Shift+left arrow (selects), "^" Home, "*" Ctrl+A.
  void type(const QString& script) {
    for (const QChar c : script) {
      if (c == u'\b') {
        QTest::keyClick(edit, Qt::Key_Backspace);
      } else if (c == u'<') {
        QTest::keyClick(edit, Qt::Key_Left);
      } else if (c == u'[') {
        QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
      } else if (c == u'^') {
        QTest::keyClick(edit, Qt::Key_Home);
      } else if (c == u'*') {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
      } else {
        testing_support::typeText(edit, QString(c));
      }
    }
  }
};

TEST_F(MemoeditWidget, CreationDefaults) {
  TMemoEdit fresh;
  EXPECT_EQ(fresh.size(), QSize(115, 21));
  EXPECT_EQ(fresh.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(fresh.Mascara(), u"00000;0");
  EXPECT_EQ(fresh.text(), u"00000");
  EXPECT_EQ(fresh.maxLength(), 5);
  EXPECT_EQ(fresh.QLineEdit::maxLength(), 5);
  EXPECT_FALSE(fresh.ShowZero());
  EXPECT_FALSE(fresh.AcceptZero());
  EXPECT_TRUE(fresh.ErrorMessageZero().isEmpty());
  EXPECT_FALSE(fresh.acceptDrops());
  // The published properties are reachable by name, as a form loader would set them.
  EXPECT_TRUE(fresh.setProperty("Mascara", kMask));
  EXPECT_EQ(fresh.text(), u"0,0000");
  EXPECT_EQ(fresh.maxLength(), 20);
}

TEST_F(MemoeditWidget, TypingAndLeavingFormatsThenEnteringShowsTheBareNumberSelected) {
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  EXPECT_EQ(enters.count(), 1);
  type(QStringLiteral("1234,5"));
  EXPECT_EQ(edit->ValueText(), u"1234,5000");
  tabOut();

  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(edit->text(), u"1.234,5000");
  EXPECT_EQ(edit->ValueText(), u"1234,5000");
  EXPECT_EQ(exits.count(), 1);
  EXPECT_TRUE(errors.shown.empty());

  tabIn();
  EXPECT_EQ(edit->text(), u"1234,5000");
  EXPECT_EQ(edit->selectedText(), u"1234,5000");
  EXPECT_EQ(enters.count(), 2);
}

struct KeysCase {
  const char* keys;
  const char* text;
};

void PrintTo(const KeysCase& c, std::ostream* os) { *os << '"' << testing_support::printableKeys(c.keys) << '"'; }

class MemoeditKeys : public MemoeditWidget, public ::testing::WithParamInterface<KeysCase> {};

TEST_P(MemoeditKeys, TypedKeysGiveText) {
  tabIn();
  type(QString::fromUtf8(GetParam().keys));
  EXPECT_EQ(edit->text().toStdString(), GetParam().text) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    QuantityMask, MemoeditKeys,
    ::testing::Values(KeysCase{"1234.5", "1234,5"},                                // "." types ","
                      KeysCase{"12,3,4", "12,34"},                                 // a second "," is refused
                      KeysCase{"1-2", "12"},                                       // "-" not first is refused
                      KeysCase{"-1-2", "-12"},                                     // ... and a second one
                      KeysCase{"12345678901234", "1234567890123"},                 // 13 digits before the comma
                      KeysCase{"-12345678901234", "-1234567890123"},               // ... with a leading "-" too
                      KeysCase{"1234567890123,12345", "1234567890123,1234"},       // 4 after it
                      KeysCase{"-1234567890123,12345", "-1234567890123,1234"},     // ... with a leading "-" too
                      KeysCase{"1,1234\b", "1,123"},                               // Backspace with 4 decimals
                      KeysCase{"1,1234<<<<<9", "19,1234"},                         // a digit before the comma
                      KeysCase{"12a b\xc3\xa9\xc3\x87+/", "12"},                   // letters, blanks, accents
                      KeysCase{"123^-", "-123"},                                   // "-" typed at the start
                      KeysCase{"1234567890123,0000<<<<[5", "1234567890123,0000"},  // a digit over the comma ...
                      KeysCase{"12,5<[9", "1295"}));                               // ... only within 13 digits

TEST_F(MemoeditWidget, OwnerKeyPressEventSeesOnlyAcceptedKeys) {
  QSignalSpy keys(edit, &TMemoEdit::OnKeyPress);
  QSignalSpy changes(edit, &TMemoEdit::OnChange);
  tabIn();
  type(QStringLiteral("1a.2"));
  ASSERT_EQ(keys.count(), 3);
  EXPECT_EQ(keys.at(0).at(0).value<QChar>(), u'1');
  EXPECT_EQ(keys.at(1).at(0).value<QChar>(), u',') << "the owner sees the comma the point became";
  EXPECT_EQ(keys.at(2).at(0).value<QChar>(), u'2');
  EXPECT_EQ(changes.count(), 4) << "\"0,00\" on entering, then three typed characters";
}

TEST_F(MemoeditWidget, ComposedTextPassesTheSameFilter) {
  // Accented letters typed with dead keys arrive as committed input-method text.
  tabIn();
  type(QStringLiteral("\b12"));
  for (const char* commit : {"\xc3\xa9", "a", "12", "."}) {
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(commit));
    QApplication::sendEvent(edit, &event);
  }
  EXPECT_EQ(edit->text(), u"12,");
}

TEST_F(MemoeditWidget, LeavingAnEmptyBoxLeavesItEmptyWithoutTheExitEvent) {
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  EXPECT_EQ(edit->text(), u"0,00");
  tabOut();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(edit->text(), u"");
  EXPECT_EQ(edit->ValueText(), u"0,0000");
  EXPECT_EQ(exits.count(), 0);
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(MemoeditWidget, MinusAloneShowsValorInvalidoAndKeepsTheFocus) {
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  type(QStringLiteral("-"));
  tabOut();

  ASSERT_EQ(errors.texts(), std::vector<QString>{QStringLiteral("Valor inválido.")});
  EXPECT_EQ(errors.shown[0].focus, edit) << "the focus is back before the box opens";
  expectFocusKept();
  EXPECT_EQ(edit->text(), u"-");
  EXPECT_EQ(edit->selectedText(), u"-");
  EXPECT_EQ(exits.count(), 0);
  EXPECT_EQ(enters.count(), 1) << "taking the focus back is not a new enter";

  // The user corrects the value and leaves normally.
  type(QStringLiteral("5"));
  tabOut();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(edit->text(), u"5,0000");
  EXPECT_EQ(exits.count(), 1);
}

// A click on a button moves the focus before the button sees the press. When
// the exit is refused, that press must not reach the button: it would be
// left drawn pressed (the release is lost while the box is up) or, with no
// modal loop in between, be clicked with the value refused.
class MemoeditClickAway : public MemoeditWidget {
 protected:
  void SetUp() override {
    MemoeditWidget::SetUp();
    button = new QPushButton(QStringLiteral("Gravar"), &window);
    button->setGeometry(150, 10, 80, 25);
    button->show();
    QWidget::setTabOrder(next, edit);
  }
  QPushButton* button = nullptr;
};

TEST_F(MemoeditClickAway, RefusedExitKeepsTheClickFromTheButton) {
  QSignalSpy clicks(button, &QPushButton::clicked);
  tabIn();
  type(QStringLiteral("-"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(errors.texts(), std::vector<QString>{QStringLiteral("Valor inválido.")});
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_FALSE(button->isDown());
  expectFocusKept();

  // Corrected, the same click leaves the box and presses the button.
  type(QStringLiteral("5"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(button->hasFocus());
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(edit->text(), u"5,0000");
}

TEST_F(MemoeditClickAway, ButtonIsNotLeftPressedBehindTheRealBox) {
  const ErrorBoxHook recording = setErrorBoxHook({});
  QSignalSpy clicks(button, &QPushButton::clicked);
  tabIn();
  type(QStringLiteral("-"));
  // The user lets the mouse button go while the box is up, then presses OK.
  testing_support::answerNextMessageBox([&](QMessageBox&) { QTest::mouseRelease(button, Qt::LeftButton); });
  QTest::mousePress(button, Qt::LeftButton);
  setErrorBoxHook(recording);

  EXPECT_FALSE(button->isDown());
  EXPECT_EQ(clicks.count(), 0);
  expectFocusKept();
}

TEST_F(MemoeditWidget, ZeroWithItsOwnMessageKeepsTheFocus) {
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  edit->SetErrorMessageZero(QStringLiteral("Informe a quantidade."));
  ASSERT_TRUE(edit->AcceptZero());
  tabIn();
  tabOut();
  EXPECT_EQ(errors.texts(), std::vector<QString>{QStringLiteral("Informe a quantidade.")});
  expectFocusKept();
  EXPECT_EQ(exits.count(), 0);
}

TEST_F(MemoeditWidget, ClearingFromTheProgramSetsValueTextToZero) {
  QSignalSpy changes(edit, &TMemoEdit::OnChange);
  edit->setText(QStringLiteral("1.234,5000"));
  EXPECT_EQ(edit->ValueText(), u"1234,5000");
  edit->clear();
  EXPECT_EQ(edit->ValueText(), u"0");

  // Also when the box is already empty after leaving it with no value.
  tabIn();
  tabOut();
  ASSERT_EQ(edit->ValueText(), u"0,0000");
  changes.clear();
  edit->setText(QString());
  EXPECT_EQ(edit->ValueText(), u"0");
  EXPECT_EQ(changes.count(), 1);
}

TEST_F(MemoeditWidget, PastedTextIsCutToMaxLengthAndReadWhenTheFocusLeaves) {
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  QGuiApplication::clipboard()->setText(QStringLiteral("12abc"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), u"12abc");
  EXPECT_EQ(edit->ValueText(), u"0,0000") << "not read while typing";
  tabOut();
  EXPECT_EQ(errors.texts(), std::vector<QString>{QStringLiteral("Valor inválido.")});
  expectFocusKept();
  EXPECT_EQ(exits.count(), 0);

  QGuiApplication::clipboard()->setText(QStringLiteral("1234567890123456789012345"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);  // over the selected text
  EXPECT_EQ(edit->text(), u"12345678901234567890");
  EXPECT_EQ(edit->text().size(), edit->maxLength());
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text().size(), edit->maxLength()) << "a full box takes nothing more";
}

TEST_F(MemoeditWidget, FormattedTextLongerThanMaxLengthIsNeverCut) {
  // 13 integer digits and 4 decimals: 22 characters once grouped, MaxLength 20.
  tabIn();
  type(QStringLiteral("1234567890123,25"));
  tabOut();
  EXPECT_EQ(edit->text(), u"1.234.567.890.123,2500");
  EXPECT_EQ(edit->ValueText(), u"1234567890123,2500");

  edit->setText(QStringLiteral("9.876.543.210.987,6500"));
  EXPECT_EQ(edit->text(), u"9.876.543.210.987,6500");
  EXPECT_EQ(edit->ValueText(), u"9876543210987,6500");

  tabIn();
  EXPECT_EQ(edit->text(), u"9876543210987,6500");
  EXPECT_EQ(edit->QLineEdit::maxLength(), 20) << "the bare text fits: typing is bounded again";
}

TEST_F(MemoeditWidget, ProgramSetsTheFocusBackFromItsExitEvent) {
  // The owner refuses a value from its exit event (as the program does for a
  // quantity above the one asked for): it takes the focus back first, then
  // tells the user.
  int ownerMessages = 0;
  QObject::connect(edit, &TMemoEdit::OnExit, edit, [&] {
    edit->setFocus();
    edit->selectAll();
    ++ownerMessages;
  });
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  tabIn();
  type(QStringLiteral("7"));
  tabOut();
  EXPECT_EQ(ownerMessages, 1);
  expectFocusKept();
  EXPECT_EQ(enters.count(), 2) << "the owner's focus return is a new enter";
  EXPECT_EQ(edit->text(), u"7,0000");
  EXPECT_EQ(edit->selectedText(), u"7,0000");
}

TEST_F(MemoeditWidget, LosingTheWindowIsNotLeavingTheBox) {
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  type(QStringLiteral("-"));
  QWidget other;
  other.resize(100, 100);
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_TRUE(errors.shown.empty()) << "no exit step ran";
  EXPECT_EQ(exits.count(), 0);
  EXPECT_EQ(enters.count(), 1);
  EXPECT_EQ(edit->text(), u"-");
}

TEST_F(MemoeditWidget, HidingOrDisablingTheFocusedBoxEndsTheVisitQuietly) {
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  for (const bool hide : {true, false}) {
    tabIn();
    type(QStringLiteral("-"));
    if (hide) {
      edit->hide();
    } else {
      edit->setEnabled(false);
    }
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_TRUE(errors.shown.empty()) << (hide ? "hidden" : "disabled");
    EXPECT_EQ(exits.count(), 0);
    edit->show();
    edit->setEnabled(true);
    next->setFocus();
  }
  tabIn();
  EXPECT_EQ(enters.count(), 3) << "coming back is a new enter";
}

TEST_F(MemoeditWidget, RealMessageBoxDuringFocusOutKeepsTheFocus) {
  const ErrorBoxHook recording = setErrorBoxHook({});  // the real box for this test
  QSignalSpy enters(edit, &TMemoEdit::OnEnter);
  QSignalSpy exits(edit, &TMemoEdit::OnExit);
  tabIn();
  type(QStringLiteral("-"));
  QString shownText;
  testing_support::answerNextMessageBox([&](QMessageBox& box) { shownText = box.text(); });
  tabOut();
  setErrorBoxHook(recording);

  EXPECT_EQ(shownText, u"Valor inválido.");
  expectFocusKept();
  EXPECT_EQ(edit->selectedText(), u"-");
  EXPECT_EQ(exits.count(), 0);
  EXPECT_EQ(enters.count(), 1) << "the window coming back is not a new enter";
}

}  // namespace
}  // namespace controls
