#include "platform/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace quennix {

std::string storableLoginName(const char* name) {
  if (name == nullptr) return {};
  std::size_t length = std::strlen(name);
  return length <= kMaxUserNameBytes ? std::string(name, length) : std::string();
}

std::string currentLoginName() {
  static bool known = false;
  static uid_t knownUser = 0;
  static std::string knownName;
  uid_t user = ::geteuid();
  if (known && user == knownUser) return knownName;
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  bool ok = getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr;
  knownName = ok ? storableLoginName(found->pw_name) : std::string();
  knownUser = user;
  known = true;
  return knownName;
}

}  // namespace quennix
