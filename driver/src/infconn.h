// INFConnection: one named connection of the client runtime to one database.
//
// Ownership: the connection owns its ClientConnection record from connect to
// disconnect (or to the failure of connect). Commands and metadata objects it
// creates reach it and that record through a shared ConnectionLink, which the
// connection clears when it goes: released in any order, they never reach
// freed memory, and once the connection is gone they answer
// RESULT_INVALID_HANDLE. Options 2, 9, 10, 12 and 19 outlive a disconnect and
// apply to the next connect.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "client/client_connection.h"
#include "client/client_error.h"
#include "object_links.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFConnection final : public SQLConnection {
 public:
  static constexpr int kOptionSizeSetting = 2;
  static constexpr std::size_t kNameSize = 32;  // at most 31 characters and a NUL

  // A new connection with count 0, or null when it cannot be allocated.
  static INFConnection* create() noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode connect(const char* database, const char* user, const char* password) noexcept override;
  ResultCode disconnect() noexcept override;
  ResultCode createCommand(SQLCommand** command) noexcept override;
  ResultCode createMetaData(SQLMetaData** metadata) noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;
  ResultCode beginTransaction(TransactionDesc* desc) noexcept override;
  ResultCode commitTransaction(TransactionDesc* desc) noexcept override;
  ResultCode rollbackTransaction(TransactionDesc* desc) noexcept override;
  ResultCode errorMessage(char* text) noexcept override;
  ResultCode errorMessageLength(std::int16_t* length) noexcept override;

  // The client record while connected, else null. Owned by this connection.
  ClientConnection* clientRecord() const { return client_.get(); }
  // What the objects made from this connection share with it.
  const Shared<ConnectionLink>& link() const { return link_; }
  std::int32_t sizeSetting() const { return sizeSetting_; }

 private:
  INFConnection() = default;
  ~INFConnection();

  // Makes `record` (possibly null) the client record, and tells the link.
  void setClientRecord(std::unique_ptr<ClientConnection> record);
  // Keeps the status of `record`, about to go, for the error text.
  void retain(const ClientConnection& record);

  ResultCode openConnection(const char* database, const char* user, const char* password);
  ResultCode runTransaction(const TransactionDesc* desc, TransactionKind kind);
  ResultCode setNameOption(char (&name)[kNameSize], OptionValue value);
  ResultCode getNameOption(const char (&name)[kNameSize], void* value, std::int16_t maxLength,
                           std::int16_t* length) const;

  std::unique_ptr<ClientConnection> client_;
  Shared<ConnectionLink> link_;
  bool connected_ = false;
  ReferenceCount references_;
  std::int32_t sizeSetting_ = 0;
  std::int16_t isolationLevel_ = ISOLATION_COMMITTED_READ;
  OptionValue traceValue_ = 0;
  TraceCallback traceCallback_ = nullptr;
  char errorText_[kErrorTextSize] = {};
  std::int16_t errorLength_ = 0;
  char serverName_[kNameSize] = {};
  char connectionName_[kNameSize] = {};
  // Status of the last client call once its record is gone (failed connect,
  // disconnect), for the error text.
  std::optional<std::int32_t> retainedStatus_;
  StatusDetails retainedDetails_;
};

}  // namespace quovex::inf
