// The client access layer in-process, with the table of client roles
// replaced: a recording table that forwards to the runtime, and fakes for the
// status area and message templates that the runtime cannot produce.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "client/client_connection.h"
#include "client/client_error.h"
#include "client/client_names.h"
#include "client/client_roles.h"
#include "infconn.h"
#include "quovex/interfaces.h"
#include "ifxrt/testing.h"

using namespace quovex;
using namespace quovex::inf;

namespace {

struct ConnectCall {
  std::string target;
  std::string name;
};

std::vector<ConnectCall> connectCalls;
IfxStatusArea fakeArea;
std::string fakeTemplate;

void recordConnect(const char* target, const char* name, const IfxLogin* login) {
  connectCalls.push_back({target, name});
  runtimeClientRoles().connect(target, name, login);
}

IfxStatusArea* fakeStatusArea() { return &fakeArea; }

std::int32_t fakeMessageText(std::int32_t, char* buffer, std::size_t size, std::size_t* length) {
  const std::size_t copied = std::min(fakeTemplate.size(), size - 1);
  std::memcpy(buffer, fakeTemplate.data(), copied);
  buffer[copied] = '\0';
  if (length) *length = fakeTemplate.size();
  return 0;
}

class AccessLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ifxrtReset();
    connectCalls.clear();
    ClientRoles roles = runtimeClientRoles();
    roles.connect = &recordConnect;
    bindClientRoles(roles);
    char pattern[] = "/tmp/quovexinf-layer-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    path_ = (folder_ / "layer.db").string();
    ASSERT_EQ(ifxrtCreateDatabase(path_.c_str(), IFX_LOG_NONE), 0);
    connection_ = INFConnection::create();
    ASSERT_NE(connection_, nullptr);
    connection_->addRef();
  }

  void TearDown() override {
    connection_->release();
    bindClientRoles(runtimeClientRoles());
    ifxrtReset();
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path folder_;
  std::string path_;
  INFConnection* connection_ = nullptr;
};

TEST_F(AccessLayer, TargetIsTheConnectTextBeforeItsComma) {
  ASSERT_EQ(connection_->setOption(10, reinterpret_cast<std::intptr_t>("srv")), RESULT_OK);
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);
  ASSERT_EQ(connection_->disconnect(), RESULT_OK);
  ASSERT_EQ(connection_->setOption(19, reinterpret_cast<std::intptr_t>("NAMED")), RESULT_OK);
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);
  ASSERT_EQ(connection_->disconnect(), RESULT_OK);
  ASSERT_EQ(connection_->setOption(10, reinterpret_cast<std::intptr_t>("")), RESULT_OK);
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);

  ASSERT_EQ(connectCalls.size(), 3u);
  EXPECT_EQ(connectCalls[0].target, path_ + "@srv");
  EXPECT_EQ(connectCalls[0].name.rfind("CONN", 0), 0u) << connectCalls[0].name;
  EXPECT_EQ(connectCalls[1].target, path_ + "@srv");
  EXPECT_EQ(connectCalls[1].name, "NAMED");
  EXPECT_EQ(connectCalls[2].target, path_);
  EXPECT_EQ(connectCalls[2].name, "NAMED");
}

TEST_F(AccessLayer, ConnectionStatementAndCursorNamesShareOneCounter) {
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);
  ASSERT_EQ(connection_->disconnect(), RESULT_OK);
  const std::string statement = nextClientName("SI");
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);
  ASSERT_EQ(connectCalls.size(), 2u);
  const long first = std::stol(connectCalls[0].name.substr(4));
  EXPECT_EQ(statement, "SI" + std::to_string(first + 1));
  EXPECT_EQ(connectCalls[1].name, "CONN" + std::to_string(first + 2));
}

std::vector<std::string> statementNames;

void recordPrepare(const char* name, const char* sql) {
  statementNames.push_back(name);
  runtimeClientRoles().prepare(name, sql);
}

void recordDeclare(const char* name, IfxStatement* statement, std::int32_t options) {
  statementNames.push_back(name);
  runtimeClientRoles().declareCursor(name, statement, options);
}

TEST_F(AccessLayer, StatementAndCursorNamesFollowTheConnectionName) {
  ClientRoles roles = runtimeClientRoles();
  roles.connect = &recordConnect;
  roles.prepare = &recordPrepare;
  roles.declareCursor = &recordDeclare;
  bindClientRoles(roles);
  statementNames.clear();
  ASSERT_EQ(connection_->connect(path_.c_str(), "", ""), RESULT_OK);
  SQLCommand* command = nullptr;
  ASSERT_EQ(connection_->createCommand(&command), RESULT_OK);
  ASSERT_EQ(command->prepare("SELECT 1 AS one", 0), RESULT_OK);
  SQLCursor* cursor = nullptr;
  ASSERT_EQ(command->execute(&cursor), RESULT_OK);
  ASSERT_NE(cursor, nullptr);
  ASSERT_EQ(cursor->release(), 0);
  ASSERT_EQ(command->execute(&cursor), RESULT_OK) << "a new cursor name for every open";
  ASSERT_EQ(cursor->release(), 0);
  ASSERT_EQ(command->release(), 0);

  const long first = std::stol(connectCalls.at(0).name.substr(4));
  const std::vector<std::string> expected = {"SI" + std::to_string(first + 1), "CN" + std::to_string(first + 2),
                                             "CN" + std::to_string(first + 3)};
  EXPECT_EQ(statementNames, expected);
}

class ErrorBuilder : public AccessLayer {
 protected:
  void SetUp() override {
    AccessLayer::SetUp();
    fakeArea = IfxStatusArea{};
    ClientRoles roles = runtimeClientRoles();
    roles.statusArea = &fakeStatusArea;
    roles.messageText = &fakeMessageText;
    bindClientRoles(roles);
  }

  std::string build(std::int32_t status, std::int16_t* length = nullptr) {
    char text[kErrorTextSize];
    std::memset(text, '#', sizeof text);
    StatusDetails details = statusDetailsNow(status);
    const std::int16_t built = buildClientErrorText(nullptr, status, details, text, sizeof text);
    if (length) *length = built;
    return std::string(text, strnlen(text, sizeof text));
  }
};

// A template is never a format: only its first "%s" is replaced.
TEST_F(ErrorBuilder, TemplateIsFilledNotFormatted) {
  std::memcpy(fakeArea.sqlerrm, "arg", 4);
  struct Case {
    const char* messageTemplate;
    const char* text;
  };
  const Case kCases[] = {{"Plain.", "Plain."},
                         {"Table (%s) missing.", "Table (arg) missing."},
                         {"%d %n %x then %s and %s 100%", "%d %n %x then arg and %s 100%"},
                         {"%s", "arg"}};
  for (const Case& c : kCases) {
    fakeTemplate = c.messageTemplate;
    EXPECT_EQ(build(-1), c.text) << c.messageTemplate;
  }
}

TEST_F(ErrorBuilder, TextIsCutTo256Characters) {
  fakeTemplate = std::string(400, 't') + "%s";
  std::int16_t length = 0;
  EXPECT_EQ(build(-1, &length), std::string(256, 't'));
  EXPECT_EQ(length, 257);

  // A message argument that fills all 72 bytes without a NUL is read up to its end.
  std::memset(fakeArea.sqlerrm, 'a', sizeof fakeArea.sqlerrm);
  fakeTemplate = "[%s]";
  EXPECT_EQ(build(-1), "[" + std::string(72, 'a') + "]");
}

TEST_F(ErrorBuilder, RuntimeErrorAppendsTheSecondDetail) {
  fakeTemplate = "Error in the client runtime. %s";
  std::memcpy(fakeArea.sqlerrm, "(step) ", 8);
  fakeArea.sqlerrd[1] = 2147483647;
  EXPECT_EQ(build(-29000), "Error in the client runtime. (step) sqlerrd[1] = 2147483647");
  fakeArea.sqlerrd[1] = -150;
  EXPECT_EQ(build(-29000), "Error in the client runtime. (step) sqlerrd[1] = -150");
}

// The details are the object's own, copied when its call failed: a later
// change of the status area does not reach them, and a secondary code is
// the text of the same object's next request, once.
TEST_F(ErrorBuilder, DetailsAndThePendingCodeBelongToTheObject) {
  fakeTemplate = "text of %s";
  std::memcpy(fakeArea.sqlerrm, "x", 2);
  fakeArea.sqlerrd[1] = -150;
  StatusDetails details = statusDetailsNow(-1);
  std::memcpy(fakeArea.sqlerrm, "other", 6);
  fakeArea.sqlerrd[1] = -99;
  char text[kErrorTextSize];
  buildClientErrorText(nullptr, -1, details, text, sizeof text);
  EXPECT_STREQ(text, "text of x");
  EXPECT_EQ(details.pendingSecond, -150);
  buildClientErrorText(nullptr, -1, details, text, sizeof text);
  EXPECT_STREQ(text, "text of x") << "the pending code's text";
  EXPECT_EQ(details.pendingSecond, 0) << "used once, then cleared";
  StatusDetails success = statusDetailsNow(0);
  EXPECT_EQ(buildClientErrorText(nullptr, 0, success, text, sizeof text), 1);
  EXPECT_STREQ(text, "") << "nothing failed: no text";
}

// With the runtime's own status area: the argument of an unknown table.
TEST_F(AccessLayer, ArgumentFromTheRuntimeStatusArea) {
  std::unique_ptr<ClientConnection> record;
  ASSERT_EQ(makeClientConnection(record), RESULT_OK);
  ASSERT_EQ(openClientDatabase(*record, makeConnectText(path_.c_str(), "", ""), "", ""), RESULT_OK);
  clientExecuteText("SELECT * FROM nosuch");
  ASSERT_EQ(clientStatusCode(), -206);
  char text[kErrorTextSize];
  StatusDetails details = statusDetailsNow(-206);
  buildClientErrorText(record.get(), -206, details, text, sizeof text);
  EXPECT_STREQ(text, "The specified table (nosuch) is not in the database.");
  EXPECT_EQ(closeClientDatabase(*record), RESULT_OK);
}

std::string lastTrace;
std::size_t lastTraceNulAt = 0;

std::int32_t keepTrace(std::int32_t, TraceRecord* record) {
  lastTrace.assign(record->text, sizeof record->text);
  lastTraceNulAt = strnlen(record->text, sizeof record->text);
  return 0;
}

TEST(TraceSteps, MessageIsZeroFilledAndCutAt1024) {
  std::unique_ptr<ClientConnection> record;
  ASSERT_EQ(makeClientConnection(record), RESULT_OK);
  traceClientStep(*record, "no callback: nothing happens");
  setClientTraceCallback(*record, &keepTrace);
  const std::string longMessage(1500, 'm');
  traceClientStep(*record, longMessage.c_str());
  EXPECT_EQ(lastTrace, std::string(1024, 'm'));
  EXPECT_EQ(lastTraceNulAt, 1024u) << "a message of 1024 characters or more has no NUL";
  traceClientStep(*record, "short");
  EXPECT_EQ(lastTrace, std::string("short") + std::string(1019, '\0'));
  EXPECT_EQ(record->trace->category, 256);
}

}  // namespace
