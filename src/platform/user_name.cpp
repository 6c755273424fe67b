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
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return storableLoginName(found->pw_name);
}

}  // namespace quennix
