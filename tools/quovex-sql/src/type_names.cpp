// Decoding syscolumns.coltype and collength into Informix type names.
#include "type_names.h"

namespace quovexsql {

namespace {

// Time units of a DATETIME or INTERVAL qualifier, by their code.
std::string unitName(int code) {
  switch (code) {
    case 0:
      return "year";
    case 2:
      return "month";
    case 4:
      return "day";
    case 6:
      return "hour";
    case 8:
      return "minute";
    case 10:
      return "second";
    default:
      return code > 10 && code <= 15 ? "fraction(" + std::to_string(code - 10) + ")" : "?";
  }
}

// collength of DATETIME and INTERVAL: digits in bits 8-15, first unit in
// bits 4-7, last unit in bits 0-3. The units after the first take
// (last - first) digits, so the first takes the rest: its precision.
std::string qualifier(int collength, bool interval) {
  const int digits = (collength >> 8) & 0xFF;
  const int first = (collength >> 4) & 0x0F;
  const int last = collength & 0x0F;
  std::string firstName = first > 10 ? "fraction" : unitName(first);
  if (interval && first <= 10) firstName += "(" + std::to_string(digits - (last - first)) + ")";
  return firstName + " to " + unitName(last);
}

// DECIMAL and MONEY: precision in the high byte, scale in the low one (255:
// a floating decimal, no scale).
std::string precisionAndScale(const char* name, int collength) {
  const int precision = (collength >> 8) & 0xFF;
  const int scale = collength & 0xFF;
  if (scale == 0xFF) return std::string(name) + "(" + std::to_string(precision) + ")";
  return std::string(name) + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
}

// VARCHAR and NVARCHAR: largest size in the low byte, reserved in the high.
std::string varyingSize(const char* name, int collength) {
  const int largest = collength & 0xFF;
  const int reserved = (collength >> 8) & 0xFF;
  std::string text = std::string(name) + "(" + std::to_string(largest);
  if (reserved != 0) text += "," + std::to_string(reserved);
  return text + ")";
}

}  // namespace

std::string columnTypeName(int coltype, int collength, const std::string& extendedName) {
  const std::string length = std::to_string(collength);
  switch (coltype & 0xFF) {
    case 0:
      return "char(" + length + ")";
    case 1:
      return "smallint";
    case 2:
      return "integer";
    case 3:
      return "float";
    case 4:
      return "smallfloat";
    case 5:
      return precisionAndScale("decimal", collength);
    case 6:
      return "serial";
    case 7:
      return "date";
    case 8:
      return precisionAndScale("money", collength);
    case 10:
      return "datetime " + qualifier(collength, false);
    case 11:
      return "byte";
    case 12:
      return "text";
    case 13:
      return varyingSize("varchar", collength);
    case 14:
      return "interval " + qualifier(collength, true);
    case 15:
      return "nchar(" + length + ")";
    case 16:
      return varyingSize("nvarchar", collength);
    case 17:
      return "int8";
    case 18:
      return "serial8";
    case 40:
    case 41:
      return extendedName.empty() ? "extended type " + std::to_string(coltype & 0xFF) : extendedName;
    case 43:
      return "lvarchar(" + length + ")";
    case 45:
      return "boolean";
    case 52:
      return "bigint";
    case 53:
      return "bigserial";
    default:
      return "type " + std::to_string(coltype & 0xFF);
  }
}

}  // namespace quovexsql
