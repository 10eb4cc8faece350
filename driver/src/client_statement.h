// Statement half of the client access layer: the ClientStatement record a
// command works through.
//
// For now the record holds what a command needs from its connection: the
// client connection it runs on and the status of its last client call. The
// command work adds the names block, statement text, column and parameter
// areas and the prepare, execute and close steps here.
#pragma once

#include <cstdint>
#include <memory>

#include "quovex/types.h"

namespace quovex::inf {

struct ClientConnection;

// Owned by its command; refers to the connection's ClientConnection, which
// must outlive it (commands are released before their connection).
struct ClientStatement {
  ClientConnection* connection = nullptr;
  std::int32_t lastStatus = 0;
};

// Makes a statement record on `connection`. RESULT_INVALID_HANDLE when there
// is no client connection, RESULT_CLIENT_NO_MEMORY when the record cannot be
// allocated; `statement` is left empty in both cases.
ResultCode makeClientStatement(ClientConnection* connection, std::unique_ptr<ClientStatement>& statement);

}  // namespace quovex::inf
