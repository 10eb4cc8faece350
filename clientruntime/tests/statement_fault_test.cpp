// Planned faults of the statement, value and large-object roles: the call
// does nothing and answers with the planned code.
#include <cstring>

#include "statement_helpers.h"
#include "test_databases.h"

namespace {

constexpr int32_t kCode = -9876;
constexpr int32_t kDetail = -55;

// Ready for every role: a table t with one row, statement "s" over it, cursor
// "c" declared and open, a large object with its handle, and places.
struct Scene {
  IfxDescriptor* columns = nullptr;
  int32_t value = 0;
  DescriptorArea places{1};
  IfxLobHandle handle{};
  int32_t lob = -1;
  IfxDecimal decimal{};
  IfxDatetime datetime{};
};

struct FaultCase {
  IfxRole role;
  const char* name;
  bool statusArea;                 // reports through the status area, else through its result
  int32_t (*call)(Scene&);         // the call planned to fail; returns its result or status
  void (*unaffected)(Scene&);      // checks that the failing call did nothing
};

int32_t status() { return clientStatusCode(); }

const FaultCase kCases[] = {
    {IFX_ROLE_FIND_STATEMENT, "FindStatement", true,
     [](Scene&) { return statementNamed("s") == nullptr ? status() : 0; }, [](Scene&) {}},
    {IFX_ROLE_PREPARE, "Prepare", true, [](Scene&) { return prepare("s", "SELECT a + 100 FROM t"); },
     [](Scene& s) {
       clientFetch(cursorNamed("c"), s.places.get());
       EXPECT_EQ(s.value, 1);  // the old statement and its cursor live on
     }},
    {IFX_ROLE_DESCRIBE, "Describe", true,
     [](Scene& s) {
       clientDescribe(statementNamed("s"), &s.columns);
       return status();
     },
     [](Scene& s) { EXPECT_EQ(s.columns, nullptr); }},
    {IFX_ROLE_EXECUTE, "Execute", true,
     [](Scene&) {
       EXPECT_EQ(prepare("ins", "INSERT INTO t VALUES (2)"), 0);
       clientExecute(statementNamed("ins"), nullptr);
       return status();
     },
     [](Scene& s) {
       EXPECT_EQ(prepare("n", "SELECT count(*) FROM t"), 0);
       EXPECT_EQ(openCursor("n", "counting"), 0);
       EXPECT_EQ(fetch("counting", s.places.get()), 0);
       EXPECT_EQ(s.value, 1);  // the row was not inserted
     }},
    {IFX_ROLE_DECLARE_CURSOR, "DeclareCursor", true,
     [](Scene&) {
       clientDeclareCursor("c2", statementNamed("s"), 0);
       return status();
     },
     [](Scene&) { EXPECT_EQ(cursorNamed("c2"), nullptr); }},
    {IFX_ROLE_OPEN_CURSOR, "OpenCursor", true,
     [](Scene&) {
       clientDeclareCursor("c2", statementNamed("s"), 0);
       clientOpenCursor(cursorNamed("c2"), nullptr);
       return status();
     },
     [](Scene& s) { EXPECT_EQ(fetch("c2", s.places.get()), -400); }},
    {IFX_ROLE_FETCH, "Fetch", true, [](Scene& s) { return fetch("c", s.places.get()); },
     [](Scene& s) {
       EXPECT_EQ(s.value, 0);
       EXPECT_EQ(fetch("c", s.places.get()), 0);  // the row was not passed over
       EXPECT_EQ(s.value, 1);
     }},
    {IFX_ROLE_CLOSE_CURSOR, "CloseCursor", true,
     [](Scene&) {
       clientCloseCursor(cursorNamed("c"));
       return status();
     },
     [](Scene& s) { EXPECT_EQ(fetch("c", s.places.get()), 0); }},
    {IFX_ROLE_FREE, "Free", true,
     [](Scene&) {
       clientFree(statementNamed("s"));
       return status();
     },
     [](Scene&) { EXPECT_NE(statementNamed("s"), nullptr); }},
    {IFX_ROLE_TEXT_TO_DECIMAL, "TextToDecimal", false,
     [](Scene& s) { return clientTextToDecimal("1", -1, &s.decimal); }, [](Scene& s) { EXPECT_EQ(s.decimal.digitCount, 0); }},
    {IFX_ROLE_DOUBLE_TO_DECIMAL, "DoubleToDecimal", false,
     [](Scene& s) { return clientDoubleToDecimal(1.0, &s.decimal); }, [](Scene& s) { EXPECT_EQ(s.decimal.digitCount, 0); }},
    {IFX_ROLE_DECIMAL_TO_TEXT, "DecimalToText", false,
     [](Scene& s) {
       char text[8];
       return clientDecimalToText(&s.decimal, text, sizeof text, 0);
     },
     [](Scene&) {}},
    {IFX_ROLE_DECIMAL_TO_DOUBLE, "DecimalToDouble", false,
     [](Scene& s) {
       double number = 0;
       return clientDecimalToDouble(&s.decimal, &number);
     },
     [](Scene&) {}},
    {IFX_ROLE_TEXT_TO_DATETIME, "TextToDatetime", false,
     [](Scene& s) { return clientTextToDatetime("2012-01-01", &s.datetime); },
     [](Scene& s) { EXPECT_EQ(s.datetime.value.digitCount, 0); }},
    {IFX_ROLE_EXTEND_DATETIME, "ExtendDatetime", false,
     [](Scene& s) {
       IfxDatetime out{};
       out.qualifier = 4365;
       return clientExtendDatetime(&s.datetime, &out);
     },
     [](Scene&) {}},
    {IFX_ROLE_DATETIME_TO_TEXT, "DatetimeToText", false,
     [](Scene& s) {
       char text[32];
       return clientDatetimeToText(&s.datetime, text, sizeof text);
     },
     [](Scene&) {}},
    {IFX_ROLE_DATE_TO_TRIPLE, "DateToTriple", false,
     [](Scene&) {
       int16_t mdy[3];
       return clientDateToTriple(1, mdy);
     },
     [](Scene&) {}},
    {IFX_ROLE_TRIPLE_TO_DATE, "TripleToDate", false,
     [](Scene& s) {
       const int16_t mdy[3] = {1, 1, 2000};
       return clientTripleToDate(mdy, &s.value);
     },
     [](Scene& s) { EXPECT_EQ(s.value, 0); }},
    {IFX_ROLE_LOB_SPEC, "LobSpec", false,
     [](Scene&) {
       IfxLobSpec* creation = reinterpret_cast<IfxLobSpec*>(1);
       const int32_t rc = clientLobSpec(&creation);
       EXPECT_EQ(creation, nullptr);
       return rc;
     },
     [](Scene&) {}},
    {IFX_ROLE_LOB_FREE_SPEC, "LobFreeSpec", false,
     [](Scene&) {
       IfxLobSpec* creation = nullptr;
       EXPECT_EQ(clientLobSpec(&creation), 0);
       return clientLobFreeSpec(creation);  // freed all the same (the sanitizers check)
     },
     [](Scene&) {}},
    {IFX_ROLE_LOB_CREATE, "LobCreate", false,
     [](Scene& s) {
       IfxLobSpec* creation = nullptr;
       EXPECT_EQ(clientLobSpec(&creation), 0);
       IfxLobHandle handle{};
       const int32_t rc = clientLobCreate(creation, IFX_LO_RDWR, &handle);
       clientLobFreeSpec(creation);
       s.handle = handle;
       return rc;
     },
     [](Scene& s) { EXPECT_EQ(clientLobOpen(&s.handle, IFX_LO_RDONLY), -9810); }},
    {IFX_ROLE_LOB_OPEN, "LobOpen", false, [](Scene& s) { return clientLobOpen(&s.handle, IFX_LO_RDONLY); },
     [](Scene&) {}},
    {IFX_ROLE_LOB_WRITE, "LobWrite", false, [](Scene& s) { return clientLobWrite(s.lob, "xyz", 3); },
     [](Scene& s) {
       IfxLobStat stat{};
       EXPECT_EQ(clientLobStat(s.lob, &stat), 0);
       EXPECT_EQ(stat.size, 2);
     }},
    {IFX_ROLE_LOB_READ, "LobRead", false,
     [](Scene& s) {
       char buffer[2];
       return clientLobRead(s.lob, buffer, 2);
     },
     [](Scene& s) {
       char buffer[2];
       EXPECT_EQ(clientLobRead(s.lob, buffer, 2), 2);  // the position did not move
     }},
    {IFX_ROLE_LOB_STAT, "LobStat", false,
     [](Scene& s) {
       IfxLobStat stat{};
       return clientLobStat(s.lob, &stat);
     },
     [](Scene&) {}},
    {IFX_ROLE_LOB_SIZE, "LobSize", false,
     [](Scene&) {
       IfxLobStat stat{};
       int64_t size = 0;
       return clientLobSize(&stat, &size);
     },
     [](Scene&) {}},
    {IFX_ROLE_LOB_CLOSE, "LobClose", false, [](Scene& s) { return clientLobClose(s.lob); },
     [](Scene& s) { EXPECT_EQ(clientLobClose(s.lob), 0); }},
};

class StatementFaultTest : public RuntimeTest, public ::testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    const std::string path = pathOf("db.sqlite");
    ASSERT_EQ(ifxrtCreateDatabase(path.c_str(), IFX_LOG_BUFFERED), 0);
    ASSERT_EQ(ifxrtRunScript(path.c_str(), "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);", nullptr, 0), 0);
    ASSERT_EQ(connect(path, "main"), 0);
    scene_.places.bind(0, IFX_TYPE_INTEGER, scene_.value);
    ASSERT_EQ(prepare("s", "SELECT a FROM t"), 0);
    ASSERT_EQ(openCursor("s", "c"), 0);
    IfxLobSpec* creation = nullptr;
    ASSERT_EQ(clientLobSpec(&creation), 0);
    ASSERT_EQ(clientLobCreate(creation, IFX_LO_RDWR, &scene_.handle), 0);
    clientLobFreeSpec(creation);
    scene_.lob = clientLobOpen(&scene_.handle, IFX_LO_RDWR);
    ASSERT_GE(scene_.lob, 0);
    ASSERT_EQ(clientLobWrite(scene_.lob, "ab", 2), 2);
    char ignored[2];
    ASSERT_EQ(clientLobRead(scene_.lob, ignored, 2), 0);  // at the end after writing
    scene_.datetime.qualifier = IFX_QUALIFIER(8, IFX_TU_YEAR, IFX_TU_DAY);
  }
  Scene scene_;
};

TEST_P(StatementFaultTest, PlannedFaultAnswersWithItsCodeAndDoesNothing) {
  const FaultCase& c = GetParam();
  if (c.role == IFX_ROLE_LOB_READ) {  // read from the start
    ASSERT_EQ(clientLobClose(scene_.lob), 0);
    scene_.lob = clientLobOpen(&scene_.handle, IFX_LO_RDWR);
  }
  ifxrtFailCall(c.role, 1, kCode, kDetail);
  const int32_t result = c.call(scene_);
  EXPECT_EQ(result, kCode);
  if (c.statusArea) {
    EXPECT_EQ(areaInt(0), kCode);
    EXPECT_EQ(areaInt(88), kDetail);
  }
  ifxrtClearFaults();
  c.unaffected(scene_);
  if (scene_.columns != nullptr) clientFreeDescriptor(scene_.columns);
}

INSTANTIATE_TEST_SUITE_P(Roles, StatementFaultTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(RuntimeTest, FreeDescriptorFreesEvenWithAPlannedFault) {
  const std::string path = pathOf("db.sqlite");
  ASSERT_EQ(ifxrtCreateDatabase(path.c_str(), IFX_LOG_BUFFERED), 0);
  ASSERT_EQ(connect(path, "main"), 0);
  ASSERT_EQ(prepare("s", "SELECT 1"), 0);
  IfxDescriptor* columns = nullptr;
  ASSERT_EQ(describe("s", &columns), 0);
  ifxrtFailCall(IFX_ROLE_FREE_DESCRIPTOR, 1, kCode, kDetail);
  clientFreeDescriptor(columns);  // the leak checker of the sanitizer build sees a leak otherwise
  clientFreeDescriptor(nullptr);
}

}  // namespace
