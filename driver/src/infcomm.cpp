#include "infcomm.h"

#include <cstring>
#include <new>
#include <string>

#include "infconn.h"
#include "infcurs.h"
#include "option_values.h"
#include "shield.h"
#include "client/statement_text.h"

namespace quovex::inf {
namespace {

enum CommandOption {
  kOptionSizeSetting = 1,
  kOptionReadsZero2 = 2,
  kOptionReadsZero3 = 3,
  kOptionParameterCount = 4,
  kOptionRefusedOnRead = 5,
  kOptionRefusedByStatement = 6,
  kOptionProcedureMode = 7,
  kOptionAcceptedNoEffect = 10,
};

constexpr std::uint8_t kDirectionInput = 1;
// Status of a result column whose type the driver cannot carry; its text names the type.
constexpr std::int32_t kStatusUncarriedType = -1;

}  // namespace

INFCommand* INFCommand::create(Shared<ConnectionLink> connection) noexcept {
  auto* made = new (std::nothrow) INFCommand(std::move(connection));
  if (made == nullptr) return nullptr;
  made->cursors_ = Shared<CommandLink>::make();
  if (!made->cursors_) {
    delete made;
    return nullptr;
  }
  made->cursors_->command = made;
  return made;
}

INFCommand::~INFCommand() {
  if (cursors_) cursors_->command = nullptr;
  if (statement_) releaseClientStatement(*statement_, clientStatement() != nullptr);
}

ResultCode INFCommand::attachClientStatement(ClientConnection* client) noexcept {
  return makeClientStatement(client, statement_);
}

ClientStatement* INFCommand::clientStatement() const {
  // After a disconnect, a new connect or the connection's release the record
  // the statement refers to is gone.
  if (!statement_ || connection_->clientOf(session_) != statement_->connection) return nullptr;
  return statement_.get();
}

const std::vector<ColumnDescriptor>& INFCommand::columns(const INFCursor* cursor) const {
  static const std::vector<ColumnDescriptor> kNone;
  return cursor == cursor_ ? columns_ : kNone;
}

RowBuffer* INFCommand::rowBuffer(const INFCursor* cursor) {
  return (cursor == cursor_ && rowBufferReady_) ? &rowBuffer_ : nullptr;
}

void INFCommand::cursorReleased(const INFCursor* cursor) {
  if (cursor != cursor_) return;  // an older cursor: the current results are not its own
  close();
  cursor_ = nullptr;
}

ResultCode INFCommand::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFCommand::addRef() noexcept { return references_.add(); }

std::int32_t INFCommand::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) delete this;  // the destructor releases the client statement completely
  return count;
}

ResultCode INFCommand::setOption(OptionNumber option, OptionValue value) noexcept {
  switch (optionKey(option)) {
    case kOptionSizeSetting: sizeSetting_ = static_cast<std::int32_t>(value); return RESULT_OK;
    case kOptionParameterCount: parameterCount_ = static_cast<std::uint16_t>(value); return RESULT_OK;
    case kOptionRefusedByStatement: return RESULT_CLIENT_NOT_SUPPORTED;
    case kOptionProcedureMode: procedureMode_ = value != 0; return RESULT_OK;
    case kOptionAcceptedNoEffect: return RESULT_OK;
    default: return RESULT_NOT_SUPPORTED;
  }
}

ResultCode INFCommand::getOption(OptionNumber option, void* value, std::int16_t /*maxLength*/,
                                 std::int16_t* /*length*/) noexcept {
  switch (optionKey(option)) {
    case kOptionReadsZero2:
    case kOptionReadsZero3: return writeNumber(value, 0);
    case kOptionParameterCount: return writeNumber(value, parameterCount_);
    case kOptionRefusedOnRead: return RESULT_NOT_SUPPORTED;
    default: return RESULT_NOT_SUPPORTED;
  }
}

// ---- parameters ----

ResultCode INFCommand::makeParameterList(std::uint16_t count) {
  parameters_.clear();
  try {
    parameters_.resize(count);
  } catch (const std::bad_alloc&) {
    return RESULT_NO_MEMORY;
  }
  return RESULT_OK;
}

ResultCode INFCommand::setParameter(std::uint16_t number, std::uint16_t /*childPosition*/, std::uint8_t direction,
                                    std::uint16_t fieldType, std::uint16_t subtype, std::int32_t precision,
                                    std::int32_t scale, std::uint32_t length, void* value,
                                    std::int32_t isNull) noexcept {
  // The list may be shorter than the count when option 4 changed the count after prepare.
  if (number == 0 || number > parameterCount_ || number > parameters_.size()) return RESULT_OUT_OF_RANGE;
  if (direction != kDirectionInput) return RESULT_INVALID_PARAMETER;
  ParameterRecord& record = parameters_[number - 1];
  const bool null = isNull == 1;
  // A value the binder would read must be there (a blob of 0 bytes needs none).
  const bool readsValue =
      fieldType == FIELD_BLOB ? length > 0 : parameterClientType(fieldType, subtype, length, 0) != 0;
  if (!null && value == nullptr && readsValue) return RESULT_INVALID_PARAMETER;
  record.nullIndicator = null ? ParameterRecord::kNull : 0;
  record.direction = direction;
  record.fieldType = fieldType;
  record.precision = precision;
  record.scale = scale;
  if (fieldType != FIELD_BCD) record.subtype = subtype;

  ResultCode result = RESULT_OK;
  if (null) {
    record.clientType = parameterClientType(fieldType, record.subtype, length, record.clientType);
  } else {
    result = bindValue(record, value, length);
  }
  record.set = result == RESULT_OK;
  if (result != RESULT_OK) return result;
  if (procedureMode_ && !procedureBuilt_) return RESULT_OK;
  // A value beyond the statement's markers has no place to go: it is kept,
  // and execute refuses the count.
  if (const ClientStatement* statement = clientStatement();
      statement != nullptr && number > statement->parameterPlaces.size()) {
    return RESULT_OK;
  }
  // A value the statement could not take (a large object that could not be
  // written) must not run as whatever was bound before.
  const ResultCode bound = bindParameter(number);
  if (bound != RESULT_OK) record.set = false;
  return bound;
}

ResultCode INFCommand::bindValue(ParameterRecord& record, const void* value, std::uint32_t length) noexcept {
  switch (record.fieldType) {
    case FIELD_STRING: return bindStringValue(record, value, length);
    case FIELD_DATE: return bindDateValue(record, value);
    case FIELD_BLOB: return bindBlobValue(record, value, length);
    case FIELD_INT16: return bindInt16Value(record, value);
    case FIELD_INT32: return bindInt32Value(record, value);
    case FIELD_FLOAT: return bindFloatValue(record, value, length);
    case FIELD_BCD: return bindBcdValue(record, value);
    case FIELD_TIME: return bindTimeValue(record, value);
    case FIELD_TIMESTAMP: return bindTimestampValue(record, value);
    default: return RESULT_OK;  // no binder: the parameter counts as set, its binding fails
  }
}

ResultCode INFCommand::bindParameter(std::uint16_t number) {
  if (clientStatement() == nullptr) return RESULT_INVALID_HANDLE;
  ParameterRecord& record = parameters_[number - 1];
  return bindClientParameter(*statement_, number, record.value.get(), record.length, record.clientType,
                             &record.nullIndicator);
}

ResultCode INFCommand::getParameter(std::uint16_t number, std::uint16_t /*childPosition*/, void* value,
                                    std::int32_t bufferLength, std::int32_t* isNull) noexcept {
  if (number == 0 || number > parameterCount_ || number > parameters_.size()) return RESULT_OUT_OF_RANGE;
  if (value == nullptr || isNull == nullptr) return RESULT_INVALID_PARAMETER;
  const ParameterRecord& record = parameters_[number - 1];
  if (record.nullIndicator == ParameterRecord::kNull) {
    *isNull = 1;
    return RESULT_OK;
  }
  *isNull = 0;
  // A value dropped by close (or never given) has nothing to read.
  if (!record.value && record.fieldType != 0) return RESULT_PARAMETER_NOT_SET;
  return readParameterValue(record, value, bufferLength);
}

bool INFCommand::everyParameterSet() const {
  for (const ParameterRecord& record : parameters_) {
    if (!record.set) return false;
  }
  return parameters_.size() >= parameterCount_;
}

// ---- prepare and execute ----

ResultCode INFCommand::prepare(const char* sql, std::uint16_t parameterCount) noexcept {
  if (sql == nullptr) return RESULT_CLIENT_ERROR;
  return shielded([&]() -> ResultCode {
    parameterCount_ = parameterCount;
    if (procedureMode_) {
      const std::size_t length = strnlen(sql, kProcedureNameSize);
      if (length >= kProcedureNameSize) return RESULT_CLIENT_ERROR;
      // The call text is built once; another procedure or parameter count needs a new one.
      if (procedureBuilt_ && (std::strcmp(procedureName_, sql) != 0 || parameterCount != parameters_.size())) {
        procedureBuilt_ = false;
      }
      std::memcpy(procedureName_, sql, length + 1);
      if (parameterCount == 0) {
        parameters_.clear();
        return RESULT_OK;
      }
      return makeParameterList(parameterCount);
    }
    dropResults();
    const std::string text = sql;
    if (clientStatement() == nullptr) return RESULT_INVALID_HANDLE;
    procedureBuilt_ = false;  // the statement is no longer the procedure call
    if (ResultCode prepared = prepareClientStatement(*statement_, text.c_str()); prepared != RESULT_OK) {
      return prepared;
    }
    if (parameterCount == 0) {
      parameters_.clear();
      return RESULT_OK;
    }
    return makeParameterList(parameterCount);
  });
}

ResultCode INFCommand::buildProcedure() {
  const std::string text = procedureCallText(procedureName_, parameters_.size());
  if (clientStatement() == nullptr) return RESULT_INVALID_HANDLE;
  dropResults();
  if (ResultCode prepared = prepareClientStatement(*statement_, text.c_str()); prepared != RESULT_OK) {
    return prepared;
  }
  procedureBuilt_ = true;
  for (std::size_t i = 0; i < parameters_.size(); ++i) {
    if (ResultCode bound = bindParameter(static_cast<std::uint16_t>(i + 1)); bound != RESULT_OK) return bound;
  }
  return RESULT_OK;
}

ResultCode INFCommand::execute(SQLCursor** cursor) noexcept {
  if (cursor != nullptr) *cursor = nullptr;
  return shielded([&]() -> ResultCode {
    if (!everyParameterSet()) return RESULT_PARAMETER_NOT_SET;
    if (procedureMode_ && !procedureBuilt_) {
      if (ResultCode built = buildProcedure(); built != RESULT_OK) return built;
    }
    return executeCore(cursor, parameters_.size());
  });
}

ResultCode INFCommand::executeDirect(const char* sql, SQLCursor** cursor) noexcept {
  if (cursor != nullptr) *cursor = nullptr;
  if (sql == nullptr) return RESULT_CLIENT_ERROR;
  return shielded([&]() -> ResultCode {
    if (clientStatement() == nullptr) return RESULT_INVALID_HANDLE;
    dropResults();
    procedureBuilt_ = false;  // the statement is no longer the procedure call
    if (ResultCode prepared = prepareClientStatement(*statement_, sql); prepared != RESULT_OK) return prepared;
    return executeCore(cursor, 0);
  });
}

ResultCode INFCommand::executeCore(SQLCursor** cursor, std::size_t valueCount) {
  if (clientStatement() == nullptr) return RESULT_INVALID_HANDLE;
  // Values missing for some markers would run as NULL, extra ones would be
  // dropped: neither runs.
  if (ResultCode counted = checkClientParameterCount(*statement_, valueCount); counted != RESULT_OK) {
    return counted;
  }
  // Results still open from an earlier execute end here, so their client
  // cursor and row buffer are not lost.
  dropResults();
  if (ResultCode executed = executeClientStatement(*statement_); executed != RESULT_OK) return executed;
  if (statement_->columnCount == 0) {
    rowsAffected_ = statement_->rowsProcessed;
    return RESULT_OK;
  }
  if (cursor == nullptr) return RESULT_INVALID_HANDLE;
  return openResultCursor(cursor);
}

ResultCode INFCommand::openResultCursor(SQLCursor** cursor) {
  INFCursor* made = INFCursor::create(cursors_);
  if (made == nullptr) return RESULT_NO_MEMORY;
  made->addRef();
  *cursor = made;
  cursor_ = made;
  try {
    columns_.resize(statement_->columnCount);
  } catch (const std::bad_alloc&) {
    return RESULT_NO_MEMORY;
  }
  for (std::uint16_t i = 0; i < statement_->columnCount; ++i) {
    ColumnDescription description;
    describeClientColumn(*statement_, i, description);
    if (ResultCode described = describeColumn(i, description, columns_[i]); described != RESULT_OK) {
      columns_.clear();
      noteOwnFailure(*statement_, kStatusUncarriedType, uncarriedColumnText(description));
      return described;
    }
  }
  if (ResultCode laid = rowBuffer_.layOut(columns_); laid != RESULT_OK) {
    columns_.clear();
    return laid;
  }
  for (const ColumnDescriptor& column : columns_) {
    if (ResultCode bound = bindClientColumn(*statement_, column, rowBuffer_.slot(column)); bound != RESULT_OK) {
      return bound;  // no row buffer: the cursor cannot fetch into columns left unbound
    }
  }
  rowBufferReady_ = true;
  return RESULT_OK;
}

ResultCode INFCommand::rowsAffected(std::int32_t* count) noexcept { return writeNumber(count, rowsAffected_); }

// Frees the descriptors and the row buffer; the client layer ends an open
// client cursor itself before it prepares or executes again.
void INFCommand::dropResults() {
  columns_.clear();
  rowBuffer_ = RowBuffer{};
  rowBufferReady_ = false;
  cursor_ = nullptr;
}

ResultCode INFCommand::close() noexcept {
  columns_.clear();
  rowBuffer_ = RowBuffer{};
  rowBufferReady_ = false;
  rowsAffected_ = 0;
  for (ParameterRecord& record : parameters_) record.clear();
  ClientStatement* statement = clientStatement();
  if (statement == nullptr) return RESULT_INVALID_HANDLE;
  closeClientResults(*statement);  // a failure leaves the cursor for the next close
  return RESULT_OK;
}

ResultCode INFCommand::errorMessage(char* text) noexcept {
  if (text != nullptr) std::memcpy(text, errorText_, std::strlen(errorText_) + 1);
  return RESULT_OK;
}

ResultCode INFCommand::errorMessageLength(std::int16_t* length) noexcept {
  if (!statement_) return RESULT_INVALID_HANDLE;
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  ClientStatement* statement = clientStatement();
  errorLength_ = buildClientErrorText(statement != nullptr ? statement->connection : nullptr, statement_->lastStatus,
                                      statement_->details, errorText_, sizeof errorText_);
  *length = errorLength_;
  return RESULT_OK;
}

}  // namespace quovex::inf
