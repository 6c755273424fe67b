#include "driver/console.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace quennix {
namespace {

// What has reached the pipe so far, without waiting.
std::string drain(int fd) {
  std::string text;
  char buffer[512];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  return text;
}

struct Pipe {
  int ends[2];
  Pipe() { EXPECT_EQ(::pipe2(ends, O_NONBLOCK), 0); }
  ~Pipe() {
    ::close(ends[0]);
    ::close(ends[1]);
  }
};

TEST(Console, OnATerminalEveryWriteOperationGoesOutAtOnce) {
  Pipe pipe;
  Console console;
  console.fd = pipe.ends[1];
  console.interactive = true;
  print(console, "[1/1] a.aifc ");
  EXPECT_EQ(drain(pipe.ends[0]), "[1/1] a.aifc ");
  printLine(console, "done");
  EXPECT_EQ(drain(pipe.ends[0]), "done\r\n");
}

TEST(Console, RedirectedTextGoesOutInFullBuffersAndAtFlush) {
  Pipe pipe;
  Console console;
  console.fd = pipe.ends[1];
  console.interactive = false;
  print(console, "[1/1] a.aifc ");
  printLine(console, "done");
  EXPECT_EQ(drain(pipe.ends[0]), "");
  std::string longer(200, 'x');
  print(console, longer);
  EXPECT_EQ(drain(pipe.ends[0]), "[1/1] a.aifc done\r\n" + std::string(109, 'x'));  // the 128 bytes of a full buffer
  flush(console);
  EXPECT_EQ(drain(pipe.ends[0]), std::string(91, 'x'));
}

}  // namespace
}  // namespace quennix
