#include "controls/Memoedit.h"

#include "controls/ErrorBox.h"

#include <algorithm>

namespace controls {
namespace {

constexpr int kUnlimited = 32767;  // QLineEdit's own "no limit"

}  // namespace

// The edit box as the rules see it.
class TMemoEdit::Box final : public MemoEditBox {
 public:
  explicit Box(TMemoEdit& edit) : edit_(edit) {}
  QString text() const override { return edit_.text(); }
  void setText(const QString& text) override { edit_.setText(text); }
  void applyMaxLength(int) override { edit_.applyLimit(int(edit_.text().size())); }
  void selectAll() override { edit_.selectAll(); }
  void showError(const QString& message) override { showErrorBox(&edit_, message); }
  void refuseExit(const QString& message) override { edit_.refuseExit(message); }

 private:
  TMemoEdit& edit_;
};

TMemoEdit::TMemoEdit(QWidget* parent) : CheckedLineEdit(parent) {
  resize(115, 21);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(this, &QLineEdit::textChanged, this, &TMemoEdit::runChange);
  // A user's edit may shorten a text that was longer than MaxLength; the
  // limit then falls back to MaxLength.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { applyLimit(int(text.size())); });
  setText(MemoEditRules::InitialText());
}

void TMemoEdit::SetMascara(const QString& mask) {
  Box box(*this);
  rules_.SetMascara(mask, box);
}

void TMemoEdit::setMaxLength(int maxLength) {
  rules_.setMaxLength(maxLength);
  applyLimit(int(text().size()));
}

void TMemoEdit::setText(const QString& text) {
  if (text == QLineEdit::text()) {
    runChange();
    return;
  }
  // Raise the limit before a longer text arrives, lower it after a shorter
  // one: QLineEdit cuts its text to the limit.
  const int newLength = int(text.size());
  if (newLength > QLineEdit::maxLength()) applyLimit(newLength);
  QLineEdit::setText(text);
  applyLimit(newLength);
}

void TMemoEdit::applyLimit(int textLength) {
  const int wanted = rules_.MaxLength() > 0 ? std::max(rules_.MaxLength(), textLength) : kUnlimited;
  if (QLineEdit::maxLength() == wanted) return;
  // Changing the limit resets the caret and the selection; keep them.
  const int cursor = cursorPosition();
  const int selectionStart = QLineEdit::selectionStart();
  const int selectionLength = QLineEdit::selectionLength();
  QLineEdit::setMaxLength(wanted);
  if (selectionStart >= 0) {
    setSelection(selectionStart, selectionLength);
  } else {
    setCursorPosition(cursor);
  }
}

void TMemoEdit::runChange() {
  rules_.Change(text());
  emit OnChange();
}

void TMemoEdit::enterStep() {
  Box box(*this);
  rules_.CMEnter(box);
}

bool TMemoEdit::exitStep() {
  Box box(*this);
  return rules_.CMExit(box);
}

bool TMemoEdit::filtersKey(const TypedKey& key) const { return key.kind != TypedKey::Kind::None; }

bool TMemoEdit::acceptKey(QChar& key) {
  const int caret = hasSelectedText() ? QLineEdit::selectionStart() : cursorPosition();
  return rules_.KeyPress(key, text(), caret, QLineEdit::selectionLength());
}

}  // namespace controls
