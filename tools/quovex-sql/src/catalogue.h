// The shell's commands (lines that start with "\"): catalogue listings
// through the driver's metadata interface, transactions and the isolation
// level, help and quit.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "quovex/interfaces.h"

namespace quovexsql {

class Session;

enum class CommandKind {
  Help, Quit, Begin, Commit, Rollback, Isolation,
  Databases, Tables, Views, Synonyms, Procedures, Users, Roles, Describe, Parameters,
  Include, Connect, Timing, Expanded, Output, Pset, Set, Edit, Schema,
};

struct CommandSpec {
  const char* name;
  const char* arguments;
  const char* description;
  std::size_t minArgs;
  std::size_t maxArgs;
  CommandKind kind;
  const char* example = "";  // shown by \help COMMAND
};

// The command of that name ("\tables"), or null.
const CommandSpec* findCommand(const std::string& name);
const CommandSpec* findCommandOfKind(CommandKind kind);
// Every command name, for completion.
std::vector<std::string> commandNames();
// One line per command, for \help.
std::string helpText();
// The use of one command with an example, for \help COMMAND (with or
// without its "\").
std::string commandHelp(const std::string& name);

// One catalogue command: runs the listing, keeps the columns a person wants
// to see under plain titles and prints them as table or CSV.
class Catalogue {
 public:
  Catalogue(Session& session, quovex::SQLMetaData& metadata, const std::string& where)
      : session_(session), metadata_(metadata), where_(where) {}
  bool run(CommandKind kind, const std::vector<std::string>& args);

 private:
  struct Listing;
  bool listObjects(std::int32_t kind, const char* title);
  bool listTables(const std::string& pattern);
  bool listProcedures(const std::string& pattern);
  bool describeTable(const std::string& table);
  bool describeProcedure(const std::string& procedure);
  // Runs a listing whose cursor the metadata call puts in `cursor` and reads
  // all its rows; false (the failure printed) when it fails.
  template <typename List>
  bool read(List list, Listing* listing);

  Session& session_;
  quovex::SQLMetaData& metadata_;
  std::string where_;
};

}  // namespace quovexsql
