// Declared column types to Informix type numbers and encoded lengths, and
// the rewriting of the Informix type phrases SQLite does not parse.
#include <gtest/gtest.h>

#include "column_types.h"
#include "ifxrt/statements.h"
#include "type_phrases.h"

namespace {

struct TypeCase {
  const char* declared;
  int type;  // -1: no Informix type
  int length;
  int extendedType;
};

class ColumnTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ColumnTypeTest, DeclaredTypeGivesNumberAndEncodedLength) {
  const TypeCase& c = GetParam();
  const std::optional<ifxrt::ColumnType> type = ifxrt::columnTypeOf(c.declared);
  if (c.type == -1) {
    EXPECT_FALSE(type.has_value()) << c.declared;
    return;
  }
  ASSERT_TRUE(type.has_value()) << c.declared;
  EXPECT_EQ(type->type, c.type) << c.declared;
  EXPECT_EQ(type->length, c.length) << c.declared;
  EXPECT_EQ(type->extendedType, c.extendedType) << c.declared;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnTypeTest,
    ::testing::Values(
        TypeCase{"CHAR(10)", 0, 10, 0}, TypeCase{"char", 0, 1, 0}, TypeCase{"CHARACTER(3)", 0, 3, 0},
        TypeCase{"NCHAR(4)", 15, 4, 0}, TypeCase{"VARCHAR(20)", 13, 20, 0}, TypeCase{"varchar(10, 3)", 13, 778, 0},
        TypeCase{"CHARACTER VARYING(5)", 13, 5, 0}, TypeCase{"NVARCHAR(8,2)", 16, 520, 0},
        TypeCase{"SMALLINT", 1, 2, 0}, TypeCase{"INTEGER", 2, 4, 0}, TypeCase{"INT", 2, 4, 0},
        TypeCase{"SERIAL", 6, 4, 0}, TypeCase{"SERIAL(100)", 6, 4, 0}, TypeCase{"FLOAT", 3, 8, 0},
        TypeCase{"DOUBLE PRECISION", 3, 8, 0}, TypeCase{"SMALLFLOAT", 4, 4, 0}, TypeCase{"REAL", 4, 4, 0},
        TypeCase{"DECIMAL(16,2)", 5, 16 * 256 + 2, 0}, TypeCase{"DECIMAL(5)", 5, 5 * 256 + 255, 0},
        TypeCase{"DECIMAL", 5, 16 * 256 + 255, 0}, TypeCase{"NUMERIC(32,4)", 5, 32 * 256 + 4, 0},
        TypeCase{"MONEY(8,2)", 8, 8 * 256 + 2, 0}, TypeCase{"MONEY", 8, 16 * 256 + 2, 0},
        TypeCase{"MONEY(12)", 8, 12 * 256 + 2, 0}, TypeCase{"DATE", 7, 4, 0},
        TypeCase{"DATETIME YEAR TO SECOND", 10, 0x0E0A, 0},
        TypeCase{"\"DATETIME YEAR TO FRACTION(3)\"", 10, 4365, 0},
        TypeCase{"datetime hour to minute", 10, IFX_QUALIFIER(4, IFX_TU_HOUR, IFX_TU_MINUTE), 0},
        TypeCase{"DATETIME YEAR TO FRACTION", 10, 4365, 0}, TypeCase{"DATETIME DAY", 10, 0x0244, 0},
        TypeCase{"INTERVAL DAY(3) TO FRACTION(3)", 14, 0x0C4D, 0},
        TypeCase{"INTERVAL YEAR TO MONTH", 14, IFX_QUALIFIER(6, IFX_TU_YEAR, IFX_TU_MONTH), 0},
        TypeCase{"INTERVAL HOUR(5) TO SECOND", 14, IFX_QUALIFIER(9, IFX_TU_HOUR, IFX_TU_SECOND), 0},
        TypeCase{"BYTE", 11, 56, 0}, TypeCase{"TEXT", 12, 56, 0}, TypeCase{"BLOB", 41, 72, 10},
        TypeCase{"CLOB", 41, 72, 11}, TypeCase{"INT8", 17, 10, 0}, TypeCase{"SERIAL8", 18, 10, 0},
        TypeCase{"BOOLEAN", 45, 1, 0}, TypeCase{"LVARCHAR", 43, 2048, 0}, TypeCase{"LVARCHAR(500)", 43, 500, 0},
        // Not Informix types, or malformed.
        TypeCase{"", -1, 0, 0}, TypeCase{"STRING", -1, 0, 0}, TypeCase{"CHAR(0)", -1, 0, 0},
        TypeCase{"VARCHAR(256)", -1, 0, 0}, TypeCase{"DECIMAL(33,2)", -1, 0, 0},
        TypeCase{"DECIMAL(4,5)", -1, 0, 0}, TypeCase{"DATETIME SECOND TO YEAR", -1, 0, 0},
        TypeCase{"DATETIME YEAR(4) TO DAY", -1, 0, 0}, TypeCase{"INTERVAL YEAR TO DAY", -1, 0, 0},
        TypeCase{"INTERVAL DAY(10) TO HOUR", -1, 0, 0}, TypeCase{"DATETIME FRACTION TO FRACTION", -1, 0, 0},
        TypeCase{"INTEGER(4)", -1, 0, 0}, TypeCase{"CHAR(10", -1, 0, 0}));

struct RewriteCase {
  const char* sql;
  const char* rewritten;
};

class TypePhraseTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(TypePhraseTest, RewritesOnlyTheDatetimeAndIntervalPhrases) {
  EXPECT_EQ(ifxrt::rewriteTypePhrases(GetParam().sql), GetParam().rewritten);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TypePhraseTest,
    ::testing::Values(
        RewriteCase{"CREATE TABLE t (a DATETIME YEAR TO SECOND, b INT)",
                    "CREATE TABLE t (a \"DATETIME YEAR TO SECOND\", b INT)"},
        RewriteCase{"create table t (i interval day(3)  to fraction( 3 ) not null)",
                    "create table t (i \"INTERVAL DAY(3) TO FRACTION(3)\" not null)"},
        RewriteCase{"ALTER TABLE t ADD d DATETIME HOUR", "ALTER TABLE t ADD d \"DATETIME HOUR\""},
        RewriteCase{"CREATE TABLE t (m MONEY(8,2), c NCHAR(4), b BYTE, x TEXT)",
                    "CREATE TABLE t (m MONEY(8,2), c NCHAR(4), b BYTE, x TEXT)"},
        RewriteCase{"CREATE TABLE t (a \"DATETIME YEAR TO DAY\")", "CREATE TABLE t (a \"DATETIME YEAR TO DAY\")"},
        RewriteCase{"SELECT 'DATETIME YEAR TO DAY' -- INTERVAL DAY TO HOUR", "SELECT 'DATETIME YEAR TO DAY' -- INTERVAL DAY TO HOUR"},
        RewriteCase{"SELECT /* datetime year */ interval FROM t", "SELECT /* datetime year */ interval FROM t"},
        RewriteCase{"CREATE TABLE t (interval INTEGER, mydatetime YEAR)", "CREATE TABLE t (interval INTEGER, mydatetime YEAR)"},
        RewriteCase{"INSERT INTO t VALUES ('it''s DATETIME YEAR')", "INSERT INTO t VALUES ('it''s DATETIME YEAR')"},
        RewriteCase{"SELECT 'unterminated DATETIME YEAR", "SELECT 'unterminated DATETIME YEAR"}));

}  // namespace
