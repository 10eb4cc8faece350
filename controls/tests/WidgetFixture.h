// Shared pieces of the widget tests: a recorder for the error boxes, a
// counter of focus arrivals, and a window holding the control under test
// followed by a plain edit box that takes the focus when it leaves.
#pragma once

#include "controls/ErrorBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace controls::testing_support {

// Records the error boxes instead of showing them, with the widget that had
// the focus while the box was up.
class ErrorBoxRecorder {
 public:
  struct Shown {
    QString text;
    QWidget* focus;
  };
  ErrorBoxRecorder() {
    previous_ = setErrorBoxHook([this](QWidget*, const QString& text) {
      shown.push_back({text, QApplication::focusWidget()});
    });
  }
  ~ErrorBoxRecorder() { setErrorBoxHook(previous_); }
  ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
  ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

  std::vector<QString> texts() const {
    std::vector<QString> result;
    for (const Shown& s : shown) result.push_back(s.text);
    return result;
  }

  std::vector<Shown> shown;

 private:
  ErrorBoxHook previous_;
};

// A key script for a test's name: Backspace written as "\\b".
inline std::string printableKeys(const char* keys) {
  std::string result;
  for (const char* k = keys; *k != 0; ++k) result += *k == '\b' ? std::string("\\b") : std::string(1, *k);
  return result;
}

// Types `text` key by key. QTest::keyClicks knows ASCII only; other
// characters (accented letters) are sent as keys carrying their text.
inline void typeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128) {
      QTest::keyClicks(widget, QString(c));
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
  }
}

// Counts the focus-in events a widget receives.
class FocusInCounter : public QObject {
 public:
  explicit FocusInCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) ++count;
    return false;
  }
};

// Answers the next real modal box: a zero-time timer looks for the active
// modal widget (trying again until it is shown), hands it to `inspect` and
// presses its OK button.
inline void answerNextMessageBox(std::function<void(QMessageBox&)> inspect) {
  QTimer::singleShot(0, [inspect] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
      answerNextMessageBox(inspect);
      return;
    }
    inspect(*box);
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(ok->isEnabled());
    ok->click();
  });
}

// A shown, active window: the control under test, then `next`.
template <typename Edit>
class ControlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setWindowTitle(QStringLiteral("controls test"));
    edit = new Edit(&window);
    edit->move(10, 10);
    next = new QLineEdit(&window);
    next->setGeometry(10, 50, 100, 21);
    nextFocusIns = new FocusInCounter(next);
    window.resize(300, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    next->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(next->hasFocus());
    nextFocusIns->count = 0;
  }

  // Tab moves the focus from `next` into the control ...
  void tabIn() {
    QTest::keyClick(next, Qt::Key_Tab);
    ASSERT_TRUE(edit->hasFocus());
  }
  // ... and from the control on to `next`, unless the control keeps it.
  void tabOut() { QTest::keyClick(edit, Qt::Key_Tab); }

  // The focus stayed in the control: it is the window's focus widget, it has
  // the focus once the window is active, and still has it after pending
  // events have run; the next box never received the focus.
  void expectFocusKept() {
    EXPECT_EQ(window.focusWidget(), edit);
    // The offscreen platform leaves no window active after a modal box has
    // closed; a desktop's window manager activates the owner again.
    if (!window.isActiveWindow()) window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return edit->hasFocus(); }));
    QApplication::processEvents();
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(nextFocusIns->count, 0) << "the next box never received the focus";
  }

  QWidget window;
  Edit* edit = nullptr;
  QLineEdit* next = nullptr;
  FocusInCounter* nextFocusIns = nullptr;
  ErrorBoxRecorder errors;
};

}  // namespace controls::testing_support
