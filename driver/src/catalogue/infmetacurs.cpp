#include "infmetacurs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "shield.h"

namespace quovex::inf {
namespace {

constexpr std::uint32_t kParameterListingMask = 999;
constexpr std::int32_t kColumnKind = 8;
constexpr std::int32_t kNoType = -1;
constexpr std::size_t kParameterTextMax = 31;  // PARAM_NAME and PARAM_TYPENAME hold 31 characters

// Catalogue columns the computed sources read.
enum CatalogueColumn : std::uint16_t {
  kTableKind = 5,
  kTableNumber = 6,
  kProcedureFlag = 5,
  kRoutineNumber = 8,
  kColumnTypeNumber = 8,
  kIndexKind = 9,
  kFirstPart = 10,
  kColumnLengthCode = 11,
  kColumnExtendedId = 15,
  kConstraintKind = 11,
  kParameterRoutineNumber = 15,
};

// Where a reader writes the null flag: the host's place, or a scratch one.
std::int32_t& nullPlace(std::int32_t* isNull, std::int32_t& scratch) { return isNull != nullptr ? *isNull : scratch; }

void copyCut(char* text, const std::string& value, std::size_t maxLength) {
  const std::size_t length = std::min(value.size(), maxLength);
  std::memcpy(text, value.data(), length);
  text[length] = '\0';
}

bool decodesColumnType(Source source) {
  switch (source) {
    case Source::ColumnDatatype:
    case Source::ColumnSubtype:
    case Source::ColumnLength:
    case Source::ColumnPrecision:
    case Source::ColumnScale: return true;
    default: return false;
  }
}

// The sources readShort gives as 16-bit values.
bool servesShort(Source source) {
  switch (source) {
    case Source::TableType:
    case Source::RoutineType:
    case Source::IndexType:
    case Source::ColumnKind:
    case Source::ColumnDatatype:
    case Source::ColumnSubtype:
    case Source::ColumnPrecision:
    case Source::ColumnScale:
    case Source::ParamPosition:
    case Source::ParamDirection:
    case Source::ParamDatatype:
    case Source::ParamSubtype:
    case Source::ParamPrecision:
    case Source::ParamScale:
    case Source::ParamNullable: return true;
    default: return false;
  }
}

}  // namespace

INFMetadataCursor* INFMetadataCursor::create(SQLCommand* command, SQLCursor* inner, Listing listing,
                                             Shared<ConnectionLink> connection) noexcept {
  return new (std::nothrow) INFMetadataCursor(command, inner, listing, std::move(connection));
}

RoutineTypeLists INFMetadataCursor::routineTypes(std::int32_t routine) const {
  ClientConnection* client = connection_->clientOf(session_);
  if (client == nullptr) return {};
  return loadRoutineTypeLists(client, routine);
}

ResultCode INFMetadataCursor::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFMetadataCursor::addRef() noexcept { return references_.add(); }

std::int32_t INFMetadataCursor::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) {
    rows_ = 0;
    if (inner_ != nullptr) inner_->release();
    if (command_ != nullptr) command_->release();
    delete this;
  }
  return count;
}

ResultCode INFMetadataCursor::errorMessage(char* text) noexcept {
  if (text != nullptr && errorText_) std::memcpy(text, errorText_->c_str(), errorText_->size() + 1);
  return RESULT_OK;
}

ResultCode INFMetadataCursor::errorMessageLength(std::int16_t* length) noexcept {
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  *length = errorText_ ? static_cast<std::int16_t>(errorText_->size()) : 0;
  return RESULT_OK;
}

const ShapeColumn* INFMetadataCursor::lookUp(std::uint16_t column) const {
  if (column == 0 || column > shape_.count) return nullptr;
  return &shape_.columns[column - 1];
}

ResultCode INFMetadataCursor::columnCount(std::int16_t* count) noexcept {
  if (count == nullptr) return RESULT_INVALID_PARAMETER;
  *count = static_cast<std::int16_t>(shape_.count);
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnNameLength(std::uint16_t column, std::int16_t* length) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  *length = static_cast<std::int16_t>(std::strlen(shaped->name));
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnName(std::uint16_t column, char* name) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (name == nullptr) return RESULT_INVALID_PARAMETER;
  std::memcpy(name, shaped->name, std::strlen(shaped->name) + 1);
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnType(std::uint16_t column, std::uint16_t* fieldType,
                                         std::uint16_t* subtype) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (fieldType == nullptr || subtype == nullptr) return RESULT_INVALID_PARAMETER;
  *fieldType = shaped->fieldType;
  *subtype = SUBTYPE_NONE;
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnLength(std::uint16_t column, std::int32_t* length) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  std::int32_t inner = 0;
  switch (shaped->lengthMeasure) {
    case Measure::Fixed:
      *length = shaped->length;
      break;
    case Measure::InnerOr31:
      if (inner_ == nullptr || inner_->columnLength(shaped->column, &inner) != RESULT_OK || inner <= 0) inner = 31;
      *length = inner;
      break;
    case Measure::InnerLength:
    case Measure::InnerPrecision:
      if (inner_ != nullptr) inner_->columnLength(shaped->column, &inner);
      *length = inner;
      break;
  }
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnPrecision(std::uint16_t column, std::int16_t* precision) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (precision == nullptr) return RESULT_INVALID_PARAMETER;
  std::int32_t length = 0;
  std::int16_t inner = 0;
  switch (shaped->precisionMeasure) {
    case Measure::Fixed:
      *precision = shaped->precision;
      break;
    case Measure::InnerOr31:
      if (inner_ == nullptr || inner_->columnLength(shaped->column, &length) != RESULT_OK || length <= 0) length = 31;
      *precision = static_cast<std::int16_t>(length);
      break;
    case Measure::InnerLength:
    case Measure::InnerPrecision:
      if (inner_ != nullptr) inner_->columnPrecision(shaped->column, &inner);
      *precision = inner;
      break;
  }
  return RESULT_OK;
}

ResultCode INFMetadataCursor::columnScale(std::uint16_t column, std::int16_t* scale) noexcept {
  if (lookUp(column) == nullptr) return RESULT_OUT_OF_RANGE;
  if (scale == nullptr) return RESULT_INVALID_PARAMETER;
  *scale = 0;
  return RESULT_OK;
}

namespace {

ResultCode writeFlag(std::int32_t* flag, std::int32_t value) {
  if (flag == nullptr) return RESULT_INVALID_PARAMETER;
  *flag = value;
  return RESULT_OK;
}

}  // namespace

ResultCode INFMetadataCursor::columnNullable(std::uint16_t column, std::int32_t* nullable) noexcept {
  return lookUp(column) == nullptr ? RESULT_OUT_OF_RANGE : writeFlag(nullable, 0);
}

ResultCode INFMetadataCursor::columnAutoIncrement(std::uint16_t column, std::int32_t* autoIncrement) noexcept {
  return lookUp(column) == nullptr ? RESULT_OUT_OF_RANGE : writeFlag(autoIncrement, 0);
}

ResultCode INFMetadataCursor::columnReadOnly(std::uint16_t column, std::int32_t* readOnly) noexcept {
  return lookUp(column) == nullptr ? RESULT_OUT_OF_RANGE : writeFlag(readOnly, 1);
}

ResultCode INFMetadataCursor::columnSearchable(std::uint16_t column, std::int32_t* searchable) noexcept {
  return lookUp(column) == nullptr ? RESULT_OUT_OF_RANGE : writeFlag(searchable, 1);
}

// ---- Moving through the rows ----

bool INFMetadataCursor::expandsParameters() const {
  return listing_.kind == CATALOGUE_PROCEDURE_PARAMETERS && listing_.mask == kParameterListingMask;
}

void INFMetadataCursor::takeOverErrorText() {
  std::int16_t length = 0;
  if (command_ == nullptr || command_->errorMessageLength(&length) != RESULT_OK || length <= 0) return;
  std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
  if (command_->errorMessage(text.data()) != RESULT_OK) return;
  text[static_cast<std::size_t>(length)] = '\0';
  errorText_ = text.data();
}

ResultCode INFMetadataCursor::fetchNext() noexcept {
  return shielded([&]() -> ResultCode {
    if (inner_ == nullptr) return RESULT_CATALOGUE_END;
    if (expandsParameters()) return fetchParameter();
    const ResultCode fetched = inner_->fetchNext();
    // The end of rows is no failure: the error text is left as it was.
    if (fetched != RESULT_OK && fetched != RESULT_CATALOGUE_END && fetched != RESULT_NO_MORE_ROWS) {
      takeOverErrorText();
    }
    ++rows_;
    return fetched;
  });
}

// One row per parameter: moves to the next parameter of the current
// procedure, or on to the next procedure that has parameters. A procedure
// without parameters is skipped; the listing ends only with the catalogue
// rows, with RESULT_NO_MORE_ROWS.
ResultCode INFMetadataCursor::fetchParameter() {
  while (position_ >= parameterCount_) {
    const ResultCode fetched = inner_->fetchNext();
    if (fetched == RESULT_NO_MORE_ROWS || fetched == RESULT_CATALOGUE_END) return RESULT_NO_MORE_ROWS;
    if (fetched != RESULT_OK) {
      takeOverErrorText();
      return fetched;
    }
    std::int32_t routine = 0;
    std::int32_t isNull = 0;
    types_ = {};
    if (innerLong(kParameterRoutineNumber, routine, isNull) == RESULT_OK) {
      types_ = routineTypes(routine);
    }
    parameterCount_ = static_cast<std::int32_t>(typeListItemCount(types_.parameters));
    inputCount_ = parameterCount_;
    position_ = 0;
  }
  ++position_;
  ++rows_;
  return RESULT_OK;
}

// ---- Inner reads ----

ResultCode INFMetadataCursor::innerText(std::uint16_t column, std::string& text, std::int32_t& isNull) {
  if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
  std::int32_t length = 0;
  inner_->columnLength(column, &length);
  // Room for the column's length, with its NUL, and some to spare.
  std::vector<char> buffer(static_cast<std::size_t>(std::max<std::int32_t>(length, 0)) + 256, '\0');
  const ResultCode read = inner_->readString(column, buffer.data(), &isNull);
  buffer.back() = '\0';
  text = read == RESULT_OK && isNull == 0 ? buffer.data() : "";
  return read;
}

ResultCode INFMetadataCursor::innerShort(std::uint16_t column, std::int16_t& value, std::int32_t& isNull) {
  if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
  return inner_->readShort(column, &value, &isNull);
}

ResultCode INFMetadataCursor::innerLong(std::uint16_t column, std::int32_t& value, std::int32_t& isNull) {
  if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
  return inner_->readLong(column, &value, &isNull);
}

// ---- Computed sources ----

ResultCode INFMetadataCursor::tableType(std::int32_t& value) {
  std::string kind;
  std::int32_t number = 0;
  std::int32_t kindNull = 0;
  std::int32_t numberNull = 0;
  value = 0;
  ResultCode read = innerText(kTableKind, kind, kindNull);
  if (read != RESULT_OK) return read;
  read = innerLong(kTableNumber, number, numberNull);
  if (read == RESULT_OK && numberNull == 0) value = tableTypeCode(kind, number);
  return read;
}

ResultCode INFMetadataCursor::routineType(std::int32_t& value) {
  std::int32_t number = 0;
  std::int32_t isNull = 0;
  ResultCode read = innerLong(kRoutineNumber, number, isNull);
  if (read != RESULT_OK) return read;
  std::string flag;
  read = innerText(kProcedureFlag, flag, isNull);
  if (read == RESULT_OK) value = routineTypeCode(flag, number);
  return read;
}

ResultCode INFMetadataCursor::indexType(std::int32_t& value, std::int32_t* isNull) {
  std::string indexKind;
  std::string constraintKind;
  std::int32_t kindNull = 0;
  std::int32_t constraintNull = 0;
  innerText(kIndexKind, indexKind, kindNull);
  const ResultCode read = innerText(kConstraintKind, constraintKind, constraintNull);
  value = read == RESULT_OK ? indexTypeCode(indexKind, constraintKind) : 0;
  std::int32_t scratch = 0;
  nullPlace(isNull, scratch) = 0;
  return read;
}

ResultCode INFMetadataCursor::returnCount(std::int32_t& value, std::int32_t* isNull) {
  std::int32_t routine = 0;
  std::int32_t scratch = 0;
  std::int32_t& nullFlag = nullPlace(isNull, scratch);
  const ResultCode read = innerLong(kRoutineNumber, routine, nullFlag);
  const RoutineTypeLists lists = routineTypes(routine);
  value = static_cast<std::int32_t>(typeListItemCount(lists.returns));
  return read;
}

ResultCode INFMetadataCursor::columnTypeEntry(const InformixType*& type) {
  std::int16_t number = 0;
  std::int32_t isNull = 0;
  type = nullptr;
  if (innerShort(kColumnTypeNumber, number, isNull) != RESULT_OK) return RESULT_NOT_SUPPORTED;
  std::int32_t code = number;
  if (code >= kNotNullBit) code -= kNotNullBit;
  std::int32_t extendedId = 0;
  if (std::int32_t extendedNull = 0; innerLong(kColumnExtendedId, extendedId, extendedNull) != RESULT_OK) {
    extendedId = 0;
  }
  type = informixTypeByCode(code, extendedId);
  return type != nullptr ? RESULT_OK : RESULT_NOT_SUPPORTED;
}

ResultCode INFMetadataCursor::columnDecoded(Source source, std::int32_t& value, std::int32_t* isNull) {
  const InformixType* type = nullptr;
  if (ResultCode found = columnTypeEntry(type); found != RESULT_OK) return found;
  std::int32_t scratch = 0;
  std::int32_t& nullFlag = nullPlace(isNull, scratch);
  if (source == Source::ColumnDatatype || source == Source::ColumnSubtype) {
    value = source == Source::ColumnDatatype ? type->fieldType : type->subtype;
    nullFlag = 0;
    return RESULT_OK;
  }
  std::int16_t columnLength = 0;
  if (type->decoding != LengthDecoding::Fixed) {
    std::int32_t lengthNull = 0;
    if (ResultCode read = innerShort(kColumnLengthCode, columnLength, lengthNull); read != RESULT_OK) return read;
  }
  switch (source) {
    case Source::ColumnLength: value = decodedColumnLength(*type, columnLength); break;
    case Source::ColumnPrecision: value = decodedColumnPrecision(*type, columnLength); break;
    default: value = decodedColumnScale(*type, columnLength); break;
  }
  nullFlag = 0;
  return RESULT_OK;
}

std::string INFMetadataCursor::parameterTypeName() const {
  if (position_ > inputCount_) return typeListItem(types_.returns, position_ - inputCount_);
  return typeListItem(types_.parameters, position_);
}

const InformixType* INFMetadataCursor::parameterTypeEntry() const {
  return informixTypeByLowerName(parameterTypeName());
}

// The integer sources shared by readShort and readLong; RESULT_NOT_SUPPORTED
// for any other source.
ResultCode INFMetadataCursor::integerValue(const ShapeColumn& column, std::int32_t& value, std::int32_t* isNull) {
  std::int32_t scratch = 0;
  std::int32_t& nullFlag = nullPlace(isNull, scratch);
  const InformixType* parameter = nullptr;
  switch (column.source) {
    case Source::TableType: {
      const ResultCode read = tableType(value);
      nullFlag = 0;
      return read;
    }
    case Source::RoutineType: {
      const ResultCode read = routineType(value);
      if (read == RESULT_OK) nullFlag = 0;
      return read;
    }
    case Source::IndexType: return indexType(value, isNull);
    case Source::ColumnKind: value = kColumnKind; break;
    case Source::ParamPosition: value = position_; break;
    case Source::ParamDirection: value = position_ > inputCount_ ? 2 : 1; break;
    case Source::ParamDatatype:
      parameter = parameterTypeEntry();
      value = parameter != nullptr ? parameter->fieldType : kNoType;
      break;
    case Source::ParamSubtype:
      parameter = parameterTypeEntry();
      value = parameter != nullptr ? parameter->subtype : kNoType;
      break;
    case Source::ParamLength:
    case Source::ParamPrecision:
      parameter = parameterTypeEntry();
      value = parameter != nullptr ? parameterLength(parameter->fieldType, parameter->subtype) : kNoType;
      break;
    case Source::ParamScale:
      parameter = parameterTypeEntry();
      value = parameter != nullptr ? parameterScale(parameter->fieldType) : kNoType;
      break;
    case Source::ParamNullable: value = 0; break;
    default: return RESULT_NOT_SUPPORTED;
  }
  nullFlag = 0;
  return RESULT_OK;
}

// ---- Readers ----

ResultCode INFMetadataCursor::readString(std::uint16_t column, char* text, std::int32_t* isNull) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (text == nullptr) return RESULT_INVALID_PARAMETER;
  return shielded([&] { return textValue(*shaped, text, isNull); });
}

ResultCode INFMetadataCursor::textValue(const ShapeColumn& column, char* text, std::int32_t* isNull) {
  std::int32_t scratch = 0;
  std::int32_t& nullFlag = nullPlace(isNull, scratch);
  switch (column.source) {
    case Source::Empty:
      nullFlag = 0;
      text[0] = '\0';
      return RESULT_OK;
    case Source::Trimmed: {
      if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
      const ResultCode read = inner_->readString(column.column, text, &nullFlag);
      if (read == RESULT_OK) trimTrailingBlanks(text);
      return read;
    }
    case Source::Untrimmed:
      if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
      return inner_->readString(column.column, text, &nullFlag);
    case Source::SortOrder: {
      std::int16_t firstPart = 0;
      std::int32_t partNull = 0;
      if (ResultCode read = innerShort(kFirstPart, firstPart, partNull); read != RESULT_OK) return read;
      std::strcpy(text, partNull != 0 || firstPart > 0 ? "A" : "D");
      nullFlag = 0;
      return RESULT_OK;
    }
    case Source::ColumnTypename: {
      const InformixType* type = nullptr;
      if (columnTypeEntry(type) != RESULT_OK) {
        nullFlag = 0;
        return RESULT_NOT_SUPPORTED;
      }
      std::strcpy(text, type->upperName);
      nullFlag = 0;
      return RESULT_OK;
    }
    case Source::ParamName:
      std::snprintf(text, kParameterTextMax + 1, "%d", static_cast<int>(position_));
      nullFlag = 0;
      return RESULT_OK;
    case Source::ParamTypename:
      copyCut(text, parameterTypeName(), kParameterTextMax);
      nullFlag = 0;
      return RESULT_OK;
    default:
      return RESULT_OK;  // not a text source: nothing written
  }
}

ResultCode INFMetadataCursor::readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (value == nullptr) return RESULT_INVALID_PARAMETER;
  return shielded([&]() -> ResultCode {
    std::int32_t scratch = 0;
    std::int32_t& nullFlag = nullPlace(isNull, scratch);
    std::int32_t wide = 0;
    ResultCode result = RESULT_OK;
    if (shaped->source == Source::Number) {
      std::uint16_t fieldType = 0;
      std::uint16_t subtype = 0;
      if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
      if (ResultCode typed = inner_->columnType(shaped->column, &fieldType, &subtype); typed != RESULT_OK) return typed;
      if (fieldType == FIELD_INT16) return inner_->readShort(shaped->column, value, &nullFlag);
      if (fieldType != FIELD_INT32) return RESULT_NOT_SUPPORTED;
      result = inner_->readLong(shaped->column, &wide, &nullFlag);
      if (result == RESULT_OK) *value = static_cast<std::int16_t>(wide);
      return result;
    }
    if (shaped->source == Source::ColumnNullable) {
      std::int16_t number = 0;
      if (ResultCode read = innerShort(kColumnTypeNumber, number, nullFlag); read != RESULT_OK) return read;
      if (number >= kNotNullBit) {
        *value = 0;
      } else {
        *value = 1;
        nullFlag = 0;
      }
      return RESULT_OK;
    }
    if (!servesShort(shaped->source)) return RESULT_OK;  // nothing written
    if (decodesColumnType(shaped->source)) {
      result = columnDecoded(shaped->source, wide, isNull);
      if (result == RESULT_OK) *value = static_cast<std::int16_t>(wide);
      return result;
    }
    result = integerValue(*shaped, wide, isNull);
    // Table and index type codes are written even after a failed read.
    if (result == RESULT_OK || shaped->source == Source::TableType || shaped->source == Source::IndexType) {
      *value = static_cast<std::int16_t>(wide);
    }
    return result;
  });
}

ResultCode INFMetadataCursor::readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept {
  const ShapeColumn* shaped = lookUp(column);
  if (shaped == nullptr) return RESULT_OUT_OF_RANGE;
  if (value == nullptr) return RESULT_INVALID_PARAMETER;
  return shielded([&]() -> ResultCode {
    std::int32_t scratch = 0;
    std::int32_t& nullFlag = nullPlace(isNull, scratch);
    switch (shaped->source) {
      case Source::RowNumber:
        *value = rows_;
        nullFlag = 0;
        return RESULT_OK;
      case Source::Number: {
        std::uint16_t fieldType = 0;
        std::uint16_t subtype = 0;
        if (inner_ == nullptr) return RESULT_INVALID_HANDLE;
        if (ResultCode typed = inner_->columnType(shaped->column, &fieldType, &subtype); typed != RESULT_OK) {
          return typed;
        }
        if (fieldType == FIELD_INT32) return inner_->readLong(shaped->column, value, &nullFlag);
        if (fieldType != FIELD_INT16) return RESULT_NOT_SUPPORTED;
        std::int16_t narrow = 0;
        const ResultCode read = inner_->readShort(shaped->column, &narrow, &nullFlag);
        if (read == RESULT_OK) *value = narrow;
        return read;
      }
      case Source::ReturnCount: {
        std::int32_t count = 0;
        const ResultCode read = returnCount(count, isNull);
        *value = count;
        return read;
      }
      case Source::ColumnLength: {
        std::int32_t length = 0;
        const ResultCode decoded = columnDecoded(Source::ColumnLength, length, isNull);
        if (decoded == RESULT_OK) *value = length;
        return decoded;
      }
      case Source::TableType:
      case Source::RoutineType:
      case Source::IndexType:
      case Source::ColumnKind:
      case Source::ParamLength: {
        std::int32_t wide = 0;
        const ResultCode result = integerValue(*shaped, wide, isNull);
        if (result == RESULT_OK || shaped->source != Source::RoutineType) *value = wide;
        return result;
      }
      default:
        return RESULT_NOT_SUPPORTED;
    }
  });
}

}  // namespace quovex::inf
