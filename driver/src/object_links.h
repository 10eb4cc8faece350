// The small states a parent object shares with the objects made from it: a
// connection with its commands, metadata objects and catalogue cursors, a
// command with its cursors. A link outlives both sides (each holds it
// shared), and the parent clears its side when it goes, so a child released
// after its parent finds null instead of freed memory. The links count no
// references on the parent: the counts addRef and release return stay the
// host's alone.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

namespace quovex::inf {

class INFConnection;
class INFCommand;
struct ClientConnection;

// One shared state and the number of objects holding it; the last holder
// frees it. (A hand-made handle rather than std::shared_ptr, whose type
// information would be exported from the library.)
template <typename State>
class Shared {
 public:
  Shared() = default;
  // A new state, or an empty handle when it cannot be allocated.
  static Shared make() noexcept {
    Shared made;
    made.box_ = new (std::nothrow) Box;
    return made;
  }
  Shared(const Shared& other) noexcept : box_(other.box_) {
    if (box_ != nullptr) ++box_->holders;
  }
  Shared(Shared&& other) noexcept : box_(std::exchange(other.box_, nullptr)) {}
  Shared& operator=(Shared other) noexcept {
    std::swap(box_, other.box_);
    return *this;
  }
  ~Shared() {
    if (box_ != nullptr && --box_->holders == 0) delete box_;
  }
  explicit operator bool() const { return box_ != nullptr; }
  State* operator->() const { return &box_->state; }
  State& operator*() const { return box_->state; }

 private:
  struct Box {
    State state;
    std::int32_t holders = 1;
  };
  Box* box_ = nullptr;
};

struct ConnectionLink {
  INFConnection* connection = nullptr;  // null once the connection is gone
  ClientConnection* client = nullptr;   // the connection's client record while connected
  std::uint64_t session = 0;            // counts the connects, telling records of earlier ones apart

  // The client record while it is still the one of `ofSession`, else null
  // (the connection is gone, disconnected, or connected again since).
  ClientConnection* clientOf(std::uint64_t ofSession) const {
    return connection != nullptr && session == ofSession ? client : nullptr;
  }
};

struct CommandLink {
  INFCommand* command = nullptr;  // null once the command is gone
};

}  // namespace quovex::inf
