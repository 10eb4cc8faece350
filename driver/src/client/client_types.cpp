#include "client_types.h"

namespace quovex::inf {

ResultCode clientTypeOfServerType(std::int32_t serverType, std::int32_t extendedTypeId, std::uint16_t& clientType) {
  clientType = 0;
  switch (serverType & 0xFF) {
    case SERVER_CHAR:
    case SERVER_NCHAR: clientType = CT_CHAR; break;
    case SERVER_SMALLINT: clientType = CT_SMALLINT; break;
    case SERVER_INTEGER: clientType = CT_INTEGER; break;
    case SERVER_FLOAT: clientType = CT_FLOAT; break;
    case SERVER_SMALLFLOAT: clientType = CT_SMALLFLOAT; break;
    case SERVER_DECIMAL: clientType = CT_DECIMAL; break;
    case SERVER_SERIAL: clientType = CT_SERIAL; break;
    case SERVER_DATE: clientType = CT_DATE; break;
    case SERVER_MONEY: clientType = CT_MONEY; break;
    case SERVER_DATETIME: clientType = CT_DATETIME; break;
    case SERVER_BYTE: clientType = CT_BYTE; break;
    case SERVER_TEXT: clientType = CT_TEXT; break;
    case SERVER_VARCHAR:
    case SERVER_NVARCHAR: clientType = CT_VARCHAR; break;
    case SERVER_INTERVAL: clientType = CT_INTERVAL; break;
    case SERVER_OPAQUE_FIXED: clientType = extendedTypeId == kExtendedTypeClob ? CT_CLOB : CT_BLOB; break;
    case SERVER_INT8:
    case SERVER_SERIAL8:
    case SERVER_BIGINT:
    case SERVER_BIGSERIAL: clientType = CT_DECIMAL; break;
    case SERVER_BOOLEAN: clientType = CT_SMALLINT; break;
    case SERVER_LVARCHAR: clientType = CT_VARCHAR; break;
    default: {
      const int low = serverType & 0xFF;
      return (low == SERVER_NULL || low >= 49) ? RESULT_CLIENT_ERROR : RESULT_INVALID_FIELD_TYPE;
    }
  }
  return RESULT_OK;
}

std::int16_t serverTypeOfClientType(std::uint16_t clientType) {
  switch (clientType) {
    case CT_CHAR:
    case CT_INTERVAL: return SERVER_CHAR;
    case CT_SMALLINT: return SERVER_SMALLINT;
    case CT_INTEGER: return SERVER_INTEGER;
    case CT_SMALLFLOAT: return SERVER_SMALLFLOAT;
    case CT_FLOAT: return SERVER_FLOAT;
    case CT_MONEY:
    case CT_DECIMAL: return SERVER_DECIMAL;
    case CT_DATE: return SERVER_DATE;
    case CT_DATETIME: return SERVER_DATETIME;
    case CT_SERIAL: return SERVER_SERIAL;
    case CT_BYTE: return SERVER_BYTE;
    case CT_TEXT: return SERVER_TEXT;
    case CT_VARCHAR: return SERVER_VARCHAR;
    case CT_BLOB:
    case CT_CLOB: return SERVER_OPAQUE_FIXED;
    default: return -1;
  }
}

bool isExact64Type(std::int32_t serverType) {
  switch (serverType & 0xFF) {
    case SERVER_INT8:
    case SERVER_SERIAL8:
    case SERVER_BIGINT:
    case SERVER_BIGSERIAL: return true;
    default: return false;
  }
}

const char* serverTypeName(std::int32_t serverType) {
  switch (serverType & 0xFF) {
    case SERVER_NULL: return "NULL";
    case 19: return "SET";
    case 20: return "MULTISET";
    case 21: return "LIST";
    case 22: return "ROW";
    case 23: return "COLLECTION";
    case 40: return "variable-length opaque type";
    case 44: return "SENDRECV";
    case 46: return "IMPEXP";
    case 47: return "IMPEXPBIN";
    default: return nullptr;
  }
}

bool isLocatorType(std::uint16_t clientType) { return clientType == CT_BYTE || clientType == CT_TEXT; }

bool isLargeObjectType(std::uint16_t clientType) { return clientType == CT_BLOB || clientType == CT_CLOB; }

}  // namespace quovex::inf
