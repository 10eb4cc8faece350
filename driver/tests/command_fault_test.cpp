// Every runtime call on the statement, value and fetch paths failing in
// turn: the operation's code, and a command that works again once the fault
// is gone. Under the sanitizers these also show that no failure path crashes
// or leaks.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "command_fixture.h"
#include "quovex/dates.h"

using namespace quovex;

namespace {

enum class Step {
  Prepare, ExecuteInsert, OpenQuery, Fetch, Close, ReleaseOpen,
  BindDate, BindDecimal, BindTimestamp, BindBlob, BindClob,
  ReadBcd, ReadTimestamp, ReadDate, ReadBlobSize, ReadBlob, ReadParameterDate,
};

struct StatementFault {
  const char* name;
  Step step;
  IfxRole role;
  int nth;
  std::int32_t code;
  ResultCode result;
};

constexpr std::int32_t kSyntax = -201;
constexpr std::int32_t kNotANumber = -1213;
constexpr std::int32_t kBadLob = -9810;

const StatementFault kFaults[] = {
    {"PrepareSetConnection", Step::Prepare, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"PreparePrepare", Step::Prepare, IFX_ROLE_PREPARE, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"PrepareFind", Step::Prepare, IFX_ROLE_FIND_STATEMENT, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"PrepareDescribe", Step::Prepare, IFX_ROLE_DESCRIBE, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"ExecuteSetConnection", Step::ExecuteInsert, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"ExecuteFind", Step::ExecuteInsert, IFX_ROLE_FIND_STATEMENT, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"ExecuteExecute", Step::ExecuteInsert, IFX_ROLE_EXECUTE, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"ExecuteStatusArea", Step::ExecuteInsert, IFX_ROLE_STATUS_AREA, 1, kSyntax, RESULT_OK},
    {"OpenDeclare", Step::OpenQuery, IFX_ROLE_DECLARE_CURSOR, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"OpenFindCursor", Step::OpenQuery, IFX_ROLE_FIND_STATEMENT, 2, kSyntax, RESULT_CLIENT_ERROR},
    {"OpenOpen", Step::OpenQuery, IFX_ROLE_OPEN_CURSOR, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"FetchSetConnection", Step::Fetch, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"FetchFetch", Step::Fetch, IFX_ROLE_FETCH, 1, kSyntax, RESULT_CLIENT_ERROR},
    {"CloseSetConnection", Step::Close, IFX_ROLE_SET_CONNECTION, 1, kSyntax, RESULT_OK},
    {"CloseCloseCursor", Step::Close, IFX_ROLE_CLOSE_CURSOR, 1, kSyntax, RESULT_OK},
    {"CloseFree", Step::Close, IFX_ROLE_FREE, 1, kSyntax, RESULT_OK},
    {"ReleaseSetConnection", Step::ReleaseOpen, IFX_ROLE_SET_CONNECTION, 2, kSyntax, RESULT_OK},
    {"ReleaseFreeStatement", Step::ReleaseOpen, IFX_ROLE_FREE, 2, kSyntax, RESULT_OK},
    {"ReleaseFreeDescriptor", Step::ReleaseOpen, IFX_ROLE_FREE_DESCRIPTOR, 1, kSyntax, RESULT_OK},
    {"BindDateConversion", Step::BindDate, IFX_ROLE_TRIPLE_TO_DATE, 1, -1205, RESULT_INVALID_CONVERSION},
    {"BindDecimalConversion", Step::BindDecimal, IFX_ROLE_TEXT_TO_DECIMAL, 1, kNotANumber, kNotANumber},
    {"BindTimestampConversion", Step::BindTimestamp, IFX_ROLE_TEXT_TO_DATETIME, 1, -1263, -1263},
    {"BindBlobSpec", Step::BindBlob, IFX_ROLE_LOB_SPEC, 1, kBadLob, RESULT_CLIENT_ERROR},
    {"BindBlobCreate", Step::BindBlob, IFX_ROLE_LOB_CREATE, 1, kBadLob, RESULT_CLIENT_ERROR},
    {"BindBlobOpen", Step::BindBlob, IFX_ROLE_LOB_OPEN, 1, kBadLob, RESULT_CLIENT_ERROR},
    {"BindBlobWrite", Step::BindBlob, IFX_ROLE_LOB_WRITE, 1, kBadLob, RESULT_CLIENT_ERROR},
    {"BindBlobClose", Step::BindBlob, IFX_ROLE_LOB_CLOSE, 1, kBadLob, RESULT_CLIENT_ERROR},
    {"BindBlobFreeSpec", Step::BindBlob, IFX_ROLE_LOB_FREE_SPEC, 1, kBadLob, RESULT_OK},
    {"BindClobCreate", Step::BindClob, IFX_ROLE_LOB_CREATE, 1, kBadLob, RESULT_CLIENT_ERROR},
    // A decimal that needs no rounding is read straight from its digits, without the text conversion.
    {"ReadBcdConversion", Step::ReadBcd, IFX_ROLE_DECIMAL_TO_TEXT, 1, kNotANumber, RESULT_OK},
    {"ReadTimestampExtend", Step::ReadTimestamp, IFX_ROLE_EXTEND_DATETIME, 1, -1268, RESULT_OK},
    {"ReadTimestampText", Step::ReadTimestamp, IFX_ROLE_DATETIME_TO_TEXT, 1, -1268, RESULT_OK},
    // A date of the years 1 to 9999 is read straight from its day count, without the split.
    {"ReadDateSplit", Step::ReadDate, IFX_ROLE_DATE_TO_TRIPLE, 1, -1210, RESULT_OK},
    {"ReadBlobSizeOpen", Step::ReadBlobSize, IFX_ROLE_LOB_OPEN, 1, kBadLob, kBadLob},
    {"ReadBlobSizeStat", Step::ReadBlobSize, IFX_ROLE_LOB_STAT, 1, kBadLob, RESULT_OK},
    {"ReadBlobSizeSize", Step::ReadBlobSize, IFX_ROLE_LOB_SIZE, 1, kBadLob, RESULT_OK},
    {"ReadBlobSizeClose", Step::ReadBlobSize, IFX_ROLE_LOB_CLOSE, 1, kBadLob, kBadLob},
    {"ReadBlobOpen", Step::ReadBlob, IFX_ROLE_LOB_OPEN, 1, kBadLob, kBadLob},
    {"ReadBlobRead", Step::ReadBlob, IFX_ROLE_LOB_READ, 1, kBadLob, kBadLob},
    {"ReadBlobClose", Step::ReadBlob, IFX_ROLE_LOB_CLOSE, 1, kBadLob, kBadLob},
    {"ReadParameterDate", Step::ReadParameterDate, IFX_ROLE_DATE_TO_TRIPLE, 1, -1210, -1210},
};

void PrintTo(const StatementFault& fault, std::ostream* out) { *out << fault.name; }

class StatementFaults : public CommandTest, public ::testing::WithParamInterface<StatementFault> {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    run("INSERT INTO kinds (id, d, dt, ts) VALUES (1, -12.50, '2010-02-28', '2012-03-04 05:06:07')");
    host::Command blob = command();
    ASSERT_EQ(blob.prepare("UPDATE kinds SET bl = ?", 1), RESULT_OK);
    ASSERT_EQ(blob.set(1, FIELD_BLOB, SUBTYPE_BINARY_LOB, 3, "abc"), RESULT_OK);
    ASSERT_EQ(blob.execute(nullptr), RESULT_OK) << blob.errorText();
  }

  void plant() {
    const StatementFault& fault = GetParam();
    ifxrtFailCall(fault.role, fault.nth, fault.code, 0);
  }

  // The text of the planted failure; a statement that could not be found
  // fails the call that needed it with "not available".
  void expectFaultText(const host::Command& c) {
    const std::string text = c.errorText();
    if (GetParam().role == IFX_ROLE_FIND_STATEMENT) {
      EXPECT_NE(text.find("not available"), std::string::npos) << text;
    } else {
      EXPECT_EQ(text, "A syntax error has occurred.");
    }
  }

  // The value of column 1 of the next row of a fresh query.
  std::int32_t firstId() {
    host::Cursor rows = query("SELECT id FROM kinds ORDER BY id");
    std::int32_t id = 0, isNull = 0;
    if (rows.fetchNext() != RESULT_OK || rows.readLong(1, &id, &isNull) != RESULT_OK) return -1;
    return id;
  }

};

TEST_P(StatementFaults, GiveTheirCodeAndTheCommandWorksAgain) {
  const StatementFault& fault = GetParam();
  host::Command c = command();
  std::int32_t isNull = -1;
  const std::int32_t id = 2;
  switch (fault.step) {
    case Step::Prepare:
      plant();
      EXPECT_EQ(c.prepare("SELECT id FROM kinds", 0), fault.result);
      ifxrtClearFaults();
      if (fault.result != RESULT_OK) expectFaultText(c);
      ASSERT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
      EXPECT_EQ(executed(c).fetchNext(), RESULT_OK);
      break;
    case Step::ExecuteInsert:
      ASSERT_EQ(c.prepare("INSERT INTO kinds (id) VALUES (?)", 1), RESULT_OK);
      ASSERT_EQ(c.set(1, FIELD_INT32, 0, 4, &id), RESULT_OK);
      plant();
      EXPECT_EQ(c.execute(nullptr), fault.result);
      ifxrtClearFaults();
      if (fault.result != RESULT_OK) expectFaultText(c);
      EXPECT_EQ(c.execute(nullptr), RESULT_OK) << "parameters stay set";
      break;
    case Step::OpenQuery: {
      ASSERT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
      plant();
      host::Cursor failed;
      EXPECT_EQ(c.execute(&failed.self), fault.result);
      EXPECT_EQ(failed.self, nullptr);
      ifxrtClearFaults();
      expectFaultText(c);
      EXPECT_EQ(executed(c).fetchNext(), RESULT_OK);
      break;
    }
    case Step::Fetch: {
      ASSERT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
      host::Cursor rows = executed(c);
      plant();
      EXPECT_EQ(rows.fetchNext(), fault.result);
      ifxrtClearFaults();
      EXPECT_EQ(rows.errorMessageLength(nullptr), RESULT_INVALID_PARAMETER);
      expectFaultText(c);
      EXPECT_EQ(rows.fetchNext(), RESULT_OK) << "the row was not used up";
      break;
    }
    case Step::Close: {
      ASSERT_EQ(c.prepare("SELECT id FROM kinds", 0), RESULT_OK);
      host::Cursor rows = executed(c);
      plant();
      EXPECT_EQ(c.close(), fault.result);
      ifxrtClearFaults();
      EXPECT_EQ(rows.fetchNext(), RESULT_INVALID_HANDLE) << "no row buffer after close";
      EXPECT_EQ(executed(c).fetchNext(), RESULT_OK);
      break;
    }
    case Step::ReleaseOpen: {
      host::Command own;
      ASSERT_EQ(connection_.createCommand(&own.self), RESULT_OK);
      ASSERT_EQ(own.prepare("SELECT id FROM kinds", 0), RESULT_OK);
      host::Cursor rows;
      ASSERT_EQ(own.execute(&rows.self), RESULT_OK);
      ASSERT_EQ(rows.fetchNext(), RESULT_OK);
      plant();
      EXPECT_EQ(rows.release(), 0);
      EXPECT_EQ(own.release(), 0);
      ifxrtClearFaults();
      EXPECT_EQ(firstId(), 1);
      break;
    }
    case Step::BindDate:
    case Step::BindDecimal:
    case Step::BindTimestamp:
    case Step::BindBlob:
    case Step::BindClob: {
      const char* sql = fault.step == Step::BindDate        ? "UPDATE kinds SET dt = ?"
                        : fault.step == Step::BindDecimal   ? "UPDATE kinds SET d = ?"
                        : fault.step == Step::BindTimestamp ? "UPDATE kinds SET tf = ?"
                        : fault.step == Step::BindBlob      ? "UPDATE kinds SET bl = ?"
                                                            : "UPDATE kinds SET cl = ?";
      ASSERT_EQ(c.prepare(sql, 1), RESULT_OK);
      const std::int32_t date = dateNumberFromParts(2020, 1, 2);
      const BcdRecord bcd{3, 1, {0x12, 0x30}};
      const TimestampRecord stamp{2020, 1, 2, 3, 4, 5, 6};
      auto set = [&] {
        switch (fault.step) {
          case Step::BindDate: return c.set(1, FIELD_DATE, 0, 4, &date);
          case Step::BindDecimal: return c.set(1, FIELD_BCD, 0, 34, &bcd);
          case Step::BindTimestamp: return c.set(1, FIELD_TIMESTAMP, 0, 16, &stamp);
          case Step::BindBlob: return c.set(1, FIELD_BLOB, SUBTYPE_BINARY_LOB, 4, "blob");
          default: return c.set(1, FIELD_BLOB, SUBTYPE_CHAR_LOB, 4, "clob");
        }
      };
      plant();
      EXPECT_EQ(set(), fault.result);
      ifxrtClearFaults();
      if (fault.result != RESULT_OK) {
        EXPECT_EQ(c.execute(nullptr), RESULT_PARAMETER_NOT_SET) << "a failed binder leaves the parameter unset";
      }
      ASSERT_EQ(set(), RESULT_OK);
      EXPECT_EQ(c.execute(nullptr), RESULT_OK) << c.errorText();
      break;
    }
    case Step::ReadParameterDate: {
      ASSERT_EQ(c.prepare("UPDATE kinds SET dt = ?", 1), RESULT_OK);
      const std::int32_t date = dateNumberFromParts(2020, 1, 2);
      ASSERT_EQ(c.set(1, FIELD_DATE, 0, 4, &date), RESULT_OK);
      std::int32_t back = 0;
      plant();
      EXPECT_EQ(c.getParameter(1, 0, &back, 4, &isNull), fault.result);
      EXPECT_EQ(back, 0);
      ifxrtClearFaults();
      EXPECT_EQ(c.getParameter(1, 0, &back, 4, &isNull), RESULT_OK);
      EXPECT_EQ(back, date);
      break;
    }
    default: {
      host::Cursor rows = query("SELECT d, ts, dt, bl FROM kinds");
      ASSERT_EQ(rows.fetchNext(), RESULT_OK);
      BcdRecord bcd{};
      TimestampRecord stamp{};
      std::int32_t date = 0;
      std::uint32_t size = 0;
      char blob[8] = {};
      auto read = [&] {
        switch (fault.step) {
          case Step::ReadBcd: return rows.readBcd(1, &bcd, &isNull);
          case Step::ReadTimestamp: return rows.readTimeStamp(2, &stamp, &isNull);
          case Step::ReadDate: return rows.readDate(3, &date, &isNull);
          case Step::ReadBlobSize: return rows.readBlobSize(4, &size, &isNull);
          default: return rows.readBlob(4, blob, &isNull, sizeof blob);
        }
      };
      plant();
      EXPECT_EQ(read(), fault.result);
      EXPECT_EQ(isNull, 0) << "the value is not NULL";
      ifxrtClearFaults();
      EXPECT_EQ(read(), RESULT_OK);
      switch (fault.step) {
        case Step::ReadBcd: EXPECT_EQ(bcd.signAndPlaces, 0x82); break;
        case Step::ReadTimestamp: EXPECT_EQ(stamp.year, 2012); break;
        case Step::ReadDate: EXPECT_EQ(date, dateNumberFromParts(2010, 2, 28)); break;
        case Step::ReadBlobSize: EXPECT_EQ(size, 3u); break;
        default: EXPECT_STREQ(blob, "abc"); break;
      }
      break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EachCall, StatementFaults, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<StatementFault>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
