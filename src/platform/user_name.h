// The login name of the user who runs the program.
#pragma once

#include <string>

namespace quennix {

constexpr std::size_t kMaxUserNameBytes = 199;

// The name of the process's effective user in the password database, its
// bytes as stored; empty when there is none or when it is longer than
// kMaxUserNameBytes (it would not fit the name buffer with its NUL). The
// database is read once for each effective user the process runs as.
std::string currentLoginName();

// The rule above for a name already looked up (absent: nullptr).
std::string storableLoginName(const char* name);

}  // namespace quennix
