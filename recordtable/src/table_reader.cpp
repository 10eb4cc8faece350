// Loading a table file. The file may be anything: every step checks what it
// gets and any fault ends in one TableError naming the file.
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string>
#include <system_error>
#include <unordered_set>

#include "datetime_millis.h"
#include "messages.h"
#include "sqlite_handle.h"
#include "table_file.h"
#include "table_file_format.h"
#include "unfinished_write.h"
#include "value_text.h"

namespace recordtable::detail {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kArenaReserveLimit = std::uintmax_t{256} << 20;

// Everything that can go wrong inside the file is reported as damage to
// this file; the reason follows the sentence.
class FileFault {
 public:
  explicit FileFault(const fs::path& path) : path_(inQuotes(path.string())) {}

  [[noreturn]] void notTableFile(const std::string& reason) const {
    fail("O arquivo " + path_ + " não é um arquivo de tabela (" + reason + ").");
  }
  [[noreturn]] void damaged(const std::string& reason) const {
    fail("O arquivo " + path_ + " está danificado ou não é um arquivo de tabela válido: " +
         reason + ".");
  }
  [[noreturn]] void outOfMemory() const {
    fail("O arquivo " + path_ + " não cabe na memória disponível.");
  }
  [[noreturn]] void sqlite(sqlite3* db, int code) const {
    if (code == SQLITE_NOTADB) notTableFile("não é um banco de dados SQLite");
    if ((code & 0xFF) == SQLITE_NOMEM) outOfMemory();
    damaged(sqliteReason(db, code));
  }
  [[noreturn]] void badValue(std::uint32_t record, const FieldDef& def,
                             const std::string& why) const {
    damaged("o registro " + std::to_string(record + 1) + ", campo " + inQuotes(def.name) + ", " +
            why);
  }

 private:
  std::string path_;
};

// "file:" URI for SQLite with every byte outside the unreserved set and "/"
// percent-encoded, so that "?", "#" and "%" in names stay part of the path.
std::string immutableUri(const fs::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : fs::absolute(path).string()) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri += static_cast<char>(c);
    } else {
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 0xF];
    }
  }
  uri += "?immutable=1";
  return uri;
}

void checkFileExists(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) {
    fail("O arquivo " + inQuotes(path.string()) + " não existe.");
  }
  if (ec) fail("O arquivo " + inQuotes(path.string()) + " não pode ser lido: " + ec.message() + ".");
  if (status.type() != fs::file_type::regular) {
    fail("O caminho " + inQuotes(path.string()) + " não é um arquivo.");
  }
}

void openDefensively(Database& db, const fs::path& path, const FileFault& fault) {
  const std::string uri = immutableUri(path);
  const int rc = sqlite3_open_v2(uri.c_str(), db.out(), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                                 nullptr);
  if (rc != SQLITE_OK) {
    fail("O arquivo " + inQuotes(path.string()) + " não pode ser aberto: " +
         sqliteReason(db.get(), rc) + ".");
  }
  sqlite3* h = db.get();
  sqlite3_extended_result_codes(h, 1);
  sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(h, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
  sqlite3_db_config(h, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
  for (const char* pragma : {"PRAGMA mmap_size=0", "PRAGMA cell_size_check=ON"}) {
    const int prc = sqlite3_exec(h, pragma, nullptr, nullptr, nullptr);
    if (prc != SQLITE_OK) fault.sqlite(h, prc);
  }
}

void prepare(sqlite3* db, const std::string& sql, Statement& stmt, const FileFault& fault) {
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), stmt.out(),
                                    nullptr);
  if (rc != SQLITE_OK) fault.sqlite(db, rc);
}

// Steps once; true when a row is ready, false at the end.
bool step(sqlite3* db, Statement& stmt, const FileFault& fault) {
  const int rc = sqlite3_step(stmt.get());
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  fault.sqlite(db, rc);
}

std::int64_t pragmaInteger(sqlite3* db, const char* sql, const FileFault& fault) {
  Statement stmt;
  prepare(db, sql, stmt, fault);
  if (!step(db, stmt, fault)) fault.damaged(std::string("sem resposta a ") + sql);
  return sqlite3_column_int64(stmt.get(), 0);
}

// SQLite's integrity report without its heading line ("*** in database
// main ***"), its lines joined and quoted, for a one-line message.
std::string oneLine(std::string_view report) {
  constexpr std::string_view kHeading = "*** in database main ***\n";
  if (report.starts_with(kHeading)) report.remove_prefix(kHeading.size());
  std::string line;
  for (char c : report) {
    if (c == '\n') {
      line += "; ";
    } else if (c != '\r') {
      line += c;
    }
  }
  return inQuotes(line);
}

// The first read: an SQLite open succeeds on any file, so the marks are read
// at once, then the file's length and structure are checked page by page.
// Returns the size of the database inside the file (its pages), which is
// at most the file's size: what follows the last page is never read.
std::uintmax_t checkMarks(sqlite3* db, std::uintmax_t fileBytes, const FileFault& fault) {
  const std::int64_t applicationId = pragmaInteger(db, "PRAGMA application_id", fault);
  if (applicationId != format::kApplicationId) {
    fault.notTableFile("identificação de aplicativo " + std::to_string(applicationId));
  }
  const std::int64_t version = pragmaInteger(db, "PRAGMA user_version", fault);
  if (version != format::kFormatVersion) {
    fault.notTableFile("versão de formato " + std::to_string(version) + " não suportada");
  }
  // SQLite reads missing pages of a cut file as zeros; its header tells how
  // long the file must be.
  const std::int64_t pages = pragmaInteger(db, "PRAGMA page_count", fault);
  const std::int64_t pageSize = pragmaInteger(db, "PRAGMA page_size", fault);
  if (pages <= 0 || pageSize <= 0 ||
      static_cast<std::uintmax_t>(pages) * static_cast<std::uintmax_t>(pageSize) > fileBytes) {
    fault.damaged("o arquivo está incompleto");
  }
  Statement check;
  prepare(db, "PRAGMA quick_check(1)", check, fault);
  if (!step(db, check, fault)) fault.damaged("a verificação de integridade não respondeu");
  const unsigned char* verdict = sqlite3_column_text(check.get(), 0);
  if (verdict == nullptr || std::string_view(reinterpret_cast<const char*>(verdict)) != "ok") {
    fault.damaged(verdict == nullptr ? std::string("verificação de integridade")
                                     : oneLine(reinterpret_cast<const char*>(verdict)));
  }
  return static_cast<std::uintmax_t>(pages) * static_cast<std::uintmax_t>(pageSize);
}

// Only plain tables and their indexes belong in a table file: a view or a
// trigger would be code run by reading. The two tables must have exactly
// the expected ordinary columns (no generated ones, which compute on read).
void checkSchema(sqlite3* db, const FileFault& fault, const char* table,
                 const std::vector<std::string>& columns) {
  // A virtual table would run its module's code on every read.
  Statement kind;
  prepare(db, "SELECT type = 'table' AND sql LIKE 'CREATE TABLE%' FROM sqlite_schema WHERE name = ?1",
          kind, fault);
  sqlite3_bind_text(kind.get(), 1, table, -1, SQLITE_STATIC);
  if (!step(db, kind, fault)) fault.notTableFile(std::string("falta a tabela ") + table);
  if (sqlite3_column_int(kind.get(), 0) != 1) {
    fault.notTableFile(std::string(table) + " não é uma tabela simples");
  }
  Statement info;
  prepare(db, "SELECT name, hidden FROM pragma_table_xinfo(?1) ORDER BY cid", info, fault);
  sqlite3_bind_text(info.get(), 1, table, -1, SQLITE_STATIC);
  std::size_t index = 0;
  while (step(db, info, fault)) {
    const unsigned char* name = sqlite3_column_text(info.get(), 0);
    const bool hidden = sqlite3_column_int64(info.get(), 1) != 0;
    if (index >= columns.size() || hidden || name == nullptr ||
        sqlite3_stricmp(reinterpret_cast<const char*>(name), columns[index].c_str()) != 0) {
      fault.damaged(std::string("colunas inesperadas na tabela ") + table);
    }
    ++index;
  }
  if (index != columns.size()) fault.damaged(std::string("colunas faltando na tabela ") + table);
}

void checkNoCode(sqlite3* db, const FileFault& fault) {
  Statement stmt;
  prepare(db, "SELECT count(*) FROM sqlite_schema WHERE type IN ('view', 'trigger')", stmt, fault);
  if (!step(db, stmt, fault) || sqlite3_column_int64(stmt.get(), 0) != 0) {
    fault.notTableFile("contém visões ou gatilhos");
  }
}

std::string columnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  const int bytes = sqlite3_column_bytes(stmt, column);
  return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text), bytes);
}

std::vector<FieldDef> readFieldDefs(sqlite3* db, const FileFault& fault) {
  Statement stmt;
  prepare(db, format::kSelectFields, stmt, fault);
  std::vector<FieldDef> defs;
  std::unordered_set<std::string> upperNames;
  while (step(db, stmt, fault)) {
    sqlite3_stmt* s = stmt.get();
    const std::string where = "definição de campo " + std::to_string(defs.size() + 1);
    if (defs.size() >= format::kMaxFieldCount) fault.damaged("campos demais");
    if (sqlite3_column_type(s, 0) != SQLITE_INTEGER ||
        sqlite3_column_int64(s, 0) != static_cast<std::int64_t>(defs.size())) {
      fault.damaged(where + ": posição fora de ordem");
    }
    if (sqlite3_column_type(s, 1) != SQLITE_TEXT || sqlite3_column_type(s, 2) != SQLITE_TEXT ||
        sqlite3_column_type(s, 3) != SQLITE_INTEGER) {
      fault.damaged(where + ": valores de tipo errado");
    }
    FieldDef def;
    def.name = columnText(s, 1);
    const std::optional<FieldKind> kind = kindFromName(columnText(s, 2));
    if (!kind) fault.damaged(where + ": tipo " + inQuotes(columnText(s, 2)) + " desconhecido");
    def.kind = *kind;
    const std::int64_t size = sqlite3_column_int64(s, 3);
    if (size < std::numeric_limits<int>::min() || size > std::numeric_limits<int>::max()) {
      fault.damaged(where + ": tamanho fora dos limites");
    }
    def.size = static_cast<int>(size);
    try {
      validateFieldDef(def);
    } catch (const TableError& e) {
      std::string reason = e.what();  // a sentence of its own, continued here
      if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] = static_cast<char>(reason[0] + 32);
      if (!reason.empty() && reason.back() == '.') reason.pop_back();
      fault.damaged(where + ": " + reason);
    }
    std::string upper = def.name;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (!upperNames.insert(upper).second) fault.damaged("campo " + inQuotes(def.name) + " repetido");
    defs.push_back(std::move(def));
  }
  if (defs.empty()) fault.damaged("não há definições de campos");
  return defs;
}

// Converts one stored value, checking it against its field's kind.
Cell readValue(sqlite3_stmt* s, int column, const FieldDef& def, TextArena& arena,
               std::uint32_t record, const FileFault& fault) {
  const int type = sqlite3_column_type(s, column);
  if (type == SQLITE_NULL) return Cell();
  switch (def.kind) {
    case FieldKind::Text:
    case FieldKind::LongText: {
      if (type != SQLITE_TEXT) fault.badValue(record, def, "não é texto");
      const unsigned char* text = sqlite3_column_text(s, column);
      const int bytes = sqlite3_column_bytes(s, column);
      if (text == nullptr) fault.badValue(record, def, "texto ilegível");
      const std::string_view value(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes));
      const std::optional<std::size_t> length = utf8Length(value);
      if (!length) fault.badValue(record, def, "texto com codificação UTF-8 inválida ou caractere nulo");
      if (def.kind == FieldKind::Text && *length > static_cast<std::size_t>(def.size)) {
        fault.badValue(record, def, "texto de " + std::to_string(*length) +
                                        " caracteres excede o tamanho " + std::to_string(def.size));
      }
      return arena.store(value);
    }
    case FieldKind::Float: {
      if (type != SQLITE_FLOAT && type != SQLITE_INTEGER) fault.badValue(record, def, "não é número");
      const double value = sqlite3_column_double(s, column);
      if (!std::isfinite(value)) fault.badValue(record, def, "número não finito");
      return Cell::ofNumber(value);
    }
    default:
      break;
  }
  if (type != SQLITE_INTEGER) fault.badValue(record, def, "não é número inteiro");
  const std::int64_t value = sqlite3_column_int64(s, column);
  switch (def.kind) {
    case FieldKind::Int16:
      if (value < INT16_MIN || value > INT16_MAX) fault.badValue(record, def, "fora da faixa de int16");
      break;
    case FieldKind::Int32:
      if (value < INT32_MIN || value > INT32_MAX) fault.badValue(record, def, "fora da faixa de int32");
      break;
    case FieldKind::DateTime:
      if (value < 0 || value > kMaxDateTimeMillis) fault.badValue(record, def, "data inválida");
      break;
    default:  // Decimal: any 64-bit count of units
      break;
  }
  return Cell::ofInteger(value);
}

void readRecords(sqlite3* db, const FileFault& fault, TableData& data, std::uintmax_t databaseBytes) {
  const std::size_t fieldCount = data.defs.size();
  std::string sql = "SELECT ";
  for (std::size_t i = 0; i < fieldCount; ++i) {
    if (i != 0) sql += ", ";
    sql += format::recordColumnName(i);
  }
  sql += " FROM ";
  sql += format::kRecordsTable;
  sql += " ORDER BY rowid";
  Statement stmt;
  prepare(db, sql, stmt, fault);
  // Every text byte read lies in the database's pages, so their size bounds
  // the texts; reserving it at once spares the copies and page faults of
  // growing step by step. Never the file's size (a small table padded to
  // gigabytes needs no more than its rows), and never more than a bound
  // beyond which the arena grows with what is read: a reservation is only
  // address space until texts fill it.
  data.arena.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(databaseBytes, kArenaReserveLimit)));
  sqlite3_stmt* s = stmt.get();
  data.records.reset(fieldCount);
  std::vector<Cell> record(fieldCount);
  while (step(db, stmt, fault)) {
    const std::size_t number = data.records.recordCount();
    if (number == std::numeric_limits<std::uint32_t>::max()) fault.damaged("registros demais");
    for (std::size_t f = 0; f < fieldCount; ++f) {
      record[f] = readValue(s, static_cast<int>(f), data.defs[f], data.arena,
                            static_cast<std::uint32_t>(number), fault);
    }
    data.records.append(record.data());
  }
}

TableData readCheckedFile(const fs::path& path, const FileFault& fault) {
  std::error_code ec;
  const std::uintmax_t fileBytes = fs::file_size(path, ec);
  if (ec) fail("O arquivo " + inQuotes(path.string()) + " não pode ser lido: " + ec.message() + ".");
  Database db;
  openDefensively(db, path, fault);
  sqlite3* h = db.get();
  const std::uintmax_t databaseBytes = checkMarks(h, fileBytes, fault);
  checkNoCode(h, fault);
  std::vector<std::string> fieldColumns(std::begin(format::kFieldsColumns),
                                        std::end(format::kFieldsColumns));
  checkSchema(h, fault, format::kFieldsTable, fieldColumns);
  TableData data;
  data.defs = readFieldDefs(h, fault);
  std::vector<std::string> recordColumns;
  for (std::size_t i = 0; i < data.defs.size(); ++i) recordColumns.push_back(format::recordColumnName(i));
  checkSchema(h, fault, format::kRecordsTable, recordColumns);
  readRecords(h, fault, data, databaseBytes);
  // A writer that started while the file was read leaves its side files now.
  refuseUnfinishedWrite(path);
  return data;
}

}  // namespace

TableData readTableFile(const fs::path& path) {
  checkFileExists(path);
  refuseUnfinishedWrite(path);
  const FileFault fault(path);
  try {
    return readCheckedFile(path, fault);
  } catch (const std::bad_alloc&) {
    fault.outOfMemory();  // what was read so far is freed by now
  }
}

}  // namespace recordtable::detail
