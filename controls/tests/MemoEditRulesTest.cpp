// The numeric edit control's rules over a plain text box: helpers, masks,
// the key filter, typed key sequences, and the enter, exit and change steps.
#include "controls/MemoEditRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace controls {
namespace {

const QString kMask = QStringLiteral("###,###,###,###0.0000;0");
constexpr char16_t BS = MemoEditRules::kBackspace;

std::string str(const QString& s) { return s.toStdString(); }

// A text box as a QLineEdit would behave for the keys the tests type: typed
// characters replace the selection or go in at the caret, within the limit.
class FakeBox final : public MemoEditBox {
 public:
  explicit FakeBox(MemoEditRules& rules) : rules_(rules) {}

  QString text() const override { return text_; }
  void setText(const QString& text) override {
    text_ = text;
    caret_ = int(text.size());
    selectionLength_ = 0;
    rules_.Change(text_);
  }
  void applyMaxLength(int maxLength) override { limit_ = maxLength; }
  void selectAll() override {
    caret_ = 0;
    selectionLength_ = int(text_.size());
  }
  void showError(const QString& message) override { messages.push_back(message); }
  void refuseExit(const QString& message) override {
    ++refusals;
    selectAll();
    messages.push_back(message);
  }

  bool allSelected() const { return !text_.isEmpty() && caret_ == 0 && selectionLength_ == text_.size(); }
  int limit() const { return limit_; }

  // Types a script: characters are typed keys; "\b" is Backspace, "<" and
  // ">" move the caret, "^" and "$" go to the start and the end, "*" selects
  // all.
  void type(const QString& script) {
    for (QChar c : script) {
      if (c == u'<' || c == u'>' || c == u'^' || c == u'$') {
        selectionLength_ = 0;
        caret_ = c == u'<' ? std::max(0, caret_ - 1)
                 : c == u'>' ? std::min(int(text_.size()), caret_ + 1)
                 : c == u'^' ? 0
                             : int(text_.size());
      } else if (c == u'*') {
        selectAll();
      } else {
        typeKey(c);
      }
    }
  }

  std::vector<QString> messages;
  int refusals = 0;

 private:
  void typeKey(QChar key) {
    if (!rules_.KeyPress(key, text_, caret_, selectionLength_)) return;
    QString next = text_;
    int caret = caret_;
    if (key == QChar(BS)) {
      if (selectionLength_ > 0) {
        next.remove(caret_, selectionLength_);
      } else if (caret_ > 0) {
        next.remove(--caret, 1);
      }
    } else if (key.unicode() >= 32) {
      next.remove(caret_, selectionLength_);
      if (next.size() >= limit_) return;  // the box is full
      next.insert(caret++, key);
    } else {
      return;  // other control characters change nothing here
    }
    text_ = next;
    caret_ = caret;
    selectionLength_ = 0;
    rules_.Change(text_);
  }

  MemoEditRules& rules_;
  QString text_ = MemoEditRules::InitialText();
  int caret_ = 0;
  int selectionLength_ = 0;
  int limit_ = 5;
};

// Rules with a mask set, over a box, the way the widget is built.
struct Control {
  explicit Control(const QString& mask = kMask) : box(rules) {
    box.setText(MemoEditRules::InitialText());
    rules.SetMascara(mask, box);
  }
  // The focus arrives on the box holding `text`.
  void enterWith(const QString& text) {
    box.setText(text);
    rules.CMEnter(box);
  }
  MemoEditRules rules;
  FakeBox box;
};

TEST(MemoEditHelpers, StrZeroContaRetiraIsNumeric) {
  EXPECT_EQ(MemoEditRules::StrZero(QStringLiteral("0"), 5), u"00000");
  EXPECT_EQ(MemoEditRules::StrZero(QStringLiteral("123"), 6), u"000123");
  EXPECT_EQ(MemoEditRules::StrZero(QStringLiteral(" 12 "), 5), u"000 12 ") << "blanks are not counted";
  EXPECT_EQ(MemoEditRules::StrZero(QStringLiteral("  "), 3), u"000  ");
  EXPECT_EQ(MemoEditRules::StrZero(QStringLiteral("123456"), 3), u"123456");

  EXPECT_EQ(MemoEditRules::Conta_Num_Valido(kMask), 20);
  EXPECT_EQ(MemoEditRules::Conta_Num_Valido(QStringLiteral("###,###,###,###0.0000")), 18);
  EXPECT_EQ(MemoEditRules::Retira_Virgula(QStringLiteral("###,###,###,###0.0000")), u"############0.0000");

  EXPECT_TRUE(MemoEditRules::IsNumeric(QStringLiteral("-1.234,5 %")));
  EXPECT_TRUE(MemoEditRules::IsNumeric(QStringLiteral("é")));  // only ASCII letters count
  for (const char* text : {"12a", "Z", "1\r", "1\n"}) EXPECT_FALSE(MemoEditRules::IsNumeric(QString::fromUtf8(text))) << text;
}

TEST(MemoEditHelpers, ReadingNumbersDropsPointsAndPercent) {
  EXPECT_EQ(MemoEditRules::ReadNumber(QString()), 0.0);
  EXPECT_EQ(MemoEditRules::ReadNumber(QStringLiteral("1.234,5")), 1234.5);
  EXPECT_EQ(MemoEditRules::ReadNumber(QStringLiteral("0.00")), 0.0);
  EXPECT_EQ(MemoEditRules::ReadNumber(QStringLiteral("12%")), 12.0);
  for (const char* text : {"-", " ", ",", "1,2,3", "12a", "1e5"}) {
    EXPECT_FALSE(MemoEditRules::ReadNumber(QString::fromUtf8(text)).has_value()) << text;
  }
  EXPECT_EQ(MemoEditRules::ReadInteger(QStringLiteral("-2147483648")), INT32_MIN);
  EXPECT_FALSE(MemoEditRules::ReadInteger(QStringLiteral("2147483648")).has_value());
  EXPECT_FALSE(MemoEditRules::ReadInteger(QStringLiteral("12,5")).has_value());
}

TEST(MemoEditMask, CreationDefaults) {
  MemoEditRules rules;
  EXPECT_EQ(rules.Mascara(), u"00000;0");
  EXPECT_EQ(rules.MaxLength(), 5);
  EXPECT_EQ(MemoEditRules::InitialText(), u"00000");
  EXPECT_FALSE(rules.HasDecimals());
  EXPECT_FALSE(rules.ShowZero());
  EXPECT_FALSE(rules.AcceptZero());
  EXPECT_TRUE(rules.ErrorMessageZero().isEmpty());
  EXPECT_EQ(rules.IntValue(), 0);
  EXPECT_EQ(rules.FloatValue(), 0.0);
}

TEST(MemoEditMask, MaskWithDecimalsDerivesLimitsAndText) {
  Control control;
  EXPECT_TRUE(control.rules.HasDecimals());
  EXPECT_EQ(control.rules.IntDigits(), 13);
  EXPECT_EQ(control.rules.Decimals(), 4);
  EXPECT_EQ(control.rules.MaxLength(), 20);
  EXPECT_EQ(control.box.limit(), 20);
  EXPECT_EQ(control.box.text(), u"0,0000");
  EXPECT_EQ(control.rules.ValueText(), u"0,0000");
  EXPECT_TRUE(control.box.messages.empty());
}

TEST(MemoEditMask, ValueIsRewrittenWithTheNewMask) {
  Control control(QStringLiteral("#,##0;0"));
  EXPECT_FALSE(control.rules.HasDecimals());
  EXPECT_EQ(control.rules.MaxLength(), 6);
  control.box.setText(QStringLiteral("1234"));
  EXPECT_EQ(control.rules.IntValue(), 1234);

  // Same mask: nothing happens.
  control.rules.SetMascara(QStringLiteral("#,##0;0"), control.box);
  EXPECT_EQ(control.box.text(), u"1234");

  control.rules.SetMascara(QStringLiteral("000000;1"), control.box);
  EXPECT_EQ(control.box.text(), u"001234");
  EXPECT_EQ(control.rules.ValueText(), u"001234");
  EXPECT_EQ(control.rules.MaxLength(), 8);

  control.rules.SetMascara(QStringLiteral("0.00"), control.box);  // no flag, decimals to the end
  EXPECT_EQ(control.rules.Decimals(), 2);
  EXPECT_EQ(control.rules.IntDigits(), 1);
}

TEST(MemoEditMask, BlankMaskFallsBackToTheDefault) {
  Control control;
  control.box.setText(QStringLiteral("12,5"));
  control.rules.SetMascara(QStringLiteral("   "), control.box);
  EXPECT_EQ(control.box.messages, std::vector<QString>{QStringLiteral("Máscara inválida.")});
  EXPECT_EQ(control.rules.Mascara(), u"00000;0");
  EXPECT_EQ(control.box.text(), u"00000");  // IntValue, which the decimal mask never set
  EXPECT_EQ(control.rules.ValueText(), u"00000");
  EXPECT_EQ(control.rules.MaxLength(), 7);
  // The default mask has no decimals: a comma is refused again.
  EXPECT_FALSE(control.rules.HasDecimals());
  QChar comma(u',');
  EXPECT_FALSE(control.rules.KeyPress(comma, QStringLiteral("12"), 2, 0));
}

TEST(MemoEditMask, ZeroSettings) {
  MemoEditRules rules;
  rules.SetErrorMessageZero(QStringLiteral("   "));
  EXPECT_FALSE(rules.AcceptZero()) << "a blank message does not switch AcceptZero on";
  rules.SetErrorMessageZero(QStringLiteral("Informe a quantidade."));
  EXPECT_TRUE(rules.AcceptZero());
  rules.SetAcceptZero(true);
  EXPECT_EQ(rules.ErrorMessageZero(), u"Informe a quantidade.");
  rules.SetAcceptZero(false);
  EXPECT_TRUE(rules.ErrorMessageZero().isEmpty());
  rules.SetShowZero(true);
  EXPECT_TRUE(rules.ShowZero());
}

// One key typed into a box: text, caret, selection length, key -> accepted.
struct KeyCase {
  const char* text;
  int caret;
  int selection;
  char16_t key;
  bool accepted;
  const char* why;
};

TEST(MemoEditKeyPress, FilterTableForTheQuantityMask) {
  static const KeyCase cases[] = {
      {"", 0, 0, u'5', true, "digit"},
      {"12", 2, 0, u',', true, "first comma"},
      {"12,5", 4, 0, u',', false, "second comma"},
      {"12,5", 0, 4, u',', false, "a comma is refused even over a selection holding one"},
      {"12", 0, 0, u'-', true, "minus first"},
      {"12", 1, 0, u'-', false, "minus not first"},
      {"-12", 0, 0, u'-', false, "second minus"},
      {"-12", 0, 3, u'-', true, "minus over a selection"},
      {"1234567890123", 13, 0, u'4', false, "14th integer digit"},
      {"1234567890123", 13, 0, u',', true, "comma after 13 digits"},
      {"1234567890123", 13, 0, BS, true, "Backspace with 13 digits"},
      {"-1234567890123", 14, 0, u'4', false, "14th integer digit after a minus"},
      {"-123456789012", 13, 0, u'3', true, "13th integer digit after a minus"},
      {"1234567890123,5", 0, 0, u'9', false, "integer part full, caret before the comma"},
      {"1234567890123,5", 15, 0, u'9', true, "integer part full, caret after the comma"},
      {"1,1234", 6, 0, u'5', false, "fifth decimal"},
      {"1,1234", 6, 0, BS, true, "Backspace with four decimals"},
      {"1,1234", 1, 0, u'5', true, "digit before the comma with four decimals"},
      {"1,1234", 0, 6, u'5', true, "typing over a selection"},
      {"1234567890123,0000", 13, 1, u'5', false, "digit over the comma of a full value"},
      {"1234567890,1234", 10, 1, u'5', false, "digit over the comma joins too many digits"},
      {"12345678,1234", 8, 1, u'5', true, "digit over the comma still within 13 digits"},
      {"-12345678,1234", 9, 1, u'5', true, "the minus sign is not a digit"},
      {"1234567890123,0000", 0, 1, u'9', true, "digit over a digit of a full integer part"},
      {"1234567890123,0000", 12, 2, u'9', false, "digit over the last digit and the comma"},
      {"123456", 0, 1, u',', false, "comma over the first digit leaves five decimals"},
      {"123456", 1, 1, u'.', true, "keypad point over a digit leaves four decimals"},
      {"12,1234", 3, 1, u'9', true, "digit over a decimal of a full decimal part"},
      {"1", 1, 0, u'a', false, "letter"},
      {"1", 1, 0, u' ', false, "blank"},
      {"1", 1, 0, u'é', false, "accented letter"},
      {"1", 1, 0, u'+', false, "plus sign"},
      {"1", 1, 0, u'\r', false, "carriage return"},
      {"1", 1, 0, u'\n', false, "line feed"},
      {"1", 1, 0, 22, true, "Ctrl+V passes"},
      {"1", 1, 0, 3, true, "Ctrl+C passes"},
  };
  Control control;
  for (const KeyCase& c : cases) {
    QChar key(c.key);
    EXPECT_EQ(control.rules.KeyPress(key, QString::fromUtf8(c.text), c.caret, c.selection), c.accepted) << c.why;
  }
}

TEST(MemoEditKeyPress, PointTypesComma) {
  Control control;
  QChar key(u'.');
  EXPECT_TRUE(control.rules.KeyPress(key, QStringLiteral("12"), 2, 0));
  EXPECT_EQ(key, u',');
  EXPECT_FALSE(control.rules.KeyPress(key = u'.', QStringLiteral("1,2"), 3, 0));

  Control integers(QStringLiteral("#,##0;0"));
  EXPECT_FALSE(integers.rules.KeyPress(key = u'.', QStringLiteral("12"), 2, 0)) << "no decimals: the point is refused";
  EXPECT_EQ(key, u'.');
}

TEST(MemoEditKeyPress, LengthLimit) {
  Control control(QStringLiteral("00000;0"));
  control.rules.setMaxLength(6);
  QChar key(u'1');
  EXPECT_FALSE(control.rules.KeyPress(key, QStringLiteral("12345"), 5, 0)) << "MaxLength - 1 characters";
  EXPECT_TRUE(control.rules.KeyPress(key, QStringLiteral("12345"), 0, 5)) << "all selected";
  EXPECT_TRUE(control.rules.KeyPress(key, QStringLiteral("1234"), 4, 0));
  EXPECT_TRUE(control.rules.KeyPress(key = BS, QStringLiteral("12345"), 5, 0));
  EXPECT_TRUE(control.rules.KeyPress(key = u'1', QStringLiteral("-1234"), 5, 0)) << "a minus sign does not count";
}

// Keys typed into a box just entered with the quantity mask -> text, ValueText.
struct TypingCase {
  const char* before;  // text when the focus arrives
  const char* keys;
  const char* text;
  const char* valueText;
};

void PrintTo(const TypingCase& c, std::ostream* os) {
  *os << "entered with \"" << c.before << "\", typed \"";
  for (const char* k = c.keys; *k != 0; ++k) *os << (*k == '\b' ? "\\b" : std::string(1, *k));
  *os << '"';
}

class MemoEditTyping : public testing::TestWithParam<TypingCase> {};

TEST_P(MemoEditTyping, TypedKeysGiveTextAndValueText) {
  const TypingCase& c = GetParam();
  Control control;
  control.enterWith(QString::fromUtf8(c.before));
  control.box.type(QString::fromUtf8(c.keys));
  EXPECT_EQ(str(control.box.text()), c.text) << c.keys;
  EXPECT_EQ(str(control.rules.ValueText()), c.valueText) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    QuantityMask, MemoEditTyping,
    testing::Values(TypingCase{"", "1234,5", "1234,5", "1234,5000"},
                    TypingCase{"", "1234.5", "1234,5", "1234,5000"},
                    TypingCase{"", "12,3,4", "12,34", "12,3400"},
                    TypingCase{"", "1-2", "12", "12,0000"},
                    TypingCase{"", "-12", "-12", "-12,0000"},
                    TypingCase{"", "--1", "-1", "-1,0000"},
                    TypingCase{"", "-", "-", "0,0000"},
                    TypingCase{"", ",5", "5", "5,0000"},  // the entered "0,00" holds a comma
                    TypingCase{"", "*\b,5", ",5", "0,5000"},
                    TypingCase{"", "12a b\xc3\xa9%", "12", "12,0000"},
                    TypingCase{"", "12345678901234", "1234567890123", "1234567890123,0000"},
                    TypingCase{"", "-12345678901234", "-1234567890123", "-1234567890123,0000"},
                    TypingCase{"", "1,12345", "1,1234", "1,1234"},
                    TypingCase{"", "1,1234\b", "1,123", "1,1230"},
                    TypingCase{"", "1,1234<<<<<5", "15,1234", "15,1234"},
                    TypingCase{"", "1234567890123,1<<9", "1234567890123,1", "1234567890123,1000"},
                    TypingCase{"", "123^-", "-123", "-123,0000"},
                    TypingCase{"", "123$-", "123", "123,0000"},
                    TypingCase{"", "\b\b", "", "0"},
                    TypingCase{"1.234,5000", "", "1234,5000", "1234,5000"},
                    TypingCase{"1.234,5000", "7", "7", "7,0000"},
                    TypingCase{"1.234,5000", "$\b\b\b\b\b", "1234", "1234,0000"}));

// The focus arrives: text before -> text after, all selected.
TEST(MemoEditEnter, ShowsTheBareNumberSelected) {
  struct Case {
    const char* mask;
    const char* before;
    const char* after;
    int maxLength;
  };
  static const Case cases[] = {
      {"###,###,###,###0.0000;0", "1.234,5000", "1234,5000", 20},
      {"###,###,###,###0.0000;0", "-1.234.567,1", "-1234567,1000", 20},
      {"###,###,###,###0.0000;0", "", "0,00", 20},
      {"###,###,###,###0.0000;0", "   ", "0,00", 20},
      {"###,###,###,###0.0000;0", "abc", "abc", 20},  // unreadable: left as it stands
      {"###,###,###,###0.0000;0", "-", "-", 20},
      {"00000;0", "00123", "123", 6},
      {"00000;0", "", "0", 6},
      {"#,##0;0", "1.234", "1234", 5},
      {"000000;0", "12x", "12x", 8},  // unreadable: MaxLength stays as the mask set it
  };
  for (const Case& c : cases) {
    Control control(QString::fromUtf8(c.mask));
    control.enterWith(QString::fromUtf8(c.before));
    EXPECT_EQ(str(control.box.text()), c.after) << c.mask << " " << c.before;
    EXPECT_EQ(control.rules.MaxLength(), c.maxLength) << c.mask << " " << c.before;
    EXPECT_EQ(control.box.allSelected(), !control.box.text().isEmpty()) << c.before;
  }
}

// The focus leaves: text and settings -> text, ValueText, exit event, message.
struct ExitCase {
  const char* mask;
  const char* text;
  bool showZero;
  bool acceptZero;
  const char* zeroMessage;
  const char* textAfter;
  const char* valueText;
  bool exitEvent;
  const char* message;  // "" for none; a message also keeps the focus
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << c.mask << " \"" << c.text << "\" ShowZero=" << c.showZero << " AcceptZero=" << c.acceptZero << " \""
      << c.zeroMessage << '"';
}

class MemoEditExit : public testing::TestWithParam<ExitCase> {};

TEST_P(MemoEditExit, FormatsPublishesOrRefuses) {
  const ExitCase& c = GetParam();
  Control control(QString::fromUtf8(c.mask));
  control.rules.setValueText(QStringLiteral("before"));
  control.rules.SetShowZero(c.showZero);
  control.rules.SetAcceptZero(c.acceptZero);
  control.rules.SetErrorMessageZero(QString::fromUtf8(c.zeroMessage));
  control.box.setText(QString::fromUtf8(c.text));
  if (QString::fromUtf8(c.text).trimmed().isEmpty()) control.rules.setValueText(QStringLiteral("before"));

  EXPECT_EQ(control.rules.CMExit(control.box), c.exitEvent);
  EXPECT_EQ(str(control.box.text()), c.textAfter);
  EXPECT_EQ(str(control.rules.ValueText()), c.valueText);
  const std::string message = c.message;
  if (message.empty()) {
    EXPECT_TRUE(control.box.messages.empty());
    EXPECT_EQ(control.box.refusals, 0);
  } else {
    EXPECT_EQ(control.box.messages, std::vector<QString>{QString::fromStdString(message)});
    EXPECT_EQ(control.box.refusals, 1) << "the focus stays in the box";
  }
}

constexpr const char* Q = "###,###,###,###0.0000;0";

INSTANTIATE_TEST_SUITE_P(
    Values, MemoEditExit,
    testing::Values(
        ExitCase{Q, "1234,5", false, false, "", "1.234,5000", "1234,5000", true, ""},
        ExitCase{Q, "-1234,5", false, false, "", "-1.234,5000", "-1234,5000", true, ""},
        ExitCase{Q, "1.234,5000", false, false, "", "1.234,5000", "1234,5000", true, ""},
        ExitCase{Q, "1234567890,12345", false, false, "", "1.234.567.890,1235", "1234567890,1235", true, ""},
        ExitCase{Q, "", false, false, "", "", "0,0000", false, ""},
        ExitCase{Q, "  ", false, false, "", "", "0,0000", false, ""},
        ExitCase{Q, "0", false, false, "", "", "0,0000", false, ""},
        ExitCase{Q, "-0", false, false, "", "", "0,0000", false, ""},
        ExitCase{Q, "0", true, false, "", "0,0000", "0,0000", false, ""},
        ExitCase{Q, "", false, true, "", "", "0,0000", true, ""},
        ExitCase{Q, "", true, true, "", "0,0000", "0,0000", true, ""},
        ExitCase{Q, "", false, true, "Informe o valor.", "", "0,0000", false, "Informe o valor."},
        ExitCase{Q, "-", false, false, "", "-", "before", false, "Valor inválido."},
        ExitCase{Q, "abc", false, false, "", "abc", "before", false, "Valor inválido."},
        ExitCase{Q, "1,2,3", false, false, "", "1,2,3", "before", false, "Valor inválido."},
        ExitCase{"#,##0.00;1", "1234,5", false, false, "", "1.234,50", "1.234,50", true, ""},
        ExitCase{"#,##0;0", "1234", false, false, "", "1.234", "1.234", true, ""},
        ExitCase{"#,##0;0", "", false, false, "", "", "0", false, ""},
        ExitCase{"#,##0;0", "12,5", false, false, "", "12,5", "before", false, "Valor inválido."},
        ExitCase{"00000;0", "99999999999", false, false, "", "99999999999", "before", false, "Valor inválido."}));

TEST(MemoEditChange, KeepsValueTextInStep) {
  struct Case {
    const char* mask;
    const char* text;
    const char* valueText;  // "before" when unchanged
  };
  static const Case cases[] = {
      {Q, "", "0"},
      {Q, "   ", "0"},
      {Q, "1.234,5", "1234,5000"},
      {Q, "-", "before"},
      {Q, "abc", "before"},
      {"#,##0.00;1", "1234,5", "1.234,50"},
      {"00000;0", "12", "00012"},
      {"00000;0", " - ", "before"},
      {"00000;0", "1a", "0"},
      {"00000;0", "1,5", "before"},
      {"00000;0", "99999999999", "before"},
  };
  for (const Case& c : cases) {
    Control control(QString::fromUtf8(c.mask));
    control.rules.setValueText(QStringLiteral("before"));
    control.rules.Change(QString::fromUtf8(c.text));
    EXPECT_EQ(str(control.rules.ValueText()), c.valueText) << c.mask << " '" << c.text << "'";
  }
}

}  // namespace
}  // namespace controls
