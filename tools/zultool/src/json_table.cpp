// Conversion between the JSON form and record tables.
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <utility>

#include "decimal_text.h"
#include "recordtable/message_text.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

using nlohmann::json;
using recordtable::FieldDef;
using recordtable::FieldKind;

// Names and values from the document may hold line breaks or terminal
// codes; messages show them quoted and escaped, on one line.
std::string inQuotes(std::string_view text) { return recordtable::quotedForMessage(text); }

// The type of a JSON value in words, for messages.
std::string describe(const json& value) {
  switch (value.type()) {
    case json::value_t::string: return "um texto";
    case json::value_t::boolean: return "um valor lógico";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned: return "um número inteiro";
    case json::value_t::number_float: return "um número com decimais";
    case json::value_t::object: return "um objeto";
    case json::value_t::array: return "uma lista";
    default: return "um valor";
  }
}

// ---- field definitions -----------------------------------------------------

std::string definitionPlace(std::size_t number, const json& entry) {
  std::string place = "Definição de campo " + std::to_string(number);
  if (entry.is_object()) {
    const auto name = entry.find("name");
    if (name != entry.end() && name->is_string()) place += " (" + inQuotes(name->get<std::string>()) + ")";
  }
  return place;
}

int readSize(const json& entry, FieldKind kind, const std::string& place) {
  const auto size = entry.find("size");
  const bool sized = kind == FieldKind::Text || kind == FieldKind::Decimal;
  if (size == entry.end() || size->is_null()) {
    if (sized) throw ConversionError(place + ": falta o tamanho (\"size\").");
    return 0;
  }
  if (!size->is_number_integer()) {
    throw ConversionError(place + ": o tamanho (\"size\") deve ser um número inteiro.");
  }
  const auto value = size->get<std::int64_t>();
  if (!sized && value != 0) {
    throw ConversionError(place + ": um campo do tipo " +
                          inQuotes(recordtable::kindName(kind)) + " não tem tamanho.");
  }
  if (value < 0 || value > std::numeric_limits<int>::max()) {
    throw ConversionError(place + ": tamanho fora do intervalo permitido.");
  }
  return static_cast<int>(value);
}

FieldDef readFieldDef(std::size_t number, const json& entry) {
  const std::string place = definitionPlace(number, entry);
  if (!entry.is_object()) throw ConversionError(place + ": deve ser um objeto.");
  for (const auto& [key, value] : entry.items()) {
    if (key != "name" && key != "kind" && key != "size") {
      throw ConversionError(place + ": chave desconhecida " + inQuotes(key) + ".");
    }
  }
  const auto name = entry.find("name");
  if (name == entry.end() || !name->is_string()) {
    throw ConversionError(place + ": falta o nome (\"name\") em texto.");
  }
  const auto kindText = entry.find("kind");
  if (kindText == entry.end() || !kindText->is_string()) {
    throw ConversionError(place + ": falta o tipo (\"kind\") em texto.");
  }
  const auto kind = recordtable::kindFromName(kindText->get<std::string>());
  if (!kind) {
    throw ConversionError(place + ": tipo desconhecido " + inQuotes(kindText->get<std::string>()) +
                          " (tipos: text, int16, int32, float, datetime, longtext, decimal).");
  }
  FieldDef def{name->get<std::string>(), *kind, readSize(entry, *kind, place)};
  try {
    recordtable::validateFieldDef(def);
  } catch (const recordtable::TableError& error) {
    throw ConversionError(place + ": " + error.what());
  }
  return def;
}

std::vector<FieldDef> readFieldDefs(const json& document) {
  const auto fields = document.find("fields");
  if (fields == document.end() || !fields->is_array() || fields->empty()) {
    throw ConversionError("O documento deve ter a lista de campos \"fields\", com ao menos um campo.");
  }
  std::vector<FieldDef> defs;
  defs.reserve(fields->size());
  for (std::size_t i = 0; i < fields->size(); ++i) defs.push_back(readFieldDef(i + 1, (*fields)[i]));
  return defs;
}

// ---- values ----------------------------------------------------------------

[[noreturn]] void wrongType(const recordtable::Field& field, const json& value,
                            const char* expected) {
  throw ConversionError("esperado " + std::string(expected) + " para um campo do tipo " +
                        inQuotes(recordtable::kindName(field.kind())) + ", encontrado " +
                        describe(value) + ".");
}

void writeInteger(recordtable::Field& field, const json& value) {
  if (value.is_number_unsigned() &&
      value.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    throw ConversionError("o número " + value.dump() + " não cabe no campo.");
  }
  if (!value.is_number_integer()) wrongType(field, value, "um número inteiro");
  field.setInteger(value.get<std::int64_t>());
}

void writeDecimal(recordtable::Field& field, const json& value) {
  if (value.is_number_integer()) {
    field.setDecimalUnits(decimalUnitsFromText(value.dump(), field.size()));
  } else if (value.is_string()) {
    field.setDecimalUnits(decimalUnitsFromText(value.get<std::string>(), field.size()));
  } else {
    wrongType(field, value, "um texto com o número decimal (\"12.50\") ou um número inteiro");
  }
}

void writeValue(recordtable::Field& field, const json& value) {
  if (value.is_null()) {
    field.setNull();
    return;
  }
  switch (field.kind()) {
    case FieldKind::Text:
    case FieldKind::LongText:
      if (!value.is_string()) wrongType(field, value, "um texto");
      field.setText(value.get<std::string>());
      return;
    case FieldKind::Int16:
    case FieldKind::Int32:
      writeInteger(field, value);
      return;
    case FieldKind::Float:
      if (!value.is_number()) wrongType(field, value, "um número");
      field.setFloat(value.get<double>());
      return;
    case FieldKind::DateTime: {
      if (!value.is_string()) wrongType(field, value, "uma data ISO 8601 em texto");
      const auto date = recordtable::parseIsoDateTime(value.get<std::string>());
      if (!date) {
        throw ConversionError(inQuotes(value.get<std::string>()) +
                              " não é uma data válida no formato ISO 8601 (2012-03-15T09:30:00).");
      }
      field.setDateTime(*date);
      return;
    }
    case FieldKind::Decimal:
      writeDecimal(field, value);
      return;
  }
  throw ConversionError("tipo de campo sem conversão.");
}

// Fills the pending record from one JSON record; `number` counts from 1.
void writeRecord(recordtable::Table& table, const std::unordered_map<std::string, std::size_t>& position,
                 std::size_t number, const json& record) {
  const std::string place = "Registro " + std::to_string(number);
  if (!record.is_object()) throw ConversionError(place + ": deve ser um objeto.");
  for (const auto& [key, value] : record.items()) {
    if (!position.contains(key)) {
      throw ConversionError(place + ", campo " + inQuotes(key) + ": não há campo com esse nome.");
    }
  }
  for (std::size_t i = 0; i < table.fieldCount(); ++i) {
    recordtable::Field& field = table.field(i);
    const auto value = record.find(field.name());
    if (value == record.end()) {
      throw ConversionError(place + ", campo " + field.name() +
                            ": falta o valor (use null para um valor vazio).");
    }
    try {
      writeValue(field, *value);
    } catch (const std::exception& error) {
      throw ConversionError(place + ", campo " + field.name() + ": " + error.what());
    }
  }
}

// ---- export ----------------------------------------------------------------

json readValue(const recordtable::Field& field) {
  if (field.isNull()) return nullptr;
  switch (field.kind()) {
    case FieldKind::Text:
    case FieldKind::LongText: return field.asText();
    case FieldKind::Int16:
    case FieldKind::Int32: return field.asInteger();
    case FieldKind::Float: return field.asFloat();
    case FieldKind::DateTime: return recordtable::formatIsoDateTime(field.asDateTime());
    case FieldKind::Decimal: return decimalTextFromUnits(field.asDecimalUnits(), field.size());
  }
  return nullptr;
}

json fieldDefJson(const FieldDef& def) {
  json entry = {{"name", def.name}, {"kind", std::string(recordtable::kindName(def.kind))}};
  if (def.kind == FieldKind::Text || def.kind == FieldKind::Decimal) entry["size"] = def.size;
  return entry;
}

}  // namespace

void tableFromJson(const json& document, recordtable::Table& table) {
  if (!document.is_object()) throw ConversionError("O documento JSON deve ser um objeto.");
  for (const auto& [key, value] : document.items()) {
    if (key != "fields" && key != "index" && key != "records") {
      throw ConversionError("Chave desconhecida no documento: " + inQuotes(key) + ".");
    }
  }
  std::vector<FieldDef> defs = readFieldDefs(document);
  std::unordered_map<std::string, std::size_t> position;
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (!position.emplace(defs[i].name, i).second) {
      throw ConversionError("Definição de campo " + std::to_string(i + 1) + " (" + inQuotes(defs[i].name) +
                            "): nome repetido.");
    }
  }
  const auto records = document.find("records");
  if (records == document.end() || !records->is_array()) {
    throw ConversionError("O documento deve ter a lista de registros \"records\" (pode ser vazia).");
  }
  table.setFieldDefs(std::move(defs));
  const auto index = document.find("index");
  if (index != document.end() && !index->is_null()) {
    if (!index->is_string()) {
      throw ConversionError("\"index\" deve ser um texto com os nomes dos campos separados por \";\".");
    }
    table.setIndexFieldNames(index->get<std::string>());
  } else {
    table.setIndexFieldNames("");
  }
  table.createEmpty();
  try {
    for (std::size_t i = 0; i < records->size(); ++i) {
      table.append();
      writeRecord(table, position, i + 1, (*records)[i]);
      table.post();
    }
  } catch (...) {
    table.close();
    throw;
  }
}

json tableToJson(recordtable::Table& table) {
  json fields = json::array();
  for (const FieldDef& def : table.fieldDefs()) fields.push_back(fieldDefJson(def));

  const bool wasFiltered = table.filtered();
  table.setFiltered(false);
  json records = json::array();
  for (table.first(); !table.eof(); table.next()) {
    json record = json::object();
    for (std::size_t i = 0; i < table.fieldCount(); ++i) {
      const recordtable::Field& field = table.field(i);
      record[field.name()] = readValue(field);
    }
    records.push_back(std::move(record));
  }
  table.setFiltered(wasFiltered);
  table.first();
  return json{{"fields", std::move(fields)}, {"records", std::move(records)}};
}

}  // namespace zultool
