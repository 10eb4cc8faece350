// Planned faults: the nth call of a role does nothing but leave the chosen
// status code and second detail code in the status area.
#include <cstring>

#include "test_databases.h"

namespace {

constexpr int32_t kCode = -9876;
constexpr int32_t kDetail = -123;

// What the fault cases work on: a logged database connected as "main", a
// second one as "other", "main" current, no transaction open.
struct Scene {
  std::string mainPath;
  unsigned char buffer[8];
  IfxLogin* login = nullptr;
};

struct FaultCase {
  IfxRole role;
  const char* name;
  void (*call)(Scene&);        // ends with the call that is planned to fail
  void (*unaffected)(Scene&);  // checks that the failing call changed nothing
};

int64_t rowsIn(const std::string& path) { return committedRows(path, "items"); }

void insertRow() { clientExecuteText("INSERT INTO items (name) VALUES ('row')"); }

const FaultCase kCases[] = {
    {IFX_ROLE_STATUS_CODE, "StatusCode", [](Scene&) { EXPECT_EQ(clientStatusCode(), kCode); }, [](Scene&) {}},
    {IFX_ROLE_STATUS_AREA, "StatusArea", [](Scene&) { ASSERT_NE(clientStatusArea(), nullptr); }, [](Scene&) {}},
    {IFX_ROLE_MAKE_LOGIN, "MakeLogin", [](Scene& s) { s.login = clientMakeLogin("u", "p"); },
     [](Scene& s) { EXPECT_EQ(s.login, nullptr); }},
    {IFX_ROLE_FREE_LOGIN, "FreeLogin", [](Scene&) { clientFreeLogin(clientMakeLogin("u", "p")); }, [](Scene&) {}},
    {IFX_ROLE_CONNECT, "Connect", [](Scene& s) { clientConnect(s.mainPath.c_str(), "third", nullptr); },
     [](Scene&) {
       clientSetConnection("third");
       EXPECT_EQ(clientStatusCode(), -1803);
     }},
    {IFX_ROLE_SET_CONNECTION, "SetConnection", [](Scene&) { clientSetConnection("other"); },
     [](Scene&) {
       clientExecuteText("SELECT 1");
       EXPECT_STREQ(ifxrtStatementConnection(ifxrtStatementCount() - 1), "main");
     }},
    {IFX_ROLE_DISCONNECT, "Disconnect", [](Scene&) { clientDisconnect("main"); },
     [](Scene&) {
       clientSetConnection("main");
       EXPECT_EQ(clientStatusCode(), 0);
     }},
    {IFX_ROLE_BEGIN_WORK, "BeginWork", [](Scene&) { clientBeginWork(); },
     [](Scene&) {
       clientCommitWork();
       EXPECT_EQ(clientStatusCode(), -255);
     }},
    {IFX_ROLE_COMMIT_WORK, "CommitWork",
     [](Scene&) {
       clientBeginWork();
       insertRow();
       clientCommitWork();
     },
     [](Scene& s) {
       EXPECT_EQ(rowsIn(s.mainPath), 0);
       clientRollbackWork();
       EXPECT_EQ(clientStatusCode(), 0) << "the transaction stayed open";
     }},
    {IFX_ROLE_ROLLBACK_WORK, "RollbackWork",
     [](Scene&) {
       clientBeginWork();
       insertRow();
       clientRollbackWork();
     },
     [](Scene& s) {
       clientCommitWork();
       EXPECT_EQ(clientStatusCode(), 0);
       EXPECT_EQ(rowsIn(s.mainPath), 1);
     }},
    {IFX_ROLE_EXECUTE_TEXT, "ExecuteText", [](Scene&) { insertRow(); },
     [](Scene& s) {
       EXPECT_EQ(rowsIn(s.mainPath), 0);
       EXPECT_EQ(ifxrtStatementCount(), 0u);
     }},
    {IFX_ROLE_EXECUTE_FIXED, "ExecuteFixed",
     [](Scene& s) {
       std::memset(s.buffer, 0, sizeof s.buffer);
       clientExecuteFixed(s.buffer, "INSERT INTO items (name) VALUES ('row')");
     },
     [](Scene& s) {
       EXPECT_EQ(rowsIn(s.mainPath), 0);
       EXPECT_EQ(ifxrtStatementCount(), 0u);
     }},
    {IFX_ROLE_CLEAR_BUFFER, "ClearBuffer",
     [](Scene& s) {
       std::memset(s.buffer, 0xAB, sizeof s.buffer);
       clientClearBuffer(s.buffer, sizeof s.buffer);
     },
     [](Scene& s) { EXPECT_EQ(s.buffer[0], 0xAB); }},
    {IFX_ROLE_MESSAGE_TEXT, "MessageText",
     [](Scene&) {
       char text[64] = "previous";
       size_t length = 99;
       EXPECT_EQ(clientMessageText(-255, text, sizeof text, &length), kCode);
       EXPECT_STREQ(text, "");
       EXPECT_EQ(length, 0u);
     },
     [](Scene&) {}},
};

class FaultInjectionTest : public RuntimeTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    scene_.mainPath = createDatabase("main.sqlite", IFX_LOG_BUFFERED);
    const std::string other = createDatabase("other.sqlite", IFX_LOG_BUFFERED);
    ASSERT_EQ(connect(other, "other"), 0);
    ASSERT_EQ(connect(scene_.mainPath, "main"), 0);
    ifxrtClearStatements();
  }
  Scene scene_;
};

TEST_P(FaultInjectionTest, FailingCallLeavesTheCodesAndChangesNothing) {
  const FaultCase& c = GetParam();
  ifxrtFailCall(c.role, 1, kCode, kDetail);
  c.call(scene_);
  const IfxStatusArea* area = clientStatusArea();
  EXPECT_EQ(area->sqlcode, kCode);
  EXPECT_EQ(area->sqlerrd[1], kDetail);
  ifxrtClearStatements();
  c.unaffected(scene_);
}

INSTANTIATE_TEST_SUITE_P(EveryRole, FaultInjectionTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

using FaultPlanTest = RuntimeTest;

TEST_F(FaultPlanTest, NthCallCountsOnlyCallsOfThatRole) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_NONE);
  ASSERT_EQ(connect(path), 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, 2, -201, 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, 4, -206, -111);
  const int32_t expected[] = {0, -201, 0, -206, 0};
  for (int32_t code : expected) {
    clientBeginWork();  // other roles do not move the count
    EXPECT_EQ(execute("INSERT INTO items (name) VALUES (lower(hex(randomblob(8))))"), code);
  }
  EXPECT_EQ(committedRows(path, "items"), 3);
}

TEST_F(FaultPlanTest, ClearedOrInvalidPlansNeverFire) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_NONE);
  ASSERT_EQ(connect(path), 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, 0, -201, 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, -3, -201, 0);
  EXPECT_EQ(execute("SELECT 1"), 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, 1, -201, 0);
  ifxrtClearFaults();
  EXPECT_EQ(execute("SELECT 1"), 0);
  ifxrtFailCall(IFX_ROLE_EXECUTE_TEXT, 1, -201, 0);
  ifxrtReset();
  ASSERT_EQ(connect(path), 0);
  EXPECT_EQ(execute("SELECT 1"), 0) << "reset forgets planned faults";
}

TEST_F(FaultPlanTest, FailedConnectThenDisconnectLeavesNothingOpen) {
  const std::string path = createDatabase("db.sqlite", IFX_LOG_BUFFERED);
  ifxrtFailCall(IFX_ROLE_CONNECT, 1, -908, -111);
  EXPECT_EQ(connect(path, "c1"), -908);
  EXPECT_EQ(areaInt(88), -111);
  clientDisconnect("c1");
  EXPECT_EQ(clientStatusCode(), -1803);
  EXPECT_EQ(connect(path, "c1"), 0) << "the name was never taken";
}

}  // namespace
