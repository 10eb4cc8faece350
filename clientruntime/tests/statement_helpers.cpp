#include "statement_helpers.h"

DescriptorArea::DescriptorArea(int count)
    : block_(IFX_DESCRIPTOR_SIZE(count)), indicators_(static_cast<size_t>(count), 0) {
  get()->count = static_cast<int16_t>(count);
  get()->entries = reinterpret_cast<IfxDescriptorEntry*>(block_.data() + sizeof(IfxDescriptor));
}

void DescriptorArea::bindBytes(int index, int16_t type, char* place, int32_t length) {
  IfxDescriptorEntry& entry = (*this)[index];
  entry.type = type;
  entry.length = length;
  entry.data = place;
  entry.indicator = &indicators_[static_cast<size_t>(index)];
}

int32_t prepare(const char* name, const char* sql) {
  clientPrepare(name, sql);
  return clientStatusCode();
}

IfxStatement* statementNamed(const char* name) { return clientFindStatement(name, IFX_FIND_STATEMENT); }
IfxStatement* cursorNamed(const char* name) { return clientFindStatement(name, IFX_FIND_CURSOR); }

int32_t describe(const char* name, IfxDescriptor** columns) {
  clientDescribe(statementNamed(name), columns);
  return clientStatusCode();
}

int32_t openCursor(const char* name, const char* cursor, IfxDescriptor* parameters) {
  clientDeclareCursor(cursor, statementNamed(name), 4096);
  if (clientStatusCode() != 0) return clientStatusCode();
  clientOpenCursor(cursorNamed(cursor), parameters);
  return clientStatusCode();
}

int32_t fetch(const char* cursor, IfxDescriptor* columns) {
  clientFetch(cursorNamed(cursor), columns);
  return clientStatusCode();
}
