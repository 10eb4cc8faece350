// Message templates by status code.
#include <cstring>
#include <string>

#include "test_databases.h"

namespace {

std::string templateOf(int32_t code, int32_t* result = nullptr) {
  char text[512];
  const int32_t r = clientMessageText(code, text, sizeof text, nullptr);
  if (result != nullptr) *result = r;
  return text;
}

struct MessageCase {
  int32_t code;
  const char* text;
};

class MessageTextTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTextTest, InformixTextForEachCodeTheRuntimeProduces) {
  int32_t result = 1;
  EXPECT_EQ(templateOf(GetParam().code, &result), GetParam().text);
  EXPECT_EQ(result, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MessageTextTest,
    ::testing::Values(MessageCase{-329, "Database not found or no system permission."},
                      MessageCase{-111, "ISAM error: no record found."}, MessageCase{-255, "Not in transaction."},
                      MessageCase{-256, "Transaction not available."}, MessageCase{-535, "Already in transaction."},
                      MessageCase{-1802, "Connection name is already in use."},
                      MessageCase{-1803, "Connection does not exist."},
                      MessageCase{-951, "Incorrect password or user %s is not known on the database server."},
                      MessageCase{-201, "A syntax error has occurred."},
                      MessageCase{-206, "The specified table (%s) is not in the database."},
                      MessageCase{-268, "Unique constraint (%s) violated."},
                      MessageCase{-100, "ISAM error: duplicate value for a record with unique key."},
                      MessageCase{-29000, "Error in the client runtime. %s"}, MessageCase{-3, "Out of memory."},
                      MessageCase{100, "No matching records found."}));

// Every status the runtime itself can leave must have a template; codes of
// planned faults are the tests' own choice and need none.
TEST(MessageTemplates, EveryTemplateTakesAtMostOneTextArgument) {
  int templates = 0;
  for (int32_t code = -32000; code <= 200; ++code) {
    char text[512];
    if (clientMessageText(code, text, sizeof text, nullptr) != 0) continue;
    ++templates;
    const std::string t = text;
    const size_t first = t.find('%');
    if (first == std::string::npos) continue;
    EXPECT_EQ(t.compare(first, 2, "%s"), 0) << code << ": " << t;
    EXPECT_EQ(t.find('%', first + 1), std::string::npos) << code << ": " << t;
  }
  EXPECT_GE(templates, 20);
}

TEST(MessageTemplates, UnknownCodeGivesGenericTextAndNegativeResult) {
  int32_t result = 0;
  EXPECT_EQ(templateOf(-12345, &result), "Message number -12345 not found.");
  EXPECT_LT(result, 0);
  EXPECT_EQ(templateOf(0, &result), "Message number 0 not found.");
  EXPECT_LT(result, 0);
}

TEST(MessageTemplates, TextIsCutToTheBufferAndFullLengthReported) {
  const std::string full = "Database not found or no system permission.";
  char text[8];
  std::memset(text, 'x', sizeof text);
  size_t length = 0;
  EXPECT_EQ(clientMessageText(-329, text, sizeof text, &length), 0);
  EXPECT_STREQ(text, full.substr(0, 7).c_str());
  EXPECT_EQ(length, full.size());

  char untouched = 'x';
  EXPECT_EQ(clientMessageText(-329, &untouched, 0, &length), 0);
  EXPECT_EQ(untouched, 'x');
  EXPECT_EQ(clientMessageText(-329, nullptr, 100, &length), 0);
  EXPECT_EQ(length, full.size());
  EXPECT_EQ(clientMessageText(-329, text, sizeof text, nullptr), 0);
}

TEST(MessageTemplates, ReadingATemplateKeepsTheStatusArea) {
  ifxrtReset();
  clientSetConnection("nobody");
  ASSERT_EQ(clientStatusCode(), -1803);
  templateOf(-1803);
  EXPECT_EQ(clientStatusCode(), -1803);
}

}  // namespace
