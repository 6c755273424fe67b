#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/posix/posix_platform.h"

namespace quennix::posix {

std::optional<std::string> PosixLoginName::loginName() {
  uid_t user = ::geteuid();
  if (known_ && user == knownUser_) return knownName_;
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  bool ok = ::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr;
  knownName_ = ok ? std::optional<std::string>(found->pw_name) : std::nullopt;
  knownUser_ = user;
  known_ = true;
  return knownName_;
}

}  // namespace quennix::posix
