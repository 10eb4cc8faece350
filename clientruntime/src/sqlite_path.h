// How the runtime names a database file to SQLite.
#pragma once

#include <string>

namespace ifxrt {

// The name under which SQLite opens the file `path` as a plain file. SQLite
// (as Debian builds it) reads a name beginning with "file:" as a URI, which
// would open another file and pass options such as "mode=" through; a
// relative path is therefore given as "./path", which is the same file and
// never a URI. An empty path stays empty.
std::string sqliteFileName(const std::string& path);

// The database file a connect target names. A target that names an existing
// file is that file, "@" and all; otherwise a server part, what follows the
// last "@", selects nothing and is dropped.
std::string databasePathOfTarget(const std::string& target);

}  // namespace ifxrt
