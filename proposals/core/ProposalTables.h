// The record tables of the proposal program as data: the purpose a file is
// read for, the fields the program defines for CDS_Lote and CDS_Relatorio,
// the display settings it applies to CDS_Processo after reading a file, and
// the fields a process or proposals file must carry for each purpose.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "recordtable/field.h"

namespace recordtable {
class Table;
}

namespace proposals {

// A field the program defines, with how it is shown.
struct FieldSpec {
  recordtable::FieldDef def;
  recordtable::DisplaySettings display;
};

inline constexpr std::string_view kProcessoIndexFields = "NRO_LOTE; NRO_ITEM";
inline constexpr std::string_view kLoteIndexFields = "NRO_LOTE";
inline constexpr std::string_view kRelatorioIndexFields = "NRO_LOTE; NRO_ITEM";

// CDS_Lote: NRO_LOTE int16 ("0000", centred), DES_LOTE text(100).
const std::vector<FieldSpec>& loteFields();
// CDS_Relatorio: its 28 fields in order; the three opening dates with
// "dd/mm/yyyy hh:nn".
const std::vector<FieldSpec>& relatorioFields();

// Sets `table`'s definitions from `specs` (table closed), their display
// settings, and its index fields.
void defineTable(recordtable::Table& table, const std::vector<FieldSpec>& specs,
                 std::string_view indexFieldNames);

// The purpose a process file is read for.
enum class Purpose { CP, PL };  // "Cotação de Preços", "Processo Licitatório"
enum class Use { Both, CP, PL };  // purposes a field is read for

// What the program requires of a field's kind.
enum class KindRule {
  Any,      // only its values are converted (read as text, integer or date-time)
  Integer,  // Int16 or Int32
  Text,     // Text of at least minTextSize characters
  Float,    // Float (a Decimal is refused: the display pattern cannot apply)
};

// A field of CDS_Processo: where it is read, what the program requires of
// it, and the kind a file writer should give it.
struct ProcessoField {
  std::string_view name;
  Use use;
  KindRule rule;
  int minTextSize;              // for KindRule::Text; 0 otherwise
  recordtable::FieldKind kind;  // the kind files are written with
  int size;                     // its size (text length), 0 for other kinds
};

// The 31 fields of CDS_Processo in their usual order.
const std::vector<ProcessoField>& processoFields();

// One sentence per field of `purpose` that the open or closed table lacks or
// holds with a kind the program cannot use; empty when the table fits.
std::vector<std::string> processoFieldProblems(const recordtable::Table& table, Purpose purpose);
// Throws TableError with the first problem above.
void requireProcessoFields(const recordtable::Table& table, Purpose purpose);

// The display settings of CDS_Processo (field name, settings), in the order
// of the item grid's columns.
struct ProcessoDisplay {
  std::string_view name;
  KindRule rule;  // the kind the field must have for the setting to apply
  recordtable::DisplaySettings display;
};
const std::vector<ProcessoDisplay>& processoDisplay();
// Applies processoDisplay() to the loaded table; throws TableError when one
// of its fields is missing or of another kind (a Decimal where a Float is
// required included).
void applyProcessoDisplay(recordtable::Table& table);

}  // namespace proposals
