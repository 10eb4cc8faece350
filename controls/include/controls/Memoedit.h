// TMemoEdit: the in-house control for typing one number. A single-line,
// right-aligned edit box driven by a number mask (see MemoEditRules): while
// it has the focus it shows the bare number and lets through only keys that
// keep the text a number within the mask's limits; when the focus leaves it
// shows the number formatted with thousands grouping and publishes it in
// ValueText, or refuses the exit with "Valor inválido." and keeps the focus.
//
// MaxLength bounds what the user types or pastes. A formatted text that the
// control or its owner puts into the box may be longer (grouping adds one
// "." per three digits) and is never cut; the box then holds what it was
// given until the user edits it.
//
// Owned by its Qt parent; GUI thread only.
#pragma once

#include "controls/CheckedLineEdit.h"
#include "controls/MemoEditRules.h"

namespace controls {

class TMemoEdit : public CheckedLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Mascara READ Mascara WRITE SetMascara)
  Q_PROPERTY(bool ShowZero READ ShowZero WRITE SetShowZero)
  Q_PROPERTY(bool AcceptZero READ AcceptZero WRITE SetAcceptZero)
  Q_PROPERTY(QString ErrorMessageZero READ ErrorMessageZero WRITE SetErrorMessageZero)

 public:
  // Created with the defaults: 115 x 21, right-aligned, mask "00000;0",
  // MaxLength 5, text "00000".
  explicit TMemoEdit(QWidget* parent = nullptr);

  QString Mascara() const { return rules_.Mascara(); }
  void SetMascara(const QString& mask);
  bool ShowZero() const { return rules_.ShowZero(); }
  void SetShowZero(bool value) { rules_.SetShowZero(value); }
  bool AcceptZero() const { return rules_.AcceptZero(); }
  void SetAcceptZero(bool value) { rules_.SetAcceptZero(value); }
  QString ErrorMessageZero() const { return rules_.ErrorMessageZero(); }
  void SetErrorMessageZero(const QString& message) { rules_.SetErrorMessageZero(message); }

  // The value as plain number text for the owner to convert ("0" when empty).
  QString ValueText() const { return rules_.ValueText(); }
  void setValueText(const QString& text) { rules_.setValueText(text); }

  // The limit for typed and pasted text (0 or less: no limit). Hides
  // QLineEdit's own, which would also cut texts the program sets.
  int maxLength() const { return rules_.MaxLength(); }
  void setMaxLength(int maxLength);

  // Writes the text, formatted or not ("1.234,5000"), and recomputes
  // ValueText even when the text stays the same. Hides QLineEdit::setText,
  // which would cut a text longer than MaxLength.
  void setText(const QString& text);
  void clear() { setText(QString()); }

  // The rules and their state (HasDecimals, IntDigits, Decimals, IntValue,
  // FloatValue), read-only.
  const MemoEditRules& rules() const { return rules_; }

 signals:
  // The owner's change event: after every change of the text.
  void OnChange();

 protected:
  void enterStep() override;
  bool exitStep() override;
  bool filtersKey(const TypedKey& key) const override;
  bool acceptKey(QChar& key) override;

 private:
  class Box;
  void runChange();
  void applyLimit(int textLength);

  MemoEditRules rules_;
};

}  // namespace controls
