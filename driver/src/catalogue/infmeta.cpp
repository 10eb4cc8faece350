#include "infmeta.h"

#include <cstring>
#include <new>

#include "infconn.h"
#include "infmetacurs.h"
#include "shield.h"

namespace quovex::inf {
namespace {

constexpr std::uint32_t kParameterListingMask = 999;
constexpr std::int32_t kLargeLimit = 32768;
constexpr std::int32_t kStatementLimit = 4096;

// Connection options some metadata options answer with.
enum ConnectionOption : OptionNumber {
  kConnectionIsolation = 6,
  kConnectionNoEffect = 8,
  kConnectionServerName = 10,
  kConnectionReadsZeroByte = 18,
  kConnectionLogged = 21,
};

// Writes a 32-bit number and, when a place is given, the length 4.
ResultCode writeNumber(void* value, std::int32_t number, std::int16_t* length) {
  if (value == nullptr) return RESULT_INVALID_PARAMETER;
  std::memcpy(value, &number, sizeof number);
  if (length != nullptr) *length = sizeof number;
  return RESULT_OK;
}

}  // namespace

INFMetadata* INFMetadata::create(Shared<ConnectionLink> connection) noexcept {
  return new (std::nothrow) INFMetadata(std::move(connection));
}

ResultCode INFMetadata::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFMetadata::addRef() noexcept { return references_.add(); }

std::int32_t INFMetadata::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) delete this;
  return count;
}

ResultCode INFMetadata::setOption(OptionNumber option, OptionValue value) noexcept {
  if ((option & 0xFF) != 1) return RESULT_OK;  // every other option is ignored
  return shielded([&] {
    const auto* text = reinterpret_cast<const char*>(value);
    if (text == nullptr) {
      optionText_.reset();
    } else {
      optionText_ = text;
    }
    return RESULT_OK;
  });
}

ResultCode INFMetadata::connectionOption(OptionNumber option, void* value, std::int16_t maxLength,
                                         std::int16_t* length) {
  INFConnection* connection = connection_->connection;
  if (connection == nullptr) return RESULT_INVALID_HANDLE;
  return connection->getOption(option, value, maxLength, length);
}

ResultCode INFMetadata::getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                  std::int16_t* length) noexcept {
  switch (static_cast<std::int8_t>(option)) {
    case 0:
      if (length != nullptr) *length = 0;
      return writeNumber(value, 0, nullptr);
    case 1: {
      if (!optionText_) {
        if (length != nullptr) *length = 0;
        return writeNumber(value, 0, nullptr);
      }
      if (value == nullptr) return RESULT_INVALID_PARAMETER;
      const auto size = static_cast<std::int32_t>(optionText_->size() + 1);
      // Copied only into a buffer that holds it; a smaller one gets an empty text.
      if (size <= maxLength) {
        std::memcpy(value, optionText_->c_str(), static_cast<std::size_t>(size));
      } else if (maxLength > 0) {
        static_cast<char*>(value)[0] = '\0';
      }
      if (length != nullptr) *length = static_cast<std::int16_t>(size);
      return RESULT_OK;
    }
    case 2: return connectionOption(kConnectionServerName, value, maxLength, length);
    case 3: return connectionOption(kConnectionNoEffect, value, maxLength, length);
    case 4: return connectionOption(kConnectionIsolation, value, maxLength, length);
    case 5: {
      const ResultCode result = connectionOption(kConnectionLogged, value, maxLength, length);
      if (length != nullptr) *length = 4;
      return result;
    }
    case 6:
    case 12: return RESULT_NOT_SUPPORTED;
    case 7:
    case 8:
    case 9: return writeNumber(value, kLargeLimit, length);
    case 10: return writeNumber(value, kStatementLimit, length);
    case 11: return connectionOption(kConnectionReadsZeroByte, value, 4, length);
    case 13:
    case 14:
    case 15: return writeNumber(value, 0, length);
    default: return RESULT_OK;
  }
}

ResultCode INFMetadata::errorMessage(char* text) noexcept {
  if (text != nullptr && errorText_) std::memcpy(text, errorText_->c_str(), errorText_->size() + 1);
  return RESULT_OK;
}

ResultCode INFMetadata::errorMessageLength(std::int16_t* length) noexcept {
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  *length = errorText_ ? static_cast<std::int16_t>(errorText_->size()) : 0;
  return RESULT_OK;
}

ResultCode INFMetadata::runListing(const Listing& listing, const std::string& statement, SQLCursor** cursor) {
  lastKind_ = listing.kind;
  lastMask_ = listing.mask;
  INFConnection* connection = connection_->connection;
  if (connection == nullptr || connection->clientRecord() == nullptr) return RESULT_INVALID_HANDLE;
  SQLCommand* command = nullptr;
  ResultCode result = connection->createCommand(&command);
  if (result == RESULT_OK) {
    result = command->prepare(statement.c_str(), 0);
    if (result != RESULT_OK && listing.prepareFailure != RESULT_OK) result = listing.prepareFailure;
  }
  SQLCursor* inner = nullptr;
  if (result == RESULT_OK) {
    result = command->execute(&inner);
    if (result == RESULT_OK && inner == nullptr) result = RESULT_INVALID_HANDLE;
  }
  INFMetadataCursor* made = nullptr;
  if (result == RESULT_OK) {
    made = INFMetadataCursor::create(command, inner, {listing.kind, listing.mask, listing.objectList},
                                     connection_);
    if (made == nullptr) result = RESULT_NO_MEMORY;
  }
  if (result != RESULT_OK) {
    // No cursor takes them over: the data cursor, then its command, go now.
    if (inner != nullptr) inner->release();
    if (command != nullptr) command->release();
    return result;
  }
  made->addRef();
  if (cursor != nullptr) {
    *cursor = made;
  } else {
    made->release();  // nowhere to hand it: not kept
  }
  return RESULT_OK;
}

ResultCode INFMetadata::listObjects(std::int32_t objectKind, SQLCursor** cursor) noexcept {
  return shielded([&] {
    const auto kind = static_cast<CatalogueKind>(static_cast<std::uint8_t>(objectKind));
    const std::optional<std::string> statement = objectListStatement(objectKind);
    if (!statement) {
      lastKind_ = kind;
      lastMask_ = 0;
      return RESULT_NOT_SUPPORTED;
    }
    const ResultCode prepareFailure = kind == CATALOGUE_DATABASES ? RESULT_NOT_SUPPORTED : RESULT_OK;
    return runListing({kind, 0, true, prepareFailure}, *statement, cursor);
  });
}

ResultCode INFMetadata::listTables(const char* tablePattern, std::uint32_t typeMask, SQLCursor** cursor) noexcept {
  return shielded([&] {
    return runListing({CATALOGUE_TABLES, typeMask, false, RESULT_OK}, tablesStatement(tablePattern, typeMask),
                      cursor);
  });
}

ResultCode INFMetadata::listProcedures(const char* procedurePattern, std::uint32_t typeMask,
                                       SQLCursor** cursor) noexcept {
  return shielded([&] {
    return runListing({CATALOGUE_PROCEDURES, typeMask, false, RESULT_OK},
                      proceduresStatement(procedurePattern, typeMask), cursor);
  });
}

ResultCode INFMetadata::listColumns(const char* tableName, const char* columnPattern, std::uint32_t typeMask,
                                    SQLCursor** cursor) noexcept {
  return shielded([&] {
    return runListing({CATALOGUE_COLUMNS, typeMask, false, RESULT_OK}, columnsStatement(tableName, columnPattern),
                      cursor);
  });
}

ResultCode INFMetadata::listProcedureParameters(const char* procedureName, const char* /*parameterPattern*/,
                                                SQLCursor** cursor) noexcept {
  return shielded([&] {
    return runListing({CATALOGUE_PROCEDURE_PARAMETERS, kParameterListingMask, false, RESULT_OK},
                      procedureParametersStatement(procedureName), cursor);
  });
}

ResultCode INFMetadata::listIndexes(const char* tableName, std::uint32_t typeMask, SQLCursor** cursor) noexcept {
  return shielded([&] {
    return runListing({CATALOGUE_INDEXES, typeMask, false, RESULT_OK}, indexesStatement(tableName, typeMask),
                      cursor);
  });
}

}  // namespace quovex::inf
