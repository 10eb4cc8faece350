// A table as the system catalogue describes it (columns with their types by
// name, indexes, primary key), read with SQL through the driver, and the
// CREATE statements of tables, views, indexes and procedures (\schema).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quovexsql {

class Session;

struct SchemaColumn {
  std::string name;
  std::string type;  // "decimal(16,2)"
  bool notNull = false;
};

struct SchemaIndex {
  std::string name;
  bool unique = false;
  std::vector<std::string> columns;  // in key order, "name DESC" for a descending part
  std::string primaryKey;           // name of the primary key constraint it carries, if any
};

struct TableSchema {
  std::string name;
  bool view = false;
  std::vector<SchemaColumn> columns;
  std::vector<SchemaIndex> indexes;
};

// A text as an SQL string literal: quotes doubled.
std::string sqlLiteral(const std::string& text);

// Reads the table `name` (matched exactly). False, with the failure printed,
// when the catalogue cannot be read or has no such table.
bool readTableSchema(Session& session, const std::string& name, const std::string& where, TableSchema* table);

// The CREATE TABLE (or, for a view, what the catalogue gives) and CREATE
// INDEX statements of one table.
std::string createStatements(const TableSchema& table);

// \schema [TABLE]: prints the statements of one table, or of every table,
// view and procedure of the database. False when it failed.
bool printSchema(Session& session, const std::string& table, const std::string& where);

}  // namespace quovexsql
