#include "infconn.h"

#include <cstring>
#include <new>
#include <string>

#include "infcomm.h"
#include "catalogue/infmeta.h"
#include "option_values.h"
#include "shield.h"

namespace quovex::inf {
namespace {

enum ConnectionOption {
  kOptionSizeSetting = 2,
  kOptionIsolation = 6,
  kOptionRefusedByLayer = 7,
  kOptionAcceptedNoEffect = 8,
  kOptionTraceCallback = 9,
  kOptionServerName = 10,
  kOptionTraceValue = 12,
  kOptionReadsZero = 14,
  kOptionReadsZeroByte = 18,
  kOptionConnectionName = 19,
  kOptionLogged = 21,
};

// The level in a transaction descriptor: its low 8 bits, sign-extended.
std::int16_t descriptorLevel(const TransactionDesc& desc) {
  return static_cast<std::int8_t>(static_cast<std::uint32_t>(desc.isolationLevel) & 0xFF);
}

}  // namespace

INFConnection* INFConnection::create() noexcept {
  auto* made = new (std::nothrow) INFConnection;
  if (made == nullptr) return nullptr;
  made->link_ = Shared<ConnectionLink>::make();
  if (!made->link_) {
    delete made;
    return nullptr;
  }
  made->link_->connection = made;
  return made;
}

INFConnection::~INFConnection() {
  if (!link_) return;
  link_->connection = nullptr;
  link_->client = nullptr;
}

void INFConnection::retain(const ClientConnection& record) {
  retainedStatus_ = record.lastStatus;
  retainedDetails_ = record.details;
}

void INFConnection::setClientRecord(std::unique_ptr<ClientConnection> record) {
  client_ = std::move(record);
  link_->client = client_.get();
  if (client_) ++link_->session;
}

ResultCode INFConnection::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFConnection::addRef() noexcept { return references_.add(); }

std::int32_t INFConnection::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) {
    // Released while still connected: nothing commits, but the runtime
    // connection is closed (the runtime rolls back an open transaction) and
    // the record freed, since nothing else can reach them any more.
    if (client_) abandonClientDatabase(*client_);
    delete this;
  }
  return count;
}

ResultCode INFConnection::connect(const char* database, const char* user, const char* password) noexcept {
  // A second connect would drop the open record and its runtime connection.
  if (client_) {
    client_->lastStatus = kStatusAlreadyConnected;
    client_->details = StatusDetails{};
    return RESULT_INVALID_LOGIN;
  }
  return shielded([&] { return openConnection(database ? database : "", user, password); });
}

ResultCode INFConnection::openConnection(const char* database, const char* user, const char* password) {
  std::unique_ptr<ClientConnection> record;
  if (ResultCode made = makeClientConnection(record); made != RESULT_OK) return made;
  if (traceCallback_ != nullptr) {
    setClientTraceCallback(*record, traceCallback_);
    setClientTraceValue(*record, traceValue_);
  }
  if (setClientConnectionName(*record, connectionName_) != RESULT_OK) return RESULT_NO_MEMORY;
  ConnectText text;
  try {
    text = makeConnectText(database, serverName_, connectionName_);
  } catch (const std::bad_alloc&) {
    return RESULT_CLIENT_NO_MEMORY;
  }
  if (ResultCode opened = openClientDatabase(*record, text, user, password); opened != RESULT_OK) {
    retain(*record);
    return opened;
  }
  if (record->logged()) {
    if (ResultCode applied = applyClientIsolation(*record, isolationLevel_); applied != RESULT_OK) {
      // A connect that fails leaves nothing open, so that a retry can succeed.
      retain(*record);
      abandonClientDatabase(*record);
      return applied;
    }
  }
  setClientRecord(std::move(record));
  connected_ = true;
  retainedStatus_.reset();
  return RESULT_OK;
}

ResultCode INFConnection::disconnect() noexcept {
  if (!client_) return RESULT_INVALID_HANDLE;
  if (ResultCode closed = closeClientDatabase(*client_); closed != RESULT_OK) return closed;
  retain(*client_);
  setClientRecord(nullptr);
  connected_ = false;
  return RESULT_OK;
}

ResultCode INFConnection::createCommand(SQLCommand** command) noexcept {
  if (command == nullptr) return RESULT_OK;
  INFCommand* made = INFCommand::create(link_);
  if (made == nullptr) return RESULT_NO_MEMORY;
  made->setOption(INFCommand::kOptionSizeSetting, sizeSetting_);
  const ResultCode attached = made->attachClientStatement(client_.get());
  made->addRef();
  *command = made;
  return attached;
}

ResultCode INFConnection::createMetaData(SQLMetaData** metadata) noexcept {
  if (metadata == nullptr) return RESULT_OK;
  INFMetadata* made = INFMetadata::create(link_);
  if (made == nullptr) return RESULT_NO_MEMORY;
  made->addRef();
  *metadata = made;
  return RESULT_OK;
}

ResultCode INFConnection::setOption(OptionNumber option, OptionValue value) noexcept {
  switch (optionKey(option)) {
    case kOptionSizeSetting:
      sizeSetting_ = static_cast<std::int32_t>(value);
      return RESULT_OK;
    case kOptionIsolation:
      isolationLevel_ = static_cast<std::int16_t>(value);
      if (connected_ && client_ && client_->logged()) return applyClientIsolation(*client_, isolationLevel_);
      return RESULT_OK;
    case kOptionAcceptedNoEffect:
      return RESULT_OK;
    case kOptionTraceCallback:
      traceCallback_ = reinterpret_cast<TraceCallback>(value);
      if (connected_ && client_) {
        // The host's value goes along: it may have been given before any callback.
        setClientTraceCallback(*client_, traceCallback_);
        setClientTraceValue(*client_, traceValue_);
      }
      return RESULT_OK;
    case kOptionServerName:
      return setNameOption(serverName_, value);
    case kOptionTraceValue:
      traceValue_ = value;
      if (connected_ && client_) setClientTraceValue(*client_, traceValue_);
      return RESULT_OK;
    case kOptionConnectionName:
      if (connected_) return RESULT_OK;
      return setNameOption(connectionName_, value);
    default:
      return RESULT_NOT_SUPPORTED;
  }
}

ResultCode INFConnection::getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                    std::int16_t* length) noexcept {
  switch (optionKey(option)) {
    case kOptionSizeSetting:
      return writeNumber(value, sizeSetting_);
    case kOptionIsolation:
      return writeNumber(value, isolationLevel_);
    case kOptionRefusedByLayer:
      return client_ ? RESULT_CLIENT_NOT_SUPPORTED : RESULT_INVALID_HANDLE;
    case kOptionAcceptedNoEffect:
      return client_ ? writeNumber(value, 0) : RESULT_INVALID_HANDLE;
    case kOptionServerName:
      return getNameOption(serverName_, value, maxLength, length);
    case kOptionReadsZero:
      return writeNumber(value, 0);
    case kOptionReadsZeroByte:
      if (value == nullptr) return RESULT_INVALID_PARAMETER;
      *static_cast<char*>(value) = 0;
      return RESULT_OK;
    case kOptionConnectionName:
      return getNameOption(connectionName_, value, maxLength, length);
    case kOptionLogged:
      return client_ ? writeNumber(value, client_->logged() ? 1 : 0) : RESULT_INVALID_HANDLE;
    default:
      return RESULT_NOT_SUPPORTED;
  }
}

ResultCode INFConnection::setNameOption(char (&name)[kNameSize], OptionValue value) {
  const auto* text = reinterpret_cast<const char*>(value);
  if (text == nullptr) return RESULT_CLIENT_ERROR;
  const std::size_t length = strnlen(text, kNameSize);
  if (length >= kNameSize) return RESULT_CLIENT_ERROR;
  std::memcpy(name, text, length + 1);
  return RESULT_OK;
}

// The name's characters when they fit the maximum length (with a NUL when
// there is room for it), else an empty text; the length is always the name's.
ResultCode INFConnection::getNameOption(const char (&name)[kNameSize], void* value, std::int16_t maxLength,
                                        std::int16_t* length) const {
  if (value == nullptr) return RESULT_INVALID_PARAMETER;
  const auto nameLength = static_cast<std::int16_t>(std::strlen(name));
  auto* out = static_cast<char*>(value);
  if (nameLength <= maxLength) {
    std::memcpy(out, name, static_cast<std::size_t>(nameLength));
    if (nameLength < maxLength) out[nameLength] = '\0';
  } else if (maxLength > 0) {
    out[0] = '\0';
  }
  if (length != nullptr) *length = nameLength;
  return RESULT_OK;
}

ResultCode INFConnection::beginTransaction(TransactionDesc* desc) noexcept {
  return runTransaction(desc, TransactionKind::Begin);
}

ResultCode INFConnection::commitTransaction(TransactionDesc* desc) noexcept {
  return runTransaction(desc, TransactionKind::Commit);
}

ResultCode INFConnection::rollbackTransaction(TransactionDesc* desc) noexcept {
  return runTransaction(desc, TransactionKind::Rollback);
}

ResultCode INFConnection::runTransaction(const TransactionDesc* desc, TransactionKind kind) {
  if (!client_) return RESULT_INVALID_HANDLE;
  if (desc == nullptr) return RESULT_INVALID_PARAMETER;
  if (ResultCode applied = applyClientIsolation(*client_, descriptorLevel(*desc)); applied != RESULT_OK) {
    return applied;
  }
  return runClientTransaction(*client_, kind);
}

ResultCode INFConnection::errorMessage(char* text) noexcept {
  if (text == nullptr) return RESULT_OK;
  std::memcpy(text, errorText_, std::strlen(errorText_) + 1);
  errorText_[0] = '\0';
  errorLength_ = 0;
  return RESULT_OK;
}

ResultCode INFConnection::errorMessageLength(std::int16_t* length) noexcept {
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  if (client_) {
    errorLength_ = buildClientErrorText(client_.get(), client_->lastStatus, client_->details, errorText_,
                                        sizeof errorText_);
  } else if (retainedStatus_) {
    errorLength_ = buildClientErrorText(nullptr, *retainedStatus_, retainedDetails_, errorText_, sizeof errorText_);
  } else {
    return RESULT_INVALID_HANDLE;
  }
  *length = errorLength_;
  return RESULT_OK;
}

}  // namespace quovex::inf
