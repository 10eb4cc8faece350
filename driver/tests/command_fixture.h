// Fixture of the command and cursor tests: a connected stand-in database
// with a table holding a column of every kind, and commands and cursors
// that are released (cursors first) when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host_fixture.h"

// The columns of table `kinds`, numbered as a cursor numbers them.
enum KindsColumn : std::uint16_t {
  K_ID = 1, K_CHAR, K_VARCHAR, K_SMALLINT, K_INTEGER, K_FLOAT, K_SMALLFLOAT, K_DECIMAL, K_WIDE_DECIMAL, K_MONEY,
  K_DATE, K_SECONDS, K_FRACTION, K_TIME, K_INTERVAL, K_BYTE, K_TEXT, K_BLOB, K_CLOB,
  K_COUNT = K_CLOB
};

inline constexpr const char* kKindsTable =
    "CREATE TABLE kinds (id INTEGER, c CHAR(10), v VARCHAR(40), s SMALLINT, i INTEGER, f FLOAT, "
    "sf SMALLFLOAT, d DECIMAL(16,2), w DECIMAL(32,2), m MONEY(8,2), dt DATE, ts DATETIME YEAR TO SECOND, "
    "tf DATETIME YEAR TO FRACTION(3), tm DATETIME HOUR TO FRACTION(3), iv INTERVAL DAY(3) TO FRACTION(3), "
    "by BYTE, tx TEXT, bl BLOB, cl CLOB)";

// "INSERT INTO kinds VALUES (?, ?, ...)" with one marker per column.
std::string insertIntoKinds();

class CommandTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new command on the test's connection.
  host::Command command();
  // Runs a statement without result rows; fails the test on an error.
  void run(const char* sql);
  // Runs a query through executeDirect on a new command; the cursor.
  host::Cursor query(const char* sql);
  // The cursor handed out by `command`'s execute, released with the test.
  host::Cursor executed(const host::Command& command);
  // Fetches the next row, expecting one.
  static void fetchRow(const host::Cursor& cursor);
  // The text of a string column of the current row ("<null>" for NULL).
  static std::string stringAt(const host::Cursor& cursor, std::uint16_t column);

  std::string path_;
  host::Connection connection_;

 private:
  std::vector<host::Command> commands_;
  std::vector<host::Cursor> cursors_;
};
