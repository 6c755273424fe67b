#include "platform/command_line.h"

namespace quennix {
namespace {

bool separates(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

}  // namespace

std::vector<std::string> commandLineTokens(std::string_view line) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  for (;;) {
    for (;;) {
      while (i < line.size() && separates(line[i])) ++i;
      if (line.substr(i, 2) != "\"\"") break;
      i += 2;  // an empty quoted pair where a token would begin is no token
    }
    if (i >= line.size() || line[i] == '\0') return tokens;
    std::string token;
    bool quoted = false;
    for (; i < line.size() && line[i] != '\0' && (quoted || !separates(line[i])); ++i) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        token += line[i];
      }
    }
    tokens.push_back(std::move(token));
  }
}

}  // namespace quennix
