// Catalogue listings through the host's slots against the sample database:
// every listing's rows and every column of every shape, the statements with
// their masks and patterns, and the cursor's edge cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue_fixture.h"

using namespace quovex;

namespace {

using Names = std::vector<std::string>;

// The last statement the runtime was asked to run.
std::string lastStatement() {
  const std::size_t count = ifxrtStatementCount();
  return count == 0 ? std::string() : ifxrtStatementText(count - 1);
}

const std::vector<std::string> kCatalogueTables = {"syscolumns",    "sysconstraints", "sysdatabases",
                                                   "sysindexes",    "sysprocedures",  "sysroleauth",
                                                   "systables",     "sysusers",       "sysxtdtypes"};

TEST_F(CatalogueTest, ObjectListsByKind) {
  struct Case {
    std::int32_t kind;
    Names names;
    const char* schema;
  };
  Names tables = {"clientes", "d'agua", "pedidos"};
  tables.insert(tables.end(), kCatalogueTables.begin(), kCatalogueTables.end());
  tables.push_back("tipos");
  const Case kCases[] = {
      {0, {"catalogo"}, "informix"},
      {256, {"catalogo"}, "informix"},  // only the low 8 bits count
      {2, tables, "informix"},
      {3, {"devedores"}, "informix"},
      {4, {"fregueses"}, "informix"},
      {5, {"aumenta_saldo", "limpa_pedidos", "pedidos_de", "total_geral"}, "informix"},
      {6, {"ana"}, ""},
      {7, {}, ""},
      {8, {"blob", "boolean", "clob", "lvarchar"}, "informix"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.kind);
    host::Cursor cursor = listed([&](void** out) { return metadata_.listObjects(c.kind, out); });
    ResultCode end = RESULT_OK;
    const std::vector<Row> read = rows(cursor, &end);
    EXPECT_EQ(end, RESULT_NO_MORE_ROWS);
    EXPECT_EQ(column(read, 4), c.names);
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i], (Row{std::to_string(i + 1), c.schema, "", c.names[i]}));
    }
  }
}

TEST_F(CatalogueTest, ObjectListShapeAndRefusedKinds) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listObjects(2, out); });
  EXPECT_EQ(shape(cursor), (std::vector<ShapedColumn>{{"RECNO", FIELD_INT32, 4, 0},
                                                      {"SCHEMA", FIELD_STRING, 33, 33},
                                                      {"CATEGORY", FIELD_STRING, 7, 7},
                                                      {"OBJECT_NAME", FIELD_STRING, 129, 129}}));
  int marker = 0;
  for (std::int32_t kind : {1, 9, 255}) {
    void* none = &marker;
    EXPECT_EQ(metadata_.listObjects(kind, &none), RESULT_NOT_SUPPORTED) << kind;
    EXPECT_EQ(none, &marker) << "no cursor handed out";
  }
}

TEST_F(CatalogueTest, TablesByMaskAndPattern) {
  struct Case {
    const char* pattern;
    std::uint32_t mask;
    std::vector<Row> expected;  // name and TABLE_TYPE
  };
  std::vector<Row> system;
  for (const std::string& name : kCatalogueTables) system.push_back({name, "4"});
  std::vector<Row> everything = {{"clientes", "1"}, {"d'agua", "1"}, {"devedores", "2"}, {"fregueses", "8"},
                                 {"pedidos", "1"}};
  everything.insert(everything.end(), system.begin(), system.end());
  everything.push_back({"tipos", "1"});
  const Case kCases[] = {
      {"", 1, {{"clientes", "1"}, {"d'agua", "1"}, {"pedidos", "1"}, {"tipos", "1"}}},
      {"", 2, {{"devedores", "2"}}},
      {"", 3, {{"clientes", "1"}, {"d'agua", "1"}, {"devedores", "2"}, {"pedidos", "1"}, {"tipos", "1"}}},
      {"", 4, system},
      {"", 8, {{"fregueses", "8"}}},
      {"", 0, everything},   // its own shape, every row
      {"", 64, everything},  // counts as 63
      {"%e%", 0, {{"clientes", "1"}, {"devedores", "2"}, {"fregueses", "8"}, {"pedidos", "1"},
                  {"sysdatabases", "4"}, {"sysindexes", "4"}, {"sysprocedures", "4"}, {"sysroleauth", "4"},
                  {"systables", "4"}, {"sysusers", "4"}, {"sysxtdtypes", "4"}}},
      {"c%", 1, {{"clientes", "1"}}},
      {"d'agua", 1, {{"d'agua", "1"}}},
      {"x' or 'a' = 'a", 0, {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.pattern) + " mask " + std::to_string(c.mask));
    host::Cursor cursor = listed([&](void** out) { return metadata_.listTables(c.pattern, c.mask, out); });
    std::vector<Row> got;
    for (const Row& row : rows(cursor)) {
      ASSERT_EQ(row.size(), 5u);
      EXPECT_EQ(row[1], "");
      EXPECT_EQ(row[2], "informix");
      got.push_back({row[3], row[4]});
    }
    EXPECT_EQ(got, c.expected);
  }
  host::Cursor cursor = listed([&](void** out) { return metadata_.listTables(nullptr, 0, out); });
  EXPECT_EQ(shape(cursor), (std::vector<ShapedColumn>{{"RECNO", FIELD_INT32, 4, 0},
                                                      {"CATALOG_NAME", FIELD_STRING, 7, 7},
                                                      {"SCHEMA_NAME", FIELD_STRING, 33, 33},
                                                      {"TABLE_NAME", FIELD_STRING, 129, 129},
                                                      {"TABLE_TYPE", FIELD_INT32, 4, 0}}));
}

// The statements as the server receives them.
TEST_F(CatalogueTest, StatementsWithMasksAndPatterns) {
  struct Case {
    const char* name;
    ResultCode (*list)(const host::MetaData&, void**);
    const char* statement;
  };
  const Case kCases[] = {
      {"tables, mask 3", [](const host::MetaData& m, void** c) { return m.listTables("", 3, c); },
       "select 0, '', t.owner, t.tabname, t.tabtype, t.tabid from informix.systables t  where  ( (t.tabtype "
       "in ('T') and t.tabid >= 99)  or  (t.tabtype in ('V')) )    order by t.tabname "},
      {"tables, pattern, mask 0", [](const host::MetaData& m, void** c) { return m.listTables("cli%", 0, c); },
       "select 0, '', t.owner, t.tabname, t.tabtype, t.tabid from informix.systables t     where t.tabname l"
       "ike 'cli%' escape '\\'   order by t.tabname "},
      {"tables, quoted pattern, mask 2",
       [](const host::MetaData& m, void** c) { return m.listTables("o'neil''s", 2, c); },
       "select 0, '', t.owner, t.tabname, t.tabtype, t.tabid from informix.systables t  where  ( (t.tabtype "
       "in ('V')) )  and t.tabname like 'o''neil''''s' escape '\\'   order by t.tabname "},
      {"procedures, mask 4", [](const host::MetaData& m, void** c) { return m.listProcedures("", 4, c); },
       "select 0, '', t.owner, t.procname, t.isproc, t.numargs,  t.numargs, t.procid  from informix.sysproce"
       "dures t           order by t.procname ASC, t.procid ASC  "},
      {"procedures, mask 11", [](const host::MetaData& m, void** c) { return m.listProcedures("p%", 11, c); },
       "select 0, '', t.owner, t.procname, t.isproc, t.numargs,  t.numargs, t.procid  from informix.sysproce"
       "dures t   where   ( ( t.procid > 175)  or  (t.isproc = 'f')  or  (t.isproc = 't' and t.procid < 175)"
       " )   and t.procname like 'p%' escape '\\'    order by t.procname ASC, t.procid ASC  "},
      {"columns", [](const host::MetaData& m, void** c) { return m.listColumns("tipos", "s%", 0, c); },
       "select 0, '', t.owner, t.tabname, c.colname, c.colno, 0,  c.coltype, '', 0, c.collength, 0, 0, 0, c.e"
       "xtended_id from informix.syscolumns c, informix.systables t where c.tabid = t.tabid   and t.tabname "
       "like 'tipos' escape '\\'    and c.colname like 's%' escape '\\'  order by t.tabname ASC, c.colno ASC "},
      {"parameters", [](const host::MetaData& m, void** c) { return m.listProcedureParameters("p%", "ignored", c); },
       "select 0, '', t.owner, t.procname, '', 0, 0, 0, 0, '', 0, 0, 0, 0, t.procid, t.numargs from informix"
       ".sysprocedures t   where t.procname like 'p%' escape '\\'    order by t.procname ASC  "},
      {"indexes, mask 5", [](const host::MetaData& m, void** c) { return m.listIndexes("pedidos", 5, c); },
       "select 0, '', i.owner, t.tabname, i.idxname, c.colname, c.colno,  s.constrname, i.idxtype, i.part1, "
       "s.constrtype  from informix.syscolumns c, informix.systables t, informix.sysindexes i  left outer jo"
       "in informix.sysconstraints s on s.tabid = i.tabid and s.idxname = i.idxname  where t.tabid = i.tabid"
       " and c.tabid = t.tabid  and c.colno in (ABS(i.part1), ABS(i.part2), ABS(i.part3), ABS(i.part4),  ABS(i.part5), ABS(i.part6), A"
       "BS(i.part7), ABS(i.part8), ABS(i.part9),  ABS(i.part10), ABS(i.part11), ABS(i.part12), ABS(i.part13)"
       ", ABS(i.part14), ABS(i.part15), ABS(i.part16))   and   ( (i.idxtype in ('-','D'))  or  (s.constrtype"
       " in ('P')) )   and t.tabname like 'pedidos' escape '\\'   order by t.tabname ASC, i.idxname ASC, c.colno ASC "},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    listed([&](void** out) { return c.list(metadata_, out); });
    EXPECT_EQ(lastStatement(), c.statement);
  }
}

// A pattern is one quoted literal however long it is or whatever it holds.
TEST_F(CatalogueTest, PatternsCannotChangeTheStatement) {
  const std::string longPattern(5000, 'x');
  for (const std::string& pattern : {std::string("x' or '1'='1"), std::string("'; DROP TABLE clientes; --"),
                                     longPattern}) {
    host::Cursor cursor = listed([&](void** out) { return metadata_.listColumns(pattern.c_str(), pattern.c_str(), 0, out); });
    ResultCode end = RESULT_OK;
    EXPECT_TRUE(rows(cursor, &end).empty()) << pattern.substr(0, 40);
    EXPECT_EQ(end, RESULT_NO_MORE_ROWS);
  }
  host::Cursor cursor = listed([&](void** out) { return metadata_.listColumns("d'agua", "", 0, out); });
  EXPECT_EQ(column(rows(cursor), 5), Names{"litros"});
}

// A host walks the tables and lists each one's columns while it changes
// rows: the open listing is not rebuilt under it and sees every table once.
TEST_F(CatalogueTest, NestedListingsWhileRowsChange) {
  host::Cursor tables = listed([&](void** out) { return metadata_.listTables("", 1, out); });
  std::vector<std::string> seen;
  std::size_t columns = 0;
  char name[256] = {};
  std::int32_t isNull = 0;
  while (tables.fetchNext() == RESULT_OK) {
    ASSERT_EQ(tables.readString(4, name, &isNull), RESULT_OK);
    seen.push_back(name);
    ASSERT_EQ(runOn("CAT", ("INSERT INTO pedidos VALUES (" + std::to_string(seen.size()) + ", 1, NULL, 2)").c_str()),
              0);
    host::Cursor inner = listed([&](void** out) { return metadata_.listColumns(name, "", 0, out); });
    columns += rows(inner).size();
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"clientes", "d'agua", "pedidos", "tipos"}));
  EXPECT_EQ(columns, 5u + 1u + 4u + 19u);
}

}  // namespace
