// zultool: table files to and from JSON.
//   zultool import <json> <table-file>
//   zultool export <table-file>
//   zultool check [--purpose PL|CP] [--strict] <table-file>
// Exit codes: 0 success, 1 the input was refused (message on standard
// error), 2 wrong command line.
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "recordtable/message_text.h"
#include "zultool/json_table.h"

namespace {

constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Uso:\n"
    "  zultool import <arquivo.json> <arquivo-tabela>   grava a tabela descrita no JSON\n"
    "  zultool export <arquivo-tabela>                  escreve a tabela em JSON na saída\n"
    "  zultool check [--purpose PL|CP] [--strict] <arquivo-tabela>\n"
    "      verifica se o arquivo abre; confere os campos de um arquivo de processo\n"
    "      (finalidade pelo prefixo PL_/CP_ do nome ou por --purpose) e mostra avisos;\n"
    "      com --strict um aviso também faz falhar.\n";

int usage() {
  std::cerr << kUsage;
  return kExitUsage;
}

using proposals::Purpose;

const char* purposeName(Purpose purpose) { return purpose == Purpose::PL ? "PL" : "CP"; }

int runCheck(const std::vector<std::string>& args) {
  std::optional<Purpose> purpose;
  bool strict = false;
  std::optional<std::string> path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--strict") {
      strict = true;
    } else if (args[i] == "--purpose" && i + 1 < args.size() &&
               (args[i + 1] == "PL" || args[i + 1] == "CP")) {
      purpose = args[++i] == "PL" ? Purpose::PL : Purpose::CP;
    } else if (!path && !args[i].starts_with("--")) {
      path = args[i];
    } else {
      return usage();
    }
  }
  if (!path) return usage();
  const zultool::CheckReport report = zultool::checkTableFile(*path, purpose);
  // The name as given, with any control character shown escaped: the
  // report stays one line whatever the file is called.
  std::cout << recordtable::escapedForMessage(*path) << ": " << report.recordCount << " registros, " << report.fieldCount
            << " campos";
  if (report.purpose) std::cout << ", campos de " << purposeName(*report.purpose) << " conferidos";
  std::cout << "\n";
  for (const std::string& problem : report.layoutProblems) {
    std::cerr << "zultool: aviso: " << problem << "\n";
  }
  return strict && !report.layoutProblems.empty() ? kExitRefused : 0;
}

int run(const std::vector<std::string>& args) {
  if (args.empty()) return usage();
  const std::string& command = args[0];
  if (command == "import" && args.size() == 3) {
    zultool::importJsonFile(args[1], args[2]);
    return 0;
  }
  if (command == "export" && args.size() == 2) {
    const std::string text = zultool::exportTableFile(args[1]);
    std::cout << text << std::flush;
    if (!std::cout) {
      std::cerr << "zultool: Não foi possível escrever o JSON na saída padrão.\n";
      return kExitRefused;
    }
    return 0;
  }
  if (command == "check") return runCheck({args.begin() + 1, args.end()});
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::cerr << "zultool: " << error.what() << "\n";
    return kExitRefused;
  }
}
