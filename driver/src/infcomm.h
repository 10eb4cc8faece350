// INFCommand: prepares and executes SQL texts and stored procedures on its
// connection. It reaches the INFConnection that created it through their
// shared link and works through its own ClientStatement on the connection's
// client record; once that connection is gone, disconnected or connected
// again, the statement is out of reach and the command answers
// RESULT_INVALID_HANDLE.
//
// The command owns everything its result cursor reads: the column
// descriptors, the row buffer and the client statement with its cursor. A
// cursor is handed out by execute when the statement returns columns; its
// last release closes the command's results, and the command can be
// executed again.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "client/client_error.h"
#include "client/client_statement.h"
#include "client/column_layout.h"
#include "client/command_parameters.h"
#include "object_links.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFConnection;
class INFCursor;

class INFCommand final : public SQLCommand {
 public:
  static constexpr int kOptionSizeSetting = 1;
  static constexpr std::size_t kProcedureNameSize = 32;  // at most 31 characters and a NUL

  // A new command on the linked connection with count 0, or null when it cannot be allocated.
  static INFCommand* create(Shared<ConnectionLink> connection) noexcept;

  // Makes the command's client statement on the connection's client record:
  // RESULT_INVALID_HANDLE without a record, RESULT_CLIENT_NO_MEMORY when it
  // cannot be allocated; the command then exists without statement.
  ResultCode attachClientStatement(ClientConnection* client) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;
  ResultCode setParameter(std::uint16_t number, std::uint16_t childPosition, std::uint8_t direction,
                          std::uint16_t fieldType, std::uint16_t subtype, std::int32_t precision, std::int32_t scale,
                          std::uint32_t length, void* value, std::int32_t isNull) noexcept override;
  ResultCode getParameter(std::uint16_t number, std::uint16_t childPosition, void* value,
                          std::int32_t bufferLength, std::int32_t* isNull) noexcept override;
  ResultCode prepare(const char* sql, std::uint16_t parameterCount) noexcept override;
  ResultCode execute(SQLCursor** cursor) noexcept override;
  ResultCode executeDirect(const char* sql, SQLCursor** cursor) noexcept override;
  // nextResult keeps the base default: a command never has a second result set.
  ResultCode rowsAffected(std::int32_t* count) noexcept override;
  ResultCode close() noexcept override;
  ResultCode errorMessage(char* text) noexcept override;
  ResultCode errorMessageLength(std::int16_t* length) noexcept override;

  // What the result cursor `cursor` reads, valid from execute to close: the
  // columns and row buffer are those of the current cursor only (an older
  // cursor of this command sees no columns and no row buffer).
  const std::vector<ColumnDescriptor>& columns(const INFCursor* cursor) const;
  RowBuffer* rowBuffer(const INFCursor* cursor);
  // The client statement while the connection that made it is still open, else null.
  ClientStatement* clientStatement() const;
  // Called by a cursor's last release: closes the results when they are its own.
  void cursorReleased(const INFCursor* cursor);

 private:
  explicit INFCommand(Shared<ConnectionLink> connection)
      : connection_(std::move(connection)), session_(connection_->session) {}
  ~INFCommand();

  ResultCode bindValue(ParameterRecord& record, const void* value, std::uint32_t length) noexcept;
  ResultCode makeParameterList(std::uint16_t count);
  ResultCode bindParameter(std::uint16_t number);
  bool everyParameterSet() const;
  ResultCode buildProcedure();
  // Runs the prepared statement with `valueCount` parameter values.
  ResultCode executeCore(SQLCursor** cursor, std::size_t valueCount);
  ResultCode openResultCursor(SQLCursor** cursor);
  void dropResults();

  ReferenceCount references_;
  Shared<ConnectionLink> connection_;
  std::uint64_t session_;  // the connect whose client record the statement was made on
  Shared<CommandLink> cursors_;  // shared with every cursor handed out
  std::unique_ptr<ClientStatement> statement_;
  std::int32_t rowsAffected_ = 0;
  std::vector<ColumnDescriptor> columns_;
  RowBuffer rowBuffer_;
  bool rowBufferReady_ = false;
  INFCursor* cursor_ = nullptr;  // the cursor of the current results, not counted
  std::uint16_t parameterCount_ = 0;
  std::vector<ParameterRecord> parameters_;
  bool procedureMode_ = false;
  bool procedureBuilt_ = false;
  char procedureName_[kProcedureNameSize] = {};
  char errorText_[kErrorTextSize] = {};
  std::int16_t errorLength_ = 0;
  std::int32_t sizeSetting_ = 0;  // option 1; stored, no other effect
};

}  // namespace quovex::inf
