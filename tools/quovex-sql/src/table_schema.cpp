// Reading tables from the system catalogue and writing their CREATE statements.
#include "table_schema.h"

#include <cstdlib>
#include <map>
#include <ostream>

#include "session.h"
#include "type_names.h"
#include "value_text.h"

namespace quovexsql {

namespace {

constexpr int kIndexParts = 16;
constexpr int kFirstUserTable = 100;

int number(const Cell& cell) { return cell ? std::atoi(cell->c_str()) : 0; }
std::string text(const Cell& cell) { return cell ? *cell : std::string(); }

// CHAR columns of the catalogue keep their padding.
std::string trimmed(std::string value) {
  const auto first = value.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return value.substr(first, value.find_last_not_of(' ') - first + 1);
}

// Lines of a text kept in numbered pieces (sysviews, sysprocbody), joined.
std::string joined(const std::vector<Row>& rows) {
  std::string all;
  for (const Row& row : rows) all += text(row.empty() ? Cell{} : row[0]);
  return all;
}

bool readIndexes(Session& session, const TableSchema& table, const std::map<int, std::string>& columnNames,
                 const std::string& where, std::vector<SchemaIndex>* indexes) {
  std::string parts;
  for (int i = 1; i <= kIndexParts; ++i) parts += ", i.part" + std::to_string(i);
  std::vector<Row> rows;
  if (!session.query("select i.idxname, i.idxtype" + parts +
                         " from informix.sysindexes i, informix.systables t where i.tabid = t.tabid and t.tabname = " +
                         sqlLiteral(table.name) + " order by i.idxname",
                     where, &rows)) {
    return false;
  }
  std::vector<Row> constraints;
  if (!session.query("select c.constrname, c.idxname from informix.sysconstraints c, informix.systables t "
                     "where c.tabid = t.tabid and c.constrtype = 'P' and t.tabname = " +
                         sqlLiteral(table.name),
                     where, &constraints)) {
    return false;
  }
  for (const Row& row : rows) {
    SchemaIndex index;
    index.name = trimmed(text(row[0]));
    index.unique = trimmed(text(row[1])) == "U";
    for (int i = 0; i < kIndexParts; ++i) {
      const int part = number(row[2 + static_cast<std::size_t>(i)]);
      if (part == 0) continue;
      const auto found = columnNames.find(std::abs(part));
      const std::string name = found != columnNames.end() ? found->second : "column " + std::to_string(std::abs(part));
      index.columns.push_back(part < 0 ? name + " DESC" : name);
    }
    for (const Row& constraint : constraints) {
      if (trimmed(text(constraint[1])) == index.name) index.primaryKey = trimmed(text(constraint[0]));
    }
    indexes->push_back(std::move(index));
  }
  return true;
}

std::string commaList(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : ", ") + item;
  return list;
}

}  // namespace

std::string sqlLiteral(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

bool readTableSchema(Session& session, const std::string& name, const std::string& where, TableSchema* table) {
  std::vector<Row> tables;
  if (!session.query("select tabid, tabtype from informix.systables where tabname = " + sqlLiteral(name), where,
                     &tables)) {
    return false;
  }
  if (tables.empty()) {
    session.reportError(where, "no table named " + name);
    return false;
  }
  table->name = name;
  table->view = trimmed(text(tables[0][1])) == "V";
  std::vector<Row> rows;
  if (!session.query("select c.colno, c.colname, c.coltype, c.collength, x.name from informix.syscolumns c "
                     "left outer join informix.sysxtdtypes x on x.extended_id = c.extended_id "
                     "where c.tabid = " + text(tables[0][0]) + " order by c.colno",
                     where, &rows)) {
    return false;
  }
  std::map<int, std::string> columnNames;
  for (const Row& row : rows) {
    const int coltype = number(row[2]);
    table->columns.push_back({text(row[1]), columnTypeName(coltype, number(row[3]), trimmed(text(row[4]))),
                              isNotNull(coltype)});
    columnNames[number(row[0])] = text(row[1]);
  }
  return readIndexes(session, *table, columnNames, where, &table->indexes);
}

std::string createStatements(const TableSchema& table) {
  std::vector<std::string> parts;
  for (const SchemaColumn& column : table.columns) {
    parts.push_back(column.name + " " + column.type + (column.notNull ? " NOT NULL" : ""));
  }
  // The primary key is part of the table; its index comes with it.
  for (const SchemaIndex& index : table.indexes) {
    if (!index.primaryKey.empty()) {
      parts.push_back("PRIMARY KEY (" + commaList(index.columns) + ") CONSTRAINT " + index.primaryKey);
    }
  }
  std::string sql = "CREATE TABLE " + table.name + " (\n";
  for (std::size_t i = 0; i < parts.size(); ++i) sql += "  " + parts[i] + (i + 1 < parts.size() ? ",\n" : "\n");
  sql += ");\n";
  for (const SchemaIndex& index : table.indexes) {
    if (!index.primaryKey.empty()) continue;
    sql += std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " + index.name + " ON " + table.name +
           " (" + commaList(index.columns) + ");\n";
  }
  return sql;
}

namespace {

// The text of a view from sysviews, or a note when this catalogue has none.
std::string viewStatement(Session& session, const TableSchema& view, const std::string& where) {
  std::vector<Row> rows;
  if (session.query("select v.viewtext from informix.sysviews v, informix.systables t where v.tabid = t.tabid "
                    "and t.tabname = " + sqlLiteral(view.name) + " order by v.seqno",
                    where, &rows, Session::OnFailure::Quiet) &&
      !rows.empty()) {
    std::string text = joined(rows);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == ';')) text.pop_back();
    return text + ";\n";
  }
  std::string note =
      "-- view " + view.name + ": its text is not in this database's catalogue (no sysviews); columns:\n";
  for (const SchemaColumn& column : view.columns) note += "--   " + column.name + " " + column.type + "\n";
  return note;
}

void printProcedures(Session& session, const std::string& where) {
  std::vector<Row> procedures;
  if (!session.query("select procid, procname from informix.sysprocedures order by procid", where, &procedures,
                     Session::OnFailure::Quiet)) {
    return;
  }
  for (const Row& procedure : procedures) {
    std::vector<Row> body;
    const std::string name = trimmed(text(procedure[1]));
    if (session.query("select data from informix.sysprocbody where datakey = 'T' and procid = " + text(procedure[0]) +
                          " order by seqno",
                      where, &body, Session::OnFailure::Quiet) &&
        !body.empty()) {
      std::string text = joined(body);
      while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == ';')) text.pop_back();
      session.output() << escapeControlsKeepingLines(text) << ";\n\n";
    } else {
      session.output() << "-- procedure " << escapeControls(name)
                       << ": its text is not in this database's catalogue (no sysprocbody)\n\n";
    }
  }
}

}  // namespace

bool printSchema(Session& session, const std::string& table, const std::string& where) {
  std::vector<std::string> names;
  if (!table.empty()) {
    names.push_back(table);
  } else {
    std::vector<Row> rows;
    if (!session.query("select tabname from informix.systables where tabid >= " + std::to_string(kFirstUserTable) +
                           " and tabtype in ('T', 'V') order by tabid",
                       where, &rows)) {
      return false;
    }
    for (const Row& row : rows) names.push_back(trimmed(text(row[0])));
  }
  for (const std::string& name : names) {
    TableSchema schema;
    if (!readTableSchema(session, name, where, &schema)) return false;
    const std::string statements = schema.view ? viewStatement(session, schema, where) : createStatements(schema);
    session.output() << escapeControlsKeepingLines(statements) << "\n";
  }
  if (table.empty()) printProcedures(session, where);
  session.output().flush();
  return true;
}

}  // namespace quovexsql
