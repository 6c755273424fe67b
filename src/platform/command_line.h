// The tokens of a raw command line, as Windows hands it over in one piece.
//
// Bytes 1 to 32 (blank, tab, the control characters) separate tokens, and
// an empty quoted pair where a token would begin is no token. A double
// quote opens a quoted section that runs to the next double quote or the
// end of the line; inside it blanks belong to the token. The quotes are
// dropped and the end of a section does not end the token. A backslash has
// no special meaning: there are no escapes. The first token is the
// program's name. The line is UTF-8 (or any code page whose multi-byte
// characters hold no byte below 128), so no part of a character is ever
// taken for a quote or a separator.
//   prog "C:\My Sounds\" x  -> prog | C:\My Sounds\ | x
//   prog a"b c"d ""         -> prog | ab cd
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quennix {

std::vector<std::string> commandLineTokens(std::string_view line);

}  // namespace quennix
