#include "catalogue_statements.h"

#include <algorithm>
#include <initializer_list>

namespace quovex::inf {
namespace {

bool hasText(const char* pattern) { return pattern != nullptr && *pattern != '\0'; }

// `before` + the quoted pattern + `after`, e.g. " and t.tabname like " 'x' " ".
std::string likePiece(const char* column, const char* pattern) {
  return std::string(" ") + column + " like " + quotedLiteral(pattern) + " escape '\\' ";
}

// The pieces of the set bits of `mask`, lowest bit first, joined by " or "
// and put between parentheses; empty when no bit is set. `pieces` holds one
// piece per bit from bit value 1 upwards.
std::string typeFilter(std::uint32_t mask, std::initializer_list<const char*> pieces) {
  std::string filter;
  std::uint32_t bit = 1;
  for (const char* piece : pieces) {
    if ((mask & bit) != 0) {
      filter += piece;
      if ((mask & ~((bit << 1) - 1)) != 0) filter += " or ";
    }
    bit <<= 1;
  }
  return filter.empty() ? filter : "(" + filter + ")";
}

}  // namespace

std::string quotedLiteral(const char* pattern) {
  std::string quoted = "'";
  for (const char* c = pattern; c != nullptr && *c != '\0'; ++c) {
    if (*c == '\'') quoted += '\'';
    quoted += *c;
  }
  quoted += '\'';
  return quoted;
}

std::optional<std::string> objectListStatement(std::int32_t kind) {
  switch (static_cast<std::uint8_t>(kind)) {
    case CATALOGUE_DATABASES:
      return "select 0, t.owner, '', t.name from informix.sysdatabases t order by t.name ASC ";
    case CATALOGUE_TABLES:
      return "select 0, t.owner, '', t.tabname from informix.systables t where t.tabtype in ('T') order by t.tabname ";
    case CATALOGUE_VIEWS:
      return "select 0, t.owner, '', t.tabname from informix.systables t where t.tabtype in ('V') order by t.tabname ";
    case CATALOGUE_SYNONYMS:
      return "select 0, t.owner, '', t.tabname from informix.systables t where t.tabtype in ('P') order by t.tabname ";
    case CATALOGUE_PROCEDURES:
      return "select 0, t.owner, '', t.procname from informix.sysprocedures t order by t.procname ";
    case CATALOGUE_USERS:
      return "select 0, '', '', t.username from informix.sysusers t order by t.username ";
    case CATALOGUE_ROLES:
      return "select 0, '', '', t.rolename from informix.sysroleauth t order by t.rolename ";
    case CATALOGUE_EXTENDED_TYPES:
      return "select 0, t.owner, '', t.name from informix.sysxtdtypes t where t.name is not null order by t.name ";
    default:
      return std::nullopt;
  }
}

std::string tablesStatement(const char* tablePattern, std::uint32_t typeMask) {
  const std::uint32_t mask = std::min<std::uint32_t>(typeMask, 63);
  std::string sql = "select 0, '', t.owner, t.tabname, t.tabtype, t.tabid from informix.systables t ";
  sql += typeMask != 0 ? " where " : " ";
  sql += " ";
  sql += typeFilter(mask, {" (t.tabtype in ('T') and t.tabid >= 99) ", " (t.tabtype in ('V')) ",
                           " (t.tabtype in ('T') and t.tabid < 99) ", " (t.tabtype in ('P')) ",
                           " (t.tabtype in ('T','V','P')) ", " (t.tabtype in ('T','V','P')) "});
  sql += " ";
  if (hasText(tablePattern)) {
    sql += typeMask != 0 ? " and" : " where";
    sql += likePiece("t.tabname", tablePattern);
  } else {
    sql += " ";
  }
  sql += " ";
  sql += " order by t.tabname";
  sql += " ";
  return sql;
}

std::string proceduresStatement(const char* procedurePattern, std::uint32_t typeMask) {
  constexpr std::uint32_t kSelectsNothing = 4;
  const std::uint32_t mask = std::min<std::uint32_t>(typeMask, 15) & ~kSelectsNothing;
  std::string sql =
      "select 0, '', t.owner, t.procname, t.isproc, t.numargs,  t.numargs, t.procid  from informix.sysprocedures t  ";
  sql += mask != 0 ? " where " : " ";
  sql += "  ";
  sql += typeFilter(mask, {" ( t.procid > 175) ", " (t.isproc = 'f') ", "", " (t.isproc = 't' and t.procid < 175) "});
  sql += "  ";
  if (hasText(procedurePattern)) {
    sql += mask != 0 ? " and" : " where";
    sql += likePiece("t.procname", procedurePattern);
  } else {
    sql += " ";
  }
  sql += "  ";
  sql += " order by t.procname ASC, t.procid ASC ";
  sql += " ";
  return sql;
}

std::string columnsStatement(const char* tablePattern, const char* columnPattern) {
  std::string sql =
      "select 0, '', t.owner, t.tabname, c.colname, c.colno, 0,  c.coltype, '', 0, c.collength, 0, 0, 0, "
      "c.extended_id from "
      "informix.syscolumns c, informix.systables t where c.tabid = t.tabid  ";
  sql += hasText(tablePattern) ? " and" + likePiece("t.tabname", tablePattern) : std::string(" ");
  sql += "  ";
  sql += hasText(columnPattern) ? " and" + likePiece("c.colname", columnPattern) : std::string(" ");
  sql += " order by t.tabname ASC, c.colno ASC ";
  return sql;
}

std::string procedureParametersStatement(const char* procedurePattern) {
  std::string sql =
      "select 0, '', t.owner, t.procname, '', 0, 0, 0, 0, '', 0, 0, 0, 0, t.procid, t.numargs from "
      "informix.sysprocedures t  ";
  if (hasText(procedurePattern)) sql += " where" + likePiece("t.procname", procedurePattern);
  sql += "  ";
  sql += " order by t.procname ASC ";
  sql += " ";
  return sql;
}

std::string indexesStatement(const char* tablePattern, std::uint32_t typeMask) {
  const std::uint32_t mask = std::min<std::uint32_t>(typeMask, 7);
  std::string sql =
      "select 0, '', i.owner, t.tabname, i.idxname, c.colname, c.colno,  s.constrname, i.idxtype, i.part1, "
      "s.constrtype  from informix.syscolumns c, informix.systables t, informix.sysindexes i  left outer join "
      "informix.sysconstraints s on s.tabid = i.tabid and s.idxname = i.idxname  where t.tabid = i.tabid and "
      "c.tabid = t.tabid  and c.colno "
      "in (ABS(i.part1), ABS(i.part2), ABS(i.part3), ABS(i.part4),  ABS(i.part5), ABS(i.part6), ABS(i.part7), "
      "ABS(i.part8), ABS(i.part9),  ABS(i.part10), ABS(i.part11), ABS(i.part12), ABS(i.part13), ABS(i.part14), "
      "ABS(i.part15), ABS(i.part16))  ";
  if (typeMask != 0) sql += " and ";
  sql += "  ";
  sql += typeFilter(mask, {" (i.idxtype in ('-','D')) ", " (i.idxtype in ('U')) ", " (s.constrtype in ('P')) "});
  sql += "  ";
  sql += hasText(tablePattern) ? " and" + likePiece("t.tabname", tablePattern) : std::string(" ");
  sql += "  order by t.tabname ASC, i.idxname ASC, c.colno ASC ";
  return sql;
}

}  // namespace quovex::inf
