// Widget-free rules of the proposal window: which files the open dialog
// offers, lot mode, the header texts, the lot filter, the item total, the
// running total, the completeness check of "Encerrar" and the name of the
// proposals file. The window wires them to its controls; tests call them
// directly.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ProposalTables.h"
#include "formats/formats.h"

namespace recordtable {
class Table;
}

namespace proposals {

// The purpose list CMB_Finalidade holds "Cotação de Preços" (files CP_*) and
// "Processo Licitatório" (files PL_*), in that order. The purpose at a list
// index: none for -1 (nothing picked) or any index beyond the list.
std::optional<Purpose> purposeAtIndex(int index);
int indexOfPurpose(Purpose purpose);

// Tags of the two open buttons.
inline constexpr int kTagProposals = 0;  // "Abrir Propostas"
inline constexpr int kTagProcess = 1;    // "Abrir Processo" / "Abrir Cotação"

// The open dialog's filter: description and name pattern joined by "|".
// Without a purpose, the quotation's.
std::string openFileFilter(int tag, std::optional<Purpose> purpose);

// Lot mode for the judgement code of the file (exact text equality):
// "2" or "5" for a quotation, "4" or "5" for a bidding process; never
// without a purpose.
bool isLotMode(std::optional<Purpose> purpose, std::string_view tipoApuracao);

// NRO_CGC cut by position into 99.999.999/9999-99; a shorter value gives the
// pieces it has (positions beyond its end are empty). UTF-8 aware.
std::string formatEntityCnpj(std::string_view cgc);

// "NRO_LOTE = 3": the filter text that restricts the items to one lot.
std::string lotFilterText(std::int64_t lot);

// The proposals file name: "CP_"/"PL_" (nothing without a purpose), the
// process number and the year as shown (trimmed), the supplier's number
// text, ".PRO". No folder part.
std::string proposalsFileName(std::optional<Purpose> purpose, std::string_view number, std::string_view year,
                              std::string_view taxNumber);

// The item total: quantity x unit price, each first taken to ten-thousandths
// (as the entry controls hold them), multiplied exactly and rounded to two
// decimals, halves away from zero: 3 x 0,1250 gives 0,38 and 1 x 0,0050
// gives 0,01. Throws std::overflow_error or std::out_of_range when the
// product is beyond a currency value.
formats::Currency itemTotal(double quantity, double unitPrice);

// The sum of VLR_TOTALPROPOSTA over the rows on view, in currency values.
// Walks the table from its first row with first/next (so its after-scroll
// observers run) and leaves it on no particular row; the caller keeps and
// restores the position.
formats::Currency sumItemTotals(recordtable::Table& items);

// Lots where some items are priced and others are not, walking the whole
// view in order (items ordered by lot). `list` is "0001-0012-" style.
struct PartlyPricedLots {
  std::string list;
  int count = 0;
};
PartlyPricedLots findPartlyPricedLots(recordtable::Table& items);

// The warning for a non-empty lot list ("... nos lotes -0001-0012- ...").
std::string partlyPricedMessage(const PartlyPricedLots& lots);

// True when some item of the view has VLR_PROPOSTA not above zero.
bool anyItemWithoutProposal(recordtable::Table& items);

// The one failure text of reading a file.
inline constexpr std::string_view kReadFailureMessage =
    "Ocorreu um erro na leitura do arquivo. Verifique as versões do Zomerix e do "
    "KLAVRegistraPropostas.";

}  // namespace proposals
