// The customer list of the README: a report over rows of its own (not a
// record table), grouped by state, with "Página 3 de 12" at every page's foot.
// The README shows this file's code between the markers; a test checks that
// it still does and runs it.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "reportengine/Layout.h"
#include "reportengine/Model.h"

// README example begins
struct Customer {
  std::string name, city, state;
  double balance;
};

// The rows, through the engine's data-source interface.
class CustomerSource : public reportengine::DataSource {
 public:
  explicit CustomerSource(std::vector<Customer> rows) : rows_(std::move(rows)) {}
  std::size_t rowCount() const override { return rows_.size(); }
  void moveTo(std::size_t row) override { current_ = row; }
  reportengine::FieldValue value(std::string_view field) const override { return valueOf(rows_[current_], field); }
  std::string groupKey(std::size_t row, std::string_view field) const override {
    return valueOf(rows_[row], field).text;
  }

 private:
  static reportengine::FieldValue valueOf(const Customer& c, std::string_view field) {
    if (field == "NAME") return reportengine::textValue(c.name);
    if (field == "CITY") return reportengine::textValue(c.city);
    if (field == "STATE") return reportengine::textValue(c.state);
    if (field == "BALANCE") return reportengine::numberValue(c.balance, std::to_string(c.balance));
    throw std::out_of_range("Campo desconhecido: " + std::string(field));
  }
  std::vector<Customer> rows_;
  std::size_t current_ = 0;
};

class CustomerList : public reportengine::Report {
 public:
  explicit CustomerList(std::vector<Customer> customers) : source_(std::move(customers)) {
    using reportengine::Align;
    title = "Clientes";
    setDataSource(&source_);
    setPageHeader("Cabecalho", 8).addLabel("Titulo", "Lista de Clientes", 0, 0, 195.8, Align::Center, {"Arial", 12, true});
    reportengine::Group& state = addGroup("Estado", "STATE", 6);
    state.header->addExpression("UF", "'Estado: ' + STATE", 0, 1, 100, Align::Left, {"Arial", 9, true});
    state.header->keep.withNext = true;  // never a bare state heading at a page's foot
    reportengine::Band& line = setDetail("Cliente", 5);
    line.addField("Nome", "NAME", "", 0, 0.5, 90, Align::Left, {});
    line.addField("Cidade", "CITY", "", 95, 0.5, 60, Align::Left, {});
    line.addField("Saldo", "BALANCE", "#,##0.00", 160, 0.5, 35.8, Align::Right, {}).fit =
        reportengine::TextFit::ShrinkToFit;
    setPageFooter("Rodape", 6)
        .addSystem("Pagina", reportengine::ElementKind::PageOfPages, "Página ", 0, 1, 195.8, Align::Right, {"Arial", 8});
  }

 private:
  CustomerSource source_;
};
// README example ends
