#include "controls/MemoEditRules.h"

#include <formats/formats.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace controls {
namespace {

constexpr char16_t kCarriageReturn = 13;
constexpr char16_t kLineFeed = 10;

bool isBlank(const QString& text) { return text.trimmed().isEmpty(); }

bool isControl(QChar c) { return c.unicode() < 32; }

// A zero read from "-0" or "-0,00" is shown and published as plain zero.
double withoutNegativeZero(double value) { return value == 0 ? 0.0 : value; }

}  // namespace

bool MemoEditRules::withinDigitLimits(const QString& text) const {
  const qsizetype comma = text.indexOf(u',');
  const QString integerPart = comma < 0 ? text : text.left(comma);
  const qsizetype integerDigits = integerPart.size() - integerPart.count(u'-');
  const qsizetype decimals = comma < 0 ? 0 : text.size() - comma - 1;
  return integerDigits <= intDigits_ && decimals <= decimals_;
}

QString MemoEditRules::replacingSelection(const QString& text, int caret, int selectionLength, QChar key) {
  const qsizetype start = std::clamp<qsizetype>(caret, 0, text.size());
  const qsizetype length = std::clamp<qsizetype>(selectionLength, 0, text.size() - start);
  return text.left(start) + key + text.mid(start + length);
}

QString MemoEditRules::InitialText() { return StrZero(QStringLiteral("0"), 5); }

QString MemoEditRules::pattern() const { return mascara_.section(u';', 0, 0); }

// Flag "1" keeps the thousands grouping; anything else drops every ",".
QString MemoEditRules::valueTextPattern() const {
  const qsizetype semicolon = mascara_.indexOf(u';');
  const bool keepGrouping = semicolon >= 0 && semicolon + 1 < mascara_.size() && mascara_[semicolon + 1] == u'1';
  return keepGrouping ? pattern() : Retira_Virgula(pattern());
}

QString MemoEditRules::formatForValueText(double value) const { return FormatNumber(value, valueTextPattern()); }

void MemoEditRules::SetMascara(const QString& mask, MemoEditBox& box) {
  if (mask == mascara_) return;

  if (isBlank(mask)) {
    box.showError(QStringLiteral("Máscara inválida."));
    mascara_ = kDefaultMask;
    // The default mask has no decimals; the value lives in IntValue again.
    hasDecimals_ = false;
    const QString defaultPattern = pattern();
    box.setText(FormatNumber(intValue_, defaultPattern));
    valueText_ = box.text();
    maxLength_ = Conta_Num_Valido(defaultPattern) + 2;
    box.applyMaxLength(maxLength_);
    return;
  }

  mascara_ = mask;
  hasDecimals_ = mask.contains(u'.');
  const QString numberPattern = pattern();
  if (hasDecimals_) {
    box.setText(FormatNumber(floatValue_, numberPattern));
    const qsizetype point = mask.indexOf(u'.');
    intDigits_ = Conta_Num_Valido(mask.left(point));
    const qsizetype semicolon = mask.indexOf(u';', point + 1);
    decimals_ = int((semicolon < 0 ? mask.size() : semicolon) - point - 1);
  } else {
    box.setText(FormatNumber(intValue_, numberPattern));
  }
  valueText_ = box.text();
  maxLength_ = Conta_Num_Valido(numberPattern) + 2;
  box.applyMaxLength(maxLength_);
}

void MemoEditRules::SetAcceptZero(bool value) {
  if (acceptZero_ != value && !value) errorMessageZero_.clear();
  acceptZero_ = value;
}

void MemoEditRules::SetErrorMessageZero(const QString& message) {
  if (message == errorMessageZero_) return;
  if (!isBlank(message)) acceptZero_ = true;
  errorMessageZero_ = message;
}

bool MemoEditRules::KeyPress(QChar& key, const QString& text, int caret, int selectionLength) const {
  const QChar backspace(kBackspace);
  const bool hasMinus = text.contains(u'-');
  const bool hasComma = text.contains(u',');

  // 1. On masks with decimals the point of the numeric keypad types the comma.
  if (key == u'.' && hasDecimals_) key = u',';

  // 2. One minus sign only.
  if (key == u'-' && selectionLength == 0 && hasMinus) return false;

  // 3. Digit limits before and after the comma.
  if (hasDecimals_ && selectionLength == 0 && key != u'-') {
    bool beforeComma = true;
    QString segment = text;
    if (hasComma) {
      const qsizetype comma = text.indexOf(u',');
      if (key == backspace || caret < comma + 1) {
        segment = text.left(comma);
      } else {
        beforeComma = false;
        segment = text.mid(comma + 1);
        if (segment.size() == decimals_) return false;
      }
    }
    if (key != backspace && key != u',' && beforeComma) {
      const int limit = intDigits_ + (hasMinus ? 1 : 0);
      if (segment.size() == limit) return false;
    }
  }

  // 3b. A key that replaces a selection: the text it would produce must keep
  //     the same limits (a digit typed over the comma of a full value would
  //     otherwise join the decimals to the integer part).
  if (hasDecimals_ && selectionLength > 0 && !isControl(key) &&
      !withinDigitLimits(replacingSelection(text, caret, selectionLength, key))) {
    return false;
  }

  // 4. One comma, and only where there are decimals.
  if (key == u',' && (!hasDecimals_ || hasComma)) return false;

  // 5. Digits, sign, comma and control characters other than line breaks.
  const bool allowed = (key >= u'0' && key <= u'9') || key == u'-' || key == u',' ||
                       (isControl(key) && key != QChar(kCarriageReturn) && key != QChar(kLineFeed));
  if (!allowed) return false;

  // 6. The minus sign goes first.
  if (key == u'-' && caret != 0) return false;

  // 7. Length.
  if (hasMinus) {
    if (key != u'-' && text.size() > maxLength_) return false;
  } else if (key != backspace && selectionLength < text.size()) {
    if (key != u'-' && text.size() == maxLength_ - 1) return false;
  }
  return true;
}

void MemoEditRules::CMEnter(MemoEditBox& box) {
  const QString text = box.text();
  const QString numberPattern = pattern();
  if (isBlank(text)) {
    if (hasDecimals_) {
      box.setText(QStringLiteral("0,00"));
    } else {
      maxLength_ = Conta_Num_Valido(numberPattern) + 1;
      box.applyMaxLength(maxLength_);
      box.setText(QStringLiteral("0"));
    }
  } else if (hasDecimals_) {
    // A text that does not read as a number is left as it stands.
    if (const std::optional<double> value = ReadNumber(text)) {
      floatValue_ = withoutNegativeZero(*value);
      box.setText(FormatNumber(floatValue_, Retira_Virgula(numberPattern)));
    }
  } else if (const std::optional<std::int32_t> value = ReadInteger(text)) {
    intValue_ = *value;
    box.setText(QString::number(intValue_));
    maxLength_ = Conta_Num_Valido(numberPattern) + 1;
    box.applyMaxLength(maxLength_);
  }
  box.selectAll();
}

bool MemoEditRules::CMExit(MemoEditBox& box) {
  if (isBlank(box.text())) box.setText(hasDecimals_ ? QStringLiteral("0.00") : QStringLiteral("0"));

  const QString text = box.text();
  const QString numberPattern = pattern();
  double value = 0;
  if (hasDecimals_) {
    const std::optional<double> read = ReadNumber(text);
    if (!read) {
      box.refuseExit(QStringLiteral("Valor inválido."));
      return false;
    }
    value = withoutNegativeZero(*read);
    floatValue_ = value;
    box.setText(value != 0 || showZero_ ? FormatNumber(value, numberPattern) : QString());
    valueText_ = formatForValueText(value);
  } else {
    const std::optional<std::int32_t> read = ReadInteger(text);
    if (!read) {
      box.refuseExit(QStringLiteral("Valor inválido."));
      return false;
    }
    intValue_ = *read;
    value = intValue_;
    box.setText(value != 0 || showZero_ ? FormatNumber(value, numberPattern) : QString());
    valueText_ = FormatNumber(value, numberPattern);
  }

  if (value != 0) return true;
  if (!acceptZero_) return false;
  if (!isBlank(errorMessageZero_)) {
    box.refuseExit(errorMessageZero_);
    return false;
  }
  return true;
}

void MemoEditRules::Change(const QString& text) {
  if (isBlank(text)) {
    valueText_ = QStringLiteral("0");
    return;
  }
  if (hasDecimals_) {
    if (text == u"-") return;
    if (const std::optional<double> value = ReadNumber(text)) {
      floatValue_ = withoutNegativeZero(*value);
      valueText_ = formatForValueText(floatValue_);
    }
    return;
  }
  if (text.contains(u',')) return;
  if (text.trimmed() == u"-") return;
  if (!IsNumeric(text)) {
    valueText_ = QStringLiteral("0");
    return;
  }
  if (const std::optional<std::int32_t> value = ReadInteger(text)) {
    intValue_ = *value;
    valueText_ = FormatNumber(intValue_, pattern());
  }
}

QString MemoEditRules::StrZero(const QString& text, int length) {
  const qsizetype missing = length - text.trimmed().size();
  return missing > 0 ? QString(missing, u'0') + text : text;
}

int MemoEditRules::Conta_Num_Valido(const QString& text) { return int(text.size() - text.count(u',')); }

QString MemoEditRules::Retira_Virgula(const QString& text) {
  QString result = text;
  return result.remove(u',');
}

bool MemoEditRules::IsNumeric(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == kCarriageReturn || u == kLineFeed) return false;
  }
  return true;
}

std::optional<double> MemoEditRules::ReadNumber(const QString& text) {
  if (text.isEmpty()) return 0.0;
  QString bare = text;
  bare.remove(u'.').remove(u'%');
  return formats::readNumber(bare.toStdString());
}

std::optional<std::int32_t> MemoEditRules::ReadInteger(const QString& text) {
  const std::optional<double> value = ReadNumber(text);
  if (!value || std::trunc(*value) != *value) return std::nullopt;
  if (*value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

QString MemoEditRules::FormatNumber(double value, const QString& pattern) {
  return QString::fromStdString(formats::formatNumber(value, pattern.toStdString()));
}

}  // namespace controls
