// The status area: fixed byte offsets, reset at the start of every call that
// reports a status, left alone by the calls that read it.
#include <cstddef>

#include "test_databases.h"

namespace {

static_assert(offsetof(IfxStatusArea, sqlcode) == 0);
static_assert(offsetof(IfxStatusArea, sqlwarn) + 2 == 110);
static_assert(offsetof(IfxStatusArea, sqlwarn) + 3 == 111);

class StatusAreaTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    path_ = createDatabase("db.sqlite", IFX_LOG_ANSI);
    ASSERT_EQ(connect(path_), 0);
  }
  std::string path_;
};

TEST_F(StatusAreaTest, FieldsSitAtTheirByteOffsets) {
  EXPECT_EQ(areaByte(108), 'W');
  EXPECT_EQ(areaByte(109), 'W');
  EXPECT_EQ(areaByte(110), 'W');

  ASSERT_EQ(execute("INSERT INTO items (name) VALUES ('a')"), 0);
  ASSERT_EQ(execute("INSERT INTO items (name) VALUES ('a')"), -268);
  const IfxStatusArea* area = clientStatusArea();
  EXPECT_EQ(areaInt(0), area->sqlcode);
  EXPECT_EQ(areaInt(88), -100);
  EXPECT_EQ(areaArgument(), "items.name");

  ASSERT_EQ(execute("INSERT INTO items (name) SELECT name || 'b' FROM items"), 0);
  ASSERT_EQ(execute("UPDATE items SET name = name || 'c'"), 0);
  EXPECT_EQ(areaInt(92), 2);
}

TEST_F(StatusAreaTest, EveryStatusCallStartsFromAClearArea) {
  ASSERT_EQ(execute("SELECT * FROM nowhere"), -206);
  ASSERT_EQ(areaArgument(), "nowhere");
  ASSERT_EQ(execute("SELECT 1 WHERE 0 = 1"), 0);  // no row: nothing processed
  const auto* bytes = reinterpret_cast<const unsigned char*>(clientStatusArea());
  for (size_t i = 0; i < sizeof(IfxStatusArea); ++i) {
    EXPECT_EQ(bytes[i], 0) << "byte " << i;
  }
}

TEST_F(StatusAreaTest, ReadingAndLoginCallsKeepTheArea) {
  ASSERT_EQ(execute("INSERT INTO items (name) VALUES (NULL)"), -391);
  IfxLogin* login = clientMakeLogin("u", "p");
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(clientStatusCode(), 0) << "making a login reports its own status";
  clientConnect(pathOf("absent.sqlite").c_str(), "c2", login);
  clientFreeLogin(login);
  char id[8];
  clientClearBuffer(id, sizeof id);
  char text[64];
  clientMessageText(-329, text, sizeof text, nullptr);
  clientStatusArea();
  EXPECT_EQ(clientStatusCode(), -329);
  EXPECT_EQ(areaInt(88), -111);
}

TEST_F(StatusAreaTest, ResetClosesConnectionsAndClearsTheArea) {
  ASSERT_EQ(execute("SELECT * FROM nowhere"), -206);
  ifxrtReset();
  EXPECT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(areaArgument(), "");
  EXPECT_EQ(execute("SELECT 1"), -1803);
}

}  // namespace
