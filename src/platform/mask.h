// The parts of a file mask and the byte-wise wildcard match of its last one.
//
// A mask is a directory part (everything up to and including its last
// separator) and a pattern. In the pattern "*" matches any run of bytes, the
// empty one included, and "?" exactly one byte; every other byte stands for
// itself, "[", "]" and backslash included, and case matters.
//   splitMask("in/*.aifc", "/")    -> {"in/", "*.aifc"}
//   splitMask("D:*.aifc", "\\/:")  -> {"D:", "*.aifc"}
//   matchesPattern("a?.aifc", "a1.aifc") -> true; ("*.AIFC", "x.aifc") -> false
#pragma once

#include <string_view>

namespace quennix {

struct MaskParts {
  std::string_view directory;  // "" or ending in a separator
  std::string_view pattern;
};

MaskParts splitMask(std::string_view mask, std::string_view separators);

bool hasWildcards(std::string_view pattern);
bool matchesPattern(std::string_view pattern, std::string_view name);

}  // namespace quennix
