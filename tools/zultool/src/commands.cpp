// The zultool commands on files: import, export and check.
#include <cctype>
#include <fstream>
#include <sstream>

#include "recordtable/message_text.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

std::string readWholeFile(const std::filesystem::path& path) {
  // A folder opens as a stream that reads nothing, which would pass for
  // empty JSON.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    throw ConversionError("O caminho " + recordtable::quotedForMessage(path.string()) +
                          " é uma pasta, não um arquivo.");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ConversionError("Não foi possível ler o arquivo " + recordtable::quotedForMessage(path.string()) +
                          ".");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw ConversionError("Falha na leitura do arquivo " + recordtable::quotedForMessage(path.string()) +
                          ".");
  return std::move(content).str();
}

}  // namespace

void importJsonFile(const std::filesystem::path& jsonPath, const std::filesystem::path& tablePath) {
  const nlohmann::json document = parseJson(readWholeFile(jsonPath));
  recordtable::Table table;
  tableFromJson(document, table);
  table.saveToFile(tablePath);
}

std::string exportTableFile(const std::filesystem::path& tablePath) {
  recordtable::Table table;
  table.loadFromFile(tablePath);
  return formatTableJson(tableToJson(table));
}

std::optional<proposals::Purpose> purposeFromFileName(
    const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (name.size() < 3 || name[2] != '_') return std::nullopt;
  const std::string prefix = {static_cast<char>(std::toupper(static_cast<unsigned char>(name[0]))),
                              static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])))};
  if (prefix == "PL") return proposals::Purpose::PL;
  if (prefix == "CP") return proposals::Purpose::CP;
  return std::nullopt;
}

CheckReport checkTableFile(const std::filesystem::path& tablePath,
                           std::optional<proposals::Purpose> purpose) {
  recordtable::Table table;
  table.loadFromFile(tablePath);
  CheckReport report;
  report.fieldCount = table.fieldCount();
  report.recordCount = table.totalRecordCount();
  report.purpose = purpose ? purpose : purposeFromFileName(tablePath);
  if (report.purpose) {
    report.layoutProblems = proposals::processoFieldProblems(table, *report.purpose);
  }
  return report;
}

}  // namespace zultool
