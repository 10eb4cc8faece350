// Shared fixture of the runtime tests: temporary stand-in databases, a clean
// runtime before and after each test, and readers of the status area by its
// byte offsets (the way the driver reads it).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "ifxrt/testing.h"

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Path of a file in this test's own temporary folder.
  std::string pathOf(const std::string& fileName) const;
  // Creates a database with the given logging kind and a table
  // items(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE); returns its path.
  std::string createDatabase(const std::string& fileName, IfxLogging logging);

  // Makes a login, connects and frees the login, as the driver does.
  // Returns the status code of the connect.
  int32_t connect(const std::string& target, const char* name = "c1", const char* user = "",
                  const char* password = "");
  // Runs an SQL text on the current connection; returns the status code.
  int32_t execute(const char* sql);

 private:
  std::filesystem::path folder_;
};

// Rows of `table` as another process would see them (committed data only);
// -1 when the file cannot be read.
int64_t committedRows(const std::string& path, const char* table);

// The status area read as bytes at fixed offsets.
int32_t areaInt(size_t offset);
char areaByte(size_t offset);
std::string areaArgument();
