// The catalogue example program, run against the sample catalogue database:
// it lists tables, columns, indexes, procedures and procedure parameters.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "catalogue_fixture.h"

namespace {

using CatalogueExample = HostTest;

TEST_F(CatalogueExample, ListsTheSampleDatabase) {
  const std::string path = pathOf("amostra.db");
  ASSERT_TRUE(createCatalogueSample(path));
  const std::string command = std::string(QUOVEX_CATALOGUE_EXAMPLE) + " '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char chunk[512];
  while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) output += chunk;
  EXPECT_EQ(pclose(pipe), 0) << output;
  const char* printed[] = {
      "tables and views\n"
      "  SCHEMA_NAME='informix' TABLE_NAME='clientes' TABLE_TYPE=1\n"
      "  SCHEMA_NAME='informix' TABLE_NAME='d'agua' TABLE_TYPE=1\n"
      "  SCHEMA_NAME='informix' TABLE_NAME='devedores' TABLE_TYPE=2\n",
      "  SCHEMA_NAME='informix' TABLE_NAME='clientes' COLUMN_NAME='saldo' COLUMN_POSITION=4 COLUMN_TYPE=8 "
      "COLUMN_DATATYPE=8 COLUMN_TYPENAME='DECIMAL' COLUMN_SUBTYPE=0 COLUMN_LENGTH=4099 COLUMN_PRECISION=16 "
      "COLUMN_SCALE=2 COLUMN_NULLABLE=1\n",
      "  SCHEMA_NAME='informix' TABLE_NAME='tipos' COLUMN_NAME='c' COLUMN_POSITION=1 COLUMN_TYPE=8 "
      "COLUMN_DATATYPE=1 COLUMN_TYPENAME='CHAR' COLUMN_SUBTYPE=31 COLUMN_LENGTH=21 COLUMN_PRECISION=20 "
      "COLUMN_SCALE=0 COLUMN_NULLABLE=1\n",
      "indexes\n",
      "  SCHEMA_NAME='informix' TABLE_NAME='pedidos' INDEX_NAME='pedidos_numero' COLUMN_NAME='numero' "
      "COLUMN_POSITION=1 PKEY_NAME=NULL INDEX_TYPE=2 SORT_ORDER='D'\n",
      "procedures\n"
      "  SCHEMA_NAME='informix' PROC_NAME='aumenta_saldo' PROC_TYPE=1 IN_PARAMS=2 OUT_PARAMS=0\n",
      "procedure parameters\n"
      "  SCHEMA_NAME='informix' PROCEDURE_NAME='aumenta_saldo' PARAM_NAME='1' PARAM_POSITION=1 PARAM_TYPE=1 "
      "PARAM_DATATYPE=6 PARAM_SUBTYPE=0 PARAM_TYPENAME='integer' PARAM_LENGTH=4 PARAM_PRECISION=4 PARAM_SCALE=0 "
      "PARAM_NULLABLE=0\n",
      "  SCHEMA_NAME='informix' PROCEDURE_NAME='pedidos_de' PARAM_NAME='2' PARAM_POSITION=2 PARAM_TYPE=1 "
      "PARAM_DATATYPE=2 PARAM_SUBTYPE=0 PARAM_TYPENAME='date' PARAM_LENGTH=4 PARAM_PRECISION=4 PARAM_SCALE=0 "
      "PARAM_NULLABLE=0\n",
  };
  for (const char* expected : printed) EXPECT_NE(output.find(expected), std::string::npos) << expected << "\n" << output;
  EXPECT_EQ(output.find("failed"), std::string::npos) << output;
}

}  // namespace
