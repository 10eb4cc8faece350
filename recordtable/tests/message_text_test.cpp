// Texts from outside in messages: escaped so that a message stays one line
// and cannot drive the terminal, whatever a file or name holds.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>

#include "recordtable/message_text.h"
#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

using test::ScratchFolder;

TEST(MessageText, ShowsControlCharactersEscapedAndKeepsTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"NRO_LOTE", "NRO_LOTE"},
      {"Ação çüé 😀", "Ação çüé 😀"},
      {"a\nb\r\tc", "a\\nb\\r\\tc"},
      {"\x1B[2J\x07", "\\x1B[2J\\x07"},
      {std::string("\0\x7F", 2), "\\x00\\x7F"},
      {"a\"b\\c", "a\\\"b\\\\c"},                   // quotes and backslashes cannot fake an end
      {"\xC2\x9B" "2J", "\\u{009B}2J"},             // C1 CSI
      {"\xC2\x85", "\\u{0085}"},                    // C1 next line
      {"a\xE2\x80\xA8" "b", "a\\u{2028}b"},         // line separator
      {"\xE2\x80\xAE" "cba", "\\u{202E}cba"},       // right-to-left override
      {"\xE2\x81\xA6", "\\u{2066}"},                // direction isolate
      {"\xFF\xC3", "\\xFF\\xC3"},                   // not UTF-8, cut sequence
      {"\xC0\xAF", "\\xC0\\xAF"},                   // overlong form
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},          // surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // beyond U+10FFFF
  };
  for (const auto& [text, shown] : cases) {
    EXPECT_EQ(escapedForMessage(text), shown) << text;
  }
  EXPECT_EQ(quotedForMessage("A\nB"), "\"A\\nB\"");
}

bool isOneCleanLine(const std::string& message) {
  return std::none_of(message.begin(), message.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
}

// Runs SQL on a file with an ordinary (writable) connection.
void alter(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << message;
}

// A line that clears the screen, then one that reads like a success.
const char* const kHostileSql = "char(27) || '[2J' || char(10) || 'Arquivo carregado com sucesso.'";
constexpr const char* kHostileShown = "\\x1B[2J\\nArquivo carregado com sucesso.";

TEST(MessageText, TextsFromAFileStayOnOneEscapedLine) {
  const std::string hostile = kHostileSql;
  const std::pair<const char*, std::string> cases[] = {
      {"field name", "UPDATE fields SET name = 'A' || " + hostile + " WHERE position = 0"},
      {"field kind", "UPDATE fields SET kind = 'x' || " + hostile + " WHERE position = 1"},
      {"SQLite's message naming a broken schema entry",
       "PRAGMA writable_schema = ON; INSERT INTO sqlite_master VALUES('table', 'x' || " + hostile +
           ", 'x', 0, 'CREATE TABLE')"},
  };
  for (const auto& [name, sql] : cases) {
    ScratchFolder folder;
    const auto path = folder.file("p.PRO");
    Table sound;
    sound.setFieldDefs(test::itemDefs());
    sound.createEmpty();
    test::appendItem(sound, 1, 1);
    sound.saveToFile(path);
    alter(path, sql);
    Table table;
    try {
      table.loadFromFile(path);
      ADD_FAILURE() << name << ": loaded";
    } catch (const TableError& e) {
      EXPECT_TRUE(isOneCleanLine(e.what())) << name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(kHostileShown), std::string::npos) << name << ": " << e.what();
    }
  }
}

TEST(MessageText, AHostileFileNameStaysOnOneEscapedLine) {
  ScratchFolder folder;
  const std::string name = "\x1B[2J\nArquivo carregado com sucesso.";
  const auto missing = folder.file(name + ".PRO");
  const auto notATable = folder.file(name + ".ZUL");
  test::writeBytes(notATable, "NRO_LOTE;NRO_ITEM\n");
  for (const auto& path : {missing, notATable}) {
    Table table;
    try {
      table.loadFromFile(path);
      ADD_FAILURE() << "loaded";
    } catch (const TableError& e) {
      EXPECT_TRUE(isOneCleanLine(e.what())) << e.what();
      EXPECT_NE(std::string(e.what()).find(kHostileShown), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace recordtable
