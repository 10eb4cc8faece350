#include "controls/TimeRules.h"

#include <gtest/gtest.h>

namespace controls {
namespace {

TEST(TimeRules, OnlyDigitsAreTyped) {
  for (char16_t c = u'0'; c <= u'9'; ++c) EXPECT_TRUE(timeKeyAllowed(QChar(c)));
  for (const QChar c : QStringLiteral("aZ :-.,/+éÇ")) EXPECT_FALSE(timeKeyAllowed(c)) << QString(c).toStdString();
}

struct TimeCase {
  const char* text;
  bool aceitaNulo;
  bool valid;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
  *os << '"' << c.text << "\" AceitaNulo=" << c.aceitaNulo << (c.valid ? " valid" : " invalid");
}

class DateIsValidTest : public testing::TestWithParam<TimeCase> {};

TEST_P(DateIsValidTest, AcceptsTimesOfDayAndTheEmptyBoxWhenAllowed) {
  const TimeCase& c = GetParam();
  TimeEditRules rules;
  rules.SetAceitaNulo(c.aceitaNulo);
  EXPECT_EQ(rules.DateIsValid(QString::fromUtf8(c.text)), c.valid);
}

INSTANTIATE_TEST_SUITE_P(Texts, DateIsValidTest,
                         testing::Values(
                             // The empty box, with and without AceitaNulo.
                             TimeCase{"  :  ", true, true}, TimeCase{"  :  ", false, false},
                             // Times of day and their limits.
                             TimeCase{"08:05", true, true}, TimeCase{"23:59", false, true},
                             TimeCase{"00:00", false, true}, TimeCase{"24:00", true, false},
                             TimeCase{"25:00", true, false}, TimeCase{"12:60", true, false},
                             TimeCase{"99:99", true, false},
                             // Partly typed boxes: an hour without minutes is no time.
                             TimeCase{"08:  ", true, false}, TimeCase{"  :30", true, false},
                             TimeCase{"1 :  ", true, false},
                             // One digit per field still reads as a time.
                             TimeCase{" 8:05", true, true}, TimeCase{"12:3 ", true, true},
                             TimeCase{"1 :05", true, true},
                             // Not of the box's shape at all.
                             TimeCase{"", true, false}, TimeCase{"0805", true, false},
                             TimeCase{"08:05:00", true, false}, TimeCase{"ab:cd", true, false},
                             TimeCase{"-1:05", true, false}, TimeCase{"+8:05", true, false}));

TEST(TimeRules, ReadTimeOfDayGivesHourAndMinute) {
  EXPECT_EQ(readTimeOfDay(QStringLiteral("23:59")), (TimeOfDay{23, 59}));
  EXPECT_EQ(readTimeOfDay(QStringLiteral(" 7: 5")), (TimeOfDay{7, 5}));
  EXPECT_FALSE(readTimeOfDay(QStringLiteral("7")).has_value());
}

}  // namespace
}  // namespace controls
