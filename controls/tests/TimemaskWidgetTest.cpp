// TTimeMaskEdit as a real widget in an active window.
#include "controls/Timemask.h"

#include "WidgetFixture.h"

#include <QSignalSpy>

namespace controls {
namespace {

using testing_support::ControlWindow;

class TimemaskWidget : public ControlWindow<TTimeMaskEdit> {};

TEST_F(TimemaskWidget, CreationDefaults) {
  TTimeMaskEdit fresh;
  EXPECT_EQ(fresh.Text(), u"  :  ");
  EXPECT_TRUE(fresh.AceitaNulo());
  EXPECT_EQ(fresh.width(), 49);
  EXPECT_EQ(fresh.inputMask(), TTimeMaskEdit::kReportedInputMask);
  // Every digit position may stay empty: the toolkit finds an empty or partly
  // typed box acceptable (it emits editingFinished for it); the exit check
  // alone decides what is a time.
  EXPECT_TRUE(fresh.hasAcceptableInput());
  fresh.setText(QStringLiteral("12:3"));
  EXPECT_EQ(fresh.Text(), u"12:3 ");
  EXPECT_TRUE(fresh.hasAcceptableInput());
  fresh.setText(QStringLiteral("12:30"));
  EXPECT_EQ(fresh.Text(), u"12:30");
}

TEST_F(TimemaskWidget, OnlyDigitsAreTypedAndBackspaceAndDeleteStillWork) {
  tabIn();
  testing_support::typeText(edit, QStringLiteral("ab :-x./é"));
  EXPECT_EQ(edit->Text(), u"  :  ");
  testing_support::typeText(edit, QStringLiteral("0a8:0-5"));
  EXPECT_EQ(edit->Text(), u"08:05");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->Text(), u"08:0 ");
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClick(edit, Qt::Key_Delete);
  EXPECT_EQ(edit->Text(), u" 8:0 ");
}

struct ExitCase {
  const char* keys;
  bool aceitaNulo;
  bool invalid;  // "Hora inválida" is shown
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << '"' << c.keys << "\" AceitaNulo=" << c.aceitaNulo << (c.invalid ? " invalid" : " valid");
}

class TimemaskExit : public TimemaskWidget, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(TimemaskExit, ChecksTheTimeAndAlwaysRunsTheExitEvent) {
  const ExitCase& c = GetParam();
  edit->SetAceitaNulo(c.aceitaNulo);
  QSignalSpy exits(edit, &TTimeMaskEdit::OnExit);
  int exitsBeforeTheMessage = -1;
  errors.shown.clear();
  setErrorBoxHook([&](QWidget*, const QString& text) {
    exitsBeforeTheMessage = int(exits.count());
    errors.shown.push_back({text, QApplication::focusWidget()});
  });
  tabIn();
  testing_support::typeText(edit, QString::fromUtf8(c.keys));
  const QString typed = edit->Text();
  tabOut();

  EXPECT_EQ(exits.count(), 1) << c.keys;
  if (c.invalid) {
    EXPECT_EQ(errors.texts(), std::vector<QString>{QStringLiteral("Hora inválida")}) << c.keys;
    EXPECT_EQ(exitsBeforeTheMessage, 0) << "the exit event comes after the check";
    expectFocusKept();
    EXPECT_EQ(edit->selectedText(), typed);
  } else {
    EXPECT_TRUE(errors.shown.empty()) << c.keys;
    EXPECT_TRUE(next->hasFocus());
  }
  EXPECT_EQ(edit->Text(), typed) << "the text stays as typed";
}

INSTANTIATE_TEST_SUITE_P(Times, TimemaskExit,
                         ::testing::Values(ExitCase{"0805", true, false}, ExitCase{"2359", false, false},
                                           ExitCase{"0000", false, false}, ExitCase{"2500", true, true},
                                           ExitCase{"1260", true, true}, ExitCase{"08", true, true},
                                           ExitCase{"", true, false}, ExitCase{"", false, true}));

TEST_F(TimemaskWidget, EnteringSelectsTheText) {
  QSignalSpy enters(edit, &TTimeMaskEdit::OnEnter);
  edit->setText(QStringLiteral("12:30"));
  tabIn();
  EXPECT_EQ(edit->selectedText(), u"12:30");
  EXPECT_EQ(enters.count(), 1);
}

TEST_F(TimemaskWidget, RealMessageBoxKeepsTheFocus) {
  const ErrorBoxHook recording = setErrorBoxHook({});
  QSignalSpy exits(edit, &TTimeMaskEdit::OnExit);
  tabIn();
  testing_support::typeText(edit, QStringLiteral("2500"));
  QString shownText;
  testing_support::answerNextMessageBox([&](QMessageBox& box) { shownText = box.text(); });
  tabOut();
  setErrorBoxHook(recording);

  EXPECT_EQ(shownText, u"Hora inválida");
  expectFocusKept();
  EXPECT_EQ(edit->selectedText(), u"25:00");
  EXPECT_EQ(exits.count(), 1);
}

}  // namespace
}  // namespace controls
