// Base of the in-house edit controls: a single-line Qt edit box whose focus
// changes become enter and exit steps (see FocusVisit), whose typed
// characters pass a key filter first, and whose exit can be refused.
//
// Every way the focus leaves (a key, a click, the program's setFocus, also
// while the window is not active) runs exactly one exit step. A click into
// the control leaves the enter step's selection in place, as Tab does.
//
// Subclasses supply the filter and the enter and exit steps; this class
// emits the owner's events OnEnter, OnExit and OnKeyPress around them. The
// widget is owned by its Qt parent.
#pragma once

#include "controls/FocusVisit.h"
#include "controls/KeyChar.h"

#include <QLineEdit>
#include <QPointer>
#include <QWindow>

namespace controls {

class CheckedLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CheckedLineEdit(QWidget* parent = nullptr);
  ~CheckedLineEdit() override;

 signals:
  // The owner's events. OnEnter follows the control's enter step, OnExit its
  // exit step when that lets the exit event run, OnKeyPress a typed
  // character that the filter let through, before the box takes it.
  void OnEnter();
  void OnExit();
  void OnKeyPress(QChar key);

 protected:
  // The focus arrived and a visit starts.
  virtual void enterStep() = 0;
  // The focus left; returns whether the owner's exit event runs.
  virtual bool exitStep() = 0;
  // Which typed keys reach the filter at all (the others go straight to the
  // box's own handling).
  virtual bool filtersKey(const TypedKey& key) const = 0;
  // The key filter: false discards the key; it may change `key`.
  virtual bool acceptKey(QChar& key) = 0;

  // The exit may not happen: takes the focus back without starting a new
  // visit, selects the whole text and shows `message` in the error box.
  // When a mouse press moved the focus away, that press does not reach the
  // widget it was meant for.
  void refuseExit(const QString& message);

  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Keeps the mouse press that is being delivered from its widget.
  void withholdPendingMousePress();
  // Ends the visit when the window's focus has moved on while the window was
  // not active: no focus-out reaches the control then.
  void checkLeftSilently();
  // Follows the focus changes of the window the control is in now.
  void watchWindowFocus();
  // Runs the exit step and, when it lets it, the owner's exit event.
  void runExit(Qt::FocusReason reason);

  FocusVisit visit_;
  bool exiting_ = false;
  Qt::FocusReason exitReason_ = Qt::OtherFocusReason;
  // The enter step's selection is kept through the press of the click that
  // gave the focus.
  bool keepSelectionOnPress_ = false;
  QPointer<QWindow> watchedWindow_;
  QMetaObject::Connection windowFocusWatch_;
};

}  // namespace controls
