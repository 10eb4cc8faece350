// SQL texts a command looks into or builds: the count of parameter markers in
// a prepared text, and the call text of a stored procedure.
#pragma once

#include <cstddef>
#include <string>

namespace quovex::inf {

// Counts the "?" outside single and double quotes. A quote character opens or
// closes its kind of quoted part unless the character before it is a
// backslash or the other kind of part is open, so a doubled quote toggles
// twice and changes nothing.
std::size_t countParameterMarkers(const char* sql);

// "EXECUTE PROCEDURE name ( ?, ? )" for two parameters, "EXECUTE PROCEDURE
// name ( )" for none.
std::string procedureCallText(const char* name, std::size_t parameterCount);

}  // namespace quovex::inf
