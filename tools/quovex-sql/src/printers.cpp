// The result writers: aligned (and expanded) table, CSV, JSON, Markdown.
#include "printers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "value_text.h"

namespace quovexsql {

namespace {

constexpr const char* kNullText = "NULL";

void pad(std::ostream& out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out << ' ';
}

// A left-aligned text in the last column gets no padding: lines carry no
// trailing blanks. A text wider than its column is printed whole.
void printCell(std::ostream& out, const std::string& text, std::size_t width, bool alignRight, bool last) {
  const std::size_t shown = displayWidth(text);
  const std::size_t gap = width > shown ? width - shown : 0;
  if (alignRight) pad(out, gap);
  out << text;
  if (!alignRight && !last) pad(out, gap);
}

std::string rowsText(std::size_t count) { return "(" + std::to_string(count) + (count == 1 ? " row)\n" : " rows)\n"); }

// The aligned table. It holds the first kRowsMeasured rows to measure the
// columns, then prints every further row as it comes.
class TableWriter : public ResultWriter {
 public:
  TableWriter(std::ostream& out, const std::vector<TableColumn>& columns, const PrintSettings& settings)
      : out_(out), columns_(columns), settings_(settings) {
    for (const TableColumn& column : columns_) {
      titles_.push_back(escapeControls(column.title));
      widths_.push_back(displayWidth(titles_.back()));
    }
    expanded_ = settings_.expanded == Expanded::On;
  }

  void row(const Row& cells) override {
    std::vector<std::string> texts;
    texts.reserve(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const Cell& cell = i < cells.size() ? cells[i] : Cell{};
      texts.push_back(cell ? cutToWidth(escapeControls(*cell), settings_.maxWidth) : kNullText);
    }
    ++count_;
    if (started_) {
      printRow(texts);
      return;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) widths_[i] = std::max(widths_[i], displayWidth(texts[i]));
    held_.push_back(std::move(texts));
    if (held_.size() >= kRowsMeasured) start();
  }

  void end() override {
    if (!started_) start();
    out_ << rowsText(count_);
  }

 private:
  std::size_t lineWidth() const {
    std::size_t width = 1;
    for (std::size_t w : widths_) width += w + 3;
    return width;
  }

  void start() {
    started_ = true;
    if (settings_.expanded == Expanded::Auto && settings_.terminalWidth > 0 && lineWidth() > settings_.terminalWidth) {
      expanded_ = true;
    }
    if (expanded_) {
      titleWidth_ = 0;
      for (const std::string& title : titles_) titleWidth_ = std::max(titleWidth_, displayWidth(title));
    } else {
      printHeader();
    }
    for (const auto& texts : held_) printRow(texts);
    held_.clear();
    held_.shrink_to_fit();
  }

  void printHeader() {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      out_ << (i == 0 ? " " : " | ");
      printCell(out_, titles_[i], widths_[i], false, i + 1 == columns_.size());
    }
    out_ << "\n";
    for (std::size_t i = 0; i < columns_.size(); ++i) out_ << (i == 0 ? "-" : "-+-") << std::string(widths_[i], '-');
    out_ << "-\n";
  }

  void printRow(const std::vector<std::string>& texts) {
    if (expanded_) {
      printRecord(texts);
      return;
    }
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      out_ << (i == 0 ? " " : " | ");
      printCell(out_, texts[i], widths_[i], columns_[i].alignRight, i + 1 == columns_.size());
    }
    out_ << "\n";
  }

  // -[ RECORD 3 ]-----
  //  column | value
  void printRecord(const std::vector<std::string>& texts) {
    ++recordNumber_;
    out_ << "-[ RECORD " << recordNumber_ << " ]" << std::string(titleWidth_ > 8 ? titleWidth_ - 8 : 1, '-') << "\n";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      out_ << " ";
      printCell(out_, titles_[i], titleWidth_, false, false);
      out_ << " | " << texts[i] << "\n";
    }
  }

  std::ostream& out_;
  std::vector<TableColumn> columns_;
  PrintSettings settings_;
  std::vector<std::string> titles_;
  std::vector<std::size_t> widths_;
  std::vector<std::vector<std::string>> held_;
  bool started_ = false;
  bool expanded_ = false;
  std::size_t titleWidth_ = 0;
  std::size_t count_ = 0;
  std::size_t recordNumber_ = 0;
};

class CsvResultWriter : public ResultWriter {
 public:
  CsvResultWriter(std::ostream& out, const std::vector<TableColumn>& columns, bool escape) : csv_(out, escape) {
    std::vector<std::string> names;
    for (const TableColumn& column : columns) names.push_back(column.title);
    csv_.header(names);
  }
  void row(const Row& cells) override { csv_.row(cells); }
  void end() override {}

 private:
  CsvWriter csv_;
};

// True when `text` is a JSON number as it stands (floats like "inf" are not).
bool isJsonNumber(const std::string& text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const std::size_t digits = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) ++i;
  if (i == digits) return false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t fraction = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) ++i;
    if (i == fraction) return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) ++i;
    if (i == exponent) return false;
  }
  return i == text.size();
}

// One JSON array of objects, one object per line.
class JsonWriter : public ResultWriter {
 public:
  JsonWriter(std::ostream& out, const std::vector<TableColumn>& columns) : out_(out), columns_(columns) {
    for (const TableColumn& column : columns_) keys_.push_back(jsonString(column.title));
    out_ << "[";
  }
  void row(const Row& cells) override {
    out_ << (first_ ? "\n{" : ",\n{");
    first_ = false;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      out_ << (i == 0 ? "" : ",") << keys_[i] << ":";
      const Cell& cell = i < cells.size() ? cells[i] : Cell{};
      if (!cell) {
        out_ << "null";
      } else if (columns_[i].alignRight && isJsonNumber(*cell)) {
        out_ << *cell;
      } else {
        out_ << jsonString(*cell);
      }
    }
    out_ << "}";
  }
  void end() override { out_ << (first_ ? "]\n" : "\n]\n"); }

 private:
  std::ostream& out_;
  std::vector<TableColumn> columns_;
  std::vector<std::string> keys_;
  bool first_ = true;
};

// A Markdown (GitHub) table: "|" in a value is escaped, line breaks shown as \n.
class MarkdownWriter : public ResultWriter {
 public:
  MarkdownWriter(std::ostream& out, const std::vector<TableColumn>& columns) : out_(out), columns_(columns) {
    out_ << "|";
    for (const TableColumn& column : columns_) out_ << " " << cellText(column.title) << " |";
    out_ << "\n|";
    for (const TableColumn& column : columns_) out_ << (column.alignRight ? " ---: |" : " --- |");
    out_ << "\n";
  }
  void row(const Row& cells) override {
    out_ << "|";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const Cell& cell = i < cells.size() ? cells[i] : Cell{};
      out_ << " " << (cell ? cellText(*cell) : kNullText) << " |";
    }
    out_ << "\n";
  }
  void end() override {}

 private:
  static std::string cellText(const std::string& text) {
    std::string shown;
    for (char c : escapeControls(text)) {
      if (c == '|') shown += '\\';
      shown += c;
    }
    return shown;
  }

  std::ostream& out_;
  std::vector<TableColumn> columns_;
};

}  // namespace

std::unique_ptr<ResultWriter> makeResultWriter(std::ostream& out, const std::vector<TableColumn>& columns,
                                               const PrintSettings& settings) {
  switch (settings.format) {
    case OutputFormat::Csv:
      return std::make_unique<CsvResultWriter>(out, columns, settings.escapeCsv);
    case OutputFormat::Json:
      return std::make_unique<JsonWriter>(out, columns);
    case OutputFormat::Markdown:
      return std::make_unique<MarkdownWriter>(out, columns);
    case OutputFormat::Table:
      break;
  }
  return std::make_unique<TableWriter>(out, columns, settings);
}

void printTable(std::ostream& out, const std::vector<TableColumn>& columns, const std::vector<Row>& rows,
                const PrintSettings& settings) {
  TableWriter table(out, columns, settings);
  for (const Row& row : rows) table.row(row);
  table.end();
}

std::string cutToWidth(const std::string& text, std::size_t maxWidth) {
  if (maxWidth == 0 || displayWidth(text) <= maxWidth) return text;
  std::string cut;
  std::size_t characters = 0;
  for (char c : text) {
    const bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (startsCharacter && ++characters == maxWidth) break;
    cut += c;
  }
  return cut + "…";
}

std::string jsonString(const std::string& text) {
  std::string quoted = "\"";
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // escapeControls keeps well-formed UTF-8 as it is and marks a stray byte
    // with \xHH: a sequence it keeps whole is copied.
    if (byte >= 0x80) {
      std::size_t length = (byte & 0xE0) == 0xC0 ? 2 : (byte & 0xF0) == 0xE0 ? 3 : (byte & 0xF8) == 0xF0 ? 4 : 0;
      if (length != 0 && i + length <= text.size() && escapeControls(text.substr(i, length)).size() == length &&
          escapeControls(text.substr(i, length)) == text.substr(i, length)) {
        quoted.append(text, i, length);
        i += length;
        continue;
      }
    }
    char escaped[8];
    if (byte == '"' || byte == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(byte);
    } else if (byte == '\n') {
      quoted += "\\n";
    } else if (byte == '\r') {
      quoted += "\\r";
    } else if (byte == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte >= 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      quoted += escaped;
    } else {
      quoted += static_cast<char>(byte);
    }
    ++i;
  }
  return quoted + "\"";
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
