#include "platform/login_name.h"

namespace quennix {

std::string storableLoginName(const std::optional<std::string>& name) {
  if (!name || name->size() > kMaxLoginNameBytes) return {};
  return *name;
}

}  // namespace quennix
