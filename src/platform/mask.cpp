#include "platform/mask.h"

namespace quennix {

MaskParts splitMask(std::string_view mask, std::string_view separators) {
  std::size_t last = mask.find_last_of(separators);
  if (last == std::string_view::npos) return MaskParts{{}, mask};
  return MaskParts{mask.substr(0, last + 1), mask.substr(last + 1)};
}

bool hasWildcards(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool matchesPattern(std::string_view pattern, std::string_view name) {
  // Greedy match that backtracks only to the last star: linear in practice,
  // never exponential.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace quennix
