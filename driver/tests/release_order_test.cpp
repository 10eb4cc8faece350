// Releasing a connection and the objects made from it in every order: no
// object reaches freed memory (the sanitizer build checks that), the counts
// addRef and release give stay the host's own, and an object whose
// connection or command is gone answers RESULT_INVALID_HANDLE.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "host_fixture.h"

using namespace quovex;

namespace {

enum Held : int { kConnection, kCommand, kCursor, kMetadata, kCatalogueCursor, kHeldCount };
constexpr std::array<const char*, kHeldCount> kHeldNames = {"connection", "command", "cursor", "metadata",
                                                            "catalogue cursor"};

struct Family {
  host::Connection connection;
  host::Command command;
  host::Cursor cursor;
  host::MetaData metadata;
  host::Cursor catalogueCursor;
  std::array<bool, kHeldCount> alive{};
};

class ReleaseOrder : public HostTest {
 protected:
  // A database with table kept holding two rows.
  std::string database(const std::string& fileName) {
    const std::string path = createDatabase(fileName, IFX_LOG_BUFFERED);
    host::Connection setup = connection();
    EXPECT_EQ(setup.connect(path.c_str()), RESULT_OK);
    host::Command command;
    EXPECT_EQ(setup.createCommand(&command.self), RESULT_OK);
    for (const char* sql : {"CREATE TABLE kept (id INTEGER)", "INSERT INTO kept VALUES (1)",
                            "INSERT INTO kept VALUES (2)"}) {
      EXPECT_EQ(command.executeDirect(sql, nullptr), RESULT_OK) << sql;
    }
    EXPECT_EQ(command.release(), 0);
    EXPECT_EQ(setup.disconnect(), RESULT_OK);
    return path;
  }

  // A connected connection, a command with an open cursor over two rows,
  // and a metadata object with a table listing, each held once by the host.
  Family family(const std::string& path) {
    Family f;
    EXPECT_EQ(driver_.createConnection(&f.connection.self), RESULT_OK);
    EXPECT_EQ(f.connection.connect(path.c_str()), RESULT_OK);
    EXPECT_EQ(f.connection.createCommand(&f.command.self), RESULT_OK);
    EXPECT_EQ(f.command.executeDirect("SELECT id FROM kept ORDER BY id", &f.cursor.self), RESULT_OK);
    EXPECT_EQ(f.connection.createMetaData(&f.metadata.self), RESULT_OK);
    EXPECT_EQ(f.metadata.listTables("kept", 1, &f.catalogueCursor.self), RESULT_OK);
    f.alive.fill(true);
    return f;
  }
};

// What each object still held answers, given which of the others are gone.
void probe(const Family& f) {
  const bool connection = f.alive[kConnection];
  std::int32_t value = 0;
  std::int32_t isNull = 0;
  std::int16_t length = 0;
  if (f.alive[kCursor]) {
    const bool reachable = connection && f.alive[kCommand];
    const ResultCode fetched = f.cursor.fetchNext();
    if (reachable) {
      EXPECT_TRUE(fetched == RESULT_OK || fetched == RESULT_NO_MORE_ROWS) << fetched;
      EXPECT_EQ(f.cursor.readLong(1, &value, &isNull), RESULT_OK);
    } else {
      EXPECT_EQ(fetched, RESULT_INVALID_HANDLE);
      EXPECT_EQ(f.cursor.readLong(1, &value, &isNull), RESULT_INVALID_HANDLE);
      EXPECT_EQ(f.cursor.columnCount(&length), RESULT_INVALID_HANDLE);
      if (!f.alive[kCommand]) {
        EXPECT_EQ(f.cursor.errorMessageLength(&length), RESULT_INVALID_HANDLE);
      }
    }
  }
  if (f.alive[kCatalogueCursor]) {
    const ResultCode fetched = f.catalogueCursor.fetchNext();
    if (connection) {
      EXPECT_TRUE(fetched == RESULT_OK || fetched == RESULT_NO_MORE_ROWS) << fetched;
    } else {
      EXPECT_EQ(fetched, RESULT_INVALID_HANDLE);
    }
  }
  if (!connection) {
    // Probing a live command would end the cursor's results; a gone connection has none.
    if (f.alive[kCommand]) {
      void* none = nullptr;
      EXPECT_EQ(f.command.executeDirect("SELECT id FROM kept", &none), RESULT_INVALID_HANDLE);
      EXPECT_EQ(none, nullptr);
    }
    if (f.alive[kMetadata]) {
      void* none = nullptr;
      EXPECT_EQ(f.metadata.listTables("", 1, &none), RESULT_INVALID_HANDLE);
      EXPECT_EQ(none, nullptr);
      EXPECT_EQ(f.metadata.getOption(2, &value, 4, &length), RESULT_INVALID_HANDLE);
    }
  }
}

std::int32_t releaseHeld(Family& f, int which) {
  f.alive[which] = false;
  switch (which) {
    case kConnection: return f.connection.release();
    case kCommand: return f.command.release();
    case kCursor: return f.cursor.release();
    case kMetadata: return f.metadata.release();
    default: return f.catalogueCursor.release();
  }
}

TEST_F(ReleaseOrder, EveryOrderOfFiveObjects) {
  const std::string path = database("orders.db");
  std::array<int, kHeldCount> order = {kConnection, kCommand, kCursor, kMetadata, kCatalogueCursor};
  int orders = 0;
  do {
    std::string trace;
    for (int which : order) trace += std::string(kHeldNames[which]) + " ";
    SCOPED_TRACE(trace);
    Family f = family(path);
    // The children hold no reference on their connection or command.
    EXPECT_EQ(f.connection.addRef(), 2);
    EXPECT_EQ(f.connection.release(), 1);
    EXPECT_EQ(f.command.addRef(), 2);
    EXPECT_EQ(f.command.release(), 1);
    for (int which : order) {
      EXPECT_EQ(releaseHeld(f, which), 0);
      probe(f);
    }
    ASSERT_FALSE(HasFailure());
    ++orders;
  } while (std::next_permutation(order.begin(), order.end()));
  EXPECT_EQ(orders, 120);
}

// A connection that disconnects, or connects again, leaves the objects made
// before it out of reach: their statements belonged to the earlier connect.
TEST_F(ReleaseOrder, ObjectsOfAnEarlierConnectAreOutOfReach) {
  const std::string path = database("again.db");
  enum class Then { Disconnect, Reconnect };
  for (Then then : {Then::Disconnect, Then::Reconnect}) {
    SCOPED_TRACE(then == Then::Disconnect ? "disconnect" : "reconnect");
    Family f = family(path);
    ASSERT_EQ(f.connection.disconnect(), RESULT_OK);
    if (then == Then::Reconnect) {
      ASSERT_EQ(f.connection.connect(path.c_str()), RESULT_OK);
    }
    EXPECT_EQ(f.cursor.fetchNext(), RESULT_INVALID_HANDLE);
    EXPECT_EQ(f.catalogueCursor.fetchNext(), RESULT_INVALID_HANDLE);
    void* none = nullptr;
    EXPECT_EQ(f.command.executeDirect("SELECT id FROM kept", &none), RESULT_INVALID_HANDLE);
    EXPECT_EQ(f.catalogueCursor.release(), 0);
    EXPECT_EQ(f.metadata.release(), 0);
    EXPECT_EQ(f.command.release(), 0);
    EXPECT_EQ(f.cursor.release(), 0);
    EXPECT_EQ(f.connection.release(), 0);
  }
}

}  // namespace
