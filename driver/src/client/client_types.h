// Type numbers of the client access layer: the Informix server type numbers
// a described column or a bound value carries, and the ClientType codes the
// driver classes name storage forms by.
#pragma once

#include <cstdint>

#include "quovex/types.h"

namespace quovex::inf {

// Informix server type numbers (the low 8 bits of a described type).
enum ServerType : std::int16_t {
  SERVER_CHAR = 0,
  SERVER_SMALLINT = 1,
  SERVER_INTEGER = 2,
  SERVER_FLOAT = 3,
  SERVER_SMALLFLOAT = 4,
  SERVER_DECIMAL = 5,
  SERVER_SERIAL = 6,
  SERVER_DATE = 7,
  SERVER_MONEY = 8,
  SERVER_NULL = 9,
  SERVER_DATETIME = 10,
  SERVER_BYTE = 11,
  SERVER_TEXT = 12,
  SERVER_VARCHAR = 13,
  SERVER_INTERVAL = 14,
  SERVER_NCHAR = 15,
  SERVER_NVARCHAR = 16,
  SERVER_INT8 = 17,
  SERVER_SERIAL8 = 18,
  SERVER_OPAQUE_FIXED = 41,
  SERVER_LVARCHAR = 43,
  SERVER_BOOLEAN = 45,
  SERVER_BIGINT = 52,
  SERVER_BIGSERIAL = 53,
};

// A 64-bit integer column (INT8, SERIAL8, BIGINT, BIGSERIAL): the contract
// has no 64-bit reader, so such a column is carried as a decimal of 19
// digits without fraction, which holds every value exactly.
bool isExact64Type(std::int32_t serverType);
inline constexpr std::uint16_t kExact64Digits = 19;
// A BOOLEAN column is carried as a 16-bit integer 0 or 1.
inline constexpr std::int32_t kBooleanSlotSize = 2;

// The Informix name of a server type number the driver cannot carry, for
// texts; null for a number without a name.
const char* serverTypeName(std::int32_t serverType);

// Extended type id of a fixed-size opaque column holding a CLOB; any other
// id of such a column is a BLOB.
inline constexpr std::int32_t kExtendedTypeClob = 11;
inline constexpr std::int32_t kExtendedTypeBlob = 10;

// The client type of a described column. RESULT_OK with the code (the
// 64-bit integers map to CT_DECIMAL, BOOLEAN to CT_SMALLINT, LVARCHAR to
// CT_VARCHAR); RESULT_CLIENT_ERROR for NULL (9) and other numbers 49 to 255;
// RESULT_INVALID_FIELD_TYPE for every other number without a mapping. The
// code is 0 on failure. Only the low 8 bits of `serverType` are looked at.
ResultCode clientTypeOfServerType(std::int32_t serverType, std::int32_t extendedTypeId, std::uint16_t& clientType);

// The server type number a value of `clientType` is bound with; -1 for a
// code that has none.
std::int16_t serverTypeOfClientType(std::uint16_t clientType);

bool isLocatorType(std::uint16_t clientType);      // BYTE, TEXT: in-memory locator
bool isLargeObjectType(std::uint16_t clientType);  // BLOB, CLOB: large-object handle

}  // namespace quovex::inf
