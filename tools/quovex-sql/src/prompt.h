// The interactive prompt: line editing and history through libedit.
#pragma once

#include <optional>
#include <string>

#include "script_runner.h"

namespace quovexsql {

// Reads lines at a prompt until end of input or \quit and hands them to
// `runner` (which goes on after failures). History is read from and saved
// to `historyFile` unless it is empty.
void runPrompt(ScriptRunner& runner, const std::string& historyFile);

// ~/.quovex_sql_history, or empty when there is no home folder.
std::string defaultHistoryFile();

}  // namespace quovexsql
