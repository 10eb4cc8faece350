// The library's dynamic symbol table holds the entry point and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(LibraryExports, OnlyTheEntryPoint) {
  const std::string command = std::string("nm -D --defined-only '") + QUOVEXINF_LIBRARY + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> symbols;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) symbols.push_back(type + " " + name);
  }
  const int status = pclose(pipe);
  if (status != 0 && symbols.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(symbols, std::vector<std::string>{"T getSQLDriverINFORMIX"});
}

}  // namespace
