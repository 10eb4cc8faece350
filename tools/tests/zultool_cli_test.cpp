// The zultool executable: exit codes, messages, and files left untouched.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "temp_folder.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

struct RunResult {
  bool exitedNormally = false;  // false when a signal (a crash) ended it
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs zultool with `args` (already quoted), capturing both outputs; with
// `stdoutTo` given, standard output goes there instead.
RunResult runZultool(const TempFolder& folder, const std::string& args,
                     const std::filesystem::path& stdoutTo = {}) {
  const auto out = folder.path().parent_path() / (folder.path().filename().string() + ".out");
  const auto err = folder.path().parent_path() / (folder.path().filename().string() + ".err");
  const std::string command = shellQuoted(ZULTOOL_EXECUTABLE) + " " + args + " >" +
                              shellQuoted(stdoutTo.empty() ? out.string() : stdoutTo.string()) +
                              " 2>" + shellQuoted(err.string());
  const int status = std::system(command.c_str());
  RunResult result;
  // The shell reports a child ended by a signal as 128 + the signal number.
  result.exitedNormally = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) < 128;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (stdoutTo.empty()) result.out = readFile(out);
  result.err = readFile(err);
  std::filesystem::remove(out);  // nothing when stdout went elsewhere
  std::filesystem::remove(err);
  return result;
}

std::string arg(const std::filesystem::path& path) { return shellQuoted(path.string()); }

const std::filesystem::path kSample =
    std::filesystem::path(SAMPLES_SOURCE_DIR) / "PL_000014_2011.json";

TEST(ZultoolCli, ImportCheckExportOfASample) {
  TempFolder folder;
  const auto table = folder / "PL_000014_2011.ZUL";
  const RunResult imported = runZultool(folder, "import " + arg(kSample) + " " + arg(table));
  EXPECT_EQ(imported.exitCode, 0) << imported.err;

  const RunResult checked = runZultool(folder, "check --strict " + arg(table));
  EXPECT_EQ(checked.exitCode, 0) << checked.err;
  EXPECT_NE(checked.out.find("16 registros, 29 campos"), std::string::npos) << checked.out;
  EXPECT_EQ(checked.err, "");

  const RunResult exported = runZultool(folder, "export " + arg(table));
  EXPECT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(exported.out, readFile(kSample));

  // A later import replaces the file whole.
  const auto other = std::filesystem::path(SAMPLES_SOURCE_DIR) / "CP_000052_2012.json";
  EXPECT_EQ(runZultool(folder, "import " + arg(other) + " " + arg(table)).exitCode, 0);
  EXPECT_EQ(runZultool(folder, "export " + arg(table)).out, readFile(other));
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"PL_000014_2011.ZUL"});
}

TEST(ZultoolCli, RefusedImportNamesRecordAndFieldAndWritesNoFile) {
  TempFolder folder;
  std::string text = readFile(kSample);
  // Make the fifth record's lot number too large for an int16 field.
  std::size_t at = 0;
  for (int i = 0; i < 5; ++i) at = text.find("\"NRO_LOTE\": ", at) + 1;
  text.replace(at + 11, 1, "70000");
  writeFile(folder / "bad.json", text);

  const RunResult result =
      runZultool(folder, "import " + arg(folder / "bad.json") + " " + arg(folder / "out.ZUL"));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Registro 5, campo NRO_LOTE"), std::string::npos) << result.err;
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"bad.json"});
}

TEST(ZultoolCli, CheckWarnsAboutMissingFieldsAndStrictFails) {
  TempFolder folder;
  // A quotation's file under a bidding-process name lacks the PL fields.
  const auto quotation = std::filesystem::path(SAMPLES_SOURCE_DIR) / "CP_000052_2012.json";
  const auto misnamed = folder / "PL_000052_2012.ZUL";
  importJsonFile(quotation, misnamed);

  const RunResult lenient = runZultool(folder, "check " + arg(misnamed));
  EXPECT_EQ(lenient.exitCode, 0);
  EXPECT_NE(lenient.err.find("aviso"), std::string::npos) << lenient.err;
  EXPECT_NE(lenient.err.find("NRO_PROCESSO"), std::string::npos) << lenient.err;

  const RunResult strict = runZultool(folder, "check --strict " + arg(misnamed));
  EXPECT_EQ(strict.exitCode, 1);

  const RunResult asQuotation = runZultool(folder, "check --strict --purpose CP " + arg(misnamed));
  EXPECT_EQ(asQuotation.exitCode, 0) << asQuotation.err;
}

// Ways to damage a good table file; each must give a refusal, not a crash.
struct Damage {
  const char* name;
  std::string (*apply)(std::string bytes);
};

const Damage kDamages[] = {
    {"Empty", [](std::string) { return std::string(); }},
    {"TruncatedToHeader", [](std::string b) { return b.substr(0, 100); }},
    {"TruncatedToHalf", [](std::string b) { return b.substr(0, b.size() / 2); }},
    {"LastPageCut", [](std::string b) { return b.substr(0, b.size() - 1); }},
    {"HeaderMagicBroken", [](std::string b) { b[0] = 'X'; return b; }},
    {"PagesZeroedAfterTheFirst",
     [](std::string b) {
       for (std::size_t i = 4096; i < b.size(); ++i) b[i] = 0;
       return b;
     }},
    {"NotATableFile", [](std::string) { return std::string("{\"fields\": []}\n"); }},
};

TEST(ZultoolCli, CheckAndExportOfDamagedFilesFailWithAMessage) {
  TempFolder folder;
  importJsonFile(kSample, folder / "good.ZUL");
  const std::string good = readFile(folder / "good.ZUL");
  ASSERT_GT(good.size(), 8192u);

  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.name);
    const auto damaged = folder / (std::string(damage.name) + ".ZUL");
    const std::string bytes = damage.apply(good);
    writeFile(damaged, bytes);
    for (const char* command : {"check ", "export "}) {
      SCOPED_TRACE(command);
      const RunResult result = runZultool(folder, command + arg(damaged));
      EXPECT_TRUE(result.exitedNormally);
      EXPECT_EQ(result.exitCode, 1);
      EXPECT_NE(result.err.find("zultool: "), std::string::npos);
      EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(readFile(damaged), bytes);
  }
}

// An export whose output cannot be written (a full disk) fails with a
// message, not with a bare exit code.
TEST(ZultoolCli, ExportThatCannotWriteItsOutputSaysSo) {
  TempFolder folder;
  importJsonFile(kSample, folder / "good.ZUL");
  const RunResult result = runZultool(folder, "export " + arg(folder / "good.ZUL"), "/dev/full");
  EXPECT_TRUE(result.exitedNormally);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("zultool: "), std::string::npos) << result.err;
}

// A small table padded with zeros to 40 GB (sparse: no disk is used) is
// checked and exported with the memory of its rows.
TEST(ZultoolCli, CheckAndExportOfAPaddedFile) {
  TempFolder folder;
  const auto table = folder / "PL_000014_2011.ZUL";
  importJsonFile(kSample, table);
  std::filesystem::resize_file(table, std::uintmax_t{40} << 30);
  const RunResult checked = runZultool(folder, "check --strict " + arg(table));
  EXPECT_EQ(checked.exitCode, 0) << checked.err;
  EXPECT_NE(checked.out.find("16 registros, 29 campos"), std::string::npos) << checked.out;
  const RunResult exported = runZultool(folder, "export " + arg(table));
  EXPECT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(exported.out, readFile(kSample));
}

TEST(ZultoolCli, MissingFilesAndWrongCommandLines) {
  TempFolder folder;
  const struct {
    std::string args;
    int exitCode;
  } cases[] = {
      {"check " + arg(folder / "absent.ZUL"), 1},
      {"import " + arg(folder / "absent.json") + " " + arg(folder / "x.ZUL"), 1},
      {"", 2},
      {"check", 2},
      {"convert a b", 2},
      {"export a b", 2},
      {"check --purpose XX a", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const RunResult result = runZultool(folder, c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_FALSE(result.err.empty());
  }
  EXPECT_EQ(folder.entries(), std::vector<std::string>{});
}

// True when `text` is one line: printable but for its closing line break.
bool isOneLine(const std::string& text) {
  if (text.empty() || text.back() != '\n') return false;
  return std::none_of(text.begin(), text.end() - 1, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

// Names and values chosen to clear the terminal and then print a line that
// reads like a success. Every report and message of the three commands
// shows them escaped on one line.
TEST(ZultoolCli, HostileNamesStayOnOneEscapedLine) {
  TempFolder folder;
  const std::string hostile = "\x1B[2J\nImportado com sucesso";
  const std::string shown = "\\x1B[2J\\nImportado com sucesso";
  const std::string jsonHostile = "\\u001b[2J\\nImportado com sucesso";
  const auto table = folder / ("PL_" + hostile + ".ZUL");
  ASSERT_EQ(runZultool(folder, "import " + arg(kSample) + " " + arg(table)).exitCode, 0);
  writeFile(folder / ("notatable" + hostile), "NRO_LOTE;NRO_ITEM\n");
  std::filesystem::create_directory(folder / ("folder" + hostile));
  const std::string fields = R"({"fields": [{"name": "A", "kind": "int32"}], )";
  const std::pair<const char*, std::string> documents[] = {
      {"unknown field in a record", fields + R"("records": [{"A": 1, "B)" + jsonHostile + R"(": 2}]})"},
      {"bad field name", R"({"fields": [{"name": "A)" + jsonHostile + R"(", "kind": "int32"}], "records": []})"},
      {"unknown kind", R"({"fields": [{"name": "A", "kind": "x)" + jsonHostile + R"("}], "records": []})"},
      {"repeated key", fields + R"("records": [{"A)" + jsonHostile + R"(": 1, "A)" + jsonHostile + R"(": 1}]})"},
  };
  for (const auto& [name, document] : documents) writeFile(folder / name, document);

  struct Case {
    std::string what;
    std::string args;
    int exitCode;
  };
  std::vector<Case> cases = {
      {"check of a sound file", "check --strict " + arg(table), 0},
      {"check of a missing file", "check " + arg(folder / ("absent" + hostile)), 1},
      {"export of a file that is no table", "export " + arg(folder / ("notatable" + hostile)), 1},
      {"import from a folder", "import " + arg(folder / ("folder" + hostile)) + " " + arg(folder / "x.ZUL"), 1},
  };
  for (const auto& [name, document] : documents) {
    cases.push_back({name, "import " + arg(folder / name) + " " + arg(folder / "x.ZUL"), 1});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RunResult result = runZultool(folder, c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    const std::string& report = c.exitCode == 0 ? result.out : result.err;
    EXPECT_TRUE(isOneLine(report)) << report;
    EXPECT_NE(report.find(shown), std::string::npos) << report;
    EXPECT_EQ(c.exitCode == 0 ? result.err : result.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "x.ZUL"));
}

}  // namespace
}  // namespace zultool
