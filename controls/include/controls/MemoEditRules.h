// The rules of the masked numeric edit control TMemoEdit, without widgets:
// the number mask and its derived state, the key filter, and what happens
// when the focus arrives, when it leaves and when the text changes.
//
// The rules drive the edit box through the MemoEditBox interface; TMemoEdit
// implements it over a QLineEdit and tests implement it over a plain text.
//
// Numbers use the Brazilian separators: "," before the decimals and "."
// between thousands. A mask is a number pattern, ";" and a flag, for example
// "###,###,###,###0.0000;0": the pattern formats the number; flag "1" keeps
// the pattern's thousands grouping in ValueText, any other flag drops it.
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

namespace controls {

// What the rules need of the edit box they drive.
class MemoEditBox {
 public:
  virtual QString text() const = 0;
  // Stores a new text. Like every text change it must be followed by
  // MemoEditRules::Change on the new text.
  virtual void setText(const QString& text) = 0;
  // Applies the rules' MaxLength as the box's limit for typed and pasted text.
  virtual void applyMaxLength(int maxLength) = 0;
  virtual void selectAll() = 0;
  // Shows an error box and returns when it has been closed.
  virtual void showError(const QString& message) = 0;
  // The value cannot leave the box: the focus is taken back into it, its text
  // is selected, and `message` is shown in an error box.
  virtual void refuseExit(const QString& message) = 0;

 protected:
  ~MemoEditBox() = default;
};

class MemoEditRules {
 public:
  static constexpr char16_t kBackspace = 8;
  static inline const QString kDefaultMask = QStringLiteral("00000;0");

  // Creation defaults: mask "00000;0", MaxLength 5, every value 0, ShowZero
  // and AcceptZero false, no zero message. The box's initial text is
  // InitialText().
  MemoEditRules() = default;
  static QString InitialText();

  // Published properties.
  const QString& Mascara() const { return mascara_; }
  bool ShowZero() const { return showZero_; }
  bool AcceptZero() const { return acceptZero_; }
  const QString& ErrorMessageZero() const { return errorMessageZero_; }

  // Value for the owner: plain number text, "0" whenever the box is empty.
  const QString& ValueText() const { return valueText_; }
  void setValueText(const QString& text) { valueText_ = text; }

  // Derived and internal state.
  bool HasDecimals() const { return hasDecimals_; }
  int IntDigits() const { return intDigits_; }
  int Decimals() const { return decimals_; }
  std::int32_t IntValue() const { return intValue_; }
  double FloatValue() const { return floatValue_; }
  int MaxLength() const { return maxLength_; }
  void setMaxLength(int maxLength) { maxLength_ = maxLength; }
  QString pattern() const;  // the mask up to its first ";"

  // Property setters. SetMascara rewrites the box's text from the value and
  // shows "Máscara inválida." for a blank mask.
  void SetMascara(const QString& mask, MemoEditBox& box);
  void SetShowZero(bool value) { showZero_ = value; }
  void SetAcceptZero(bool value);
  void SetErrorMessageZero(const QString& message);

  // Key filter for typed character `key` (Backspace is character 8), with
  // the box holding `text`, the caret (selection start) at `caret` counted
  // from 0 and `selectionLength` characters selected. Returns false when the
  // key is discarded; may turn "." into "," in `key`. A key typed over a
  // selection is discarded when the text it would produce has more integer
  // digits or decimals than the mask allows.
  bool KeyPress(QChar& key, const QString& text, int caret, int selectionLength) const;

  // The focus arrives: the text is shown bare for editing and selected. The
  // owner's enter event follows.
  void CMEnter(MemoEditBox& box);

  // The focus leaves: reads and formats the value. True when the owner's
  // exit event may run; false after an error (the box keeps the focus) or
  // for a zero value that the control does not accept.
  bool CMExit(MemoEditBox& box);

  // The box's text changed (typed or set by the program): keeps ValueText in
  // step. The owner's change event follows.
  void Change(const QString& text);

  // Helpers.
  static QString StrZero(const QString& text, int length);
  static int Conta_Num_Valido(const QString& text);
  static QString Retira_Virgula(const QString& text);
  static bool IsNumeric(const QString& text);
  // Reads a number text: empty reads as 0; otherwise every "." and "%" is
  // removed and the rest read with "," as decimal separator.
  static std::optional<double> ReadNumber(const QString& text);
  // Reads a number text as a 32-bit integer; fails for fractions and values
  // out of range.
  static std::optional<std::int32_t> ReadInteger(const QString& text);
  // Formats with a number pattern, Brazilian separators.
  static QString FormatNumber(double value, const QString& pattern);

 private:
  // Whether `text` keeps IntDigits before the comma and Decimals after it.
  bool withinDigitLimits(const QString& text) const;
  // `text` with its selection (start `caret`, `selectionLength` characters) replaced by `key`.
  static QString replacingSelection(const QString& text, int caret, int selectionLength, QChar key);

  QString valueTextPattern() const;
  QString formatForValueText(double value) const;

  QString mascara_ = kDefaultMask;
  bool showZero_ = false;
  bool acceptZero_ = false;
  QString errorMessageZero_;
  QString valueText_ = QStringLiteral("0");
  bool hasDecimals_ = false;
  int intDigits_ = 0;
  int decimals_ = 0;
  std::int32_t intValue_ = 0;
  double floatValue_ = 0;
  int maxLength_ = 5;
};

}  // namespace controls
