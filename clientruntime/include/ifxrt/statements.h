// Statement roles of the client runtime stand-in: prepared statements and
// cursors, descriptor areas, value forms (decimal, date, date-time, interval),
// memory locators for BYTE and TEXT, and large objects for BLOB and CLOB.
// Included by ifxrt/client.h; see there for the status area and connections.
//
// Who touches the status area: the statement-level roles (clientPrepare,
// clientDescribe, clientExecute, clientDeclareCursor, clientOpenCursor,
// clientFetch, clientCloseCursor, clientFree) clear it first and then report
// their own status, as the connection roles do. clientFindStatement leaves it
// alone when it finds the name and reports -404 when it does not.
// clientFreeDescriptor, the value conversions and the large-object roles
// never touch it: they answer through their return value (0 success,
// negative an Informix error code). Every role that takes a handle or a
// pointer checks it: null gives its error code, never a crash.
//
// Status codes of these roles (each has a message template):
//   100   clientFetch: no more rows
//   -201  syntax error in a prepared text (also for an empty or null text)
//   -206  unknown table; -217 unknown column (message argument: the name)
//   -400  clientFetch on a cursor that is not open
//   -404  a null handle, or an unknown or freed statement or cursor name
//         (message argument: the name)
//   -410  a cursor opened twice without clientCloseCursor
//   -451  clientFetch: a value that does not fit its bound place (the row is
//         still fetched; the entry's indicator holds the full length)
//   -674  EXECUTE PROCEDURE of a procedure the database does not register
//         (message argument: the name)
//   -254  a parameter area with fewer entries than the statement's markers,
//         or an entry whose type or value cannot be bound
//   -1213 a text that is no number; -1200 a number too large for a decimal
//   -1204 invalid year, -1205 invalid month, -1206 invalid day,
//   -1210 a day count outside years 1 to 9999
//   -1261 too many digits in a date-time field; -1262 a non-digit where a
//         digit is required; -1263 a field out of range; -1264 extra
//         characters at the end of a date-time text
//   -1268 an invalid date-time qualifier
//   -9810 bad large-object descriptor or handle; -9811 large object not
//         found; -9812 large object not open for the operation asked
//   and the SQL error codes of client.h (-268, -391, -244, -29000 ...).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "ifxrt/client.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Informix type numbers, as described for columns and as given in
// descriptor entries. Only the low 8 bits name the type; IFX_TYPE_NOT_NULL
// (256) is added to a described column that is declared NOT NULL.
enum {
  IFX_TYPE_CHAR = 0,
  IFX_TYPE_SMALLINT = 1,
  IFX_TYPE_INTEGER = 2,
  IFX_TYPE_FLOAT = 3,
  IFX_TYPE_SMALLFLOAT = 4,
  IFX_TYPE_DECIMAL = 5,
  IFX_TYPE_SERIAL = 6,
  IFX_TYPE_DATE = 7,
  IFX_TYPE_MONEY = 8,
  IFX_TYPE_NULL = 9,
  IFX_TYPE_DATETIME = 10,
  IFX_TYPE_BYTE = 11,
  IFX_TYPE_TEXT = 12,
  IFX_TYPE_VARCHAR = 13,
  IFX_TYPE_INTERVAL = 14,
  IFX_TYPE_NCHAR = 15,
  IFX_TYPE_NVARCHAR = 16,
  IFX_TYPE_INT8 = 17,
  IFX_TYPE_SERIAL8 = 18,
  IFX_TYPE_LVARCHAR = 43,
  IFX_TYPE_BOOLEAN = 45,
  IFX_TYPE_OPAQUE = 41,  // fixed-size opaque type: BLOB and CLOB
  IFX_TYPE_NOT_NULL = 256
};

// Extended type ids of the opaque type 41.
enum { IFX_XID_BLOB = 10, IFX_XID_CLOB = 11 };

// Statement kinds, left as status code by clientDescribe.
enum {
  IFX_KIND_SELECT = 0,
  IFX_KIND_OTHER = 1,  // any statement not listed here
  IFX_KIND_UPDATE = 4,
  IFX_KIND_DELETE = 5,
  IFX_KIND_INSERT = 6,
  IFX_KIND_CREATE_TABLE = 14,
  IFX_KIND_DROP_TABLE = 15,
  IFX_KIND_CREATE_INDEX = 16,
  IFX_KIND_DROP_INDEX = 17,
  IFX_KIND_EXECUTE_PROCEDURE = 56
};

// Encoded lengths of the described columns (the entry's length):
//   CHAR(n), NCHAR(n): n; VARCHAR(m[,r]), NVARCHAR(m[,r]): m + 256*r;
//   SMALLINT 2; INTEGER, SERIAL 4; FLOAT 8; SMALLFLOAT 4; DATE 4;
//   DECIMAL(p,s), MONEY(p,s): 256*p + s (DECIMAL(p) without scale: 256*p+255;
//   DECIMAL alone is DECIMAL(16), MONEY alone MONEY(16,2));
//   DATETIME and INTERVAL: the qualifier (below); BYTE, TEXT 56;
//   BLOB, CLOB 72 (type 41, extended type id 10 or 11); INT8, SERIAL8 10;
//   BOOLEAN 1; LVARCHAR(n) n (2048 without n).

// ---------------------------------------------------------------------------
// Date-time and interval qualifiers: ((digits) << 8) | (start << 4) | end,
// digits being the count of digits from the start field to the end field.
enum {
  IFX_TU_YEAR = 0,
  IFX_TU_MONTH = 2,
  IFX_TU_DAY = 4,
  IFX_TU_HOUR = 6,
  IFX_TU_MINUTE = 8,
  IFX_TU_SECOND = 10,
  IFX_TU_F1 = 11,  // FRACTION(1) .. FRACTION(5); FRACTION alone is FRACTION(3)
  IFX_TU_F2 = 12,
  IFX_TU_F3 = 13,
  IFX_TU_F4 = 14,
  IFX_TU_F5 = 15
};
#define IFX_QUALIFIER(digits, start, end) ((int16_t)(((digits) << 8) | ((start) << 4) | (end)))
#define IFX_QUALIFIER_DIGITS(q) (((q) >> 8) & 0xFF)
#define IFX_QUALIFIER_START(q) (((q) >> 4) & 0xF)
#define IFX_QUALIFIER_END(q) ((q) & 0xF)
// A date-time qualifier names all digits of its fields: YEAR 4, every other
// field 2, the fraction 1 to 5. YEAR TO FRACTION(3) is 0x110D (4365), YEAR TO
// SECOND 0x0E0A. An interval's first field may have 1 to 9 digits: DAY(3) TO
// FRACTION(3) is IFX_QUALIFIER(3 + 13 - 4, IFX_TU_DAY, IFX_TU_F3) = 0x0C4D;
// in general digits = first-field digits + end - start, and a FRACTION(n)
// first field is not allowed.

// ---------------------------------------------------------------------------
// Value forms.

// Decimal: base-100 digits, most significant first. The value is
// 0.d0d1d2... * 100^exponent. sign is 1 for positive (and zero), 0 for
// negative, -1 for NULL. A zero has digitCount 0. At most 16 digit pairs:
// 32 significant decimal digits.
typedef struct IfxDecimal {
  int16_t exponent;
  int16_t sign;
  int16_t digitCount;
  char digits[16];
} IfxDecimal;

// Date-time and interval: the qualifier, then the fields from the start to
// the end field as one decimal (the digits of the fields in order, for
// example 20120304050607000 for YEAR TO FRACTION(3)). Callers set the
// qualifier before converting into the value; a value of qualifier 0 counts
// as NULL. An interval's value carries its sign in the decimal's sign.
typedef struct IfxDatetime {
  int16_t qualifier;
  IfxDecimal value;
} IfxDatetime;
typedef IfxDatetime IfxInterval;

// Dates are 32-bit day counts: 0 is 31 December 1899, 1 is 1 January 1900,
// -693594 is 1 January of year 1. Years 1 to 9999 are valid.

// ---------------------------------------------------------------------------
// Descriptor area: the columns of a described statement, or the parameter
// markers a caller fills in for clientExecute and clientOpenCursor.
//
// The layout is fixed: a 40-byte head, then one 68-byte entry per column or
// marker, packed on 4-byte boundaries. An area made by clientDescribe is one
// block (head, entries, names) that clientFreeDescriptor frees. A parameter
// area is made by the caller (IFX_DESCRIPTOR_SIZE bytes, count and entries
// set) and freed by the caller; the runtime never frees it.
// Packed on 4 bytes, the pointer members of an entry may sit off their
// natural alignment: read and write them by value (entry.data = p; char* d =
// entry.data), never take their address or bind a C++ reference to them
// (EXPECT_EQ(entry.data, ...), std::swap, std::min), which the undefined
// behaviour sanitizer reports.
#pragma pack(push, 4)
typedef struct IfxDescriptorEntry {
  int16_t type;          // 0: Informix type number (low 8 bits) + IFX_TYPE_NOT_NULL when described
  int16_t reserved0;     // 2
  int32_t length;        // 4: encoded length (described) or the bound place's length
  char* data;            // 8: the bound place (see "Bound places" below)
  int16_t* indicator;    // 16: -1 NULL, 0 present, >0 full length of a cut value; may be null
  char* name;            // 24: column name, NUL-terminated ("" for a parameter); runtime-owned when described
  int32_t extendedType;  // 32: extended type id of type 41 (10 BLOB, 11 CLOB), else 0
  int32_t sourceType;    // 36: the described type number, kept when the caller changes `type`
  int32_t sourceLength;  // 40: the described encoded length
  char reserved[24];     // 44
} IfxDescriptorEntry;

typedef struct IfxDescriptor {
  int16_t count;                // 0: number of entries
  int16_t reserved0;            // 2
  int32_t reserved1;            // 4
  IfxDescriptorEntry* entries;  // 8: the first entry (right after the head in areas the runtime makes)
  char reserved[24];            // 16
} IfxDescriptor;
#pragma pack(pop)

#define IFX_DESCRIPTOR_SIZE(count) (sizeof(IfxDescriptor) + (size_t)(count) * sizeof(IfxDescriptorEntry))

#ifdef __cplusplus
static_assert(sizeof(IfxDescriptor) == 40, "descriptor head is 40 bytes");
static_assert(sizeof(IfxDescriptorEntry) == 68, "descriptor entry is 68 bytes");
static_assert(sizeof(IfxDecimal) == 22, "decimal is 22 bytes");
static_assert(sizeof(IfxDatetime) == 24, "date-time is 24 bytes");
#endif

// Bound places. Before clientFetch the caller sets, in each entry of the
// column area, `type`, `length`, `data` and `indicator`; before
// clientExecute or clientOpenCursor the same in each entry of the parameter
// area. By the entry's type (low 8 bits) the place holds:
//   0 CHAR        a NUL-terminated text; `length` bytes with the NUL. Fetched
//                 CHAR(n)/NCHAR(n) values are padded with blanks to n (within
//                 length-1); an INTERVAL column fetched so gives its text
//                 (see clientIntervalToText); other columns their value as text.
//   13, 16 VARCHAR as CHAR, never padded. A parameter's text is read up to its
//                 NUL, or `length` bytes when `length` is above 0.
//   1 SMALLINT    int16_t      2 INTEGER, 6 SERIAL  int32_t
//   3 FLOAT       double       4 SMALLFLOAT         float
//   5 DECIMAL, 8 MONEY  IfxDecimal (22 bytes)
//   7 DATE        int32_t day count
//   10 DATETIME   IfxDatetime; on fetch a place whose qualifier is 0 takes the
//                 column's qualifier, otherwise the value is extended to the
//                 place's qualifier. A parameter's length is its qualifier.
//   14 INTERVAL   IfxInterval, as DATETIME.
//   11 BYTE, 12 TEXT  an IfxLocator (below).
//   41 BLOB/CLOB  an IfxLobHandle (below); `length` 72.
// Any other type in a bound entry makes the call fail with -254 (fetch,
// execute, open) without writing the rest. A fetched value that does not fit
// its place (a text longer than length-1) is cut, the indicator holds its full
// length and the fetch's status is -451 once all columns are written.
// A null `data` in an entry skips that column on fetch; a parameter with a
// null `data` is NULL. Parameter values are converted to the column's
// storage by the statement; texts into numeric columns are taken as numbers.

// Memory locator for BYTE and TEXT values (64 bytes).
typedef struct IfxLocator {
  int16_t locationKind;  // 0: IFX_LOC_MEMORY (1) is the only kind
  int16_t indicator;     // 2: -1 NULL, else 0 (set by fetch; read for parameters)
  int32_t type;          // 4: 11 BYTE or 12 TEXT
  int32_t size;          // 8: bytes of data in the buffer
  int32_t status;        // 12: 0, or the error code of the last fetch into it
  char* buffer;          // 16: the data
  int32_t bufferSize;    // 24: -1: the runtime allocates the buffer at fetch
  int32_t memoryFlags;   // 28: IFX_LOC_RUNTIME_BUFFER when the runtime allocated it
  int32_t openFlags;     // 32: unused, 0
  char reserved[28];     // 36
} IfxLocator;
enum { IFX_LOC_MEMORY = 1, IFX_LOC_RUNTIME_BUFFER = 1 };
#ifdef __cplusplus
static_assert(sizeof(IfxLocator) == 64, "locator is 64 bytes");
#endif
// Fetch into a locator: bufferSize -1, or a buffer the runtime allocated
// before (memoryFlags has IFX_LOC_RUNTIME_BUFFER): the runtime allocates (or
// reallocates) `buffer` with malloc for the value and sets size, bufferSize
// and the flag; the caller frees it with free(). A caller's own buffer
// (bufferSize >= 0, flag not set) receives at most bufferSize bytes; a longer
// value is cut, status -451. A NULL value: indicator -1, size 0.
// A 0-byte value is present (indicator 0) with size 0; buffer may stay null.
// As a parameter: `indicator` -1 (or the entry's indicator -1) is NULL,
// otherwise `size` bytes from `buffer` (a negative size gives -254).

// Large objects (BLOB and CLOB). A handle (72 bytes, opaque) names one
// object; it stays valid for as long as its database exists. Objects live
// in their database (table ifxrt_lobs); a BLOB or CLOB column holds the
// object's id. clientLobCreate, clientLobOpen and the storing of what was
// written (at clientLobClose) work on the current connection, inside its
// transaction like any statement; a handle of a database other than the
// current connection's gives -9811.
typedef struct IfxLobHandle {
  char bytes[72];
} IfxLobHandle;
typedef struct IfxLobSpec IfxLobSpec;  // creation record, opaque
typedef struct IfxLobStat {            // what clientLobStat reports
  int64_t size;
  int32_t type;  // IFX_XID_BLOB or IFX_XID_CLOB
  int32_t reserved;
} IfxLobStat;
// Open modes, combined as flags.
enum { IFX_LO_APPEND = 1, IFX_LO_RDWR = 2, IFX_LO_RDONLY = 4, IFX_LO_WRONLY = 8 };

// Statement and cursor handles: opaque, owned by the runtime, valid until
// clientFree of that handle or the connection it was prepared under closes
// (ifxrtReset too).
typedef struct IfxStatement IfxStatement;

// What clientFindStatement looks for.
enum { IFX_FIND_STATEMENT = 0, IFX_FIND_CURSOR = 1 };

// ---------------------------------------------------------------------------
// Prepared statements and cursors. Statement and cursor names are one
// process-wide name space each; a name is at most 128 characters.

// 31: the handle of the statement (mode IFX_FIND_STATEMENT) or cursor
// (IFX_FIND_CURSOR) of that name; null and status -404 (message argument: the
// name) when there is none, the name or mode is invalid. On success the
// status area is left alone.
IFXRT_API IfxStatement* clientFindStatement(const char* name, int32_t mode);

// 39: prepares `sql` under `statementName` on the current connection. A name
// already in use is freed first (with its cursors closed). Informix type
// phrases in DDL are rewritten as for clientExecuteText. Status 0, -201
// syntax, -206/-217 unknown table/column, -674 unknown procedure, -1803 no
// current connection, -404 for a null or too long name. The text is
// recorded in the statement log when prepared.
IFXRT_API void clientPrepare(const char* statementName, const char* sql);

// 41: describes a prepared statement. Writes to *columns a new descriptor
// area with one entry per result column (type with IFX_TYPE_NOT_NULL for NOT
// NULL columns, encoded length, extended type, name; data and indicator null)
// or, for a statement without result columns, an area of count 0; the caller
// frees it with clientFreeDescriptor. The status code is the statement kind
// (IFX_KIND_...: 0 SELECT, 56 EXECUTE PROCEDURE, another positive kind for
// the rest), or negative on failure, *columns then null: -404 null handle or
// a cursor handle, -3 no memory. A null `columns` gives -404 too.
// Expressions without a declared type are described from their first value
// when the statement only reads (INTEGER for whole numbers within 32 bits,
// DECIMAL(32,0) beyond, FLOAT, VARCHAR(255) for texts, BYTE for blobs), and
// as VARCHAR(255) when there is no value to look at.
IFXRT_API void clientDescribe(IfxStatement* statement, IfxDescriptor** columns);

// 47: runs a prepared statement that returns no rows, with the parameter
// area `parameters` (null when the statement has no markers). Rows processed
// (status area offset 92) is set for INSERT, UPDATE and DELETE and for an
// EXECUTE PROCEDURE whose body changes rows. A SELECT or a procedure
// returning rows runs and its rows are discarded. 100 for an UPDATE or
// DELETE that changes no row in an ANSI database. -254 for a parameter area
// with fewer entries than markers. The statement can run again.
IFXRT_API void clientExecute(IfxStatement* statement, IfxDescriptor* parameters);

// 21: declares cursor `cursorName` over a prepared statement (options: 4096
// and others accepted, no effect). A name in use is freed first. -404 null
// statement handle or a cursor handle given as statement, -404 null name.
IFXRT_API void clientDeclareCursor(const char* cursorName, IfxStatement* statement, int32_t options);

// 29: opens a declared cursor with the parameter area (null without
// markers): the statement runs on the connection it was prepared under, from
// the first row. -410 when already open. Statements that return no rows run
// when the cursor opens.
IFXRT_API void clientOpenCursor(IfxStatement* cursor, IfxDescriptor* parameters);

// 23: fetches the next row of an open cursor into the places bound in
// `columns` (the area from clientDescribe or one laid out the same way; entry
// i receives result column i). 0, 100 after the last row (again on every
// further call), -400 cursor not open, -404 null handle, -254 bad bound
// entry, -451 a value cut (see above). A null `columns` moves to the next
// row without writing.
IFXRT_API void clientFetch(IfxStatement* cursor, IfxDescriptor* columns);

// 35: closes an open cursor; it may be opened again. Closing a closed
// cursor succeeds. -404 null handle.
IFXRT_API void clientCloseCursor(IfxStatement* cursor);

// 89: frees a statement or a cursor (a cursor is closed first); its name
// becomes free. Freeing a statement closes and frees its cursors. -404 null
// or already freed handle (the handle must not be used after clientFree).
IFXRT_API void clientFree(IfxStatement* handle);

// 581: frees a descriptor area made by clientDescribe; null is ignored.
// Does not touch the status area, nor what the entries point to.
IFXRT_API void clientFreeDescriptor(IfxDescriptor* area);

// ---------------------------------------------------------------------------
// Value conversions: 0 on success, negative code otherwise; the status area
// is not touched. Null pointers give -1213 (decimal) or -1210/-1262 (dates
// and date-times).

// 422: text to decimal: optional blanks, sign, digits with one ".", an
// optional exponent (e/E and a signed integer), trailing blanks; at most
// `length` characters are read (a NUL ends it earlier; length < 0 reads to
// the NUL). -1213 not a number, -1200 for more than 16 base-100 digit pairs
// (32 digits when the point falls between pairs, else 31; leading and
// trailing zeros do not count) or beyond the decimal range.
IFXRT_API int32_t clientTextToDecimal(const char* text, int32_t length, IfxDecimal* value);
// 423: double to decimal: the shortest decimal (15 to 17 significant
// digits) that gives the double back, so 0.1 is 0.1. -1200 for NaN and
// infinities.
IFXRT_API int32_t clientDoubleToDecimal(double number, IfxDecimal* value);
// 434: decimal to text in `buffer` of `length` bytes: "-" for negative
// values, the integer digits ("0" when none), and with `right` >= 0 exactly
// `right` fraction digits (rounded half away from zero) after a "."; with
// right < 0 all fraction digits the value has. The rest of the buffer is
// filled with blanks; no NUL is written. -1 when the text does not fit,
// -1213 for a NULL decimal or a null pointer.
IFXRT_API int32_t clientDecimalToText(const IfxDecimal* value, char* buffer, int32_t length, int32_t right);
// 435: decimal to the nearest double. -1213 for NULL or a null pointer.
IFXRT_API int32_t clientDecimalToDouble(const IfxDecimal* value, double* number);

// 440: text to date-time of the qualifier already set in value->qualifier:
// the fields from the start to the end field, with "-" between date fields,
// " " between day and hour, ":" between time fields and "." before the
// fraction ("2003-07-04 13:05:09.234" for YEAR TO FRACTION(3)). Fewer
// fraction digits than the qualifier are padded with zeros; leading and
// trailing blanks are allowed. A date must exist (30 February is -1263).
IFXRT_API int32_t clientTextToDatetime(const char* text, IfxDatetime* value);
// 442: extends `in` to the qualifier already set in out->qualifier. Fields
// above the input's first field come from the current local date and time;
// fields below its last field are 1 for month and day and 0 for the rest.
// -1268 for an invalid qualifier.
IFXRT_API int32_t clientExtendDatetime(const IfxDatetime* in, IfxDatetime* out);
// 443: date-time to text, fields of its qualifier with the separators above
// (YEAR TO FRACTION(3): "yyyy-mm-dd hh:mm:ss.fff", 23 characters), into
// `buffer` of `size` bytes, NUL-terminated. -1 when it does not fit, -1268
// for an invalid qualifier.
IFXRT_API int32_t clientDatetimeToText(const IfxDatetime* value, char* buffer, size_t size);
// 470: day count to month, day and year (mdy[0] month, mdy[1] day, mdy[2]
// year). -1210 outside years 1 to 9999.
IFXRT_API int32_t clientDateToTriple(int32_t date, int16_t mdy[3]);
// 473: month, day and year to a day count. -1204 year outside 1 to 9999,
// -1205 month, -1206 day invalid.
IFXRT_API int32_t clientTripleToDate(const int16_t mdy[3], int32_t* date);

// Interval text, as a CHAR place receives an INTERVAL column: the first field
// right-aligned in its digits after a sign place (blank or "-"), then the
// other fields two digits each (the fraction its own digits) with the
// date-time separators: DAY(3) TO FRACTION(3) 12 days 3:04:05 is
// "  12 03:04:05.000". At most 25 characters. Not a runtime role of its own;
// 0, -1 when it does not fit `size`, -1268 invalid qualifier.
IFXRT_API int32_t clientIntervalToText(const IfxInterval* value, char* buffer, size_t size);
// Interval from its text (the form above; blanks and a leading "-" allowed),
// for the qualifier already set in value->qualifier. Codes as for date-times.
IFXRT_API int32_t clientTextToInterval(const char* text, IfxInterval* value);

// ---------------------------------------------------------------------------
// Large objects: results are 0 (or a count or descriptor) on success and a
// negative code otherwise; the status area is not touched.

// 794: makes a creation record into *creation (BLOB by default). -3 no memory.
IFXRT_API int32_t clientLobSpec(IfxLobSpec** creation);
// 788: frees a creation record; null is ignored. Returns 0.
IFXRT_API int32_t clientLobFreeSpec(IfxLobSpec* creation);
// Chooses BLOB or CLOB for objects created from this record (extended type id
// 10 or 11; other values give -9810). Not a runtime role of its own.
IFXRT_API int32_t clientLobSpecSetType(IfxLobSpec* creation, int32_t extendedType);
// 796: creates an empty large object in the database of the current
// connection and writes its handle. `mode` is an open mode (kept for
// compatibility, no effect): the object is not left open. -9810 null creation record or
// handle, -1803 no current connection, SQL error codes when the object
// cannot be stored.
IFXRT_API int32_t clientLobCreate(IfxLobSpec* creation, int32_t mode, IfxLobHandle* handle);
// 798: opens the object of a handle with IFX_LO_* mode flags; returns a
// descriptor (>= 0) for read, write, stat and close, at position 0 (the end
// with IFX_LO_APPEND). -9810 bad handle, -9811 object not found (or its
// database not open), -1803.
IFXRT_API int32_t clientLobOpen(const IfxLobHandle* handle, int32_t mode);
// 818: writes `length` bytes at the position and moves it; returns the count
// written. -9812 not open for writing, -9810 bad descriptor or length < 0.
// The object is stored when it is closed.
IFXRT_API int32_t clientLobWrite(int32_t descriptor, const char* buffer, int32_t length);
// 814: reads up to `length` bytes from the position into `buffer` and moves
// it; returns the count read (0 at the end). -9812 not open for reading.
IFXRT_API int32_t clientLobRead(int32_t descriptor, char* buffer, int32_t length);
// 812: reports the object's size and kind into *stat. -9810 bad descriptor.
IFXRT_API int32_t clientLobStat(int32_t descriptor, IfxLobStat* stat);
// 772: the size from a stat record into *size. -9810 for null pointers.
IFXRT_API int32_t clientLobSize(const IfxLobStat* stat, int64_t* size);
// 800: closes a descriptor, storing what was written. -9810 bad descriptor;
// SQL error codes when the object cannot be stored (the descriptor is closed
// all the same).
IFXRT_API int32_t clientLobClose(int32_t descriptor);

#ifdef __cplusplus
}
#endif
