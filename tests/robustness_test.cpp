// Damaged inputs through the real program: every one must end with one of
// the program's own outcomes, never a crash, a hang or an output larger
// than its declared size asks for.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "fixtures.h"
#include "posix_program.h"

namespace quennix {
namespace {

using test::AifcFields;
using test::Bytes;

const std::uint32_t kBoundaryValues[] = {0, 1, 9, 10, 21, 22, 23, 277, 278, 0x7FFFFFFF, 0xFFFFFFFF};

struct Field {
  const char* name;
  std::size_t offset;  // in the classic layout
  int width;           // bytes
};

// The header fields of the classic layout (FORM, FVER, COMM of size 23, SSND).
const Field kFields[] = {
    {"form-size", 4, 4}, {"fver-size", 16, 4},   {"comm-size", 28, 4},     {"channels", 32, 2},
    {"frames", 34, 4},   {"sample-size", 38, 2}, {"rate-exponent", 40, 2}, {"ssnd-size", 60, 4},
    {"offset", 64, 4},   {"block-size", 68, 4},  {"lead-word", 72, 2},
};

void store(Bytes& bytes, const Field& field, std::uint32_t value) {
  for (int i = 0; i < field.width; ++i) {
    int shift = 8 * (field.width - 1 - i);
    bytes[field.offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> shift);
  }
}

std::uint32_t littleEndian32(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
}

TEST(Robustness, CutAndMutatedHeadersEndWithTheProgramsOwnOutcomes) {
  test::TempDir dir;
  AifcFields fields;
  fields.leadWord = 372;
  fields.sound = Bytes(16, 0x5A);
  const Bytes valid = aifcFile(fields);
  int count = 0;
  auto add = [&](const std::string& name, const Bytes& bytes) {
    test::writeFile(dir.file(name), bytes);
    ++count;
  };
  for (std::size_t length = 0; length < valid.size(); ++length) {
    add("cut-" + std::to_string(length) + ".aifc",
        Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length)));
  }
  for (const Field& field : kFields) {
    for (std::uint32_t value : kBoundaryValues) {
      Bytes mutated = valid;
      store(mutated, field, value);
      add(std::string(field.name) + "-" + std::to_string(value) + ".aifc", mutated);
    }
  }

  test::RunOptions options;
  options.directory = dir.path;
  options.fileSizeLimit = 8 << 20;  // declared gigabytes end as a write failure, not a full disk
  options.timeoutSeconds = 300;
  test::RunResult run = test::runQuennix({"*.aifc"}, options);
  ASSERT_EQ(run.status, 0) << run.output.substr(run.output.size() > 2000 ? run.output.size() - 2000 : 0);
  EXPECT_EQ(run.errors, "");

  const std::set<std::string> endings = {"done",
                                         "Error open file.",
                                         "Unknown file format.",
                                         "Unsupported sample rate.",
                                         "Error create file.",
                                         "Error read file.",
                                         "Error write file."};
  std::size_t lineStart = run.output.find("\r\n", run.output.find("Find ")) + 2;
  int lines = 0;
  int done = 0;
  while (lineStart < run.output.size()) {
    std::size_t end = run.output.find("\r\n", lineStart);
    ASSERT_NE(end, std::string::npos);
    std::string line = run.output.substr(lineStart, end - lineStart);
    ++lines;
    std::string name = line.substr(line.find(' ') + 1, line.find(".aifc ") + 5 - line.find(' ') - 1);
    bool known = false;
    for (const std::string& ending : endings) known = known || line.ends_with(ending);
    EXPECT_TRUE(known) << line;
    std::string output = dir.file(name.substr(0, name.size() - 5) + ".fda");
    if (line.ends_with("done")) {
      ++done;
      // A finished file holds exactly the sound bytes it declares.
      Bytes fda = test::readFile(output);
      ASSERT_GE(fda.size(), 175u) << line;
      std::uint32_t u = littleEndian32(fda, 75);
      std::uint32_t d = littleEndian32(fda, 79 + u);
      std::uint32_t n = littleEndian32(fda, 171 + u + d);
      EXPECT_EQ(fda.size(), 175 + u + d + n) << line;
    } else {
      EXPECT_FALSE(test::fileExists(output)) << line;
    }
    lineStart = end + 2;
  }
  EXPECT_EQ(lines, count);
  EXPECT_GT(done, 0);
}

}  // namespace
}  // namespace quennix
