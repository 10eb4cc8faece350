// Types and records shared by the Quovex host and the Informix driver library.
//
// This header is part of the host contract: a host program includes it (through
// quovex/quovex.h) and needs nothing else of the driver. Widths and offsets are
// binary contract and are checked at compile time below; they assume the
// x86-64 System V / Itanium C++ ABI the library is built for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quovex {

// Every operation returns a ResultCode, except addRef and release, which
// return the reference count. Codes outside the list below may reach the host
// unchanged from a conversion of the client runtime.
using ResultCode = std::int32_t;

inline constexpr ResultCode RESULT_OK = 0;
inline constexpr ResultCode RESULT_NO_MEMORY = 1;
inline constexpr ResultCode RESULT_INVALID_FIELD_TYPE = 2;
inline constexpr ResultCode RESULT_INVALID_HANDLE = 3;
inline constexpr ResultCode RESULT_INVALID_TIME = 4;
inline constexpr ResultCode RESULT_NOT_SUPPORTED = 5;
inline constexpr ResultCode RESULT_INVALID_CONVERSION = 6;
inline constexpr ResultCode RESULT_INVALID_PARAMETER = 7;
inline constexpr ResultCode RESULT_OUT_OF_RANGE = 8;
inline constexpr ResultCode RESULT_PARAMETER_NOT_SET = 9;
inline constexpr ResultCode RESULT_CATALOGUE_END = 10;
inline constexpr ResultCode RESULT_INVALID_LOGIN = 11;
inline constexpr ResultCode RESULT_INVALID_PRECISION = 12;
inline constexpr ResultCode RESULT_NO_MORE_ROWS = 100;
inline constexpr ResultCode RESULT_CLIENT_ERROR = -1;
inline constexpr ResultCode RESULT_CLIENT_NO_MEMORY = -3;
inline constexpr ResultCode RESULT_CLIENT_NOT_SUPPORTED = -10;

// Option numbers are passed as 32-bit numbers and compared in their low 8 bits.
using OptionNumber = std::int32_t;
// An option value carries a 32-bit number or the address of a NUL-terminated
// text, a function or a record, so it is pointer-sized.
using OptionValue = std::intptr_t;

// Logical type of a result column or a parameter.
enum FieldType : std::uint16_t {
  FIELD_STRING = 1,
  FIELD_DATE = 2,
  FIELD_BLOB = 3,
  FIELD_INT16 = 5,
  FIELD_INT32 = 6,
  FIELD_FLOAT = 7,
  FIELD_BCD = 8,
  FIELD_TIME = 10,
  FIELD_TIMESTAMP = 24,
};

// Refinement of a field type; a string of any subtype but SUBTYPE_FIXED has a
// variable length.
enum FieldSubtype : std::uint16_t {
  SUBTYPE_NONE = 0,
  SUBTYPE_MEMO = 22,        // character blob, server type TEXT
  SUBTYPE_BINARY = 23,      // binary blob, server type BYTE
  SUBTYPE_FIXED = 31,       // fixed-length string, server type CHAR
  SUBTYPE_CHAR_LOB = 33,    // character large object, CLOB
  SUBTYPE_BINARY_LOB = 34,  // binary large object, BLOB
};

// Storage form of a column or parameter as the driver classes name it to their
// client access layer (1807 and 1808 are not used).
enum ClientType : std::uint16_t {
  CT_CHAR = 1793,
  CT_SMALLINT = 1794,
  CT_INTEGER = 1795,
  CT_SMALLFLOAT = 1796,
  CT_FLOAT = 1797,
  CT_MONEY = 1798,
  CT_DECIMAL = 1799,
  CT_DATE = 1800,
  CT_DATETIME = 1801,
  CT_INTERVAL = 1802,
  CT_SERIAL = 1803,
  CT_BYTE = 1804,
  CT_TEXT = 1805,
  CT_VARCHAR = 1806,
  CT_BLOB = 1809,
  CT_CLOB = 1810,
};

// Transaction isolation; any other number leaves the server's level unchanged.
enum IsolationLevel : std::int32_t {
  ISOLATION_COMMITTED_READ = 0,
  ISOLATION_REPEATABLE_READ = 1,
  ISOLATION_DIRTY_READ = 2,
};

// Passed by reference to the three transaction operations. The driver reads
// only the isolation level (in its low 8 bits, sign-extended); the identifier
// is accepted and not used.
struct TransactionDesc {
  std::uint32_t transactionId;
  std::uint32_t globalFlags;
  std::int32_t isolationLevel;
  std::uint32_t customIsolation;
};
static_assert(offsetof(TransactionDesc, isolationLevel) == 8, "isolation level is the third 32-bit field");

// One per client connection, owned by it. Before each trace call the driver
// zero-fills `text`, copies at most 1024 characters of the message (so the text
// is NUL-terminated only when shorter), and sets `category` to 256.
// `clientValue` is the host's value from connection option 12; read it with
// traceClientValue (below), never through a reference to the member.
#pragma pack(push, 1)
struct TraceRecord {
  char text[1024];
  std::uint16_t category;
  std::uint16_t reserved;
  std::intptr_t clientValue;
};
#pragma pack(pop)
static_assert(sizeof(TraceRecord) == 1036, "trace record is 1036 bytes");
static_assert(offsetof(TraceRecord, category) == 1024, "trace category at 1024");
static_assert(offsetof(TraceRecord, clientValue) == 1028, "trace client value at 1028");

inline constexpr std::uint16_t TRACE_CATEGORY = 256;

// The client value of a trace record, copied out byte by byte. The member
// sits at offset 1028 of the packed record, which is no multiple of its size:
// a reference or pointer bound to it (`std::vector::push_back(r->clientValue)`
// takes one) reads a misaligned address. Hosts read it through this function.
inline std::intptr_t traceClientValue(const TraceRecord* record) {
  std::intptr_t value = 0;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(record) + offsetof(TraceRecord, clientValue),
              sizeof value);
  return value;
}

// Stores the client value the same way.
inline void setTraceClientValue(TraceRecord& record, std::intptr_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&record) + offsetof(TraceRecord, clientValue), &value, sizeof value);
}

// The host's trace callback (connection option 9): called with 1 and the
// connection's trace record, which stays owned by the driver and is valid only
// during the call. The result is ignored.
using TraceCallback = std::int32_t (*)(std::int32_t callType, TraceRecord* record);

// A date and time; fraction in thousandths of a second (the driver writes at
// most 999 and reads the fraction modulo 1000).
struct TimestampRecord {
  std::int16_t year;
  std::uint16_t month;
  std::uint16_t day;
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
  std::uint32_t fraction;
};
static_assert(sizeof(TimestampRecord) == 16, "timestamp record is 16 bytes");
static_assert(offsetof(TimestampRecord, fraction) == 12, "fraction at 12");

// A decimal number: `precision` the total count of digits; `signAndPlaces` bit
// 7 set for a negative number, bits 0-5 the count of digits after the point;
// `digits` two per byte, the first in the high half of digits[0], integer
// digits first.
struct BcdRecord {
  std::uint8_t precision;
  std::uint8_t signAndPlaces;
  std::uint8_t digits[32];
};
static_assert(sizeof(BcdRecord) == 34, "BCD record is 34 bytes");

inline constexpr std::uint8_t BCD_SIGN_BIT = 0x80;
inline constexpr std::uint8_t BCD_PLACES_MASK = 0x3F;

}  // namespace quovex
