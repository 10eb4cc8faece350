// Helpers shared by the engine's tests: a scratch folder per test and a
// table with a field of every kind.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "recordtable/table.h"

namespace recordtable::test {

// A fresh, empty folder removed again at the end of the test.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process id keeps two runs of one test (two build folders) apart.
    std::string leaf = std::string("rt_") + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(::getpid());
    for (char& c : leaf) {
      if (c == '/') c = '_';
    }
    path_ = std::filesystem::temp_directory_path() / leaf;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path file(const std::string& name) const { return path_ / name; }
  // Names of everything in the folder, sorted.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One field of every kind, in this order.
inline std::vector<FieldDef> everyKindDefs() {
  return {
      {"NOME", FieldKind::Text, 10},     {"PEQUENO", FieldKind::Int16, 0},
      {"INTEIRO", FieldKind::Int32, 0},  {"VALOR", FieldKind::Float, 0},
      {"DATA", FieldKind::DateTime, 0},  {"OBS", FieldKind::LongText, 0},
      {"PRECO", FieldKind::Decimal, 2},
  };
}

// A table "T" over everyKindDefs(), open and empty.
inline void openEveryKind(Table& table) {
  table.setFieldDefs(everyKindDefs());
  table.createEmpty();
}

// Appends a record with NRO_LOTE, NRO_ITEM and DES_LOTE.
inline void appendItem(Table& table, int lote, int item, const std::string& description = "") {
  table.append();
  table.fieldByName("NRO_LOTE").setInteger(lote);
  table.fieldByName("NRO_ITEM").setInteger(item);
  table.fieldByName("DES_LOTE").setText(description);
  table.post();
}

inline std::vector<FieldDef> itemDefs() {
  return {{"NRO_LOTE", FieldKind::Int16, 0},
          {"NRO_ITEM", FieldKind::Int32, 0},
          {"DES_LOTE", FieldKind::Text, 100}};
}

// (lote, item) of every record of the view, from the first.
inline std::vector<std::pair<int, int>> viewKeys(Table& table) {
  std::vector<std::pair<int, int>> keys;
  for (table.first(); !table.eof(); table.next()) {
    keys.emplace_back(static_cast<int>(table.fieldByName("NRO_LOTE").asInteger()),
                      static_cast<int>(table.fieldByName("NRO_ITEM").asInteger()));
  }
  return keys;
}

}  // namespace recordtable::test
