// Informix type names from the catalogue's coded types, and the CREATE
// statements written from a table read back from the catalogue.
#include <gtest/gtest.h>

#include "table_schema.h"
#include "type_names.h"

namespace quovexsql {
namespace {

TEST(QuovexSqlTypeNames, EveryCodedTypeByItsNameWithQualifiers) {
  struct Case {
    int coltype;
    int collength;
    const char* name;
  };
  const Case cases[] = {
      {0, 5, "char(5)"},
      {256 + 1, 2, "smallint"},
      {2, 4, "integer"},
      {3, 8, "float"},
      {4, 4, "smallfloat"},
      {5, 16 * 256 + 2, "decimal(16,2)"},
      {5, 16 * 256 + 255, "decimal(16)"},
      {262, 4, "serial"},
      {7, 4, "date"},
      {8, 12 * 256 + 2, "money(12,2)"},
      {10, 14 * 256 + 0 * 16 + 10, "datetime year to second"},
      {10, 8 * 256 + 0 * 16 + 4, "datetime year to day"},
      {10, 11 * 256 + 6 * 16 + 13, "datetime hour to fraction(3)"},
      {11, 56, "byte"},
      {12, 56, "text"},
      {13, 10 * 256 + 100, "varchar(100,10)"},
      {13, 40, "varchar(40)"},
      {14, 3 * 256 + 4 * 16 + 4, "interval day(3) to day"},
      {14, 6 * 256 + 0 * 16 + 2, "interval year(4) to month"},
      {14, 9 * 256 + 6 * 16 + 13, "interval hour(2) to fraction(3)"},
      {15, 40, "nchar(40)"},
      {16, 60, "nvarchar(60)"},
      {17, 8, "int8"},
      {18, 8, "serial8"},
      {41, 72, "blob"},
      {43, 2048, "lvarchar(2048)"},
      {45, 1, "boolean"},
      {52, 8, "bigint"},
      {53, 8, "bigserial"},
      {99, 1, "type 99"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(columnTypeName(c.coltype, c.collength, c.coltype == 41 ? "blob" : ""), c.name) << c.coltype;
  }
  EXPECT_TRUE(isNotNull(262));
  EXPECT_FALSE(isNotNull(6));
}

TEST(QuovexSqlTypeNames, CreateStatementsOfATable) {
  TableSchema table;
  table.name = "lote";
  table.columns = {{"nro_lote", "smallint", true}, {"des_lote", "varchar(100)", false}};
  table.indexes = {{"pk", true, {"nro_lote"}, "u_lote"}, {"ix_des", false, {"des_lote DESC", "nro_lote"}, ""}};
  EXPECT_EQ(createStatements(table),
            "CREATE TABLE lote (\n"
            "  nro_lote smallint NOT NULL,\n"
            "  des_lote varchar(100),\n"
            "  PRIMARY KEY (nro_lote) CONSTRAINT u_lote\n"
            ");\n"
            "CREATE INDEX ix_des ON lote (des_lote DESC, nro_lote);\n");
  EXPECT_EQ(sqlLiteral("d'água"), "'d''água'");
}

}  // namespace
}  // namespace quovexsql
