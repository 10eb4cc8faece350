// JSON text in and out: parsing with a located error, and the layout of
// the sample sources for output.
#include <set>
#include <string>
#include <vector>

#include "recordtable/message_text.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

using nlohmann::json;

// Line and column (from 1) of a byte offset in `text`.
std::string location(std::string_view text, std::size_t offset) {
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "linha " + std::to_string(line) + ", coluna " + std::to_string(column);
}

// The parser's reason without its own prefix and position ("[json.exception...]
// parse error at line 1, column 41: syntax error ..." gives "syntax error ...").
std::string parserReason(std::string_view what) {
  const std::size_t column = what.find("column ");
  const std::size_t colon = column == std::string_view::npos ? column : what.find(": ", column);
  // The reason repeats the last token read, which may hold any byte.
  return recordtable::escapedForMessage(colon == std::string_view::npos ? what : what.substr(colon + 2));
}

std::string dumpValue(const json& value) {
  // Invalid UTF-8 cannot reach here (the parser and the engine refuse it);
  // replacing keeps the output valid should it ever.
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string fieldLine(const json& def) {
  std::string line = "  {\"name\": " + dumpValue(def.at("name")) +
                     ", \"kind\": " + dumpValue(def.at("kind"));
  if (def.contains("size")) line += ", \"size\": " + dumpValue(def.at("size"));
  return line + "}";
}

// The values of one record in the order of the field definitions.
std::string recordBlock(const json& fields, const json& record) {
  std::string block = "  {\n";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const json& name = fields[i].at("name");
    block += "   " + dumpValue(name) + ": " + dumpValue(record.at(name.get<std::string>()));
    block += i + 1 < fields.size() ? ",\n" : "\n";
  }
  return block + "  }";
}

}  // namespace

json parseJson(std::string_view text) {
  // The parser keeps the last of two equal keys in an object; a document
  // that says two things about one field or record is refused instead.
  std::vector<std::set<std::string>> keysOfOpenObjects;
  const json::parser_callback_t refuseRepeatedKeys = [&](int, json::parse_event_t event,
                                                         json& parsed) {
    if (event == json::parse_event_t::object_start) {
      keysOfOpenObjects.emplace_back();
    } else if (event == json::parse_event_t::object_end) {
      keysOfOpenObjects.pop_back();
    } else if (event == json::parse_event_t::key &&
               !keysOfOpenObjects.back().insert(parsed.get<std::string>()).second) {
      throw ConversionError("JSON inválido: a chave " +
                            recordtable::quotedForMessage(parsed.get<std::string>()) +
                            " aparece duas vezes no mesmo objeto.");
    }
    return true;
  };
  try {
    return json::parse(text.begin(), text.end(), refuseRepeatedKeys);
  } catch (const json::parse_error& error) {
    throw ConversionError("JSON inválido na " +
                          location(text, error.byte > 0 ? error.byte - 1 : 0) + ": " +
                          parserReason(error.what()) + ".");
  } catch (const json::out_of_range& error) {
    // The parser's only range error: a number beyond the doubles ("1e400"),
    // named between quotes in its text.
    const std::string_view what = error.what();
    const std::size_t open = what.find('\'');
    const std::size_t close = what.rfind('\'');
    const std::string number =
        open < close ? " " + std::string(what.substr(open + 1, close - open - 1)) : std::string();
    throw ConversionError("JSON inválido: o número" + number +
                          " está fora da faixa dos números de ponto flutuante.");
  }
}

std::string formatTableJson(const json& document) {
  const json& fields = document.at("fields");
  const json& records = document.at("records");
  std::string text = "{\n \"fields\": [\n";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    text += fieldLine(fields[i]);
    text += i + 1 < fields.size() ? ",\n" : "\n";
  }
  text += " ],\n \"records\": [";
  for (std::size_t i = 0; i < records.size(); ++i) {
    text += i == 0 ? "\n" : ",\n";
    text += recordBlock(fields, records[i]);
  }
  text += records.empty() ? "]\n}\n" : "\n ]\n}\n";
  return text;
}

}  // namespace zultool
