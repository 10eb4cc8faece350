// The output forms of a result, each written as the rows arrive: an aligned
// table for people (or one record per block, "expanded"), CSV (RFC 4180),
// JSON and Markdown for programs and documents.
#pragma once

#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "result_reader.h"

namespace quovexsql {

struct TableColumn {
  std::string title;
  bool alignRight = false;  // also: a number, written bare in JSON
};

enum class OutputFormat { Table, Csv, Json, Markdown };
enum class Expanded { Off, On, Auto };

struct PrintSettings {
  OutputFormat format = OutputFormat::Table;
  bool escapeCsv = false;        // CSV going to a terminal
  std::size_t maxWidth = 0;      // aligned table: longer values are cut (0: never)
  Expanded expanded = Expanded::Off;
  std::size_t terminalWidth = 0; // for Expanded::Auto (0: unknown, never expands)
};

// Rows handed over one by one; end() closes the result.
class ResultWriter {
 public:
  virtual ~ResultWriter() = default;
  virtual void row(const Row& cells) = 0;
  virtual void end() = 0;
};

// The writer of `settings.format` for a result with these columns.
std::unique_ptr<ResultWriter> makeResultWriter(std::ostream& out, const std::vector<TableColumn>& columns,
                                               const PrintSettings& settings);

// Rows the aligned table measures before it prints: widths come from them,
// and a later, longer value widens only its own line.
inline constexpr std::size_t kRowsMeasured = 500;

// The aligned table of all `rows` at once: column titles, a rule, the cells
// (NULL shows as NULL, control characters escaped so a value cannot move the
// cursor or change the terminal), then "(1 row)" / "(N rows)".
void printTable(std::ostream& out, const std::vector<TableColumn>& columns, const std::vector<Row>& rows,
                const PrintSettings& settings = {});

// CSV: a header line of the column names, then one line per row, CRLF line
// ends. A field holding a comma, quote, CR or LF is quoted and its quotes
// doubled; NULL is an empty field and an empty text "". With
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

// A JSON string literal of `text`; bytes that are not UTF-8 become \u00XX.
std::string jsonString(const std::string& text);

// `text` cut to `maxWidth` characters, the last being "…"; unchanged when
// it fits or maxWidth is 0.
std::string cutToWidth(const std::string& text, std::size_t maxWidth);

}  // namespace quovexsql
