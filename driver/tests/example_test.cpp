// The host example program, run against a stand-in database: it connects,
// creates a table, inserts a row with a value of every kind and a row of
// NULLs through parameters, prints them back, commits, rolls back and shows
// the text of a failed connect.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host_fixture.h"

namespace {

using HostExample = HostTest;

TEST_F(HostExample, RunsAgainstAStandInDatabase) {
  const std::string path = createDatabase("example.db", IFX_LOG_BUFFERED);
  const std::string command = std::string(QUOVEX_HOST_EXAMPLE) + " '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char chunk[256];
  while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) output += chunk;
  EXPECT_EQ(pclose(pipe), 0) << output;
  const char* printed[] = {
      "inserted   1 row\n",
      "row 1\n  id       1\n  code     'A-01  '\n  name     'Caneta esferográfica azul'\n  qty      12\n"
      "  price    12345.67\n  ratio    -0.125\n  due      31/12/2010\n  stamped  02/01/2011 13:14:15.678\n"
      "  photo    6 bytes: 89 50 4e 47 00 ff\n  note     'Proposta de preços'\n",
      "row 2\n  id       2\n  code     NULL\n  name     NULL\n  qty      NULL\n  price    NULL\n  ratio    NULL\n"
      "  due      NULL\n  stamped  NULL\n  photo    NULL\n  note     NULL\n",
  };
  for (const char* expected : printed) EXPECT_NE(output.find(expected), std::string::npos) << output;
  EXPECT_NE(output.find("commit     0"), std::string::npos) << output;
  EXPECT_NE(output.find("rollback   0"), std::string::npos) << output;
  EXPECT_NE(output.find("traced     all "), std::string::npos) << output;
  EXPECT_NE(output.find(" steps with client value 42\n"), std::string::npos) << output;
  EXPECT_NE(output.find("connect    11\n  error: Database not found or no system permission."), std::string::npos)
      << output;
}

}  // namespace
