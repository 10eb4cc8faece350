// Fixture of the catalogue tests: a stand-in database with user tables
// (every column type, NOT NULL columns, a DECIMAL(16,2), a CHAR(20)), a view,
// a synonym, unique, duplicate and descending indexes, a primary key, and
// procedures and functions with and without parameters; a connection and a
// metadata object on it; and readers that turn a catalogue cursor into rows
// of texts.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "host_fixture.h"

// Creates the sample catalogue database at `path`; false (with a test
// failure) when it cannot be made.
bool createCatalogueSample(const std::string& path);

// One shaped column as the cursor describes it.
struct ShapedColumn {
  std::string name;
  std::uint16_t type;
  std::int32_t length;
  std::int16_t precision;
  friend bool operator==(const ShapedColumn&, const ShapedColumn&) = default;
};
void PrintTo(const ShapedColumn& column, std::ostream* out);

using Row = std::vector<std::string>;

class CatalogueTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs a listing (given the place for its cursor) and returns the cursor
  // it handed out, released with the test, after checking its result.
  host::Cursor listed(const std::function<quovex::ResultCode(void**)>& listing);

  // The cursor's columns.
  static std::vector<ShapedColumn> shape(const host::Cursor& cursor);
  // Every row, each value read by the column's type: texts as they are,
  // 16- and 32-bit numbers in decimal, NULL as "<null>", a read that fails
  // as "<code>". `end` receives the code that ended the rows.
  static std::vector<Row> rows(const host::Cursor& cursor, quovex::ResultCode* end = nullptr);
  // The rows' values in column `column` (from 1).
  static std::vector<std::string> column(const std::vector<Row>& rows, std::size_t column);

  std::string path_;
  host::Connection connection_;
  host::MetaData metadata_;

 private:
  std::vector<host::Cursor> cursors_;
};
