#include "command_fixture.h"

#include <gtest/gtest.h>

std::string insertIntoKinds() {
  std::string sql = "INSERT INTO kinds VALUES (";
  for (int i = 0; i < K_COUNT; ++i) sql += i == 0 ? "?" : ", ?";
  return sql + ")";
}

void CommandTest::SetUp() {
  HostTest::SetUp();
  path_ = createDatabase("commands.db", IFX_LOG_BUFFERED);
  char error[256] = {};
  ASSERT_EQ(ifxrtRunScript(path_.c_str(), kKindsTable, error, sizeof error), 0) << error;
  connection_ = connectedAs(path_, "C");
}

void CommandTest::TearDown() {
  for (const host::Cursor& cursor : cursors_) cursor.release();
  for (const host::Command& command : commands_) command.release();
  HostTest::TearDown();
}

host::Command CommandTest::command() {
  host::Command made;
  EXPECT_EQ(connection_.createCommand(&made.self), quovex::RESULT_OK);
  commands_.push_back(made);
  return made;
}

void CommandTest::run(const char* sql) {
  host::Command c = command();
  void* cursor = nullptr;
  ASSERT_EQ(c.executeDirect(sql, &cursor), quovex::RESULT_OK) << sql << ": " << c.errorText();
  EXPECT_EQ(cursor, nullptr) << sql;
}

host::Cursor CommandTest::query(const char* sql) {
  host::Command c = command();
  host::Cursor cursor;
  EXPECT_EQ(c.executeDirect(sql, &cursor.self), quovex::RESULT_OK) << sql << ": " << c.errorText();
  if (cursor.self != nullptr) cursors_.push_back(cursor);
  return cursor;
}

host::Cursor CommandTest::executed(const host::Command& command) {
  host::Cursor cursor;
  EXPECT_EQ(command.execute(&cursor.self), quovex::RESULT_OK) << command.errorText();
  if (cursor.self != nullptr) cursors_.push_back(cursor);
  return cursor;
}

void CommandTest::fetchRow(const host::Cursor& cursor) {
  const quovex::ResultCode fetched = cursor.fetchNext();
  if (fetched == quovex::RESULT_CLIENT_ERROR) {
    std::int16_t length = 0;
    cursor.errorMessageLength(&length);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    cursor.errorMessage(text.data());
    FAIL() << "fetch failed: " << text.c_str();
  }
  ASSERT_EQ(fetched, quovex::RESULT_OK);
}

std::string CommandTest::stringAt(const host::Cursor& cursor, std::uint16_t column) {
  std::int32_t length = 0;
  if (cursor.columnLength(column, &length) != quovex::RESULT_OK) return "<no column>";
  std::string text(static_cast<std::size_t>(length) + 16, '\x7f');
  std::int32_t isNull = -1;
  if (cursor.readString(column, text.data(), &isNull) != quovex::RESULT_OK) return "<read failed>";
  if (isNull == 1) return "<null>";
  if (text[static_cast<std::size_t>(length)] != '\x7f') return "<wrote past the reported length>";
  return text.c_str();
}
