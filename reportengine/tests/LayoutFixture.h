// A measurer with fixed metrics and a small table with two lots, for laying
// out reports without fonts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "recordtable/table.h"
#include "reportengine/Layout.h"

// At 9 points every character is 2 mm wide and every line 4 mm high;
// widths scale with the font's size. Counts the characters it measured.
class FixedMeasurer : public reportengine::TextMeasurer {
 public:
  double textWidth(const reportengine::Font& font, std::string_view utf8) const override {
    double characters = 0;
    for (unsigned char c : utf8)
      if ((c & 0xC0) != 0x80) ++characters;
    measured += static_cast<std::size_t>(characters);
    return characters * 2.0 * font.pointSize / 9.0;
  }
  mutable std::size_t measured = 0;
  double lineHeight(const reportengine::Font&) const override { return 4.0; }
};

struct Row {
  int lot;
  int item;
  std::string name;
  double value;
};

// LOTE int16, ITEM int32, NAME text(200), VALUE float, WHEN date-time;
// ordered by LOTE then ITEM.
inline void fillTable(recordtable::Table& table, const std::vector<Row>& rows) {
  using recordtable::FieldKind;
  table.setFieldDefs({{"LOTE", FieldKind::Int16, 0},
                      {"ITEM", FieldKind::Int32, 0},
                      {"NAME", FieldKind::LongText, 0},
                      {"VALUE", FieldKind::Float, 0},
                      {"WHEN", FieldKind::DateTime, 0}});
  table.setIndexFieldNames("LOTE; ITEM");
  table.createEmpty();
  for (const Row& row : rows) {
    table.append();
    table.fieldByName("LOTE").setInteger(row.lot);
    table.fieldByName("ITEM").setInteger(row.item);
    table.fieldByName("NAME").setText(row.name);
    table.fieldByName("VALUE").setFloat(row.value);
    table.post();
  }
}

// The names of the bands placed on a page, in order.
inline std::vector<std::string> bandNames(const reportengine::Page& page) {
  std::vector<std::string> names;
  for (const auto& band : page.bands) names.push_back(band.name);
  return names;
}

// The texts of the items of one element on a page, in order.
inline std::vector<std::string> textsOf(const reportengine::Page& page, std::string_view element) {
  std::vector<std::string> texts;
  for (const auto& item : page.items)
    if (item.element == element) texts.push_back(item.text);
  return texts;
}
