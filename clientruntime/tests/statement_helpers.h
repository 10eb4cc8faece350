// Helpers of the statement tests: descriptor areas laid out as a caller
// makes them, and running statements the way the driver does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ifxrt/testing.h"

// A descriptor area of `count` entries in one block, zeroed.
class DescriptorArea {
 public:
  explicit DescriptorArea(int count);
  IfxDescriptor* get() { return reinterpret_cast<IfxDescriptor*>(block_.data()); }
  IfxDescriptorEntry& operator[](int index) { return get()->entries[index]; }

  // Binds entry `index` to `place` with the type and length given.
  template <typename T>
  void bind(int index, int16_t type, T& place, int32_t length = sizeof(T)) {
    bindBytes(index, type, reinterpret_cast<char*>(&place), length);
  }
  void bindBytes(int index, int16_t type, char* place, int32_t length);
  int16_t indicator(int index) const { return indicators_[static_cast<size_t>(index)]; }
  void setNull(int index) { indicators_[static_cast<size_t>(index)] = -1; }

 private:
  std::vector<unsigned char> block_;
  std::vector<int16_t> indicators_;
};

// Prepares `sql` under `name` on the current connection; returns the status.
int32_t prepare(const char* name, const char* sql);
// The handle of a prepared statement or cursor.
IfxStatement* statementNamed(const char* name);
IfxStatement* cursorNamed(const char* name);
// Describes a statement: the status code (the statement kind) and the area
// (null on failure; freed by the caller with clientFreeDescriptor).
int32_t describe(const char* name, IfxDescriptor** columns);
// Declares and opens cursor `cursor` over statement `name`; returns the
// status of the open.
int32_t openCursor(const char* name, const char* cursor, IfxDescriptor* parameters = nullptr);
int32_t fetch(const char* cursor, IfxDescriptor* columns);
