// Error texts as a host reads them: length first, then the text; the
// runtime's message for each status code; each object's own text, with the
// secondary code of its failure on its next request.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host_fixture.h"

using namespace quovex;

namespace {

class ErrorTexts : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    path_ = createDatabase("errors.db", IFX_LOG_BUFFERED);
  }

  // A commit on `c` that fails with `code` and `secondDetail`.
  void failCommit(const host::Connection& c, std::int32_t code, std::int32_t secondDetail) {
    TransactionDesc desc{1, 0, ISOLATION_COMMITTED_READ, 0};
    ifxrtFailCall(IFX_ROLE_COMMIT_WORK, 1, code, secondDetail);
    ASSERT_EQ(c.commit(&desc), RESULT_CLIENT_ERROR);
  }

  std::string path_;
};

struct TextCase {
  std::int32_t code;
  std::int32_t secondDetail;
  const char* text;
};

constexpr TextCase kTexts[] = {
    {-255, 0, "Not in transaction."},
    {-256, 0, "Transaction not available."},
    {-329, 0, "Database not found or no system permission."},
    {-951, 0, "Incorrect password or user  is not known on the database server."},
    {-1803, 0, "Connection does not exist."},
    {-201, 0, "A syntax error has occurred."},
    {-206, 0, "The specified table () is not in the database."},
    {-29000, 17, "Error in the client runtime. sqlerrd[1] = 17"},
    {-29000, -5, "Error in the client runtime. sqlerrd[1] = -5"},
    {-12345, 0, "Message number -12345 not found."},
    {-201, -99, "A syntax error has occurred."},
    {-201, -200, "A syntax error has occurred."},
};

TEST_F(ErrorTexts, RuntimeMessageForEachCode) {
  host::Connection c = connectedAs(path_, "ERR");
  host::Connection other = connectedAs(path_, "OTHER");
  for (const TextCase& t : kTexts) {
    SCOPED_TRACE(t.code);
    failCommit(c, t.code, t.secondDetail);
    std::int16_t length = 0;
    ASSERT_EQ(c.errorMessageLength(&length), RESULT_OK);
    EXPECT_EQ(length, static_cast<std::int16_t>(std::strlen(t.text) + 1));
    char text[300];
    std::memset(text, '#', sizeof text);
    ASSERT_EQ(c.errorMessage(text), RESULT_OK);
    EXPECT_STREQ(text, t.text);
    // Another connection's failure is not this one's: its text stays empty.
    ifxrtClearFaults();
    EXPECT_EQ(other.errorText(), "");
  }
}

TEST_F(ErrorTexts, TextIsEmptiedOnceCopied) {
  host::Connection c = connectedAs(path_, "ONCE");
  failCommit(c, -255, 0);
  std::int16_t length = 0;
  ASSERT_EQ(c.errorMessageLength(&length), RESULT_OK);
  EXPECT_EQ(c.errorMessage(nullptr), RESULT_OK) << "no buffer: nothing copied, text kept";
  char text[300] = "?";
  ASSERT_EQ(c.errorMessage(text), RESULT_OK);
  EXPECT_STREQ(text, "Not in transaction.");
  ASSERT_EQ(c.errorMessage(text), RESULT_OK);
  EXPECT_STREQ(text, "") << "errorMessageLength builds the text, errorMessage hands it out once";
  EXPECT_EQ(c.errorMessageLength(nullptr), RESULT_INVALID_PARAMETER);
}

// A second detail code between -199 and -100 is the text of the failing
// object's next request, once; no other object ever shows it.
TEST_F(ErrorTexts, SecondaryCodeOnTheSameObjectsNextRequest) {
  host::Connection a = connectedAs(path_, "A");
  host::Connection b = connectedAs(path_, "B");
  const std::pair<std::int32_t, const char*> kSecondary[] = {
      {-111, "ISAM error: no record found."},
      {-100, "ISAM error: duplicate value for a record with unique key."},
      {-199, "Message number -199 not found."}};
  for (const auto& [detail, secondary] : kSecondary) {
    SCOPED_TRACE(detail);
    failCommit(a, -201, detail);
    EXPECT_EQ(b.errorText(), "");
    EXPECT_EQ(a.errorText(), "A syntax error has occurred.");
    EXPECT_EQ(b.errorText(), "");
    EXPECT_EQ(a.errorText(), secondary);
    EXPECT_EQ(a.errorText(), "A syntax error has occurred.") << "the failure's text again, its detail pending again";
    TransactionDesc desc{1, 0, ISOLATION_COMMITTED_READ, 0};
    ASSERT_EQ(a.begin(&desc), RESULT_OK);
    EXPECT_EQ(a.errorText(), "") << "after a success there is no text, nor a pending detail";
  }
}

// A failure on one connection never shows on another (a syntax error of B
// after a duplicate key on A reads as B's syntax error, with no ISAM text),
// nor does a failed connect's detail reach the next connect.
TEST_F(ErrorTexts, TextsStayWithTheirObject) {
  host::Connection a = connectedAs(path_, "A");
  host::Connection b = connectedAs(path_, "B");
  failCommit(a, -268, -100);
  failCommit(b, -201, 0);
  EXPECT_EQ(b.errorText(), "A syntax error has occurred.");
  EXPECT_EQ(b.errorText(), "A syntax error has occurred.") << "no ISAM text left by a";
  EXPECT_EQ(a.errorText(), "Unique constraint () violated.");
  EXPECT_EQ(a.errorText(), "ISAM error: duplicate value for a record with unique key.");

  host::Connection c = connection();
  ifxrtFailCall(IFX_ROLE_CONNECT, 1, -329, -111);
  EXPECT_EQ(c.connect(path_.c_str()), RESULT_INVALID_LOGIN);
  ifxrtClearFaults();
  host::Connection d = connection();
  ASSERT_EQ(d.connect(path_.c_str()), RESULT_OK);
  EXPECT_EQ(d.errorText(), "") << "the failed connect's detail stays with its connection";
  EXPECT_EQ(c.errorText(), "Database not found or no system permission.");
  EXPECT_EQ(c.errorText(), "ISAM error: no record found.");
}

// A connect that fails after the runtime connection opened (the isolation
// step of an ANSI database) closes that connection again; the failure's
// message argument and second detail code still reach the error texts.
TEST_F(ErrorTexts, FailureAfterTheConnectionOpenedKeepsItsDetails) {
  const std::string ansi = createDatabase("ansi.db", IFX_LOG_ANSI);
  host::Connection c = connection();
  ifxrtFailCall(IFX_ROLE_EXECUTE_FIXED, 1, -29000, -111);
  EXPECT_EQ(c.connect(ansi.c_str()), RESULT_CLIENT_ERROR);
  ifxrtClearFaults();
  EXPECT_EQ(c.errorText(), "Error in the client runtime. sqlerrd[1] = -111");
  EXPECT_EQ(c.errorText(), "ISAM error: no record found.");
}

}  // namespace
