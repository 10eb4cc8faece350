// A host program of the installed driver, built by check-installed.sh from
// outside the source tree with only the installed contract headers:
//   host <driver library> <database> <select>
// loads the driver with dlopen, connects, runs the select and prints the
// first column of every row, rows joined by "|". Exit status 0 when every
// step succeeded.
#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

#include <quovex/quovex.h>

namespace {

std::string bcdText(const quovex::BcdRecord& bcd) {
  std::string digits;
  for (int i = 0; i < bcd.precision; ++i) {
    const std::uint8_t pair = bcd.digits[i / 2];
    digits += static_cast<char>('0' + (i % 2 == 0 ? pair >> 4 : pair & 0x0F));
  }
  const auto places = static_cast<std::size_t>(bcd.signAndPlaces & quovex::BCD_PLACES_MASK);
  std::string text = (bcd.signAndPlaces & quovex::BCD_SIGN_BIT) != 0 ? "-" : "";
  std::string whole = digits.substr(0, digits.size() - places);
  whole.erase(0, whole.find_first_not_of('0'));
  text += whole.empty() ? "0" : whole;
  if (places > 0) text += "." + digits.substr(digits.size() - places);
  return text;
}

// The first column of the current row as text, or nothing on a failure.
bool firstColumn(quovex::SQLCursor& cursor, std::string* text) {
  std::uint16_t type = 0, subtype = 0;
  std::int32_t length = 0, isNull = 0;
  if (cursor.columnType(1, &type, &subtype) != quovex::RESULT_OK) return false;
  if (cursor.columnLength(1, &length) != quovex::RESULT_OK) return false;
  if (type == quovex::FIELD_STRING) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    if (cursor.readString(1, buffer.data(), &isNull) != quovex::RESULT_OK) return false;
    *text = buffer.data();
  } else if (type == quovex::FIELD_INT32) {
    std::int32_t value = 0;
    if (cursor.readLong(1, &value, &isNull) != quovex::RESULT_OK) return false;
    *text = std::to_string(value);
  } else if (type == quovex::FIELD_INT16) {
    std::int16_t value = 0;
    if (cursor.readShort(1, &value, &isNull) != quovex::RESULT_OK) return false;
    *text = std::to_string(value);
  } else if (type == quovex::FIELD_BCD) {
    quovex::BcdRecord value{};
    if (cursor.readBcd(1, &value, &isNull) != quovex::RESULT_OK) return false;
    *text = bcdText(value);
  } else {
    std::fprintf(stderr, "host: column type %u is not read here\n", type);
    return false;
  }
  if (isNull != 0) *text = "NULL";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: host <driver library> <database> <select>\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "host: %s\n", dlerror());
    return 1;
  }
  auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(dlsym(library, quovex::kEntryPointName));
  quovex::SQLDriver* driver = nullptr;
  if (entry == nullptr || entry(nullptr, nullptr, &driver) != quovex::RESULT_OK) {
    std::fprintf(stderr, "host: no driver from %s\n", argv[1]);
    return 1;
  }
  quovex::SQLConnection* connection = nullptr;
  quovex::SQLCommand* command = nullptr;
  quovex::SQLCursor* cursor = nullptr;
  bool ok = driver->createConnection(&connection) == quovex::RESULT_OK &&
            connection->connect(argv[2], "", "") == quovex::RESULT_OK &&
            connection->createCommand(&command) == quovex::RESULT_OK &&
            command->executeDirect(argv[3], &cursor) == quovex::RESULT_OK && cursor != nullptr;
  std::string rows;
  if (ok) {
    quovex::ResultCode fetched = quovex::RESULT_OK;
    while ((fetched = cursor->fetchNext()) == quovex::RESULT_OK) {
      std::string value;
      if (!firstColumn(*cursor, &value)) {
        ok = false;
        break;
      }
      rows += (rows.empty() ? "" : "|") + value;
    }
    ok = ok && fetched == quovex::RESULT_NO_MORE_ROWS;
  }
  if (!ok) std::fprintf(stderr, "host: the query failed\n");
  std::printf("%s\n", rows.c_str());
  if (cursor != nullptr) cursor->release();
  if (command != nullptr) command->release();
  if (connection != nullptr) {
    connection->disconnect();
    connection->release();
  }
  driver->release();
  return ok ? 0 : 1;
}
