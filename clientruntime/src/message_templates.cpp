#include "message_templates.h"

#include "status_codes.h"

namespace ifxrt {
namespace {

struct MessageTemplate {
  int32_t code;
  const char* text;
};

constexpr MessageTemplate kTemplates[] = {
    {code::kNoMoreRows, "No matching records found."},
    {code::kOutOfMemory, "Out of memory."},
    {code::kIsamDuplicateKey, "ISAM error: duplicate value for a record with unique key."},
    {code::kIsamRecordLocked, "ISAM error: record is locked."},
    {code::kIsamNoRecord, "ISAM error: no record found."},
    {code::kSyntaxError, "A syntax error has occurred."},
    {code::kTableNotInDatabase, "The specified table (%s) is not in the database."},
    {code::kQueryMemory, "Memory allocation failed during query processing."},
    {code::kColumnNotFound, "Column (%s) not found in any table in the query (or SLV is undefined)."},
    {code::kCannotReadRow, "Could not do a physical-order read to fetch next row."},
    {code::kNotInTransaction, "Not in transaction."},
    {code::kTransactionNotAvailable, "Transaction not available."},
    {code::kUniqueConstraint, "Unique constraint (%s) violated."},
    {code::kTableExists, "Table (%s) already exists in database."},
    {code::kIndexExists, "Index (%s) already exists in database."},
    {code::kDatabaseNotFound, "Database not found or no system permission."},
    {code::kNullIntoColumn, "Cannot insert a null into column (%s)."},
    {code::kCheckConstraint, "Check constraint (%s) failed."},
    {code::kAlreadyInTransaction, "Already in transaction."},
    {code::kMissingReferencedKey, "Missing key in referenced table for referential constraint (%s)."},
    {code::kIncorrectLogin, "Incorrect password or user %s is not known on the database server."},
    {code::kConnectionNameInUse, "Connection name is already in use."},
    {code::kConnectionDoesNotExist, "Connection does not exist."},
    {code::kHostVariableCount, "Too many or too few host variables given."},
    {code::kNotExactlyOneRow, "A subquery has returned not exactly one row."},
    {code::kCursorNotOpen, "Fetch attempted on unopen cursor."},
    {code::kStatementNotAvailable, "The cursor or statement is not available. (%s)"},
    {code::kCursorAlreadyOpen, "Prepare statement failed or was not executed, or the cursor is already open."},
    {code::kValueTruncated, "Value truncated: the host variable is too small for the value."},
    {code::kRoutineExists, "Function/procedure (%s) already exists in the database."},
    {code::kRoutineNotResolved, "Routine (%s) can not be resolved."},
    {code::kDecimalOverflow, "A decimal or money value exceeds the maximum precision."},
    {code::kDivideByZero, "An attempt was made to divide by zero."},
    {code::kInvalidYear, "Invalid year in date."},
    {code::kInvalidMonth, "Invalid month in date."},
    {code::kInvalidDay, "Invalid day in date."},
    {code::kBadDayCount, "Internal date could not be converted to month/day/year format."},
    {code::kNotANumber, "Character to numeric conversion error (%s)."},
    {code::kSmallintOverflow, "Value too large to fit in a SMALLINT."},
    {code::kIntegerOverflow, "Value too large to fit in an INTEGER."},
    {code::kDateConversion, "String to date conversion error."},
    {code::kColumnPrecision, "Decimal or money value exceeds maximum precision."},
    {code::kNoConversion, "It is not possible to convert between the specified types."},
    {code::kTextTooLong, "Value exceeds string column length."},
    {code::kTooManyDigits, "Too many digits in the first field of datetime or interval."},
    {code::kNotADigit, "Non-numeric character in datetime or interval."},
    {code::kFieldOutOfRange, "A field in a datetime or interval value is out of range or incorrect."},
    {code::kExtraCharacters, "Extra characters at the end of a datetime or interval."},
    {code::kBadQualifier, "Invalid datetime or interval qualifier."},
    {code::kLobBadDescriptor, "Invalid large-object descriptor or handle."},
    {code::kLobNotFound, "Large object not found in this database."},
    {code::kLobWrongMode, "Large object is not open for this operation."},
    // The driver appends "sqlerrd[1] = <second detail code>" to this text;
    // the argument, when set, is "(<what failed>) ".
    {code::kRuntimeError, "Error in the client runtime. %s"},
};

}  // namespace

const char* findMessageTemplate(int32_t code) {
  for (const MessageTemplate& entry : kTemplates) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

}  // namespace ifxrt
