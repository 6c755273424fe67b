// The directory search behind a file mask.
//
// A mask is a path whose last component may hold the wildcards "*" (any
// run of bytes, the empty one included) and "?" (exactly one byte); every
// other byte, "[", "]" and backslash included, stands for itself, and case
// matters. The directory part, if any, is literal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quennix {

bool hasWildcards(std::string_view pattern);
bool matchesPattern(std::string_view pattern, std::string_view name);

// The names in `directory` ("" for the current one; otherwise ending in
// "/") that match `pattern`, sorted by byte value. Entries that are
// directories, or links to directories, are never taken; "." and ".." never
// match; names starting with a dot are taken like any other. A pattern
// without wildcards finds exactly that entry, if it exists.
std::vector<std::string> findMatchingNames(const std::string& directory, std::string_view pattern);

}  // namespace quennix
