#include "catalogue_fixture.h"

#include <algorithm>
#include <cstring>

using namespace quovex;

namespace {

constexpr const char* kSampleSchema =
    "CREATE TABLE clientes (codigo INTEGER PRIMARY KEY, nome CHAR(20) NOT NULL, cidade VARCHAR(40), "
    "saldo DECIMAL(16,2), limite DECIMAL(16,2) NOT NULL);"
    "CREATE UNIQUE INDEX clientes_nome ON clientes (nome);"
    "CREATE TABLE pedidos (numero INTEGER NOT NULL, cliente INTEGER NOT NULL, emissao DATE, "
    "total MONEY(12,2));"
    "CREATE INDEX pedidos_cliente ON pedidos (cliente, emissao DESC);"
    "CREATE UNIQUE INDEX pedidos_numero ON pedidos (numero DESC);"
    "CREATE TABLE tipos (c CHAR(20), s SMALLINT, i INTEGER NOT NULL, f FLOAT, sf SMALLFLOAT, "
    "d DECIMAL(16,2), sr SERIAL, dt DATE, m MONEY(12,2), ts DATETIME YEAR TO SECOND, by BYTE, tx TEXT, "
    "v VARCHAR(40), iv INTERVAL DAY(3) TO FRACTION(3), nc NCHAR(10), nv NVARCHAR(30), i8 INT8, bl BLOB, "
    "cl CLOB);"
    "CREATE TABLE \"d'agua\" (litros INTEGER);"
    "CREATE VIEW devedores AS SELECT codigo, nome FROM clientes WHERE saldo < 0;"
    "CREATE TABLE ifxrt_synonyms (name TEXT PRIMARY KEY, tabname TEXT NOT NULL);"
    "INSERT INTO ifxrt_synonyms VALUES ('fregueses', 'clientes');";

struct SampleRoutine {
  const char* name;
  const char* parameters;
  const char* returns;
  const char* body;
};

// In name order: a procedure with parameters, a procedure without, a
// function with parameters, a function without.
constexpr SampleRoutine kRoutines[] = {
    {"aumenta_saldo", "p_codigo INTEGER, p_valor DECIMAL(16,2)", "",
     "UPDATE clientes SET saldo = saldo + :p_valor WHERE codigo = :p_codigo"},
    {"limpa_pedidos", "", "", "DELETE FROM pedidos"},
    {"pedidos_de", "p_cliente INTEGER, p_desde DATE", "INTEGER, MONEY(12,2)",
     "SELECT numero, total FROM pedidos WHERE cliente = :p_cliente AND emissao >= :p_desde"},
    {"total_geral", "", "MONEY(12,2)", "SELECT sum(total) FROM pedidos"},
};

std::string numberText(std::int32_t value, std::int32_t isNull) {
  return isNull != 0 ? "<null>" : std::to_string(value);
}

}  // namespace

void PrintTo(const ShapedColumn& column, std::ostream* out) {
  *out << column.name << " type " << column.type << " length " << column.length << " precision "
       << column.precision;
}

bool createCatalogueSample(const std::string& path) {
  EXPECT_EQ(ifxrtCreateDatabase(path.c_str(), IFX_LOG_BUFFERED), 0);
  char error[256] = {};
  const std::int32_t ran = ifxrtRunScript(path.c_str(), kSampleSchema, error, sizeof error);
  EXPECT_EQ(ran, 0) << error;
  bool added = true;
  for (const SampleRoutine& routine : kRoutines) {
    added = ifxrtAddProcedure(path.c_str(), routine.name, routine.parameters, routine.returns, routine.body) == 0 &&
            added;
  }
  EXPECT_TRUE(added);
  return ran == 0 && added;
}

void CatalogueTest::SetUp() {
  HostTest::SetUp();
  path_ = pathOf("catalogo.db");
  ASSERT_TRUE(createCatalogueSample(path_));
  ASSERT_EQ(ifxrtAddUser(path_.c_str(), "ana", "segredo"), 0);
  connection_ = connection();
  ASSERT_EQ(connection_.setOption(19, reinterpret_cast<std::intptr_t>("CAT")), RESULT_OK);
  ASSERT_EQ(connection_.connect(path_.c_str(), "ana", "segredo"), RESULT_OK);
  ASSERT_EQ(connection_.createMetaData(&metadata_.self), RESULT_OK);
}

void CatalogueTest::TearDown() {
  for (const host::Cursor& cursor : cursors_) cursor.release();
  if (metadata_.self != nullptr) metadata_.release();
  HostTest::TearDown();
}

host::Cursor CatalogueTest::listed(const std::function<ResultCode(void**)>& listing) {
  void* cursor = nullptr;
  const ResultCode result = listing(&cursor);
  host::Cursor made;
  EXPECT_EQ(result, RESULT_OK);
  EXPECT_NE(cursor, nullptr);
  if (result == RESULT_OK && cursor != nullptr) {
    made.self = cursor;
    cursors_.push_back(made);
  }
  return made;
}

std::vector<ShapedColumn> CatalogueTest::shape(const host::Cursor& cursor) {
  std::vector<ShapedColumn> columns;
  std::int16_t count = 0;
  EXPECT_EQ(cursor.columnCount(&count), RESULT_OK);
  for (std::uint16_t column = 1; column <= count; ++column) {
    std::int16_t nameLength = 0;
    EXPECT_EQ(cursor.columnNameLength(column, &nameLength), RESULT_OK);
    std::string name(static_cast<std::size_t>(nameLength) + 1, '\0');
    EXPECT_EQ(cursor.columnName(column, name.data()), RESULT_OK);
    name.resize(static_cast<std::size_t>(nameLength));
    std::uint16_t type = 0;
    std::uint16_t subtype = 99;
    std::int32_t length = 0;
    std::int16_t precision = 0;
    EXPECT_EQ(cursor.columnType(column, &type, &subtype), RESULT_OK);
    EXPECT_EQ(subtype, SUBTYPE_NONE);
    EXPECT_EQ(cursor.columnLength(column, &length), RESULT_OK);
    EXPECT_EQ(cursor.columnPrecision(column, &precision), RESULT_OK);
    columns.push_back({name, type, length, precision});
  }
  return columns;
}

std::vector<Row> CatalogueTest::rows(const host::Cursor& cursor, ResultCode* end) {
  const std::vector<ShapedColumn> columns = shape(cursor);
  std::vector<Row> read;
  ResultCode fetched = RESULT_OK;
  while ((fetched = cursor.fetchNext()) == RESULT_OK) {
    Row row;
    for (std::uint16_t column = 1; column <= columns.size(); ++column) {
      const ShapedColumn& shaped = columns[column - 1];
      std::int32_t isNull = -1;
      if (shaped.type == FIELD_STRING) {
        std::string text(static_cast<std::size_t>(std::max(shaped.length, 0)) + 1, '\0');
        const ResultCode result = cursor.readString(column, text.data(), &isNull);
        text.resize(std::strlen(text.c_str()));
        row.push_back(result != RESULT_OK ? "<" + std::to_string(result) + ">" : isNull != 0 ? "<null>" : text);
      } else if (shaped.type == FIELD_INT16) {
        std::int16_t value = -999;
        const ResultCode result = cursor.readShort(column, &value, &isNull);
        row.push_back(result == RESULT_OK ? numberText(value, isNull) : "<" + std::to_string(result) + ">");
      } else {
        std::int32_t value = -999;
        const ResultCode result = cursor.readLong(column, &value, &isNull);
        row.push_back(result == RESULT_OK ? numberText(value, isNull) : "<" + std::to_string(result) + ">");
      }
    }
    read.push_back(row);
  }
  if (end != nullptr) *end = fetched;
  return read;
}

std::vector<std::string> CatalogueTest::column(const std::vector<Row>& rows, std::size_t column) {
  std::vector<std::string> values;
  for (const Row& row : rows) values.push_back(column - 1 < row.size() ? row[column - 1] : "<missing>");
  return values;
}
