// The routine type lists of the client access layer: the return and
// parameter types of one routine, as the server's functions ifx_ret_types
// and ifx_param_types name them ("integer,date"), read with a one-row query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quovex::inf {

struct ClientConnection;

struct RoutineTypeLists {
  std::string returns;
  std::string parameters;
};

// Runs the type query for routine number `routine` on `connection` (made
// current first when it has a name) and returns its two lists, whole. A
// list the query leaves NULL or empty, or a query that fails, gives an empty
// list: the catalogue cursor treats both as "no types". Throws std::bad_alloc.
RoutineTypeLists loadRoutineTypeLists(ClientConnection* connection, std::int32_t routine);

// Number of items of a comma-separated list: its commas + 1, 0 when empty.
std::size_t typeListItemCount(const std::string& list);

// The item at `position` (from 1) of a list holding a comma; the whole list
// when it holds none; empty past the last item or for position below 1.
std::string typeListItem(const std::string& list, std::int32_t position);

}  // namespace quovex::inf
