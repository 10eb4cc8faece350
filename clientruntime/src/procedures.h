// Stored procedures registered in a database (table ifxrt_procedures, see
// ifxrt/testing.h) and the EXECUTE PROCEDURE statements that run them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ifxrt/client.h"
#include "prepared_statements.h"
#include "status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ifxrt {

inline constexpr const char* kProceduresTable = "ifxrt_procedures";

// True for "EXECUTE PROCEDURE ..." and "EXECUTE FUNCTION ...".
bool isProcedureCall(std::string_view sql);

// True for "CREATE [DBA] PROCEDURE|FUNCTION ..." and "DROP PROCEDURE|FUNCTION ...".
bool isRoutineDefinition(std::string_view sql);

// The SQLite statement that registers a routine in (or removes it from) the
// procedures table, as ifxrtAddProcedure does; creates the table when the
// database has none. CREATE takes "name (parameters) [RETURNING types] body
// [;] END PROCEDURE|FUNCTION" with one statement as the body: -673 for a name
// in use, -201 for a malformed text, the body's own error for a body that
// does not prepare. DROP gives -674 for an unknown name.
Status routineDefinitionText(sqlite3* db, std::string_view sql, std::string& sqliteText);

// Splits a comma-separated list at the commas outside parentheses and
// quotes; each part trimmed. An empty or blank text gives no parts.
std::vector<std::string> splitList(std::string_view list);

// Prepares an EXECUTE PROCEDURE text into `statement`: the procedure's body
// as the SQLite statement, its returned values as result columns, its
// arguments. -674 for an unknown procedure or a wrong argument count, -201
// for a malformed call, -29000 for a registration that does not work.
Status prepareProcedureCall(sqlite3* db, std::string_view sql, PreparedStatement& statement);

// Binds the arguments of a prepared call: markers from `parameters`,
// expressions evaluated on the spot. 0 or a status code.
int32_t bindProcedureArguments(sqlite3_stmt* body, const ProcedureCall& call, const IfxDescriptor* parameters);

class Database;

// Runs an EXECUTE PROCEDURE text without markers to its end (returned rows
// are passed over); rows processed for a body that changes rows.
Status runProcedureCall(Database& database, std::string_view sql);

}  // namespace ifxrt
