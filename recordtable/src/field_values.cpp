#include "field_values.h"

#include <cmath>

#include "datetime_millis.h"
#include "formats/formats.h"
#include "messages.h"
#include "value_text.h"

namespace recordtable::detail {
namespace {

std::string fieldName(const FieldDef& def) { return "o campo " + inQuotes(def.name); }

[[noreturn]] void notFitting(const FieldDef& def, const std::string& value, const char* what) {
  fail("O valor " + inQuotes(value) + " não é " + what + " válido para " + fieldName(def) + ".");
}

[[noreturn]] void wrongKind(const FieldDef& def, const char* what) {
  fail("O campo " + inQuotes(def.name) + " (" + std::string(kindName(def.kind)) + ") não aceita " +
       what + ".");
}

[[noreturn]] void cannotRead(const FieldDef& def, const char* as) {
  fail("O campo " + inQuotes(def.name) + " (" + std::string(kindName(def.kind)) +
       ") não pode ser lido como " + as + ".");
}

bool isTextKind(FieldKind kind) { return kind == FieldKind::Text || kind == FieldKind::LongText; }

StoredValue nullValue() { return StoredValue{}; }

StoredValue integerValue(std::int64_t v) { return StoredValue{Cell::ofInteger(v), {}}; }

StoredValue checkedText(const FieldDef& def, std::string_view text) {
  const std::optional<std::size_t> length = utf8Length(text);
  if (!length) fail("O texto para " + fieldName(def) + " não está em UTF-8 válido ou contém o caractere nulo.");
  if (def.kind == FieldKind::Text && *length > static_cast<std::size_t>(def.size)) {
    fail("O texto de " + std::to_string(*length) + " caracteres não cabe n" + fieldName(def) +
         ", de tamanho " + std::to_string(def.size) + ".");
  }
  StoredValue stored;
  stored.cell = Cell::ofText(0, static_cast<std::uint32_t>(text.size()));
  stored.text = std::string(text);
  return stored;
}

StoredValue checkedInteger(const FieldDef& def, std::int64_t v, const std::string& shown) {
  const bool fits = def.kind == FieldKind::Int16 ? (v >= INT16_MIN && v <= INT16_MAX)
                                                 : (v >= INT32_MIN && v <= INT32_MAX);
  if (!fits) {
    fail("O valor " + shown + " está fora da faixa d" + fieldName(def) + " (" +
         std::string(kindName(def.kind)) + ").");
  }
  return integerValue(v);
}

StoredValue decimalFromInteger(const FieldDef& def, std::int64_t v) {
  std::int64_t units;
  if (__builtin_mul_overflow(v, powerOfTen(def.size), &units)) {
    fail("O valor " + std::to_string(v) + " está fora da faixa d" + fieldName(def) + ".");
  }
  return integerValue(units);
}

}  // namespace

StoredValue storedFromText(const FieldDef& def, std::string_view text) {
  if (isTextKind(def.kind)) return checkedText(def, text);
  if (trimBlanks(text).empty()) return nullValue();
  const std::string shown(text);
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32: {
      const std::optional<std::int64_t> v = parseInteger(text);
      if (!v) notFitting(def, shown, "um número inteiro");
      return checkedInteger(def, *v, shown);
    }
    case FieldKind::Float: {
      const std::optional<double> v = parseNumber(text);
      if (!v) notFitting(def, shown, "um número");
      return StoredValue{Cell::ofNumber(*v), {}};
    }
    case FieldKind::Decimal: {
      const std::optional<std::int64_t> units = parseDecimal(text, def.size);
      if (!units) notFitting(def, shown, "um número decimal");
      return integerValue(*units);
    }
    default: {
      const std::optional<DateTime> v = parseDateTimeText(text);
      if (!v) notFitting(def, shown, "uma data");
      return integerValue(toMillis(*v));
    }
  }
}

StoredValue storedFromInteger(const FieldDef& def, std::int64_t value) {
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32:
      return checkedInteger(def, value, std::to_string(value));
    case FieldKind::Float:
      return StoredValue{Cell::ofNumber(static_cast<double>(value)), {}};
    case FieldKind::Decimal:
      return decimalFromInteger(def, value);
    case FieldKind::DateTime:
      wrongKind(def, "um número inteiro");
    default:
      return checkedText(def, std::to_string(value));
  }
}

StoredValue storedFromNumber(const FieldDef& def, double value) {
  if (!std::isfinite(value)) fail("Um número não finito não pode ser gravado n" + fieldName(def) + ".");
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32: {
      const std::optional<std::int64_t> whole = roundToInteger(value);
      if (!whole || static_cast<double>(*whole) != value) {
        notFitting(def, numberText(value), "um número inteiro");
      }
      return checkedInteger(def, *whole, numberText(value));
    }
    case FieldKind::Float:
      return StoredValue{Cell::ofNumber(value), {}};
    case FieldKind::Decimal: {
      const std::optional<std::int64_t> units = decimalFromNumber(value, def.size);
      if (!units) fail("O valor " + numberText(value) + " está fora da faixa d" + fieldName(def) + ".");
      return integerValue(*units);
    }
    case FieldKind::DateTime:
      wrongKind(def, "um número");
    default:
      return checkedText(def, numberText(value));
  }
}

StoredValue storedFromDateTime(const FieldDef& def, const DateTime& value) {
  if (!isValidDateTime(value)) {
    fail("A data " + inQuotes(formatIsoDateTime(value)) + " não é válida para " + fieldName(def) + ".");
  }
  if (def.kind == FieldKind::DateTime) return integerValue(toMillis(value));
  if (isTextKind(def.kind)) return checkedText(def, dateTimeText(value));
  wrongKind(def, "uma data");
}

StoredValue storedFromDecimalUnits(const FieldDef& def, std::int64_t units) {
  if (def.kind != FieldKind::Decimal) wrongKind(def, "unidades decimais");
  return integerValue(units);
}

StoredValue storedFromValue(const FieldDef& def, const Value& value) {
  switch (value.index()) {
    case 1:
      return storedFromInteger(def, std::get<std::int64_t>(value));
    case 2:
      return storedFromNumber(def, std::get<double>(value));
    case 3:
      return storedFromText(def, std::get<std::string>(value));
    case 4:
      return storedFromDateTime(def, std::get<DateTime>(value));
    default:
      return nullValue();
  }
}

bool beyondField(const FieldDef& def, const Value& value) {
  const bool integerKind = def.kind == FieldKind::Int16 || def.kind == FieldKind::Int32;
  const auto outOfRange = [&def](std::int64_t v) {
    return def.kind == FieldKind::Int16 ? (v < INT16_MIN || v > INT16_MAX)
                                        : (v < INT32_MIN || v > INT32_MAX);
  };
  const auto notAnInteger = [&outOfRange](double v) {
    const std::optional<std::int64_t> whole = roundToInteger(v);
    return !whole || static_cast<double>(*whole) != v || outOfRange(*whole);
  };
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return integerKind && outOfRange(*integer);
  if (const auto* number = std::get_if<double>(&value)) {
    return integerKind && std::isfinite(*number) && notAnInteger(*number);
  }
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (def.kind == FieldKind::Text) {
      const std::optional<std::size_t> length = utf8Length(*text);
      return length && *length > static_cast<std::size_t>(def.size);
    }
    if (integerKind) {
      const std::optional<double> number = parseNumber(*text);
      return number && notAnInteger(*number);
    }
  }
  return false;
}

std::string textOfCell(const FieldDef& def, const Cell& cell, std::string_view text) {
  if (cell.null) return {};
  switch (def.kind) {
    case FieldKind::Text:
    case FieldKind::LongText:
      return std::string(text);
    case FieldKind::Int16:
    case FieldKind::Int32:
      return std::to_string(cell.integer);
    case FieldKind::Float:
      return numberText(cell.number);
    case FieldKind::Decimal:
      return formats::formatDecimalUnits(cell.integer, def.size);
    default:
      return dateTimeText(fromMillis(cell.integer));
  }
}

std::int64_t integerOfCell(const FieldDef& def, const Cell& cell, std::string_view text) {
  if (cell.null) return 0;
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32:
      return cell.integer;
    case FieldKind::Float: {
      const std::optional<std::int64_t> v = roundToInteger(cell.number);
      if (!v) fail("O valor " + numberText(cell.number) + " d" + fieldName(def) + " não cabe em um inteiro.");
      return *v;
    }
    case FieldKind::Decimal:
      return roundDecimalToInteger(cell.integer, def.size);
    case FieldKind::DateTime:
      cannotRead(def, "número inteiro");
    default: {
      const std::optional<std::int64_t> v = parseInteger(text);
      if (!v) {
        fail("O valor " + inQuotes(text) + " d" + fieldName(def) + " não é um número inteiro.");
      }
      return *v;
    }
  }
}

double numberOfCell(const FieldDef& def, const Cell& cell, std::string_view text) {
  if (cell.null) return 0.0;
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32:
      return static_cast<double>(cell.integer);
    case FieldKind::Float:
      return cell.number;
    case FieldKind::Decimal:
      return static_cast<double>(cell.integer) / static_cast<double>(powerOfTen(def.size));
    case FieldKind::DateTime:
      cannotRead(def, "número");
    default: {
      const std::optional<double> v = parseNumber(text);
      if (!v) fail("O valor " + inQuotes(text) + " d" + fieldName(def) + " não é um número.");
      return *v;
    }
  }
}

DateTime dateTimeOfCell(const FieldDef& def, const Cell& cell, std::string_view text) {
  if (cell.null) return DateTime{};
  if (def.kind == FieldKind::DateTime) return fromMillis(cell.integer);
  if (!isTextKind(def.kind)) cannotRead(def, "data");
  const std::optional<DateTime> v = parseDateTimeText(text);
  if (!v) fail("O valor " + inQuotes(text) + " d" + fieldName(def) + " não é uma data.");
  return *v;
}

std::string displayTextOfCell(const FieldDef& def, const DisplaySettings& display, const Cell& cell,
                              std::string_view text) {
  if (cell.null) return {};
  if (display.pattern.empty()) return textOfCell(def, cell, text);
  if (def.kind == FieldKind::DateTime) return formats::formatDateTime(fromMillis(cell.integer), display.pattern);
  return formats::formatNumber(numberOfCell(def, cell, text), display.pattern);
}

int compareCells(FieldKind kind, const Cell& a, const Cell& b, const TextArena& arena) {
  if (a.null || b.null) return (a.null ? 0 : 1) - (b.null ? 0 : 1);
  switch (kind) {
    case FieldKind::Text:
    case FieldKind::LongText: {
      const int c = arena.view(a).compare(arena.view(b));
      return (c > 0) - (c < 0);
    }
    case FieldKind::Float:
      return (a.number > b.number) - (a.number < b.number);
    default:
      return (a.integer > b.integer) - (a.integer < b.integer);
  }
}

bool cellEquals(FieldKind kind, const Cell& cell, const StoredValue& value, const TextArena& arena) {
  if (value.cell.null || cell.null) return value.cell.null && cell.null;
  switch (kind) {
    case FieldKind::Text:
    case FieldKind::LongText:
      return arena.view(cell) == value.text;
    case FieldKind::Float:
      return cell.number == value.cell.number;
    default:
      return cell.integer == value.cell.integer;
  }
}

bool cellEqualsInteger(const FieldDef& def, const Cell& cell, std::int64_t value) {
  if (cell.null) return false;
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32:
      return cell.integer == value;
    case FieldKind::Float: {
      const std::optional<std::int64_t> whole = roundToInteger(cell.number);
      return whole && *whole == value && static_cast<double>(*whole) == cell.number;
    }
    case FieldKind::Decimal: {
      std::int64_t units;
      return !__builtin_mul_overflow(value, powerOfTen(def.size), &units) && units == cell.integer;
    }
    default:
      return false;
  }
}

std::optional<Cell> cellMatchingInteger(const FieldDef& def, std::int64_t value) {
  Cell target;
  switch (def.kind) {
    case FieldKind::Int16:
    case FieldKind::Int32:
      target = Cell::ofInteger(value);
      break;
    case FieldKind::Float:
      // Floats are finite, so they are totally ordered and the only cells
      // equal to the integer hold exactly this double (or -0.0 for 0).
      target = Cell::ofNumber(static_cast<double>(value));
      break;
    case FieldKind::Decimal: {
      std::int64_t units;
      if (__builtin_mul_overflow(value, powerOfTen(def.size), &units)) return std::nullopt;
      target = Cell::ofInteger(units);
      break;
    }
    default:
      return std::nullopt;
  }
  // A float above 2^53 may round to a neighbouring integer: then none equals.
  if (!cellEqualsInteger(def, target, value)) return std::nullopt;
  return target;
}

}  // namespace recordtable::detail
