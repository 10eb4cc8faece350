// In-process checks of the catalogue pieces a host cannot reach alone:
// trimming padded catalogue texts and picking items of routine type lists.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/catalogue_shapes.h"
#include "catalogue/client_routine_types.h"

using namespace quovex::inf;

namespace {

TEST(CataloguePieces, TrailingBlanksAreTrimmedWhole) {
  struct Case {
    const char* padded;
    const char* trimmed;
  };
  const Case kCases[] = {{"informix                        ", "informix"},
                         {"a   ", "a"},  // a one-letter name keeps no blank
                         {"   ", ""},
                         {"", ""},
                         {" lead", " lead"},
                         {"in side ", "in side"}};
  for (const Case& c : kCases) {
    std::string text = c.padded;
    trimTrailingBlanks(text.data());
    EXPECT_STREQ(text.c_str(), c.trimmed) << '"' << c.padded << '"';
  }
}

TEST(CataloguePieces, TypeListItems) {
  struct Case {
    const char* list;
    std::int32_t position;
    const char* item;
  };
  const Case kCases[] = {{"integer,date", 1, "integer"}, {"integer,date", 2, "date"}, {"integer,date", 3, ""},
                         {"integer,date", 0, ""},        {"date", 1, "date"},         {"date", 7, "date"},
                         {"", 1, ""},                    {"a,,c", 2, ""},             {"a,,c", 3, "c"}};
  for (const Case& c : kCases) {
    EXPECT_EQ(typeListItem(c.list, c.position), c.item) << c.list << " " << c.position;
  }
  EXPECT_EQ(typeListItemCount(""), 0u);
  EXPECT_EQ(typeListItemCount("date"), 1u);
  EXPECT_EQ(typeListItemCount("a,,c"), 3u);
}

}  // namespace
