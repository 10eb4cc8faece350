// Connection options through slots 7 and 8: answers, edge cases of the name
// options, and the options that reach the client runtime.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host_fixture.h"

using namespace quovex;

namespace {

using ConnectionOptions = HostTest;

struct OptionCase {
  std::int32_t option;
  ResultCode setResult;   // setOption(option, 0) before any connect
  ResultCode getResult;   // getOption before any connect
};

// Numbers are compared in their low 8 bits: 263 is 7, 265 is 9, 512 is 0.
constexpr OptionCase kUnconnected[] = {
    {2, RESULT_OK, RESULT_OK},
    {6, RESULT_OK, RESULT_OK},
    {7, RESULT_NOT_SUPPORTED, RESULT_INVALID_HANDLE},
    {263, RESULT_NOT_SUPPORTED, RESULT_INVALID_HANDLE},
    {8, RESULT_OK, RESULT_INVALID_HANDLE},
    {9, RESULT_OK, RESULT_NOT_SUPPORTED},
    {265, RESULT_OK, RESULT_NOT_SUPPORTED},
    {12, RESULT_OK, RESULT_NOT_SUPPORTED},
    {14, RESULT_NOT_SUPPORTED, RESULT_OK},
    {18, RESULT_NOT_SUPPORTED, RESULT_OK},
    {21, RESULT_NOT_SUPPORTED, RESULT_INVALID_HANDLE},
    {0, RESULT_NOT_SUPPORTED, RESULT_NOT_SUPPORTED},
    {512, RESULT_NOT_SUPPORTED, RESULT_NOT_SUPPORTED},
    {44, RESULT_NOT_SUPPORTED, RESULT_NOT_SUPPORTED},
};

TEST_F(ConnectionOptions, AnswersBeforeConnect) {
  host::Connection c = connection();
  for (const OptionCase& option : kUnconnected) {
    std::int32_t value = -5;
    std::int16_t length = 0;
    EXPECT_EQ(c.getOption(option.option, &value, sizeof value, &length), option.getResult) << option.option;
    if (option.option != 9 && option.option != 265 && option.option != 12) {
      EXPECT_EQ(c.setOption(option.option, 0), option.setResult) << option.option;
    }
  }
}

TEST_F(ConnectionOptions, NumberOptionsKeepTheirValues) {
  host::Connection c = connection();
  EXPECT_EQ(c.setOption(2, 777), RESULT_OK);
  EXPECT_EQ(c.numberOption(2), 777);
  EXPECT_EQ(c.numberOption(6), 0) << "isolation defaults to committed read";
  EXPECT_EQ(c.setOption(6, 2), RESULT_OK);
  EXPECT_EQ(c.numberOption(6), 2);
  EXPECT_EQ(c.numberOption(14), 0);

  unsigned char bytes[4] = {9, 9, 9, 9};
  std::int16_t length = 0;
  EXPECT_EQ(c.getOption(18, bytes, 4, &length), RESULT_OK);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[1], 9) << "option 18 writes one byte";
  EXPECT_EQ(c.getOption(2, nullptr, 4, &length), RESULT_INVALID_PARAMETER);
}

// Options 10 (server name) and 19 (connection name) hold at most 31 characters.
TEST_F(ConnectionOptions, NameOptionsHoldAtMost31Characters) {
  host::Connection c = connection();
  const std::string name31(31, 'n');
  const std::string name32(32, 'x');
  for (std::int32_t option : {10, 19}) {
    SCOPED_TRACE(option);
    EXPECT_EQ(c.setOption(option, reinterpret_cast<std::intptr_t>(name31.c_str())), RESULT_OK);
    EXPECT_EQ(c.setOption(option, reinterpret_cast<std::intptr_t>(name32.c_str())), RESULT_CLIENT_ERROR);
    EXPECT_EQ(c.setOption(option, 0), RESULT_CLIENT_ERROR) << "no text";
    char buffer[40] = {};
    std::int16_t length = 0;
    EXPECT_EQ(c.getOption(option, buffer, sizeof buffer, &length), RESULT_OK);
    EXPECT_EQ(length, 31);
    EXPECT_EQ(std::string(buffer), name31) << "the old value is kept";
  }
}

TEST_F(ConnectionOptions, NameReadFitsTheMaximumLengthOrIsEmpty) {
  host::Connection c = connection();
  ASSERT_EQ(c.setOption(10, reinterpret_cast<std::intptr_t>("server")), RESULT_OK);
  struct ReadCase {
    std::int16_t maxLength;
    const char* expected;  // the buffer's bytes after the read, '#' untouched
  };
  constexpr ReadCase kReads[] = {{3, "\0##"}, {6, "server##"}, {7, "server\0#"}, {20, "server\0#"}, {0, "########"}};
  for (const ReadCase& read : kReads) {
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    std::int16_t length = 0;
    EXPECT_EQ(c.getOption(10, buffer, read.maxLength, &length), RESULT_OK);
    EXPECT_EQ(length, 6) << read.maxLength;
    const std::size_t compared = read.maxLength == 3 ? 3 : 8;
    EXPECT_EQ(std::string(buffer, compared), std::string(read.expected, compared)) << read.maxLength;
  }
}

TEST_F(ConnectionOptions, ConnectionNameIsFixedWhileConnected) {
  const std::string path = createDatabase("named.db", IFX_LOG_BUFFERED);
  host::Connection c = connectedAs(path, "FIRST");
  EXPECT_EQ(c.setOption(19, reinterpret_cast<std::intptr_t>("SECOND")), RESULT_OK);
  char name[32] = {};
  std::int16_t length = 0;
  EXPECT_EQ(c.getOption(19, name, sizeof name, &length), RESULT_OK);
  EXPECT_STREQ(name, "FIRST");
  ASSERT_EQ(c.disconnect(), RESULT_OK);
  EXPECT_EQ(c.setOption(19, reinterpret_cast<std::intptr_t>("SECOND")), RESULT_OK);
  EXPECT_EQ(c.getOption(19, name, sizeof name, &length), RESULT_OK);
  EXPECT_STREQ(name, "SECOND");
}

TEST_F(ConnectionOptions, ConnectedAnswersOfTheClientLayer) {
  const std::string logged = createDatabase("logged.db", IFX_LOG_BUFFERED);
  const std::string plain = createDatabase("plain.db", IFX_LOG_NONE);
  host::Connection a = connectedAs(logged, "A");
  host::Connection b = connectedAs(plain, "B");
  std::int32_t value = -5;
  std::int16_t length = 0;
  EXPECT_EQ(a.getOption(7, &value, sizeof value, &length), RESULT_CLIENT_NOT_SUPPORTED);
  EXPECT_EQ(a.numberOption(8), 0);
  EXPECT_EQ(a.numberOption(21), 1);
  EXPECT_EQ(b.numberOption(21), 0);
}

TEST_F(ConnectionOptions, IsolationOptionRunsAtOnceOnALoggedDatabase) {
  const std::string logged = createDatabase("logged.db", IFX_LOG_BUFFERED);
  const std::string plain = createDatabase("plain.db", IFX_LOG_NONE);
  host::Connection a = connectedAs(logged, "A");
  host::Connection b = connectedAs(plain, "B");
  ifxrtClearStatements();

  EXPECT_EQ(a.setOption(6, 2), RESULT_OK);
  EXPECT_EQ(a.setOption(6, 7), RESULT_OK) << "an unknown level runs nothing";
  EXPECT_EQ(a.setOption(6, 1), RESULT_OK);
  EXPECT_EQ(b.setOption(6, 2), RESULT_OK) << "without a log the level is only kept";
  EXPECT_EQ(loggedStatements(), (std::vector<LoggedStatement>{{" SET ISOLATION TO DIRTY READ", "A"},
                                                               {" SET ISOLATION TO REPEATABLE READ", "A"}}));
  EXPECT_EQ(b.numberOption(6), 2);
}

}  // namespace
