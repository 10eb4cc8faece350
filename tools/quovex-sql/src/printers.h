// The two output forms of a result: an aligned table for people and CSV
// (RFC 4180) for programs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "result_reader.h"

namespace quovexsql {

struct TableColumn {
  std::string title;
  bool alignRight = false;
};

// Column titles and, per row, the cells; NULL shows as NULL. Every text is
// shown with its control characters escaped, so a value cannot move the
// cursor or change the terminal. Ends with the row count: "(1 row)",
// "(N rows)".
void printTable(std::ostream& out, const std::vector<TableColumn>& columns, const std::vector<Row>& rows);

// Writes CSV as rows arrive: a header line of the column names, then one line
// per row, CRLF line ends. A field holding a comma, quote, CR or LF is quoted
// and its quotes doubled; NULL is an empty field and an empty text "". With
// `escapeControls` (output to a terminal) control characters are escaped
// first.
class CsvWriter {
 public:
  CsvWriter(std::ostream& out, bool escapeControls) : out_(out), escape_(escapeControls) {}
  void header(const std::vector<std::string>& names);
  void row(const Row& cells);

 private:
  void field(const std::string& text, bool first);

  std::ostream& out_;
  bool escape_;
};

// One CSV field as it is written.
std::string csvField(const std::string& text);

}  // namespace quovexsql
