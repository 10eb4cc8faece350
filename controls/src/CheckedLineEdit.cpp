// CheckedLineEdit: focus visits, key filter and refused exits of the edit controls.
#include "controls/CheckedLineEdit.h"

#include "controls/ErrorBox.h"
#include "controls/WindowFocusOf.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHideEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <utility>

namespace controls {
namespace {

// Swallows the first mouse press the application delivers while it lives.
class MousePressWithholder final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (used_ || (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)) {
      return false;
    }
    used_ = true;
    return true;
  }

 private:
  bool used_ = false;
};

}  // namespace

CheckedLineEdit::CheckedLineEdit(QWidget* parent) : QLineEdit(parent) {
  // A dropped text would bypass the key filter; the controls take no drops.
  setAcceptDrops(false);
}

CheckedLineEdit::~CheckedLineEdit() {
  // The base class still moves the focus away while it is destroyed; this
  // part of the control must not hear of it any more.
  disconnect(windowFocusWatch_);
}

void CheckedLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  watchWindowFocus();
  if (!visit_.focusIn()) return;
  QPointer<CheckedLineEdit> alive(this);
  enterStep();
  if (!alive) return;
  if (event->reason() == Qt::MouseFocusReason) {
    // The press that gave the focus is delivered next and would put the
    // caret under the pointer, dropping the selection that lets typing
    // replace the text. It is this press alone: the mark is gone once the
    // events under way have run.
    keepSelectionOnPress_ = true;
    QTimer::singleShot(0, this, [this] { keepSelectionOnPress_ = false; });
  }
  emit OnEnter();
}

void CheckedLineEdit::mousePressEvent(QMouseEvent* event) {
  if (!std::exchange(keepSelectionOnPress_, false) || !hasSelectedText()) {
    QLineEdit::mousePressEvent(event);
    return;
  }
  const int start = selectionStart();
  const int length = selectionLength();
  QLineEdit::mousePressEvent(event);
  setSelection(start, length);
}

void CheckedLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Disabled or hidden by the program while it had the focus: the visit ends
  // quietly; there is nothing the user could correct.
  if (!isEnabled() || !isVisible()) {
    visit_.reset();
    return;
  }
  // The exit step may open a message box and move the focus; any focus
  // event that reaches us meanwhile is part of that step, not a new exit.
  // Whether the control has been left is told by the window's focus widget,
  // not by the event's reason: a window that loses activation keeps it.
  if (exiting_ || !visit_.focusOut(windowFocusOf(*this))) return;
  runExit(event->reason());
}

void CheckedLineEdit::runExit(Qt::FocusReason reason) {
  exitReason_ = reason;
  QPointer<CheckedLineEdit> alive(this);
  exiting_ = true;
  const bool runExitEvent = exitStep();
  if (!alive) return;
  exiting_ = false;
  if (runExitEvent) emit OnExit();
}

void CheckedLineEdit::checkLeftSilently() {
  // With the window active every move reaches us as a focus-out (and while
  // we hold the focus, the window's focus widget may already name the next
  // widget before that event arrives); only a control without the keyboard
  // focus can be left without hearing of it.
  if (exiting_ || hasFocus() || !visit_.inside()) return;
  if (!isEnabled() || !isVisible()) {
    visit_.reset();
    return;
  }
  if (!visit_.focusOut(windowFocusOf(*this))) return;
  runExit(Qt::OtherFocusReason);
}

void CheckedLineEdit::watchWindowFocus() {
  QWindow* handle = window()->windowHandle();
  if (handle == watchedWindow_) return;
  disconnect(windowFocusWatch_);
  watchedWindow_ = handle;
  if (handle == nullptr) return;
  // The toolkit reports a new focus widget of an inactive window here, and
  // nowhere else.
  windowFocusWatch_ = connect(handle, &QWindow::focusObjectChanged, this, [this] { checkLeftSilently(); });
}

bool CheckedLineEdit::event(QEvent* event) {
  // The window coming back: if its focus moved on while it was away and
  // nothing told us, the visit ends now, before the new focus widget hears
  // of it.
  if (event->type() == QEvent::WindowActivate) {
    checkLeftSilently();
    watchWindowFocus();  // the window may have a new native window by now
  }
  return QLineEdit::event(event);
}

void CheckedLineEdit::refuseExit(const QString& message) {
  // The focus is already on its way to another widget. Taking it back here,
  // before the message box opens, means that widget never receives it: the
  // toolkit delivers the pending focus-in only to the current focus widget.
  // The box then returns the focus to us when it closes, since we are the
  // window's focus widget again.
  visit_.stayInside();
  setFocus(Qt::OtherFocusReason);
  if (window()->focusWidget() != this) visit_.reset();  // hidden or disabled: the focus could not come back
  selectAll();
  QPointer<CheckedLineEdit> alive(this);
  showErrorBox(this, message);
  if (alive && exitReason_ == Qt::MouseFocusReason) withholdPendingMousePress();
}

void CheckedLineEdit::withholdPendingMousePress() {
  // A click moves the focus before its press is delivered: the toolkit sends
  // the press to the clicked widget once this exit step has returned. The
  // focus stayed here, so the press goes nowhere; otherwise a button would
  // be pressed (and left drawn pressed, its release lost while the box was
  // up). The filter lives until the events already under way have run.
  auto* withholder = new MousePressWithholder(this);
  QCoreApplication::instance()->installEventFilter(withholder);
  QTimer::singleShot(0, withholder, &QObject::deleteLater);
}

void CheckedLineEdit::keyPressEvent(QKeyEvent* event) {
  const TypedKey typed = typedKey(*event);
  if (!filtersKey(typed)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  QChar key = typed.character;
  if (typed.kind == TypedKey::Kind::Several || !acceptKey(key)) {
    // Return and Enter travel on to the window (a dialog's default button).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      event->ignore();
    } else {
      event->accept();
    }
    return;
  }
  emit OnKeyPress(key);
  if (key == typed.character) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // The filter changed the character ("." typed as ","): the box gets that one.
  QKeyEvent changed(event->type(), key.unicode(), event->modifiers(), QString(key), event->isAutoRepeat(),
                    ushort(event->count()));
  QLineEdit::keyPressEvent(&changed);
  event->setAccepted(changed.isAccepted());
}

void CheckedLineEdit::inputMethodEvent(QInputMethodEvent* event) {
  // A committed text (an accented letter from a dead key, say) is a typed key
  // like any other and passes the same filter.
  const TypedKey typed = typedText(event->commitString());
  QChar key = typed.character;
  const bool accepted = typed.kind == TypedKey::Kind::None ||
                        (typed.kind == TypedKey::Kind::Character && (!filtersKey(typed) || acceptKey(key)));
  if (accepted && key == typed.character) {
    if (typed.kind == TypedKey::Kind::Character) emit OnKeyPress(key);
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  if (accepted) {
    emit OnKeyPress(key);
    filtered.setCommitString(QString(key), event->replacementStart(), event->replacementLength());
  }
  QLineEdit::inputMethodEvent(&filtered);
  event->accept();
}

void CheckedLineEdit::hideEvent(QHideEvent* event) {
  QLineEdit::hideEvent(event);
  // Hidden by the program (not minimised): a later focus-in is a new visit.
  if (!event->spontaneous()) visit_.reset();
}

}  // namespace controls
