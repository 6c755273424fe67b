#include "driver/console.h"

#include <gtest/gtest.h>

#include <string>

#include "memory_platform.h"

namespace quennix {
namespace {

TEST(Console, OnAnInteractiveConsoleEveryWriteOperationGoesOutAtOnce) {
  test::MemoryConsole stream;
  stream.isInteractive = true;
  Console console(stream);
  print(console, "[1/1] a.aifc ");
  print(console, "(64.1kbps, 44.1kHz, 2ch)...");
  printLine(console, "done");
  EXPECT_EQ(stream.writes, (std::vector<std::string>{"[1/1] a.aifc ", "(64.1kbps, 44.1kHz, 2ch)...", "done\r\n"}));
}

TEST(Console, RedirectedTextGoesOutInFullBuffersAndAtFlush) {
  test::MemoryConsole stream;
  Console console(stream);
  print(console, "[1/1] a.aifc ");
  printLine(console, "done");
  EXPECT_TRUE(stream.writes.empty());
  print(console, std::string(200, 'x'));
  ASSERT_EQ(stream.writes.size(), 1u);
  EXPECT_EQ(stream.writes[0], "[1/1] a.aifc done\r\n" + std::string(109, 'x'));  // the 128 bytes of a full buffer
  flush(console);
  ASSERT_EQ(stream.writes.size(), 2u);
  EXPECT_EQ(stream.writes[1], std::string(91, 'x'));
  flush(console);
  EXPECT_EQ(stream.writes.size(), 2u) << "an empty buffer writes nothing";
}

}  // namespace
}  // namespace quennix
