#include "controls/CheckedLineEdit.h"

#include "controls/ErrorBox.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QHideEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

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

void CheckedLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!visit_.focusIn()) return;
  QPointer<CheckedLineEdit> alive(this);
  enterStep();
  if (alive) emit OnEnter();
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
  if (exiting_ || !visit_.focusOut(event->reason())) return;
  exitReason_ = event->reason();
  QPointer<CheckedLineEdit> alive(this);
  exiting_ = true;
  const bool runExitEvent = exitStep();
  if (!alive) return;
  exiting_ = false;
  if (runExitEvent) emit OnExit();
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
