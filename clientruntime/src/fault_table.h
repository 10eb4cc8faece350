// Faults planned by tests: the nth call of a role fails with a chosen code.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ifxrt/testing.h"

namespace ifxrt {

struct Fault {
  int32_t code;
  int32_t secondDetail;
};

class FaultTable {
 public:
  // Plans a fault for the nth call of `role` from now (1 = the next one).
  // Ignored when nth is below 1.
  void add(IfxRole role, int nth, Fault fault);

  // Counts one call of `role`: returns the fault this call must produce, if
  // one falls due. Faults of other roles are untouched.
  std::optional<Fault> countCall(IfxRole role);

  void clear() { pending_.clear(); }

 private:
  struct Pending {
    IfxRole role;
    int callsLeft;
    Fault fault;
  };
  std::vector<Pending> pending_;
};

}  // namespace ifxrt
