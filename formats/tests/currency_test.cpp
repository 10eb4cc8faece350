#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "formats/formats.h"

namespace {

using formats::Currency;

TEST(Currency, FromDoubleRoundsHalfToEven) {
  const struct {
    double value;
    std::int64_t units;
  } cases[] = {
      {0, 0},
      {1, 10000},
      {0.01, 100},
      {1234.5, 12345000},
      {-1234.5, -12345000},
      {0.0001, 1},
      {0.00004, 0},
      {0.00006, 1},
      {-0.00006, -1},
      // value x 10000 is an exact half for these (1/32, 3/32, 5/32 are exact).
      {0.03125, 312},
      {0.09375, 938},
      {0.15625, 1562},
      {-0.03125, -312},
      {-0.09375, -938},
      {1234567890123.4567, 12345678901234568},
      {-900000000000000.0, -9000000000000000000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Currency::fromDouble(c.value).tenThousandths(), c.units) << c.value;
  }
}

TEST(Currency, FromDoubleRefusesWhatDoesNotFit) {
  const double cases[] = {
      std::numeric_limits<double>::quiet_NaN(),
      std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity(),
      1e15,
      -1e15,
      922337203685477.6,
  };
  for (double value : cases) {
    EXPECT_THROW(Currency::fromDouble(value), std::out_of_range) << value;
  }
}

TEST(Currency, ToDoubleGivesTheNearestDouble) {
  const struct {
    std::int64_t units;
    double value;
  } cases[] = {
      {0, 0}, {1, 0.0001}, {50, 0.005}, {3750, 0.375}, {12345000, 1234.5}, {-1, -0.0001},
      {1000000, 100},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Currency::fromTenThousandths(c.units).toDouble(), c.value) << c.units;
  }
  // A half cent converted back still shows as one cent with two decimals.
  EXPECT_EQ(formats::formatNumber(Currency::fromTenThousandths(50).toDouble(), "0.00"), "0,01");
}

TEST(Currency, RoundTripsEveryFourDecimalValue) {
  for (std::int64_t units = -3000000; units <= 3000000; units += 7) {
    const Currency c = Currency::fromTenThousandths(units);
    ASSERT_EQ(Currency::fromDouble(c.toDouble()), c) << units;
  }
}

TEST(Currency, TenThousandCentsSumToExactlyOneHundred) {
  Currency total;
  double drifting = 0;
  for (int i = 0; i < 10000; ++i) {
    total += Currency::fromDouble(0.01);
    drifting += 0.01;
  }
  EXPECT_EQ(total.tenThousandths(), 1000000);
  EXPECT_EQ(total.toDouble(), 100.0);
  EXPECT_EQ(formats::formatNumber(total.toDouble(), "#,##0.00 "), "100,00 ");
  // The same sum in doubles is off, which is why totals are kept in units.
  EXPECT_NE(drifting, 100.0);
}

TEST(Currency, ArithmeticAndOrder) {
  const Currency a = Currency::fromDouble(1.25);
  const Currency b = Currency::fromDouble(0.7501);
  EXPECT_EQ((a + b).tenThousandths(), 20001);
  EXPECT_EQ((b - a).tenThousandths(), -4999);
  EXPECT_LT(b, a);
  EXPECT_GT(Currency::fromDouble(1.0001), Currency::fromDouble(1.0));
  EXPECT_EQ(Currency::fromDouble(3.0), Currency::fromTenThousandths(30000));
}

TEST(Currency, ArithmeticBeyondTheRangeThrows) {
  const Currency max = Currency::fromTenThousandths(std::numeric_limits<std::int64_t>::max());
  const Currency min = Currency::fromTenThousandths(std::numeric_limits<std::int64_t>::min());
  const Currency one = Currency::fromTenThousandths(1);
  EXPECT_THROW(max + one, std::overflow_error);
  EXPECT_THROW(min - one, std::overflow_error);
  Currency sum = max;
  EXPECT_THROW(sum += one, std::overflow_error);
  EXPECT_EQ(sum, max);  // the failed addition left the value alone
  EXPECT_EQ((max - one).tenThousandths(), std::numeric_limits<std::int64_t>::max() - 1);
}

}  // namespace

TEST(DecimalUnits, WritesExactlyThePlacesAcrossTheWholeRange) {
  struct Case {
    std::int64_t units;
    int places;
    char separator;
    const char* text;
  } const cases[] = {
      {0, 0, ',', "0"},
      {7, 0, ',', "7"},
      {1250, 2, ',', "12,50"},
      {-1250, 2, ',', "-12,50"},
      {5, 3, '.', "0.005"},
      {-5, 4, ',', "-0,0005"},
      {0, 4, ',', "0,0000"},
      {INT64_MAX, 4, ',', "922337203685477,5807"},
      {INT64_MIN, 4, '.', "-922337203685477.5808"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formats::formatDecimalUnits(c.units, c.places, c.separator), c.text)
        << c.units << " with " << c.places << " places";
  }
}
