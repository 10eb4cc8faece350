// A small item table for the tests of the rules and of the grids' data
// source: NRO_LOTE, VLR_PROPOSTA and VLR_TOTALPROPOSTA, ordered by lot.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "recordtable/table.h"

namespace proposals {

// One row per (lot, price); the total is the price.
inline std::unique_ptr<recordtable::Table> itemsTable(const std::vector<std::pair<int, double>>& lotAndPrice) {
  auto owned = std::make_unique<recordtable::Table>("CDS_Processo");
  recordtable::Table& table = *owned;
  table.setFieldDefs({{"NRO_LOTE", recordtable::FieldKind::Int16, 0},
                      {"VLR_PROPOSTA", recordtable::FieldKind::Float, 0},
                      {"VLR_TOTALPROPOSTA", recordtable::FieldKind::Float, 0}});
  table.setIndexFieldNames("NRO_LOTE");
  table.createEmpty();
  for (const auto& [lot, price] : lotAndPrice) {
    table.append();
    table.fieldByName("NRO_LOTE").setInteger(lot);
    table.fieldByName("VLR_PROPOSTA").setFloat(price);
    table.fieldByName("VLR_TOTALPROPOSTA").setFloat(price);
    table.post();
  }
  return owned;
}

}  // namespace proposals
