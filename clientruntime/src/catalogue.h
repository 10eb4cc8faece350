// The Informix system catalogue of a database, presented from its SQLite
// schema.
//
// Every connection has an in-memory schema named "informix" holding the
// catalogue tables the driver reads (informix.systables, syscolumns,
// sysindexes, sysconstraints, sysprocedures, sysdatabases, sysusers,
// sysroleauth, sysxtdtypes, sysviews, sysprocbody) and the SQL functions ifx_ret_types and
// ifx_param_types. The tables are rebuilt from the database's schema, its
// registered procedures (ifxrt_procedures), users (ifxrt_users) and synonyms
// (ifxrt_synonyms) before a statement that names "informix" runs, whenever
// any of these changed since the last build, so they follow DDL. A build
// made inside a transaction that is rolled back is undone with it and made
// again on the next use.
//
// What the tables hold:
//   systables      tabname, owner, tabid, tabtype, ncols: the catalogue's own
//                  tables with numbers below 99 (type 'T'); user tables ('T')
//                  and views ('V') from 100 in the order they were created,
//                  then synonyms ('P'); the runtime's own ifxrt_ tables and
//                  SQLite's sqlite_ tables are not listed
//   syscolumns     colname, tabid, colno (from 1), coltype (Informix type
//                  number, + 256 for NOT NULL and primary-key columns),
//                  collength (encoded length), extended_id
//   sysindexes     idxname, owner, tabid, idxtype ('U' unique, 'D'
//                  duplicates), part1..part16 (column numbers, negative for
//                  a descending key column, 0 unused); a primary key or
//                  unique constraint has an index named " <tabid>_<n>"
//   sysconstraints constrid, constrname, owner, tabid, constrtype ('P'
//                  primary key, 'U' unique), idxname
//   sysprocedures  procname, owner, procid (from 176), isproc ('t'
//                  procedure, 'f' function), numargs, paramtypes, rettypes
//   sysdatabases   name (the file name without its extension), owner
//   sysusers       username, usertype: the users of ifxrt_users
//   sysroleauth    rolename, grantee: empty (the stand-in has no roles)
//   sysxtdtypes    extended_id, name, owner: the built-in extended types
//   sysviews       tabid, seqno (from 0), viewtext: a view's CREATE VIEW
//                  text in pieces of 64 characters
//   sysprocbody    procid, datakey ('T'), seqno (from 0), data: a routine's
//                  text ("CREATE PROCEDURE name (parameters) [RETURNING
//                  types] body; END PROCEDURE;", FUNCTION for a function)
//                  in pieces of 256 characters
//   (sysviews and sysprocbody are not listed in systables and syscolumns)
// Owners are "informix". ifx_ret_types(procid) and ifx_param_types(procid)
// give a routine's return and parameter types as lower-case Informix type
// names separated by commas ("integer,date"), "" when it has none, NULL for
// an unknown routine.
#pragma once

#include <string_view>

#include "status.h"

struct sqlite3;

namespace ifxrt {

// Attaches the "informix" schema to a newly opened connection and registers
// the two functions. Run before any transaction is open.
Status attachCatalogue(sqlite3* db);

// Brings the catalogue tables up to date when `sql` names "informix" (in
// any case) and something they show has changed.
Status prepareCatalogue(sqlite3* db, std::string_view sql);

// The lower-case Informix name of a declared type ("DECIMAL(16,2)" gives
// "decimal"), as ifx_param_types lists it.
std::string catalogueTypeName(std::string_view declared);

}  // namespace ifxrt
