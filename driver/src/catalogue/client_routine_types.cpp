#include "client_routine_types.h"

#include <algorithm>

#include "client/client_connection.h"
#include "client/client_roles.h"

namespace quovex::inf {
namespace {

constexpr const char* kTypeQuery =
    " select procid , ifx_ret_types ( procid ) ret , ifx_param_types ( procid ) param from informix . "
    "sysprocedures where procid = ?";

// Copies a variable-length text that is present and not empty.
void copyVarText(const ClientRoles& roles, const IfxVarText* text, std::string& list) {
  if (text == nullptr || roles.varTextIsNull(text) != 0) return;
  const std::int32_t length = roles.varTextLength(text);
  const char* data = roles.varTextData(text);
  if (length > 0 && data != nullptr) list.assign(data, static_cast<std::size_t>(length));
}

}  // namespace

RoutineTypeLists loadRoutineTypeLists(ClientConnection* connection, std::int32_t routine) {
  const ClientRoles& roles = clientRoles();
  if (connection != nullptr && connection->name) roles.setConnection(connection->name.get());

  IfxVarText* returns = nullptr;
  IfxVarText* parameters = nullptr;
  roles.varTextNew(&returns);
  roles.varTextNew(&parameters);
  std::int32_t routineOut = 0;
  IfxValueArea* output = roles.outputArea(3);
  roles.bindOutput(output, 0, IFX_TYPE_INTEGER, &routineOut, sizeof routineOut, nullptr);
  roles.bindOutput(output, 1, IFX_TYPE_LVARCHAR, returns, 0, nullptr);
  roles.bindOutput(output, 2, IFX_TYPE_LVARCHAR, parameters, 0, nullptr);
  IfxValueArea* input = roles.inputArea(1);
  roles.bindInput(input, 0, IFX_TYPE_INTEGER, &routine, sizeof routine);
  char statementId[8] = {};
  roles.clearBuffer(statementId, sizeof statementId);
  roles.selectInto(statementId, kTypeQuery, input, output);  // frees both areas

  RoutineTypeLists lists;
  try {
    copyVarText(roles, returns, lists.returns);
    copyVarText(roles, parameters, lists.parameters);
  } catch (...) {
    roles.varTextFree(returns);
    roles.varTextFree(parameters);
    throw;
  }
  roles.varTextFree(returns);
  roles.varTextFree(parameters);
  return lists;
}

std::size_t typeListItemCount(const std::string& list) {
  if (list.empty()) return 0;
  return static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
}

std::string typeListItem(const std::string& list, std::int32_t position) {
  if (list.find(',') == std::string::npos) return list;
  if (position < 1) return {};
  std::size_t start = 0;
  for (std::int32_t item = 1; item < position; ++item) {
    start = list.find(',', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const std::size_t end = list.find(',', start);
  return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace quovex::inf
