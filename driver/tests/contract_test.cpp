// The host contract header as binary contract: each operation in its slot,
// base-class defaults in their slots answering RESULT_NOT_SUPPORTED, and the
// records' sizes and offsets.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "host_api.h"
#include "quovex/quovex.h"

using namespace quovex;

namespace {

// Slot of a virtual member function in the Itanium C++ ABI: a pointer to a
// virtual member holds 1 + the byte offset of its entry in the table.
template <typename MemberPointer>
long slotOf(MemberPointer member) {
  struct Representation {
    std::uintptr_t pointer;
    std::ptrdiff_t adjustment;
  } representation{};
  static_assert(sizeof(member) == sizeof(representation));
  std::memcpy(&representation, &member, sizeof member);
  if ((representation.pointer & 1) == 0 || representation.adjustment != 0) return -1;  // not virtual
  return static_cast<long>((representation.pointer - 1) / sizeof(void*));
}

struct SlotCase {
  const char* name;
  long slot;
  long expected;
};

void expectSlots(const std::vector<SlotCase>& cases) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].slot, cases[i].expected) << cases[i].name;
    EXPECT_EQ(cases[i].expected, static_cast<long>(i)) << "table lists every slot in order: " << cases[i].name;
  }
}

#define SLOT(Class, name, expected) \
  SlotCase { #Class "::" #name, slotOf(&Class::name), expected }

TEST(HostContract, DriverAndConnectionSlotsInOrder) {
  expectSlots({SLOT(SQLDriver, query, 0), SLOT(SQLDriver, addRef, 1), SLOT(SQLDriver, release, 2),
               SLOT(SQLDriver, createConnection, 3), SLOT(SQLDriver, setOption, 4), SLOT(SQLDriver, getOption, 5)});
  expectSlots({SLOT(SQLConnection, query, 0), SLOT(SQLConnection, addRef, 1), SLOT(SQLConnection, release, 2),
               SLOT(SQLConnection, connect, 3), SLOT(SQLConnection, disconnect, 4),
               SLOT(SQLConnection, createCommand, 5), SLOT(SQLConnection, createMetaData, 6),
               SLOT(SQLConnection, setOption, 7), SLOT(SQLConnection, getOption, 8),
               SLOT(SQLConnection, beginTransaction, 9), SLOT(SQLConnection, commitTransaction, 10),
               SLOT(SQLConnection, rollbackTransaction, 11), SLOT(SQLConnection, errorMessage, 12),
               SLOT(SQLConnection, errorMessageLength, 13)});
}

TEST(HostContract, CommandAndMetaDataSlotsInOrder) {
  expectSlots({SLOT(SQLCommand, query, 0), SLOT(SQLCommand, addRef, 1), SLOT(SQLCommand, release, 2),
               SLOT(SQLCommand, setOption, 3), SLOT(SQLCommand, getOption, 4), SLOT(SQLCommand, setParameter, 5),
               SLOT(SQLCommand, getParameter, 6), SLOT(SQLCommand, prepare, 7), SLOT(SQLCommand, execute, 8),
               SLOT(SQLCommand, executeDirect, 9), SLOT(SQLCommand, nextResult, 10),
               SLOT(SQLCommand, rowsAffected, 11), SLOT(SQLCommand, close, 12), SLOT(SQLCommand, errorMessage, 13),
               SLOT(SQLCommand, errorMessageLength, 14)});
  expectSlots({SLOT(SQLMetaData, query, 0), SLOT(SQLMetaData, addRef, 1), SLOT(SQLMetaData, release, 2),
               SLOT(SQLMetaData, setOption, 3), SLOT(SQLMetaData, getOption, 4),
               SLOT(SQLMetaData, listObjects, 5), SLOT(SQLMetaData, listTables, 6),
               SLOT(SQLMetaData, listProcedures, 7), SLOT(SQLMetaData, listColumns, 8),
               SLOT(SQLMetaData, listProcedureParameters, 9), SLOT(SQLMetaData, listIndexes, 10),
               SLOT(SQLMetaData, errorMessage, 11), SLOT(SQLMetaData, errorMessageLength, 12)});
}

TEST(HostContract, CursorSlotsInOrder) {
  expectSlots({SLOT(SQLCursor, query, 0), SLOT(SQLCursor, addRef, 1), SLOT(SQLCursor, release, 2),
               SLOT(SQLCursor, setOption, 3), SLOT(SQLCursor, getOption, 4), SLOT(SQLCursor, errorMessage, 5),
               SLOT(SQLCursor, errorMessageLength, 6), SLOT(SQLCursor, columnCount, 7),
               SLOT(SQLCursor, columnNameLength, 8), SLOT(SQLCursor, columnName, 9),
               SLOT(SQLCursor, columnType, 10), SLOT(SQLCursor, columnLength, 11),
               SLOT(SQLCursor, columnPrecision, 12), SLOT(SQLCursor, columnScale, 13),
               SLOT(SQLCursor, columnNullable, 14), SLOT(SQLCursor, columnAutoIncrement, 15),
               SLOT(SQLCursor, columnReadOnly, 16), SLOT(SQLCursor, columnSearchable, 17),
               SLOT(SQLCursor, blobSizeExact, 18), SLOT(SQLCursor, fetchNext, 19), SLOT(SQLCursor, readString, 20),
               SLOT(SQLCursor, readShort, 21), SLOT(SQLCursor, readLong, 22), SLOT(SQLCursor, readDouble, 23),
               SLOT(SQLCursor, readBcd, 24), SLOT(SQLCursor, readTimeStamp, 25), SLOT(SQLCursor, readTime, 26),
               SLOT(SQLCursor, readDate, 27), SLOT(SQLCursor, readBytes, 28), SLOT(SQLCursor, readBlobSize, 29),
               SLOT(SQLCursor, readBlob, 30)});
}

// A cursor that fills only the pure slots; each answers 1000 + its slot.
class PureOnlyCursor final : public SQLCursor {
 public:
  ResultCode query(void*, void*) override { return 1000; }
  std::int32_t addRef() override { return 1001; }
  std::int32_t release() override { return 1002; }
  ResultCode columnCount(std::int16_t*) override { return 1007; }
  ResultCode columnNameLength(std::uint16_t, std::int16_t*) override { return 1008; }
  ResultCode columnName(std::uint16_t, char*) override { return 1009; }
  ResultCode columnType(std::uint16_t, std::uint16_t*, std::uint16_t*) override { return 1010; }
  ResultCode columnLength(std::uint16_t, std::int32_t*) override { return 1011; }
  ResultCode columnPrecision(std::uint16_t, std::int16_t*) override { return 1012; }
  ResultCode columnScale(std::uint16_t, std::int16_t*) override { return 1013; }
  ResultCode columnNullable(std::uint16_t, std::int32_t*) override { return 1014; }
  ResultCode columnAutoIncrement(std::uint16_t, std::int32_t*) override { return 1015; }
  ResultCode columnReadOnly(std::uint16_t, std::int32_t*) override { return 1016; }
  ResultCode columnSearchable(std::uint16_t, std::int32_t*) override { return 1017; }
  ResultCode fetchNext() override { return 1019; }
};

// Calls through the table the way a host does: the defaults sit in their
// slots and answer 5 without touching their out places; the pure slots reach
// the subclass.
TEST(HostContract, CursorDefaultsAnswerNotSupportedInTheirSlots) {
  PureOnlyCursor cursor;
  void* object = &cursor;
  std::int32_t isNull = 77;
  char buffer[64] = "unchanged";
  double number = 1.5;
  BcdRecord bcd{};
  TimestampRecord stamp{};
  std::uint32_t size = 9;
  std::int16_t length = 3;
  EXPECT_EQ(host::callSlot<ResultCode>(object, 3, 1, std::intptr_t{2}), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 4, 1, static_cast<void*>(buffer), std::int16_t{8}, &length),
            RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 5, static_cast<char*>(buffer)), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 6, &length), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 18, std::uint16_t{1}, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 20, std::uint16_t{1}, static_cast<char*>(buffer), &isNull),
            RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 23, std::uint16_t{1}, &number, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 24, std::uint16_t{1}, &bcd, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 25, std::uint16_t{1}, &stamp, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 29, std::uint16_t{1}, &size, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 30, std::uint16_t{1}, static_cast<void*>(buffer), &isNull,
                                       std::uint32_t{8}),
            RESULT_NOT_SUPPORTED);
  EXPECT_EQ(isNull, 77);
  EXPECT_STREQ(buffer, "unchanged");
  EXPECT_EQ(number, 1.5);
  EXPECT_EQ(size, 9u);
  EXPECT_EQ(length, 3);
  EXPECT_EQ(host::callSlot<std::int32_t>(object, 1), 1001);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 7, &length), 1007);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 17, std::uint16_t{1}, &isNull), 1017);
  EXPECT_EQ(host::callSlot<ResultCode>(object, 19), 1019);
}

// An interface object is its table address and nothing else, and no virtual
// destructor sits in (or after) the slot table.
template <typename... Interface>
constexpr bool onlyTheTable() {
  return ((sizeof(Interface) == sizeof(void*) && !std::has_virtual_destructor_v<Interface>) && ...);
}
static_assert(onlyTheTable<SQLDriver, SQLConnection, SQLCommand, SQLCursor, SQLMetaData>());

TEST(HostContract, RecordLayouts) {
  EXPECT_EQ(sizeof(TraceRecord), 1036u);
  EXPECT_EQ(offsetof(TraceRecord, category), 1024u);
  EXPECT_EQ(offsetof(TraceRecord, clientValue), 1028u);
  EXPECT_EQ(sizeof(TraceRecord::clientValue), sizeof(void*));
  EXPECT_EQ(sizeof(TimestampRecord), 16u);
  EXPECT_EQ(sizeof(BcdRecord), 34u);
  EXPECT_EQ(offsetof(BcdRecord, digits), 2u);
  EXPECT_EQ(offsetof(TransactionDesc, isolationLevel), 8u);
  EXPECT_EQ(sizeof(OptionValue), sizeof(void*));
  EXPECT_EQ(sizeof(FieldType), 2u);
  EXPECT_EQ(sizeof(ClientType), 2u);
  EXPECT_EQ(sizeof(ResultCode), 4u);
}

// The client value sits misaligned at 1028: the accessors copy its bytes, so
// they read and write it wherever the record lies (run under UBSan, a
// reference bound to the member itself is reported).
TEST(HostContract, TraceClientValueIsCopiedOutOfThePackedRecord) {
  alignas(8) static unsigned char storage[sizeof(TraceRecord) + 8] = {};
  for (std::size_t shift : {0u, 1u, 3u}) {
    auto* record = reinterpret_cast<TraceRecord*>(storage + shift);
    const std::intptr_t value = static_cast<std::intptr_t>(0x0102030405060708LL) + static_cast<std::intptr_t>(shift);
    setTraceClientValue(*record, value);
    std::vector<std::intptr_t> seen;
    seen.push_back(traceClientValue(record));
    EXPECT_EQ(seen.front(), value);
    std::intptr_t raw = 0;
    std::memcpy(&raw, storage + shift + 1028, sizeof raw);
    EXPECT_EQ(raw, value) << "stored at offset 1028";
  }
}

}  // namespace
