// The system catalogue presented from a database's schema, kept current
// after DDL, and the one-row query and variable-length text roles that read
// it.
#include <string>

#include "test_databases.h"

namespace {

constexpr const char* kSchema =
    "CREATE TABLE clientes (codigo INTEGER PRIMARY KEY, nome CHAR(20) NOT NULL, cidade VARCHAR(40), "
    "saldo DECIMAL(16,2));"
    "CREATE UNIQUE INDEX clientes_nome ON clientes (nome);"
    "CREATE INDEX clientes_cidade ON clientes (cidade DESC, nome);"
    "CREATE TABLE itens (codigo CHAR(10) NOT NULL UNIQUE, preco MONEY(12,2) NOT NULL, visto DATETIME YEAR TO "
    "SECOND);"
    "CREATE VIEW caros AS SELECT codigo, preco FROM itens WHERE preco > 100;"
    "CREATE TABLE ifxrt_synonyms (name TEXT PRIMARY KEY, tabname TEXT NOT NULL);"
    "INSERT INTO ifxrt_synonyms VALUES ('fregueses', 'clientes');";

class CatalogueTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    path_ = pathOf("loja.db");
    ASSERT_EQ(ifxrtCreateDatabase(path_.c_str(), IFX_LOG_BUFFERED), 0);
    char error[200] = {};
    ASSERT_EQ(ifxrtRunScript(path_.c_str(), kSchema, error, sizeof error), 0) << error;
    ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "aumenta", "p_codigo INTEGER, p_valor DECIMAL(16,2)", "",
                                "UPDATE clientes SET saldo = saldo + :p_valor WHERE codigo = :p_codigo"),
              0);
    ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "total", "", "DECIMAL(16,2), INTEGER",
                                "SELECT sum(saldo), count(*) FROM clientes"),
              0);
    ASSERT_EQ(connect(path_, "cat"), 0);
  }

  // The one text the query yields, through the one-row query roles; the
  // status goes to `status`.
  static std::string selectText(const std::string& sql, int32_t* status = nullptr) {
    IfxVarText* text = nullptr;
    EXPECT_EQ(clientVarTextNew(&text), 0);
    IfxValueArea* output = clientOutputArea(1);
    EXPECT_EQ(clientBindOutput(output, 0, IFX_TYPE_LVARCHAR, text, 0, nullptr), 0);
    char id[8] = {};
    clientSelectInto(id, sql.c_str(), nullptr, output);
    if (status != nullptr) *status = clientStatusCode();
    std::string value = clientVarTextIsNull(text) ? "NULL" : std::string(clientVarTextData(text));
    EXPECT_EQ(static_cast<size_t>(clientVarTextLength(text)), clientVarTextIsNull(text) ? 0u : value.size());
    clientVarTextFree(text);
    return value;
  }

  // Rows of a catalogue query, one "a:b:c" per row, separated by blanks.
  static std::string rows(const std::string& columns, const std::string& rest) {
    return selectText("select group_concat(r, ' ') from (select " + columns + " as r " + rest + ")");
  }

  std::string path_;
};

TEST_F(CatalogueTest, TablesAreNumberedFromOneHundredWithTheirKinds) {
  EXPECT_EQ(rows("tabname || ':' || tabid || ':' || tabtype", "from informix.systables where tabid >= 99 order by tabid"),
            "clientes:100:T itens:101:T caros:102:V fregueses:103:P");
  EXPECT_EQ(rows("tabname || ':' || tabid", "from informix.systables where tabid < 99 and tabname like 'sys%s' "
                                            "order by tabid"),
            "systables:1 syscolumns:2 sysindexes:3 sysusers:7 sysconstraints:11 sysprocedures:16 sysxtdtypes:21 "
            "sysdatabases:22");
  EXPECT_EQ(rows("name", "from informix.sysdatabases"), "loja");
}

// coltype carries the NOT NULL bit 256 (primary keys are NOT NULL);
// collength is the encoded length.
TEST_F(CatalogueTest, ColumnsCarryTypeNumbersAndEncodedLengths) {
  EXPECT_EQ(rows("colname || ':' || colno || ':' || coltype || ':' || collength",
                 "from informix.syscolumns where tabid = 100 order by colno"),
            "codigo:1:258:4 nome:2:256:20 cidade:3:13:40 saldo:4:5:4098");
  EXPECT_EQ(rows("colname || ':' || coltype || ':' || collength",
                 "from informix.syscolumns where tabid = 101 order by colno"),
            "codigo:256:10 preco:264:3074 visto:10:3594");
  EXPECT_EQ(rows("colname || ':' || coltype", "from informix.syscolumns where tabid = 102 order by colno"),
            "codigo:0 preco:8")
      << "a view's columns take their types, not their constraints";
}

TEST_F(CatalogueTest, IndexesListTheirPartsAndConstraints) {
  EXPECT_EQ(rows("trim(idxname) || ':' || idxtype || ':' || part1 || ',' || part2 || ',' || part3",
                 "from informix.sysindexes where tabid = 100 order by idxname"),
            "100_1:U:1,0,0 clientes_cidade:D:-3,2,0 clientes_nome:U:2,0,0");
  EXPECT_EQ(rows("constrname || ':' || constrtype || ':' || tabid || ':' || trim(idxname)",
                 "from informix.sysconstraints order by constrid"),
            "u100_1:P:100:100_1 u101_1:U:101:101_1");
}

TEST_F(CatalogueTest, ProceduresAndTheirTypeLists) {
  EXPECT_EQ(rows("procname || ':' || procid || ':' || isproc || ':' || numargs",
                 "from informix.sysprocedures order by procid"),
            "aumenta:176:t:2 total:177:f:0");
  EXPECT_EQ(selectText("select ifx_param_types(176) || '/' || ifx_ret_types(176)"), "integer,decimal/");
  EXPECT_EQ(selectText("select ifx_param_types(177) || '/' || ifx_ret_types(177)"), "/decimal,integer");
  EXPECT_EQ(selectText("select ifx_param_types(999)"), "NULL");
}

// The texts a host prints a schema from: a view's text in pieces of 64
// characters, a routine's in pieces of 256, joined again by their numbers.
TEST_F(CatalogueTest, ViewAndRoutineTexts) {
  EXPECT_EQ(selectText("select group_concat(viewtext, '') from (select viewtext from informix.sysviews "
                       "where tabid = 102 order by seqno)"),
            "CREATE VIEW caros AS SELECT codigo, preco FROM itens WHERE preco > 100");
  EXPECT_EQ(selectText("select count(*) from informix.sysviews where tabid = 102"), "2");
  EXPECT_EQ(selectText("select group_concat(data, '') from (select data from informix.sysprocbody "
                       "where procid = 177 and datakey = 'T' order by seqno)"),
            "CREATE FUNCTION total () RETURNING DECIMAL(16,2), INTEGER\n"
            "  SELECT sum(saldo), count(*) FROM clientes;\nEND FUNCTION;");
  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "total", "", "INTEGER", "SELECT count(*) FROM clientes"), 0);
  EXPECT_EQ(selectText("select data from informix.sysprocbody where procid = 177 and seqno = 0"),
            "CREATE FUNCTION total () RETURNING INTEGER\n  SELECT count(*) FROM clientes;\nEND FUNCTION;")
      << "a changed body is seen at once";
}

TEST_F(CatalogueTest, FollowsTheSchemaAfterDdlAndRollback) {
  EXPECT_EQ(execute("CREATE TABLE nova (a SMALLINT NOT NULL, b NCHAR(5))"), 0);
  EXPECT_EQ(rows("tabname || ':' || tabid", "from informix.systables where tabid >= 100 order by tabid"),
            "clientes:100 itens:101 caros:102 nova:103 fregueses:104");
  EXPECT_EQ(rows("colname || ':' || coltype", "from informix.syscolumns where tabid = 103"), "a:257 b:15");

  clientBeginWork();
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(execute("DROP TABLE nova"), 0);
  EXPECT_EQ(rows("count(*)", "from informix.systables where tabname = 'nova'"), "0");
  clientRollbackWork();
  ASSERT_EQ(clientStatusCode(), 0);
  EXPECT_EQ(rows("count(*)", "from informix.systables where tabname = 'nova'"), "1") << "rolled back with the DDL";

  ASSERT_EQ(ifxrtAddProcedure(path_.c_str(), "outra", "x DATE", "", "SELECT 1"), 0);  // another writer
  EXPECT_EQ(rows("procname", "from informix.sysprocedures where procid = 178"), "outra");
}

// The one-row query roles: inputs bound to markers, the first row written
// into the places, and the statuses for no row and several rows.
TEST_F(CatalogueTest, OneRowQueriesBindInputsAndReportRowCounts) {
  struct Case {
    int32_t key;
    int32_t status;
    int32_t number;
    const char* name;
  };
  const Case kCases[] = {{100, 0, 100, "clientes"}, {5, 100, -7, "unchanged"}};
  for (const Case& c : kCases) {
    int32_t number = -7;
    int16_t indicator = 5;
    char name[10] = "unchanged";
    IfxValueArea* output = clientOutputArea(2);
    ASSERT_EQ(clientBindOutput(output, 0, IFX_TYPE_INTEGER, &number, sizeof number, &indicator), 0);
    ASSERT_EQ(clientBindOutput(output, 1, IFX_TYPE_CHAR, name, sizeof name, nullptr), 0);
    IfxValueArea* input = clientInputArea(1);
    ASSERT_EQ(clientBindInput(input, 0, IFX_TYPE_INTEGER, &c.key, sizeof c.key), 0);
    char id[8] = {};
    clientSelectInto(id, "select tabid, tabname from informix.systables where tabid = ?", input, output);
    EXPECT_EQ(clientStatusCode(), c.status);
    EXPECT_EQ(number, c.number);
    EXPECT_STREQ(name, c.name);
  }
  int32_t status = 0;
  selectText("select tabname from informix.systables", &status);
  EXPECT_EQ(status, -284);
  EXPECT_EQ(std::string(ifxrtStatementText(ifxrtStatementCount() - 1)), "select tabname from informix.systables");

  IfxValueArea* unbound = clientInputArea(1);
  char id[8] = {};
  clientSelectInto(id, "select ?", unbound, nullptr);
  EXPECT_EQ(clientStatusCode(), -254);
  EXPECT_EQ(clientBindInput(nullptr, 0, IFX_TYPE_INTEGER, &status, 4), -254);
  IfxValueArea* area = clientInputArea(1);
  EXPECT_EQ(clientBindInput(area, 1, IFX_TYPE_INTEGER, &status, 4), -254) << "index out of range";
  EXPECT_EQ(clientBindInput(area, 0, IFX_TYPE_DATE, &status, 4), -254) << "a type it does not bind";
  clientSelectInto(id, nullptr, area, nullptr);
  EXPECT_EQ(clientStatusCode(), -201);
  EXPECT_EQ(clientInputArea(0), nullptr);
  EXPECT_EQ(clientStatusCode(), -254);
}

// A planned fault takes the role's place; the areas given to a failing
// select are still freed (the sanitizers see any leak).
TEST_F(CatalogueTest, FaultsOfTheOneRowAndTextRoles) {
  ifxrtFailCall(IFX_ROLE_OUTPUT_AREA, 1, -208, 0);
  EXPECT_EQ(clientOutputArea(1), nullptr);
  EXPECT_EQ(clientStatusCode(), -208);

  ifxrtFailCall(IFX_ROLE_SELECT_INTO, 1, -29000, -5);
  int32_t status = 0;
  EXPECT_EQ(selectText("select 'x'", &status), "NULL");
  EXPECT_EQ(status, -29000);

  IfxVarText* text = nullptr;
  ifxrtFailCall(IFX_ROLE_VARTEXT_NEW, 1, -3, 0);
  EXPECT_EQ(clientVarTextNew(&text), -3);
  EXPECT_EQ(text, nullptr);
  ASSERT_EQ(clientVarTextNew(&text), 0);
  EXPECT_EQ(clientVarTextIsNull(text), 1);
  EXPECT_STREQ(clientVarTextData(text), "");
  ifxrtFailCall(IFX_ROLE_VARTEXT_FREE, 1, -1, 0);
  EXPECT_EQ(clientVarTextFree(text), 0);
  EXPECT_EQ(clientVarTextIsNull(nullptr), 1);
  EXPECT_EQ(clientVarTextLength(nullptr), 0);
}

}  // namespace
