// The login name of the user who runs the conversion.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quennix {

class LoginNameSource {
 public:
  virtual ~LoginNameSource() = default;

  // The current user's login name, its bytes as the system stores them;
  // none when the system has none for this user.
  virtual std::optional<std::string> loginName() = 0;
};

// The longest name that a 200-byte buffer holds with its NUL.
inline constexpr std::size_t kMaxLoginNameBytes = 199;

// The name an FDA file stores: the login name when it has at most 199 bytes,
// otherwise (and without one) the empty name.
std::string storableLoginName(const std::optional<std::string>& name);

}  // namespace quennix
