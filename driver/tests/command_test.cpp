// Commands through their slots: options, prepare and the parameter list,
// executing statements and stored procedures, rows affected, close and
// execute again, and the error text of a failing statement.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "command_fixture.h"

using namespace quovex;

namespace {

bool traced(const std::string& text) {
  const std::vector<std::string> texts = traceTexts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::int32_t rowsOf(const host::Command& c) {
  std::int32_t rows = -1;
  EXPECT_EQ(c.rowsAffected(&rows), RESULT_OK);
  return rows;
}

class Commands : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    run("INSERT INTO kinds (id, v, i) VALUES (1, 'one', 10)");
    run("INSERT INTO kinds (id, v, i) VALUES (2, 'two', 20)");
    run("INSERT INTO kinds (id, v, i) VALUES (3, 'three', 30)");
  }
};

TEST_F(Commands, Options) {
  host::Command c = command();
  std::int32_t value = -1;
  std::int16_t length = 0;
  EXPECT_EQ(c.getOption(5, &value, 4, &length), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(c.setOption(6, 1), RESULT_CLIENT_NOT_SUPPORTED);
  EXPECT_EQ(c.setOption(4, 3), RESULT_OK);
  EXPECT_EQ(c.getOption(4, &value, 4, &length), RESULT_OK);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(c.getOption(2, &value, 4, &length), RESULT_OK);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(c.setOption(10, 1), RESULT_OK);
  EXPECT_EQ(c.setOption(99, 1), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(c.setParameter(1, 0, 1, FIELD_INT32, 0, 0, 0, 4, &value, 0), RESULT_OUT_OF_RANGE)
      << "a count set by option has no parameter list until prepare";
  void* cursor = &value;
  EXPECT_EQ(c.nextResult(&cursor), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(cursor, &value);
}

TEST_F(Commands, QueryWithAParameterSelectsItsRows) {
  connection_.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace));
  host::Command c = command();
  ASSERT_EQ(c.prepare("SELECT id, v FROM kinds WHERE i > ? AND v <> '?' ORDER BY id", 1), RESULT_OK)
      << c.errorText();
  const std::int32_t limit = 15;
  ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &limit), RESULT_OK);
  host::Cursor cursor = executed(c);
  ASSERT_NE(cursor.self, nullptr);
  std::int16_t columns = 0;
  EXPECT_EQ(cursor.columnCount(&columns), RESULT_OK);
  EXPECT_EQ(columns, 2);
  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, 2), "two");
  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, 2), "three");
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS);
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS) << "and again";
  EXPECT_EQ(stringAt(cursor, 2), "three") << "the last row stays readable";
  EXPECT_TRUE(traced("SELECT id, v FROM kinds WHERE i > ? AND v <> '?' ORDER BY id")) << "the text is traced";
}

TEST_F(Commands, UpdateReportsItsRowsAffected) {
  host::Command c = command();
  ASSERT_EQ(c.prepare("UPDATE kinds SET i = i + 1 WHERE i >= ?", 1), RESULT_OK);
  const std::int32_t from = 20;
  ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &from), RESULT_OK);
  void* cursor = nullptr;
  ASSERT_EQ(c.execute(&cursor), RESULT_OK) << c.errorText();
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(rowsOf(c), 2);

  const std::int32_t none = 1000;
  ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &none), RESULT_OK);
  EXPECT_EQ(c.execute(nullptr), RESULT_OK);
  EXPECT_EQ(rowsOf(c), 0) << "an UPDATE that changes no row";
}

TEST_F(Commands, ExecuteNeedsEveryParameterAgainAfterClose) {
  host::Command c = command();
  ASSERT_EQ(c.prepare("SELECT v FROM kinds WHERE id = ? OR id = ?", 2), RESULT_OK);
  const std::int32_t one = 1, three = 3;
  ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &one), RESULT_OK);
  void* cursor = nullptr;
  EXPECT_EQ(c.execute(&cursor), RESULT_PARAMETER_NOT_SET) << "parameter 2 not set";
  EXPECT_EQ(cursor, nullptr);
  EXPECT_EQ(c.setParameter(2, 0, 2, FIELD_INT32, 0, 0, 0, 4, &three, 0), RESULT_INVALID_PARAMETER) << "not input";
  EXPECT_EQ(c.execute(&cursor), RESULT_PARAMETER_NOT_SET);
  ASSERT_EQ(c.set(2, FIELD_INT32, 0, 4, &three), RESULT_OK);

  for (int round = 0; round < 2; ++round) {
    host::Cursor rows;
    ASSERT_EQ(c.execute(&rows.self), RESULT_OK) << c.errorText();
    int count = 0;
    while (rows.fetchNext() == RESULT_OK) ++count;
    EXPECT_EQ(count, 2) << "round " << round;
    EXPECT_EQ(rows.release(), 0) << "the last release closes the command";
    EXPECT_EQ(c.execute(&rows.self), RESULT_PARAMETER_NOT_SET) << "after close every parameter is unset";
    ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &one), RESULT_OK);
    ASSERT_EQ(c.set(2, FIELD_INT32, 0, 4, &three), RESULT_OK);
  }
}

TEST_F(Commands, ExecuteWithoutPlaceForTheCursorOfAQuery) {
  host::Command c = command();
  ASSERT_EQ(c.prepare("SELECT v FROM kinds", 0), RESULT_OK);
  EXPECT_EQ(c.execute(nullptr), RESULT_INVALID_HANDLE);
  host::Cursor cursor = executed(c);
  ASSERT_NE(cursor.self, nullptr) << "the command can run again";
  fetchRow(cursor);
}

TEST_F(Commands, ExecutingAgainWhileACursorIsOpenStartsOver) {
  host::Command c = command();
  ASSERT_EQ(c.prepare("SELECT id FROM kinds ORDER BY id", 0), RESULT_OK);
  host::Cursor first = executed(c);
  fetchRow(first);
  fetchRow(first);
  host::Cursor second = executed(c);
  std::int32_t id = 0, isNull = 0;
  fetchRow(second);
  EXPECT_EQ(second.readLong(1, &id, &isNull), RESULT_OK);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(first.fetchNext(), RESULT_INVALID_HANDLE) << "the first cursor's results are gone";
  std::int16_t columns = -1;
  EXPECT_EQ(first.columnCount(&columns), RESULT_OK);
  EXPECT_EQ(columns, 0);
}

TEST_F(Commands, StoredProcedureWithTwoParameters) {
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "ids_between", "p_low INTEGER, p_high INTEGER", "INTEGER, VARCHAR(40)",
                              "SELECT id, v FROM kinds WHERE id BETWEEN :p_low AND :p_high ORDER BY id"),
            0);
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "bump", "p_by INTEGER, p_id INTEGER", "",
                              "UPDATE kinds SET i = i + :p_by WHERE id >= :p_id"),
            0);
  connection_.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace));

  host::Command c = command();
  ASSERT_EQ(c.setOption(7, 1), RESULT_OK);
  ASSERT_EQ(c.prepare("ids_between", 2), RESULT_OK);
  const std::int32_t low = 2, high = 3;
  ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &low), RESULT_OK);
  ASSERT_EQ(c.set(2, FIELD_INT32, 0, 4, &high), RESULT_OK);
  host::Cursor cursor = executed(c);
  ASSERT_NE(cursor.self, nullptr);
  EXPECT_TRUE(traced("EXECUTE PROCEDURE ids_between ( ?, ? )"));
  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, 2), "two");
  fetchRow(cursor);
  EXPECT_EQ(stringAt(cursor, 2), "three");
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS);

  host::Command p = command();
  ASSERT_EQ(p.setOption(7, 1), RESULT_OK);
  ASSERT_EQ(p.prepare("bump", 2), RESULT_OK);
  const std::int32_t by = 5, from = 2;
  ASSERT_EQ(p.set(1, FIELD_INT32, 0, 4, &by), RESULT_OK);
  ASSERT_EQ(p.set(2, FIELD_INT32, 0, 4, &from), RESULT_OK);
  ASSERT_EQ(p.execute(nullptr), RESULT_OK) << p.errorText();
  EXPECT_EQ(rowsOf(p), 2);
  // Built once: set again, the parameters are bound at once and it runs again.
  traceEvents().clear();
  const std::int32_t last = 3;
  ASSERT_EQ(p.set(2, FIELD_INT32, 0, 4, &last), RESULT_OK);
  ASSERT_EQ(p.execute(nullptr), RESULT_OK) << p.errorText();
  EXPECT_EQ(rowsOf(p), 1);
  EXPECT_FALSE(traced("ESQL/C Prepare Statement"));

  host::Cursor sums = query("SELECT SUM(i) FROM kinds");
  fetchRow(sums);
  std::int32_t sum = 0, isNull = 0;
  EXPECT_EQ(sums.readLong(1, &sum, &isNull), RESULT_OK);
  EXPECT_EQ(sum, 10 + 25 + 40);

  // After a plain statement on the same command the call text is built again.
  ASSERT_EQ(p.setOption(7, 0), RESULT_OK);
  ASSERT_EQ(p.prepare("UPDATE kinds SET i = 0 WHERE id = 99", 0), RESULT_OK);
  ASSERT_EQ(p.setOption(7, 1), RESULT_OK);
  ASSERT_EQ(p.prepare("bump", 2), RESULT_OK);
  ASSERT_EQ(p.set(1, FIELD_INT32, 0, 4, &by), RESULT_OK);
  ASSERT_EQ(p.set(2, FIELD_INT32, 0, 4, &from), RESULT_OK);
  ASSERT_EQ(p.execute(nullptr), RESULT_OK) << p.errorText();
  EXPECT_EQ(rowsOf(p), 2) << "the procedure ran, not the UPDATE prepared before";
}

TEST_F(Commands, ProcedureNamesLongerThan31CharactersAreRefused) {
  host::Command c = command();
  ASSERT_EQ(c.setOption(7, 1), RESULT_OK);
  EXPECT_EQ(c.prepare(std::string(32, 'p').c_str(), 0), RESULT_CLIENT_ERROR);
  EXPECT_EQ(c.prepare(std::string(31, 'p').c_str(), 0), RESULT_OK);
  EXPECT_EQ(c.prepare(nullptr, 0), RESULT_CLIENT_ERROR);
}

TEST_F(Commands, FailingStatementGivesItsErrorText) {
  host::Command c = command();
  EXPECT_EQ(c.prepare("SELECT * FROM missing_table", 0), RESULT_CLIENT_ERROR);
  EXPECT_EQ(c.errorText(), "The specified table (missing_table) is not in the database.");
  EXPECT_EQ(c.prepare("SELEC nothing", 0), RESULT_CLIENT_ERROR);
  EXPECT_EQ(c.errorText(), "A syntax error has occurred.");
  void* cursor = nullptr;
  EXPECT_EQ(c.executeDirect("INSERT INTO kinds (id, nothere) VALUES (1, 2)", &cursor), RESULT_CLIENT_ERROR);
  EXPECT_NE(c.errorText().find("nothere"), std::string::npos) << c.errorText();
  EXPECT_EQ(c.prepare(nullptr, 0), RESULT_CLIENT_ERROR);
}

TEST_F(Commands, ParameterBindingRules) {
  host::Command c = command();
  ASSERT_EQ(c.prepare("INSERT INTO kinds (id, sf, tf) VALUES (?, ?, ?)", 3), RESULT_OK);
  const std::int32_t id = 7;
  const float quarter = 0.25f;
  const double half = 0.5;
  EXPECT_EQ(c.set(1, FIELD_INT32, 0, 4, &id), RESULT_OK);
  EXPECT_EQ(c.set(2, FIELD_FLOAT, 0, 6, &half), RESULT_INVALID_PARAMETER) << "a float of 6 bytes";
  EXPECT_EQ(c.set(2, FIELD_FLOAT, 0, 4, &quarter), RESULT_OK);
  EXPECT_EQ(c.set(0, FIELD_INT32, 0, 4, &id), RESULT_OUT_OF_RANGE);
  EXPECT_EQ(c.set(4, FIELD_INT32, 0, 4, &id), RESULT_OUT_OF_RANGE);
  EXPECT_EQ(c.set(3, FIELD_INT32, 0, 4, nullptr), RESULT_INVALID_PARAMETER) << "no value and not NULL";
  const TimestampRecord stamp{2003, 7, 4, 13, 5, 9, 1234};
  EXPECT_EQ(c.set(3, FIELD_TIMESTAMP, 0, 16, &stamp), RESULT_OK);
  ASSERT_EQ(c.execute(nullptr), RESULT_OK) << c.errorText();

  host::Cursor cursor = query("SELECT sf, tf FROM kinds WHERE id = 7");
  fetchRow(cursor);
  double read = 0;
  std::int32_t isNull = -1;
  EXPECT_EQ(cursor.readDouble(1, &read, &isNull), RESULT_OK);
  EXPECT_EQ(read, 0.25);
  TimestampRecord back{};
  EXPECT_EQ(cursor.readTimeStamp(2, &back, &isNull), RESULT_OK);
  EXPECT_EQ(back.second, 9);
  EXPECT_EQ(back.fraction, 234u) << "sent as 2003-07-04 13:05:09.234";

  const std::int32_t outOfDay = 24 * 3600 * 1000;
  host::Command t = command();
  ASSERT_EQ(t.prepare("INSERT INTO kinds (id, tm) VALUES (8, ?)", 1), RESULT_OK);
  EXPECT_EQ(t.set(1, FIELD_TIME, 0, 4, &outOfDay), RESULT_INVALID_TIME);
  EXPECT_EQ(t.execute(nullptr), RESULT_PARAMETER_NOT_SET);
  const BcdRecord tooManyPlaces{2, 5, {0x12}};
  host::Command d = command();
  ASSERT_EQ(d.prepare("INSERT INTO kinds (id, d) VALUES (9, ?)", 1), RESULT_OK);
  EXPECT_EQ(d.set(1, FIELD_BCD, 0, 34, &tooManyPlaces), RESULT_INVALID_CONVERSION);
}

TEST_F(Commands, CommandWithoutConnectionAnswersInvalidHandle) {
  host::Connection unconnected = connection();
  host::Command c;
  EXPECT_EQ(unconnected.createCommand(&c.self), RESULT_INVALID_HANDLE);
  ASSERT_NE(c.self, nullptr);
  EXPECT_EQ(c.prepare("SELECT 1", 0), RESULT_INVALID_HANDLE);
  void* cursor = nullptr;
  EXPECT_EQ(c.executeDirect("SELECT 1", &cursor), RESULT_INVALID_HANDLE);
  EXPECT_EQ(c.execute(&cursor), RESULT_INVALID_HANDLE);
  EXPECT_EQ(c.close(), RESULT_INVALID_HANDLE);
  std::int16_t length = 0;
  EXPECT_EQ(c.errorMessageLength(&length), RESULT_INVALID_HANDLE);
  EXPECT_EQ(c.release(), 0);
}

TEST_F(Commands, TracesEachRuntimeStepOfPrepareAndExecute) {
  connection_.setOption(9, reinterpret_cast<std::intptr_t>(&recordTrace));
  host::Command c = command();
  ASSERT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
  ASSERT_NE(executed(c).self, nullptr);
  const std::vector<std::string> steps = traceTexts();
  const std::vector<std::string> expected = {
      "ESQL/C SetConnect",     "ESQL/C Prepare Statement", "SELECT id FROM kinds", "ESQL/C Describe Statement",
      "ESQL/C SetConnect",     "ESQL/C Declare Cursor",    "ESQL/C Open Cursor"};
  EXPECT_EQ(steps, expected);
}

}  // namespace

namespace {

// Values for more or fewer parameters than the statement has markers run
// nothing: execute answers -1 and the text is Informix's -254.
TEST_F(Commands, ValueCountMustMatchTheMarkers) {
  struct Case {
    const char* name;
    const char* sql;
    std::uint16_t values;  // prepared count, each set to 7
  };
  const Case kCases[] = {
      {"fewer", "INSERT INTO kinds (id, i) VALUES (?, ?)", 1},
      {"more", "INSERT INTO kinds (id) VALUES (?)", 2},
      {"none", "INSERT INTO kinds (id) VALUES (?)", 0},
      {"without markers", "INSERT INTO kinds (id) VALUES (7)", 1},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.name);
    host::Command c = command();
    ASSERT_EQ(c.prepare(k.sql, k.values), RESULT_OK);
    const std::int32_t seven = 7;
    for (std::uint16_t n = 1; n <= k.values; ++n) ASSERT_EQ(c.set(n, FIELD_INT32, 0, 4, &seven), RESULT_OK);
    EXPECT_EQ(c.execute(nullptr), RESULT_CLIENT_ERROR);
    EXPECT_EQ(c.errorText(), "Too many or too few host variables given.");
    host::Cursor rows = query("SELECT id FROM kinds WHERE id = 7");
    EXPECT_EQ(rows.fetchNext(), RESULT_NO_MORE_ROWS) << "nothing ran";
  }
  host::Command direct = command();
  EXPECT_EQ(direct.executeDirect("INSERT INTO kinds (id) VALUES (?)", nullptr), RESULT_CLIENT_ERROR);
  EXPECT_EQ(direct.errorText(), "Too many or too few host variables given.");
  EXPECT_EQ(direct.executeDirect("INSERT INTO kinds (id) VALUES (8)", nullptr), RESULT_OK);
  EXPECT_EQ(direct.errorText(), "") << "a success leaves no text";
}

}  // namespace
