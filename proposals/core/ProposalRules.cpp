// The widget-free rules of the proposal window: purposes and their list
// indexes, file filters, lot mode, header texts, totals, the closing check
// and the proposals file name.
#include "ProposalRules.h"

#include <stdexcept>

#include "recordtable/table.h"

namespace proposals {

std::optional<Purpose> purposeAtIndex(int index) {
  if (index == 0) return Purpose::CP;
  if (index == 1) return Purpose::PL;
  return std::nullopt;
}

int indexOfPurpose(Purpose purpose) { return purpose == Purpose::PL ? 1 : 0; }

std::string openFileFilter(int tag, std::optional<Purpose> purpose) {
  const bool licitacao = purpose == Purpose::PL;
  if (tag == kTagProcess) {
    return licitacao ? "Processo Licitatório (PL_*.ZUL)|PL_*.ZUL"
                     : "Cotação de Preços (CP_*.ZUL)|CP_*.ZUL";
  }
  return licitacao ? "Processo Licitatório - Propostas (PL_*.PRO)|PL_*.PRO"
                   : "Cotação de Preços - Propostas (CP_*.PRO)|CP_*.PRO";
}

bool isLotMode(std::optional<Purpose> purpose, std::string_view tipoApuracao) {
  if (purpose == Purpose::CP) return tipoApuracao == "2" || tipoApuracao == "5";
  if (purpose == Purpose::PL) return tipoApuracao == "4" || tipoApuracao == "5";
  return false;
}

namespace {

// Byte offset of the code point `index` (from 0) in UTF-8 text, or its size.
std::size_t codePointOffset(std::string_view text, std::size_t index) {
  std::size_t offset = 0;
  for (std::size_t seen = 0; offset < text.size() && seen < index; ++seen) {
    ++offset;
    while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) ++offset;
  }
  return offset;
}

// Characters first..last (from 1, inclusive) of UTF-8 text; empty beyond it.
std::string piece(std::string_view text, std::size_t first, std::size_t last) {
  const std::size_t from = codePointOffset(text, first - 1);
  const std::size_t to = codePointOffset(text, last);
  return std::string(text.substr(from, to - from));
}

}  // namespace

std::string formatEntityCnpj(std::string_view cgc) {
  return piece(cgc, 1, 2) + "." + piece(cgc, 3, 5) + "." + piece(cgc, 6, 8) + "/" +
         piece(cgc, 9, 12) + "-" + piece(cgc, 13, 14);
}

std::string lotFilterText(std::int64_t lot) { return "NRO_LOTE = " + std::to_string(lot); }

namespace {
std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}
}  // namespace

std::string proposalsFileName(std::optional<Purpose> purpose, std::string_view number,
                              std::string_view year, std::string_view taxNumber) {
  std::string name;
  if (purpose == Purpose::CP) name = "CP_";
  if (purpose == Purpose::PL) name = "PL_";
  name += trimmed(number);
  name += "_";
  name += trimmed(year);
  name += "_";
  name += taxNumber;
  name += ".PRO";
  return name;
}

// The product of two currency values needs more than 64 bits.
__extension__ typedef __int128 Wide;

formats::Currency itemTotal(double quantity, double unitPrice) {
  // Both factors in ten-thousandths: the product counts 10^-8 units, taken
  // to 10^-2 with halves away from zero, then back to ten-thousandths.
  const Wide product = static_cast<Wide>(formats::Currency::fromDouble(quantity).tenThousandths()) *
                           formats::Currency::fromDouble(unitPrice).tenThousandths();
  constexpr Wide kToCents = 1000000;
  const Wide magnitude = product < 0 ? -product : product;
  Wide cents = (magnitude + kToCents / 2) / kToCents;
  if (product < 0) cents = -cents;
  const Wide units = cents * 100;
  if (units > INT64_MAX || units < INT64_MIN) throw std::overflow_error("Valor total do item fora da faixa");
  return formats::Currency::fromTenThousandths(static_cast<std::int64_t>(units));
}

formats::Currency sumItemTotals(recordtable::Table& items) {
  formats::Currency total;
  const auto& field = items.fieldByName("VLR_TOTALPROPOSTA");
  for (items.first(); !items.eof(); items.next()) {
    total += formats::Currency::fromDouble(field.asFloat());
  }
  return total;
}

PartlyPricedLots findPartlyPricedLots(recordtable::Table& items) {
  PartlyPricedLots found;
  const auto& lotField = items.fieldByName("NRO_LOTE");
  const auto& priceField = items.fieldByName("VLR_PROPOSTA");
  items.first();
  while (!items.eof()) {
    const std::int64_t lot = lotField.asInteger();
    bool with = false;
    bool without = false;
    while (!items.eof() && lotField.asInteger() == lot) {
      (priceField.asFloat() > 0 ? with : without) = true;
      items.next();
    }
    const std::string shown = formats::formatNumber(static_cast<double>(lot), "0000");
    if (with && without && found.list.find(shown) == std::string::npos) {
      found.list += shown + "-";
      ++found.count;
    }
  }
  return found;
}

std::string partlyPricedMessage(const PartlyPricedLots& lots) {
  const std::string prefix = lots.count < 2 ? "no lote -" : "nos lotes -";
  return "Atenção! Existem itens " + prefix + lots.list +
         " sem propostas e o encerramento não será realizado.";
}

bool anyItemWithoutProposal(recordtable::Table& items) {
  const auto& priceField = items.fieldByName("VLR_PROPOSTA");
  for (items.first(); !items.eof(); items.next()) {
    if (!(priceField.asFloat() > 0)) return true;
  }
  return false;
}

}  // namespace proposals
