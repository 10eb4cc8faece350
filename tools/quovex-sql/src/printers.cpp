#include "printers.h"

#include <algorithm>

#include "value_text.h"

namespace quovexsql {

namespace {

constexpr const char* kNullText = "NULL";

void pad(std::ostream& out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out << ' ';
}

// A left-aligned text in the last column gets no padding: lines carry no
// trailing blanks.
void printCell(std::ostream& out, const std::string& text, std::size_t width, bool alignRight, bool last) {
  const std::size_t gap = width - displayWidth(text);
  if (alignRight) pad(out, gap);
  out << text;
  if (!alignRight && !last) pad(out, gap);
}

}  // namespace

void printTable(std::ostream& out, const std::vector<TableColumn>& columns, const std::vector<Row>& rows) {
  std::vector<std::string> titles;
  std::vector<std::size_t> widths;
  for (const TableColumn& column : columns) {
    titles.push_back(escapeControls(column.title));
    widths.push_back(displayWidth(titles.back()));
  }
  std::vector<std::vector<std::string>> shown;
  shown.reserve(rows.size());
  for (const Row& row : rows) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Cell& cell = i < row.size() ? row[i] : Cell{};
      texts.push_back(cell ? escapeControls(*cell) : kNullText);
      widths[i] = std::max(widths[i], displayWidth(texts.back()));
    }
    shown.push_back(std::move(texts));
  }

  for (std::size_t i = 0; i < columns.size(); ++i) {
    out << (i == 0 ? " " : " | ");
    printCell(out, titles[i], widths[i], false, i + 1 == columns.size());
  }
  out << "\n";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    out << (i == 0 ? "-" : "-+-") << std::string(widths[i], '-');
  }
  out << "-\n";
  for (const auto& texts : shown) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      out << (i == 0 ? " " : " | ");
      printCell(out, texts[i], widths[i], columns[i].alignRight, i + 1 == columns.size());
    }
    out << "\n";
  }
  out << "(" << rows.size() << (rows.size() == 1 ? " row)\n" : " rows)\n");
}

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos && !text.empty()) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void CsvWriter::field(const std::string& text, bool first) {
  if (!first) out_ << ',';
  out_ << csvField(escape_ ? escapeControls(text) : text);
}

void CsvWriter::header(const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) field(names[i], i == 0);
  out_ << "\r\n";
}

void CsvWriter::row(const Row& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i != 0) out_ << ',';
    if (cells[i]) out_ << csvField(escape_ ? escapeControls(*cells[i]) : *cells[i]);
  }
  out_ << "\r\n";
}

}  // namespace quovexsql
