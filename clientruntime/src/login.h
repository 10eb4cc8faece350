// The login record behind the opaque IfxLogin of client.h.
#pragma once

#include <string>

struct IfxLogin {
  std::string user;
  std::string password;
};
