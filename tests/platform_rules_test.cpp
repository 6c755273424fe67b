// The rules every platform shares: command-line tokens, the parts of a mask
// and the byte-wise wildcard match.
#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "platform/mask.h"

namespace quennix {
namespace {

using Tokens = std::vector<std::string>;

TEST(CommandLineTokens, QuotesOpenSectionsAndNothingEscapes) {
  const struct {
    const char* line;
    Tokens tokens;
    // clang-format off
  } rows[] = {
      {"quennix.exe",                          {"quennix.exe"}},
      {"\"C:\\Program Files\\q.exe\" a.aifc",  {"C:\\Program Files\\q.exe", "a.aifc"}},
      {"q \"a b.aifc\"",                       {"q", "a b.aifc"}},
      {"q a\" \"b.aifc",                       {"q", "a b.aifc"}},
      {"q \"C:\\My Sounds\\\" x",              {"q", "C:\\My Sounds\\", "x"}},
      {"q \"C:\\My Sounds\\\"*.aifc",          {"q", "C:\\My Sounds\\*.aifc"}},
      {"q a\\\"b c\"",                         {"q", "a\\b c"}},
      {"q \"\"",                               {"q"}},
      {"q \"\" \"\"  x",                       {"q", "x"}},
      {"q \"\"\"\"x",                          {"q", "x"}},
      {"q \"unclosed quote  ",                 {"q", "unclosed quote  "}},
      {"q\ta\x01" "b\x1F" "c \xC3\xA9",        {"q", "a", "b", "c", "\xC3\xA9"}},
      {"   ",                                  {}},
      {"",                                     {}},
  };
  // clang-format on
  for (const auto& row : rows) EXPECT_EQ(commandLineTokens(row.line), row.tokens) << row.line;
}

TEST(Mask, SplitsAtTheLastSeparator) {
  const struct {
    const char* mask;
    const char* separators;
    const char* directory;
    const char* pattern;
    // clang-format off
  } rows[] = {
      {"*.aifc",              "/",     "",                 "*.aifc"},
      {"in/*.aifc",           "/",     "in/",              "*.aifc"},
      {"/a/b/c.aifc",         "/",     "/a/b/",            "c.aifc"},
      {"a\\b.aifc",           "/",     "",                 "a\\b.aifc"},
      {"sub\\*.aifc",         "\\/:",  "sub\\",            "*.aifc"},
      {"sub/*.aifc",          "\\/:",  "sub/",             "*.aifc"},
      {"D:*.aifc",            "\\/:",  "D:",               "*.aifc"},
      {"\\\\host\\share\\*",  "\\/:",  "\\\\host\\share\\", "*"},
      {"folder/",             "/",     "folder/",          ""},
  };
  // clang-format on
  for (const auto& row : rows) {
    MaskParts parts = splitMask(row.mask, row.separators);
    EXPECT_EQ(parts.directory, row.directory) << row.mask;
    EXPECT_EQ(parts.pattern, row.pattern) << row.mask;
  }
}

TEST(Mask, WildcardsMatchBytes) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
    // clang-format off
  } rows[] = {
      {"*.aifc",   "a.aifc",    true},
      {"*.aifc",   ".aifc",     true},
      {"*.aifc",   "a.aifcx",   false},
      {"*.AIFC",   "a.aifc",    false},
      {"a?.aifc",  "a1.aifc",   true},
      {"a?.aifc",  "a.aifc",    false},
      {"?",        "\xC3\xA9",  false},  // one byte, not one character
      {"??",       "\xC3\xA9",  true},
      {"[ab]",     "a",         false},
      {"[ab]",     "[ab]",      true},
      {"**a*?*",   "xay",       true},
      {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
      {"",         "",          true},
  };
  // clang-format on
  for (const auto& row : rows)
    EXPECT_EQ(matchesPattern(row.pattern, row.name), row.matches) << row.pattern << " " << row.name;
}

}  // namespace
}  // namespace quennix
