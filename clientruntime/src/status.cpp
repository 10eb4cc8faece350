#include "status.h"

#include <algorithm>
#include <cstring>

namespace ifxrt {

Status Status::error(int32_t code, int32_t secondDetail, std::string argument) {
  Status status;
  status.code = code;
  status.secondDetail = secondDetail;
  status.argument = std::move(argument);
  return status;
}

void resetStatusArea(IfxStatusArea& area) { std::memset(&area, 0, sizeof area); }

void writeStatus(IfxStatusArea& area, const Status& status) {
  area.sqlcode = status.code;
  area.sqlerrd[1] = status.secondDetail;
  area.sqlerrd[2] = status.rowsProcessed;
  const size_t length = std::min(status.argument.size(), sizeof area.sqlerrm - 1);
  std::memcpy(area.sqlerrm, status.argument.data(), length);
  area.sqlerrm[length] = '\0';
  if (status.warnLogged) area.sqlwarn[1] = 'W';
  if (status.warnAnsi) area.sqlwarn[2] = 'W';
  if (status.warnLogged || status.warnAnsi) area.sqlwarn[0] = 'W';
}

}  // namespace ifxrt
