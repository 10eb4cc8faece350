// Informix's dialect as the stand-in hands it to SQLite: each case is the
// text a host sends and the text SQLite runs.
#include <gtest/gtest.h>

#include <string>

#include "type_phrases.h"

namespace {

struct DialectCase {
  const char* informix;
  const char* sqlite;
};

const DialectCase kDialectCases[] = {
    {"SELECT a { the key } FROM t", "SELECT a /* the key */ FROM t"},
    {"SELECT a {*/ sneaky} FROM t", "SELECT a /* / sneaky*/ FROM t"},
    {"SELECT a -- rest\nFROM t", "SELECT a -- rest\nFROM t"},
    {"SELECT '{not a comment}' FROM t", "SELECT '{not a comment}' FROM t"},
    {"SELECT FIRST 10 a FROM t ORDER BY a", "SELECT a FROM t ORDER BY a LIMIT 10"},
    {"SELECT SKIP 5 FIRST 10 a FROM t;", "SELECT a FROM t LIMIT 10 OFFSET 5"},
    {"SELECT SKIP 5 a FROM t", "SELECT a FROM t LIMIT -1 OFFSET 5"},
    {"SELECT first FROM t", "SELECT first FROM t"},
    {"SELECT a FROM t WHERE b MATCHES 'a*?'", "SELECT a FROM t WHERE b GLOB 'a*?'"},
    {"SELECT a FROM t WHERE d = TODAY", "SELECT a FROM t WHERE d = date('now', 'localtime')"},
    {"SELECT CURRENT FROM t", "SELECT strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime') FROM t"},
    {"SELECT CURRENT YEAR TO SECOND FROM t", "SELECT strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime') FROM t"},
    {"SELECT CURRENT HOUR TO MINUTE FROM t", "SELECT strftime('%H:%M', 'now', 'localtime') FROM t"},
    {"INSERT INTO t VALUES (DATETIME (2012-01-02) YEAR TO DAY)", "INSERT INTO t VALUES ('2012-01-02')"},
    {"INSERT INTO t VALUES (DATETIME(2012-01-02 03:04) YEAR TO MINUTE)", "INSERT INTO t VALUES ('2012-01-02 03:04')"},
    {"INSERT INTO t VALUES (INTERVAL (12 03:04) DAY(3) TO MINUTE)", "INSERT INTO t VALUES ('12 03:04')"},
    {"CREATE TABLE t (d DATETIME YEAR TO DAY)", "CREATE TABLE t (d \"DATETIME YEAR TO DAY\")"},
    {"SELECT a, b FROM t WHERE a > 1 INTO TEMP picked WITH NO LOG",
     "CREATE TEMP TABLE picked AS SELECT a, b FROM t WHERE a > 1"},
    {"SELECT FIRST 2 a FROM t INTO TEMP two", "CREATE TEMP TABLE two AS SELECT a FROM t LIMIT 2"},
    {"INSERT INTO t VALUES (12345678901234567890.123456789)",
     "INSERT INTO t VALUES (X'31323334353637383930313233343536373839302E313233343536373839')"},
    {"INSERT INTO t VALUES (12345678901234.5, 9223372036854775807)",
     "INSERT INTO t VALUES (12345678901234.5, 9223372036854775807)"},
};

class DialectTest : public ::testing::TestWithParam<DialectCase> {};

TEST_P(DialectTest, InformixTextBecomesSqlite) {
  EXPECT_EQ(ifxrt::rewriteInformixStatement(GetParam().informix), GetParam().sqlite);
}

INSTANTIATE_TEST_SUITE_P(Cases, DialectTest, ::testing::ValuesIn(kDialectCases));

}  // namespace
