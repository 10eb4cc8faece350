// The computed columns of the catalogue shapes: decoded column types,
// index kinds and sort orders, routine kinds and return counts, and the
// expansion of procedures into one row per parameter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue_fixture.h"

using namespace quovex;

namespace {

using Names = std::vector<std::string>;

// The values of a row from column `from` (from 1) on.
Row tail(const Row& row, std::size_t from) { return Row(row.begin() + static_cast<long>(from - 1), row.end()); }
// The first `count` values of a row.
Row head(const Row& row, std::size_t count) { return Row(row.begin(), row.begin() + static_cast<long>(count)); }

TEST_F(CatalogueTest, ColumnsDecodeTheirInformixTypes) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listColumns("tipos", nullptr, 0, out); });
  EXPECT_EQ(shape(cursor), (std::vector<ShapedColumn>{{"RECNO", FIELD_INT32, 4, 0},
                                                      {"CATALOG_NAME", FIELD_STRING, 7, 7},
                                                      {"SCHEMA_NAME", FIELD_STRING, 33, 33},
                                                      {"TABLE_NAME", FIELD_STRING, 129, 129},
                                                      {"COLUMN_NAME", FIELD_STRING, 129, 129},
                                                      {"COLUMN_POSITION", FIELD_INT16, 2, 2},
                                                      {"COLUMN_TYPE", FIELD_INT16, 2, 0},
                                                      {"COLUMN_DATATYPE", FIELD_INT16, 2, 0},
                                                      {"COLUMN_TYPENAME", FIELD_STRING, 30, 30},
                                                      {"COLUMN_SUBTYPE", FIELD_INT16, 2, 0},
                                                      {"COLUMN_LENGTH", FIELD_INT32, 4, 0},
                                                      {"COLUMN_PRECISION", FIELD_INT16, 2, 0},
                                                      {"COLUMN_SCALE", FIELD_INT16, 2, 0},
                                                      {"COLUMN_NULLABLE", FIELD_INT16, 2, 0}}));
  // name, position, 8, field type, type name, subtype, length, precision, scale, nullable
  const std::vector<Row> expected = {
      {"c", "1", "8", "1", "CHAR", "31", "21", "20", "0", "1"},
      {"s", "2", "8", "5", "SMALLINT", "0", "2", "0", "0", "1"},
      {"i", "3", "8", "6", "INT", "0", "4", "0", "0", "0"},
      {"f", "4", "8", "7", "FLOAT", "0", "8", "0", "0", "1"},
      {"sf", "5", "8", "7", "SMALLFLOAT", "0", "4", "0", "0", "1"},
      {"d", "6", "8", "8", "DECIMAL", "0", "4099", "16", "2", "1"},
      {"sr", "7", "8", "6", "SERIAL", "0", "4", "0", "0", "1"},
      {"dt", "8", "8", "2", "DATE", "0", "4", "0", "0", "1"},
      {"m", "9", "8", "8", "MONEY", "0", "3075", "12", "2", "1"},
      {"ts", "10", "8", "24", "DATETIME", "0", "16", "0", "0", "1"},
      {"by", "11", "8", "3", "BYTES", "23", "56", "0", "0", "1"},
      {"tx", "12", "8", "3", "TEXT", "22", "56", "0", "0", "1"},
      {"v", "13", "8", "1", "VARCHAR", "0", "41", "40", "0", "1"},
      {"iv", "14", "8", "1", "INTERVAL", "0", "26", "26", "3149", "1"},
      {"nc", "15", "8", "1", "NCHAR", "31", "11", "10", "0", "1"},
      {"nv", "16", "8", "1", "NVARCHAR", "0", "31", "30", "0", "1"},
      {"i8", "17", "8", "8", "INT8", "0", "34", "19", "0", "1"},
      {"bl", "18", "8", "3", "BLOB", "34", "72", "0", "0", "1"},
      {"cl", "19", "8", "3", "CLOB", "33", "72", "0", "0", "1"},
  };
  const std::vector<Row> read = rows(cursor);
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(head(read[i], 4), (Row{std::to_string(i + 1), "", "informix", "tipos"})) << i;
    EXPECT_EQ(tail(read[i], 5), expected[i]);
  }
}

// A DECIMAL(16,2) declared NOT NULL differs only in COLUMN_NULLABLE; an
// INTEGER PRIMARY KEY is NOT NULL.
TEST_F(CatalogueTest, ColumnsOfOneTableByPatternAndOfAllTables) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listColumns("clientes", "", 0, out); });
  const std::vector<Row> read = rows(cursor);
  ASSERT_EQ(read.size(), 5u);
  EXPECT_EQ(tail(read[0], 5), (Row{"codigo", "1", "8", "6", "INT", "0", "4", "0", "0", "0"}));
  EXPECT_EQ(tail(read[3], 5), (Row{"saldo", "4", "8", "8", "DECIMAL", "0", "4099", "16", "2", "1"}));
  EXPECT_EQ(tail(read[4], 5), (Row{"limite", "5", "8", "8", "DECIMAL", "0", "4099", "16", "2", "0"}));

  cursor = listed([&](void** out) { return metadata_.listColumns("clientes", "_i%", 0, out); });
  EXPECT_EQ(column(rows(cursor), 5), (Names{"cidade", "limite"}));

  cursor = listed([&](void** out) { return metadata_.listColumns("", "", 0, out); });
  const std::vector<Row> all = rows(cursor);
  ASSERT_GT(all.size(), 30u);
  for (std::size_t i = 1; i < all.size(); ++i) {
    const bool ordered = all[i - 1][3] < all[i][3] ||
                         (all[i - 1][3] == all[i][3] && std::stoi(all[i - 1][5]) < std::stoi(all[i][5]));
    EXPECT_TRUE(ordered) << all[i - 1][3] << "." << all[i - 1][4] << " before " << all[i][3] << "." << all[i][4];
  }
}

// Each index row is joined to its own constraint only: on a table with a
// primary key only the key's index is typed 4 and carries its name.
TEST_F(CatalogueTest, IndexesWithTheirKindsAndSortOrders) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listIndexes("pedidos", 0, out); });
  const std::vector<ShapedColumn> columns = shape(cursor);
  ASSERT_EQ(columns.size(), 11u);
  const std::vector<std::string> names = {"RECNO",          "CATALOG_NAME", "SCHEMA_NAME", "TABLE_NAME",
                                          "INDEX_NAME",     "COLUMN_NAME",  "COLUMN_POSITION", "PKEY_NAME",
                                          "INDEX_TYPE",     "SORT_ORDER",   "FILTER"};
  for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(columns[i].name, names[i]);
  EXPECT_EQ(columns[9], (ShapedColumn{"SORT_ORDER", FIELD_STRING, 2, 1}));
  EXPECT_EQ(columns[7].length, 129) << "the catalogue's own length for the constraint name";
  EXPECT_EQ(rows(cursor), (std::vector<Row>{
                              {"1", "", "informix", "pedidos", "pedidos_cliente", "cliente", "2", "<null>", "1", "A", ""},
                              {"2", "", "informix", "pedidos", "pedidos_cliente", "emissao", "3", "<null>", "1", "A", ""},
                              {"3", "", "informix", "pedidos", "pedidos_numero", "numero", "1", "<null>", "2", "D", ""},
                          }));

  cursor = listed([&](void** out) { return metadata_.listIndexes("clientes", 0, out); });
  EXPECT_EQ(rows(cursor), (std::vector<Row>{
                              {"1", "", "informix", "clientes", " 100_1", "codigo", "1", "u100_1", "4", "A", ""},
                              {"2", "", "informix", "clientes", "clientes_nome", "nome", "2", "<null>", "2", "A", ""},
                          }));

  struct Case {
    std::uint32_t mask;
    Names indexes;
  };
  const Case kCases[] = {{1, {"pedidos_cliente", "pedidos_cliente"}},
                         {2, {" 100_1", "clientes_nome", "pedidos_numero"}},
                         {4, {" 100_1"}},
                         {8, {" 100_1", "clientes_nome", "pedidos_cliente", "pedidos_cliente", "pedidos_numero"}}};
  for (const Case& c : kCases) {
    cursor = listed([&](void** out) { return metadata_.listIndexes(nullptr, c.mask, out); });
    EXPECT_EQ(column(rows(cursor), 5), c.indexes) << c.mask;
  }
}

TEST_F(CatalogueTest, ProceduresWithKindsAndParameterCounts) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listProcedures("", 1, out); });
  EXPECT_EQ(shape(cursor), (std::vector<ShapedColumn>{{"RECNO", FIELD_INT32, 4, 0},
                                                      {"CATALOG_NAME", FIELD_STRING, 7, 7},
                                                      {"SCHEMA_NAME", FIELD_STRING, 33, 33},
                                                      {"PROC_NAME", FIELD_STRING, 129, 129},
                                                      {"PROC_TYPE", FIELD_INT32, 4, 0},
                                                      {"IN_PARAMS", FIELD_INT32, 4, 4},
                                                      {"OUT_PARAMS", FIELD_INT32, 4, 2}}));
  EXPECT_EQ(rows(cursor), (std::vector<Row>{{"1", "", "informix", "aumenta_saldo", "1", "2", "0"},
                                            {"2", "", "informix", "limpa_pedidos", "1", "0", "0"},
                                            {"3", "", "informix", "pedidos_de", "2", "2", "2"},
                                            {"4", "", "informix", "total_geral", "2", "0", "1"}}));
  struct Case {
    const char* pattern;
    std::uint32_t mask;
    Names names;
  };
  const Case kCases[] = {{"", 2, {"pedidos_de", "total_geral"}},
                         {"", 8, {}},  // no system procedures in this database
                         {"", 4, {"aumenta_saldo", "limpa_pedidos", "pedidos_de", "total_geral"}},
                         {"%pedidos%", 0, {"limpa_pedidos", "pedidos_de"}},
                         {"%pedidos%", 2, {"pedidos_de"}}};
  for (const Case& c : kCases) {
    cursor = listed([&](void** out) { return metadata_.listProcedures(c.pattern, c.mask, out); });
    const std::vector<Row> read = rows(cursor);
    EXPECT_EQ(column(read, 4), c.names) << c.pattern << " mask " << c.mask;
    if (c.mask == 0) {
      EXPECT_EQ(read.front().size(), 7u) << "mask 0 keeps the procedures shape";
    }
  }
}

// One row per parameter; procedures without parameters are passed over,
// and the listing goes on to the procedures after them.
TEST_F(CatalogueTest, ProcedureParametersOneRowEach) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listProcedureParameters("", "ignored", out); });
  const std::vector<ShapedColumn> columns = shape(cursor);
  ASSERT_EQ(columns.size(), 14u);
  EXPECT_EQ(columns[4], (ShapedColumn{"PARAM_NAME", FIELD_STRING, 31, 31}));
  EXPECT_EQ(columns[9], (ShapedColumn{"PARAM_TYPENAME", FIELD_STRING, 31, 31}));
  EXPECT_EQ(columns[10], (ShapedColumn{"PARAM_LENGTH", FIELD_INT32, 4, 4}));
  EXPECT_EQ(columns[13], (ShapedColumn{"PARAM_NULLABLE", FIELD_INT16, 2, 2}));
  ResultCode end = RESULT_OK;
  EXPECT_EQ(rows(cursor, &end),
            (std::vector<Row>{
                {"1", "", "informix", "aumenta_saldo", "1", "1", "1", "6", "0", "integer", "4", "4", "0", "0"},
                {"2", "", "informix", "aumenta_saldo", "2", "2", "1", "8", "0", "decimal", "34", "34", "-1", "0"},
                {"3", "", "informix", "pedidos_de", "1", "1", "1", "6", "0", "integer", "4", "4", "0", "0"},
                {"4", "", "informix", "pedidos_de", "2", "2", "1", "2", "0", "date", "4", "4", "0", "0"},
            }));
  EXPECT_EQ(end, RESULT_NO_MORE_ROWS);
  EXPECT_EQ(cursor.fetchNext(), RESULT_NO_MORE_ROWS) << "stays at the end";

  cursor = listed([&](void** out) { return metadata_.listProcedureParameters("limpa_pedidos", nullptr, out); });
  EXPECT_TRUE(rows(cursor, &end).empty());
  EXPECT_EQ(end, RESULT_NO_MORE_ROWS);
}

// Type lists of any length are kept whole: a procedure of 300 parameters
// gives 300 rows, the last with its own type.
TEST_F(CatalogueTest, LongParameterListsAreKeptWhole) {
  std::string parameters;
  for (int i = 1; i <= 300; ++i) parameters += (i > 1 ? ", p" : "p") + std::to_string(i) + (i == 300 ? " DATE" : " SMALLINT");
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "muitos", parameters.c_str(), "", "SELECT 1"), 0);
  host::Cursor cursor = listed([&](void** out) { return metadata_.listProcedureParameters("muitos", "", out); });
  const std::vector<Row> read = rows(cursor);
  ASSERT_EQ(read.size(), 300u);
  EXPECT_EQ(tail(read[298], 5), (Row{"299", "299", "1", "5", "0", "smallint", "2", "2", "0", "0"}));
  EXPECT_EQ(tail(read[299], 5), (Row{"300", "300", "1", "2", "0", "date", "4", "4", "0", "0"}));
}

TEST_F(CatalogueTest, CursorColumnOperationsAndEdges) {
  host::Cursor cursor = listed([&](void** out) { return metadata_.listTables("", 1, out); });
  std::int16_t length = 0;
  EXPECT_EQ(cursor.columnNameLength(1, &length), RESULT_OK);
  EXPECT_EQ(length, 5) << "RECNO, without a terminator";
  std::int32_t flag = -1;
  const struct {
    int slot;
    std::int32_t value;
  } kFlags[] = {{14, 0}, {15, 0}, {16, 1}, {17, 1}};
  for (const auto& f : kFlags) {
    EXPECT_EQ(cursor.columnFlag(f.slot, 2, &flag), RESULT_OK);
    EXPECT_EQ(flag, f.value) << f.slot;
    EXPECT_EQ(cursor.columnFlag(f.slot, 6, &flag), RESULT_OUT_OF_RANGE) << f.slot;
  }
  EXPECT_EQ(cursor.columnFlag(18, 1, &flag), RESULT_NOT_SUPPORTED);
  std::int16_t scale = -1;
  EXPECT_EQ(cursor.columnScale(4, &scale), RESULT_OK);
  EXPECT_EQ(scale, 0);
  for (std::uint16_t outside : {0, 6}) {
    EXPECT_EQ(cursor.columnNameLength(outside, &length), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(cursor.columnScale(outside, &scale), RESULT_OUT_OF_RANGE);
  }
  EXPECT_EQ(cursor.setOption(1, 0), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(cursor.errorMessageLength(&length), RESULT_OK);
  EXPECT_EQ(length, 0);

  for (int i = 0; i < 3; ++i) ASSERT_EQ(cursor.fetchNext(), RESULT_OK);
  std::int32_t recno = 0;
  std::int32_t isNull = -1;
  EXPECT_EQ(cursor.readLong(1, &recno, &isNull), RESULT_OK);
  EXPECT_EQ(recno, 3);
  EXPECT_EQ(isNull, 0);
  double number = 0;
  EXPECT_EQ(cursor.readDouble(1, &number, &isNull), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(cursor.readLong(4, &recno, &isNull), RESULT_NOT_SUPPORTED) << "a text column";
  EXPECT_EQ(cursor.readLong(7, &recno, &isNull), RESULT_OUT_OF_RANGE);
  std::int16_t code = -1;
  EXPECT_EQ(cursor.readShort(5, &code, &isNull), RESULT_OK) << "type codes are served as 16-bit values too";
  EXPECT_EQ(code, 1);
  std::int16_t untouched = 77;
  isNull = 5;
  EXPECT_EQ(cursor.readShort(1, &untouched, &isNull), RESULT_OK) << "not a 16-bit source";
  EXPECT_EQ(untouched, 77);
  EXPECT_EQ(isNull, 5);
}

TEST_F(CatalogueTest, MetadataOptionsAndErrorText) {
  std::int32_t value = -1;
  std::int16_t length = -1;
  struct Case {
    std::int32_t option;
    ResultCode result;
    std::int32_t value;
    std::int16_t length;
  };
  const Case kCases[] = {{0, RESULT_OK, 0, 0},       {1, RESULT_OK, 0, 0},        {4, RESULT_OK, 0, 4},
                         {5, RESULT_OK, 1, 4},       {6, RESULT_NOT_SUPPORTED, -1, -1},
                         {7, RESULT_OK, 32768, 4},   {8, RESULT_OK, 32768, 4},    {9, RESULT_OK, 32768, 4},
                         {10, RESULT_OK, 4096, 4},   {12, RESULT_NOT_SUPPORTED, -1, -1},
                         {13, RESULT_OK, 0, 4},      {15, RESULT_OK, 0, 4},       {16, RESULT_OK, -1, -1},
                         {263, RESULT_OK, 32768, 4}};
  for (const Case& c : kCases) {
    value = -1;
    length = -1;
    EXPECT_EQ(metadata_.getOption(c.option, &value, sizeof value, &length), c.result) << c.option;
    if (c.option != 4) {  // the isolation level's value and length are the connection's
      EXPECT_EQ(value, c.value) << c.option;
      EXPECT_EQ(length, c.length) << c.option;
    }
  }
  EXPECT_EQ(metadata_.setOption(1, reinterpret_cast<std::intptr_t>("abc")), RESULT_OK);
  EXPECT_EQ(metadata_.setOption(2, 5), RESULT_OK) << "ignored";
  char text[8] = {};
  EXPECT_EQ(metadata_.getOption(1, text, sizeof text, &length), RESULT_OK);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(length, 4);
  char server[32] = {};
  EXPECT_EQ(metadata_.getOption(2, server, sizeof server, &length), RESULT_OK);
  EXPECT_EQ(length, 0) << "no server name set";
  void* none = nullptr;
  EXPECT_EQ(metadata_.listObjects(1, &none), RESULT_NOT_SUPPORTED);
  EXPECT_EQ(metadata_.errorMessageLength(&length), RESULT_OK);
  EXPECT_EQ(length, 0);
}

}  // namespace

namespace {

// Runs `sql` on the test's connection.
void runSql(const host::Connection& connection, const char* sql) {
  host::Command command;
  ASSERT_EQ(connection.createCommand(&command.self), RESULT_OK);
  EXPECT_EQ(command.executeDirect(sql, nullptr), RESULT_OK) << sql << ": " << command.errorText();
  EXPECT_EQ(command.release(), 0);
}

// VARCHAR(max, min) keeps its reserve out of the length; the 64-bit
// integers are BCD numbers of 19 digits; BOOLEAN a 16-bit integer, LVARCHAR
// a string; a DECIMAL without scale keeps the floating scale 255.
TEST_F(CatalogueTest, ColumnsOfTheWiderTypes) {
  runSql(connection_,
         "CREATE TABLE largos (vm VARCHAR(40,10), nvm NVARCHAR(30,5), s8 SERIAL8, bi BIGINT, bo BOOLEAN, "
         "lv LVARCHAR(500), fd DECIMAL(10))");
  host::Cursor cursor = listed([&](void** out) { return metadata_.listColumns("largos", nullptr, 0, out); });
  // name, position, 8, field type, type name, subtype, length, precision, scale, nullable
  const std::vector<Row> expected = {
      {"vm", "1", "8", "1", "VARCHAR", "0", "41", "40", "0", "1"},
      {"nvm", "2", "8", "1", "NVARCHAR", "0", "31", "30", "0", "1"},
      {"s8", "3", "8", "8", "SERIAL8", "0", "34", "19", "0", "1"},
      {"bi", "4", "8", "8", "BIGINT", "0", "34", "19", "0", "1"},
      {"bo", "5", "8", "5", "BOOLEAN", "0", "2", "0", "0", "1"},
      {"lv", "6", "8", "1", "LVARCHAR", "0", "501", "500", "0", "1"},
      {"fd", "7", "8", "8", "DECIMAL", "0", "2816", "10", "255", "1"},
  };
  const std::vector<Row> read = rows(cursor);
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < read.size(); ++i) EXPECT_EQ(tail(read[i], 5), expected[i]);
}

// A pattern's "_" and "%" match literally after a backslash, as Informix's
// LIKE has it.
TEST_F(CatalogueTest, BackslashEscapesAPatternCharacter) {
  runSql(connection_, "CREATE TABLE a_b (x INTEGER)");
  runSql(connection_, "CREATE TABLE axb (x INTEGER)");
  host::Cursor cursor = listed([&](void** out) { return metadata_.listTables("a_b", 1, out); });
  EXPECT_EQ(column(rows(cursor), 4), (Names{"a_b", "axb"}));
  cursor = listed([&](void** out) { return metadata_.listTables("a\\_b", 1, out); });
  EXPECT_EQ(column(rows(cursor), 4), (Names{"a_b"}));
}

}  // namespace
