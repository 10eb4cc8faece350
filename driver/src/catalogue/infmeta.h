// INFMetadata: answers catalogue questions for its connection. Each listing
// composes one statement over the Informix system catalogue
// (catalogue_statements.h), runs it through a new command of the connection,
// and hands the host an INFMetadataCursor that owns that command and its
// data cursor and shapes every row.
//
// It reaches the INFConnection that created it through their shared link;
// once the connection is gone or disconnected, listings and connection
// options answer RESULT_INVALID_HANDLE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue_statements.h"
#include "object_links.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFConnection;

class INFMetadata final : public SQLMetaData {
 public:
  // A new metadata object for `connection` with count 0, or null when it cannot be allocated.
  static INFMetadata* create(Shared<ConnectionLink> connection) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;
  ResultCode listObjects(std::int32_t objectKind, SQLCursor** cursor) noexcept override;
  ResultCode listTables(const char* tablePattern, std::uint32_t typeMask, SQLCursor** cursor) noexcept override;
  ResultCode listProcedures(const char* procedurePattern, std::uint32_t typeMask,
                            SQLCursor** cursor) noexcept override;
  ResultCode listColumns(const char* tableName, const char* columnPattern, std::uint32_t typeMask,
                         SQLCursor** cursor) noexcept override;
  ResultCode listProcedureParameters(const char* procedureName, const char* parameterPattern,
                                     SQLCursor** cursor) noexcept override;
  ResultCode listIndexes(const char* tableName, std::uint32_t typeMask, SQLCursor** cursor) noexcept override;
  ResultCode errorMessage(char* text) noexcept override;
  ResultCode errorMessageLength(std::int16_t* length) noexcept override;

 private:
  explicit INFMetadata(Shared<ConnectionLink> connection) : connection_(std::move(connection)) {}
  ~INFMetadata() = default;

  // What a listing runs and how its cursor shapes the rows.
  struct Listing {
    CatalogueKind kind;
    std::uint32_t mask;
    bool objectList;
    ResultCode prepareFailure;  // the result when prepare fails; 0 keeps prepare's own code
  };

  // Runs `statement` through a new command and hands out its catalogue
  // cursor; on failure nothing is handed out and the command is released.
  ResultCode runListing(const Listing& listing, const std::string& statement, SQLCursor** cursor);
  ResultCode connectionOption(OptionNumber option, void* value, std::int16_t maxLength, std::int16_t* length);

  ReferenceCount references_;
  std::uint32_t lastMask_ = 0;
  CatalogueKind lastKind_ = CATALOGUE_DATABASES;
  Shared<ConnectionLink> connection_;
  // Never set: a failed listing's text stays with its command.
  std::optional<std::string> errorText_;
  std::optional<std::string> optionText_;  // option 1
};

}  // namespace quovex::inf
