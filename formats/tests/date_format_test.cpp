#include <gtest/gtest.h>

#include <optional>

#include "formats/formats.h"

namespace {

using formats::DateTime;

TEST(FormatDateTime, ReplacesTheFieldLettersAndCopiesTheRest) {
  const DateTime afternoon{2010, 3, 7, 14, 5, 9, 0};
  const DateTime earlyYear{987, 12, 31, 0, 0, 0, 0};
  const struct {
    DateTime value;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {afternoon, "dd/mm/yyyy hh:nn", "07/03/2010 14:05"},
      {afternoon, "dd/mm/yyyy", "07/03/2010"},
      {afternoon, "hh:nn", "14:05"},
      {afternoon, "yyyy-mm-dd", "2010-03-07"},
      {afternoon, " dd/mm/yyyy hh:nn ", " 07/03/2010 14:05 "},
      {afternoon, "Data: dd.mm.yyyy", "Data: 07.03.2010"},
      {afternoon, "DD/MM/YYYY d m y", "DD/MM/YYYY d m y"},
      {afternoon, "ddd", "07d"},
      {afternoon, "yyyyy", "2010y"},
      {afternoon, "", ""},
      {earlyYear, "dd/mm/yyyy hh:nn", "31/12/0987 00:00"},
      {DateTime{}, "dd/mm/yyyy", "30/12/1899"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formats::formatDateTime(c.value, c.pattern), c.expected) << c.pattern;
  }
}

TEST(IsoDateTime, ReadsTheIsoForms) {
  const struct {
    const char* text;
    DateTime expected;
  } cases[] = {
      {"2010-03-07", {2010, 3, 7, 0, 0, 0, 0}},
      {"2010-03-07T14:05", {2010, 3, 7, 14, 5, 0, 0}},
      {"2010-03-07 14:05", {2010, 3, 7, 14, 5, 0, 0}},
      {"2010-03-07T14:05:09", {2010, 3, 7, 14, 5, 9, 0}},
      {"2010-03-07T14:05:09.250", {2010, 3, 7, 14, 5, 9, 250}},
      {"2012-02-29T23:59:59.999", {2012, 2, 29, 23, 59, 59, 999}},
      {"2000-02-29", {2000, 2, 29, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const std::optional<DateTime> value = formats::readIsoDateTime(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.expected) << c.text;
  }
}

TEST(IsoDateTime, RefusesOtherFormsAndDaysThatDoNotExist) {
  const char* const cases[] = {
      "",           "2010",        "2010-3-7",          "07/03/2010",          "2010-03-07T",
      "2010-03-07T14", "2010-03-07T14:5", "2010-03-07T14:05:9", "2010-03-07T14:05:09.25",
      "2010-03-07Z",   " 2010-03-07",  "2010-03-07 ",       "2011-02-29",          "1900-02-29",
      "2010-13-01",    "2010-00-10",   "2010-04-31",        "2010-03-00",          "0000-01-01",
      "2010-03-07T24:00", "2010-03-07T12:60", "2010-03-07T12:00:60", "2010-03-07T14:05+03:00",
  };
  for (const char* text : cases) {
    EXPECT_EQ(formats::readIsoDateTime(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(IsoDateTime, WritesWhatItReads) {
  const struct {
    DateTime value;
    const char* text;
  } cases[] = {
      {{2010, 3, 7, 14, 5, 9, 0}, "2010-03-07T14:05:09"},
      {{2010, 3, 7, 0, 0, 0, 0}, "2010-03-07T00:00:00"},
      {{2012, 2, 29, 23, 59, 59, 7}, "2012-02-29T23:59:59.007"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formats::formatIsoDateTime(c.value), c.text);
    EXPECT_EQ(formats::readIsoDateTime(c.text), c.value) << c.text;
  }
}

}  // namespace
