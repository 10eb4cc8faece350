// The host example program, run against a stand-in database: it connects,
// commits, rolls back and shows the text of a failed connect.
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
  EXPECT_NE(output.find("commit     0"), std::string::npos) << output;
  EXPECT_NE(output.find("rollback   0"), std::string::npos) << output;
  EXPECT_NE(output.find("traced     22 steps, 22 with client value 42"), std::string::npos) << output;
  EXPECT_NE(output.find("connect    11\n  error: Database not found or no system permission."), std::string::npos)
      << output;
}

}  // namespace
