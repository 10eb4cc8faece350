// Informix status codes the stand-in produces. Each has a message template
// (message_templates.cpp).
#pragma once

#include <cstdint>

namespace ifxrt::code {

constexpr int32_t kNoMoreRows = 100;
constexpr int32_t kOutOfMemory = -3;
constexpr int32_t kIsamDuplicateKey = -100;
constexpr int32_t kIsamRecordLocked = -107;
constexpr int32_t kIsamNoRecord = -111;
constexpr int32_t kSyntaxError = -201;
constexpr int32_t kTableNotInDatabase = -206;
constexpr int32_t kQueryMemory = -208;
constexpr int32_t kColumnNotFound = -217;
constexpr int32_t kCannotReadRow = -244;
constexpr int32_t kNotInTransaction = -255;
constexpr int32_t kTransactionNotAvailable = -256;
constexpr int32_t kUniqueConstraint = -268;
constexpr int32_t kTableExists = -310;
constexpr int32_t kIndexExists = -316;
constexpr int32_t kDatabaseNotFound = -329;
constexpr int32_t kNullIntoColumn = -391;
constexpr int32_t kCheckConstraint = -530;
constexpr int32_t kAlreadyInTransaction = -535;
constexpr int32_t kMissingReferencedKey = -691;
constexpr int32_t kIncorrectLogin = -951;
constexpr int32_t kConnectionNameInUse = -1802;
constexpr int32_t kConnectionDoesNotExist = -1803;
constexpr int32_t kRuntimeError = -29000;

// Statements, cursors, values and large objects (ifxrt/statements.h).
constexpr int32_t kHostVariableCount = -254;
constexpr int32_t kNotExactlyOneRow = -284;  // a one-row query that yields several rows
constexpr int32_t kCursorNotOpen = -400;
constexpr int32_t kStatementNotAvailable = -404;
constexpr int32_t kCursorAlreadyOpen = -410;
constexpr int32_t kValueTruncated = -451;
constexpr int32_t kRoutineExists = -673;
constexpr int32_t kRoutineNotResolved = -674;
constexpr int32_t kDecimalOverflow = -1200;
constexpr int32_t kDivideByZero = -1202;
constexpr int32_t kInvalidYear = -1204;
constexpr int32_t kInvalidMonth = -1205;
constexpr int32_t kInvalidDay = -1206;
constexpr int32_t kBadDayCount = -1210;
constexpr int32_t kNotANumber = -1213;
constexpr int32_t kSmallintOverflow = -1214;
constexpr int32_t kIntegerOverflow = -1215;
constexpr int32_t kDateConversion = -1218;
constexpr int32_t kColumnPrecision = -1226;
constexpr int32_t kNoConversion = -1260;
constexpr int32_t kTextTooLong = -1279;
constexpr int32_t kTooManyDigits = -1261;
constexpr int32_t kNotADigit = -1262;
constexpr int32_t kFieldOutOfRange = -1263;
constexpr int32_t kExtraCharacters = -1264;
constexpr int32_t kBadQualifier = -1268;
constexpr int32_t kLobBadDescriptor = -9810;
constexpr int32_t kLobNotFound = -9811;
constexpr int32_t kLobWrongMode = -9812;

}  // namespace ifxrt::code
