#include "client_statement.h"

#include <new>

namespace quovex::inf {

ResultCode makeClientStatement(ClientConnection* connection, std::unique_ptr<ClientStatement>& statement) {
  if (connection == nullptr) return RESULT_INVALID_HANDLE;
  statement.reset(new (std::nothrow) ClientStatement);
  if (!statement) return RESULT_CLIENT_NO_MEMORY;
  statement->connection = connection;
  return RESULT_OK;
}

}  // namespace quovex::inf
