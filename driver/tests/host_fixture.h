// Shared fixture of the host-style tests: a driver from the loaded library,
// stand-in databases in a temporary folder, a recording trace callback, and a
// clean client runtime (no connections, faults or logged statements) around
// every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "host_api.h"
#include "ifxrt/testing.h"
#include "quovex/types.h"

// One call of the trace callback as the host received it.
struct TraceEvent {
  std::int32_t callType;
  std::string text;
  std::uint16_t category;
  std::intptr_t clientValue;
};

// The host trace callback: appends to traceEvents().
std::int32_t recordTrace(std::int32_t callType, quovex::TraceRecord* record);
std::vector<TraceEvent>& traceEvents();
std::vector<std::string> traceTexts();

// A runtime statement as logged by the stand-in.
struct LoggedStatement {
  std::string text;
  std::string connection;
  friend bool operator==(const LoggedStatement&, const LoggedStatement&) = default;
};
std::vector<LoggedStatement> loggedStatements();

// Rows of `table` that another reader of the database file sees (committed
// data); -1 when it cannot be read.
std::int64_t committedRows(const std::string& path, const char* table);

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A database with the given logging kind and a table items(id, name).
  std::string createDatabase(const std::string& fileName, IfxLogging logging);
  std::string pathOf(const std::string& fileName) const;

  // A new connection from the driver, released when the test ends.
  host::Connection connection();
  // A new connection connected to `path` under the connection name `name`.
  host::Connection connectedAs(const std::string& path, const char* name);

  // Runs SQL on the runtime connection `name`, as the command work will; the status.
  static std::int32_t runOn(const char* name, const char* sql);

  host::Driver driver_;

 private:
  std::filesystem::path folder_;
  std::vector<host::Connection> owned_;
};
