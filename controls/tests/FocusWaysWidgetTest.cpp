// Both controls as real widgets: a click into the box selects its text as
// Tab does, and every way the focus can leave runs exactly one exit step,
// also when the window is not active while the program moves the focus.
#include "controls/Memoedit.h"
#include "controls/Timemask.h"

#include "WidgetFixture.h"

#include <QSignalSpy>

namespace controls {
namespace {

using testing_support::ControlWindow;
using testing_support::typeText;

// What each control needs to be filled, typed over and shown.
template <typename Edit>
struct Traits;

template <>
struct Traits<TMemoEdit> {
  static void prepare(TMemoEdit& edit) {
    edit.SetMascara(QStringLiteral("###,###,###,###0.0000;0"));
    edit.setText(QString());
  }
  static QString shown(const TMemoEdit& edit) { return edit.text(); }
  static inline const QString filled = QStringLiteral("1234,5");  // shown as 1.234,5000
  static inline const QString valid = QStringLiteral("12");
  static inline const QString validShown = QStringLiteral("12,0000");
  static inline const QString invalid = QStringLiteral("-");
  static inline const QString invalidMessage = QStringLiteral("Valor inválido.");
};

template <>
struct Traits<TTimeMaskEdit> {
  static void prepare(TTimeMaskEdit&) {}
  static QString shown(const TTimeMaskEdit& edit) { return edit.Text(); }
  static inline const QString filled = QStringLiteral("0815");
  static inline const QString valid = QStringLiteral("1230");
  static inline const QString validShown = QStringLiteral("12:30");
  static inline const QString invalid = QStringLiteral("25");
  static inline const QString invalidMessage = QStringLiteral("Hora inválida");
};

template <typename Edit>
class FocusWays : public ControlWindow<Edit> {
 protected:
  using Base = ControlWindow<Edit>;
  using T = Traits<Edit>;

  void SetUp() override {
    Base::SetUp();
    T::prepare(*this->edit);
    enters = std::make_unique<QSignalSpy>(this->edit, &Edit::OnEnter);
    exits = std::make_unique<QSignalSpy>(this->edit, &Edit::OnExit);
  }

  // Brings the window back to the front, as a desktop does once a box in
  // front of it has closed.
  void reactivate() {
    if (this->window.isActiveWindow()) return;
    this->window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&this->window));
  }

  // Another window takes the activation: the box loses the keyboard focus
  // without being left.
  void deactivate(QWidget& other) {
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ASSERT_FALSE(this->edit->hasFocus());
  }

  std::unique_ptr<QSignalSpy> enters;
  std::unique_ptr<QSignalSpy> exits;
};

using Controls = ::testing::Types<TMemoEdit, TTimeMaskEdit>;
TYPED_TEST_SUITE(FocusWays, Controls);

TYPED_TEST(FocusWays, ClickIntoTheBoxSelectsItsWholeTextSoTypingReplacesIt) {
  using T = Traits<TypeParam>;
  TypeParam* edit = this->edit;
  for (const bool filled : {false, true}) {
    for (const int x : {2, edit->width() / 2, edit->width() - 2}) {
      SCOPED_TRACE(testing::Message() << (filled ? "filled" : "empty") << " box, click at x=" << x);
      if (filled) {
        this->tabIn();
        typeText(edit, T::filled);
      } else {
        this->tabIn();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
      }
      this->tabOut();
      ASSERT_TRUE(this->next->hasFocus());

      QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
      ASSERT_TRUE(edit->hasFocus());
      EXPECT_EQ(edit->selectedText(), edit->displayText()) << "the whole text is selected";
      typeText(edit, T::valid);
      this->tabOut();
      EXPECT_EQ(T::shown(*edit), T::validShown);
      EXPECT_TRUE(this->errors.shown.empty());
    }
  }
}

TYPED_TEST(FocusWays, LaterClickInsideTheBoxPlacesTheCaret) {
  TypeParam* edit = this->edit;
  this->tabIn();
  typeText(edit, Traits<TypeParam>::filled);
  edit->selectAll();
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
  EXPECT_FALSE(edit->hasSelectedText()) << "only the click that enters keeps the selection";
  EXPECT_EQ(this->enters->count(), 1);
}

struct WayOut {
  const char* what;
  // Moves the focus from the box to `next` (or not), with `other` a second window.
  std::function<void(QWidget& edit, QWidget& next, QWidget& other)> move;
  bool leaves;
};

// The ways the focus can go; the window is active before each.
std::vector<WayOut> waysOut() {
  return {
      {"Tab", [](QWidget& edit, QWidget&, QWidget&) { QTest::keyClick(&edit, Qt::Key_Tab); }, true},
      {"click on the next box", [](QWidget&, QWidget& next, QWidget&) { QTest::mouseClick(&next, Qt::LeftButton); },
       true},
      {"program's setFocus", [](QWidget&, QWidget& next, QWidget&) { next.setFocus(); }, true},
      {"program's clearFocus", [](QWidget& edit, QWidget&, QWidget&) { edit.clearFocus(); }, true},
      {"program's setFocus while another window is active",
       [](QWidget&, QWidget& next, QWidget& other) {
         other.resize(100, 100);
         other.show();
         other.activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
         next.setFocus();
       },
       true},
      {"program's setFocus right after a modal box closed",
       [](QWidget& edit, QWidget& next, QWidget&) {
         testing_support::answerNextMessageBox([](QMessageBox&) {});
         QMessageBox box(QMessageBox::Information, QStringLiteral("t"), QStringLiteral("Gravado."), QMessageBox::Ok,
                         edit.window());
         box.exec();
         next.setFocus();
       },
       true},
      {"window lost and regained", [](QWidget&, QWidget&, QWidget& other) {
         other.resize(100, 100);
         other.show();
         other.activateWindow();
         ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
       },
       false},
  };
}

TYPED_TEST(FocusWays, EveryWayOutRunsExactlyOneExitStep) {
  using T = Traits<TypeParam>;
  TypeParam* edit = this->edit;
  for (const WayOut& way : waysOut()) {
    SCOPED_TRACE(way.what);
    this->enters->clear();
    this->exits->clear();
    QWidget other;
    this->tabIn();
    typeText(edit, T::valid);
    way.move(*edit, *this->next, other);
    if (way.leaves) {
      EXPECT_EQ(this->exits->count(), 1) << "the exit step runs when the focus moves";
    }
    this->reactivate();
    QApplication::processEvents();
    EXPECT_TRUE(this->errors.shown.empty());
    if (way.leaves) {
      EXPECT_EQ(this->exits->count(), 1);
      EXPECT_EQ(T::shown(*edit), T::validShown);
      this->next->setFocus();
      this->tabIn();
      EXPECT_EQ(this->enters->count(), 2) << "coming back is a new enter";
    } else {
      EXPECT_EQ(this->exits->count(), 0) << "the box was not left";
      EXPECT_TRUE(edit->hasFocus());
      EXPECT_EQ(this->enters->count(), 1);
    }
    this->tabOut();
    EXPECT_TRUE(this->next->hasFocus());
    EXPECT_EQ(this->exits->count(), way.leaves ? 2 : 1);
  }
}

TYPED_TEST(FocusWays, InvalidValueLeftWhileTheWindowIsAwayIsRefused) {
  using T = Traits<TypeParam>;
  TypeParam* edit = this->edit;
  QWidget other;
  this->tabIn();
  typeText(edit, T::invalid);
  this->deactivate(other);
  this->next->setFocus();
  EXPECT_EQ(this->errors.texts(), std::vector<QString>{T::invalidMessage});
  EXPECT_EQ(this->window.focusWidget(), edit) << "the box took the focus back";
  this->expectFocusKept();
  EXPECT_EQ(this->enters->count(), 1) << "taking the focus back is not a new enter";
}

TYPED_TEST(FocusWays, WindowComingBackEndsAVisitLeftUnnoticed) {
  // Should the window's focus change go unreported (its native window
  // replaced, say), the window's next activation still ends the visit
  // before the new focus widget gets the focus.
  TypeParam* edit = this->edit;
  QWidget other;
  this->tabIn();
  typeText(edit, Traits<TypeParam>::valid);
  this->deactivate(other);
  QObject::disconnect(this->window.windowHandle(), &QWindow::focusObjectChanged, edit, nullptr);
  this->next->setFocus();
  ASSERT_EQ(this->exits->count(), 0) << "nothing told the box";
  int exitsWhenNextGotTheFocus = -1;
  QObject::connect(qApp, &QApplication::focusChanged, edit, [&](QWidget*, QWidget* now) {
    if (now == this->next) exitsWhenNextGotTheFocus = int(this->exits->count());
  });
  this->reactivate();
  EXPECT_EQ(this->exits->count(), 1);
  EXPECT_EQ(exitsWhenNextGotTheFocus, 1);
  EXPECT_TRUE(this->next->hasFocus());
}

TYPED_TEST(FocusWays, DeletingTheBoxDuringAVisitRunsNoExitStep) {
  // Destroyed while its window is away: the focus leaves it on the way, but
  // there is no control left to check a value or tell its owner.
  QWidget other;
  this->tabIn();
  typeText(this->edit, Traits<TypeParam>::invalid);
  this->deactivate(other);
  delete std::exchange(this->edit, nullptr);
  EXPECT_TRUE(this->errors.shown.empty());
  EXPECT_EQ(this->exits->count(), 0);
}

}  // namespace
}  // namespace controls
