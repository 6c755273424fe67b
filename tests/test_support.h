// Helpers shared by the tests: AIFF-C bytes built from their parts, temporary
// directories, and runs of the real program.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace quennix::test {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);
void appendBigEndian16(Bytes& bytes, std::uint16_t value);
void appendBigEndian32(Bytes& bytes, std::uint32_t value);
void appendLittleEndian32(Bytes& bytes, std::uint32_t value);
void append(Bytes& bytes, const Bytes& more);
void append(Bytes& bytes, const std::string& text);

// The 10 bytes of a whole-number rate as an 80-bit extended value, 0 as zero.
Bytes extendedBytes(std::uint64_t rate);
// An 80-bit extended value from its sign-and-exponent word and significand.
Bytes extendedBytes(std::uint16_t signAndExponent, std::uint64_t significand);

// An IFF chunk: id, big-endian size, body and a pad byte after an odd size.
Bytes chunk(const std::string& id, const Bytes& body);

// The fields of an AIFF-C file in the classic layout
// FORM, FVER (4-byte body), COMM, SSND.
struct AifcFields {
  std::string formType = "AIFC";
  std::uint16_t channels = 2;
  std::uint32_t sampleFrames = 0;
  std::uint16_t sampleSize = 16;
  Bytes sampleRate = extendedBytes(44100);
  std::string compressionType = "NONE";
  Bytes compressionName = {0};  // the pstring: count byte and text
  std::uint32_t offset = 0;
  std::uint32_t blockSize = 0;
  std::uint16_t leadWord = 0;
  Bytes sound;
  // Further chunks before the Common chunk, after it, and after the Sound Data chunk.
  Bytes beforeCommon;
  Bytes afterCommon;
  Bytes trailing;
  bool soundFirst = false;  // the Sound Data chunk before the Common chunk
};

Bytes commonBody(const AifcFields& fields);
Bytes soundDataBody(const AifcFields& fields);
Bytes aifcFile(const AifcFields& fields);

// Bytes from hexadecimal text such as "0D 0A 1A 00".
Bytes hexBytes(const char* hex);

// Every byte of an FDA file before its sound bytes, laid out independently
// from the format's whole-file table; info28 is the FdaInfo body.
Bytes expectedHead(const std::string& user, const std::string& stamp, std::uint32_t n, const Bytes& info28);

// A directory under /tmp, removed with everything in it at the end.
struct TempDir {
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path;
  std::string file(const std::string& name) const { return path + "/" + name; }
};

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
bool fileExists(const std::string& path);

struct RunResult {
  std::string output;  // standard output
  std::string errors;  // standard error
  int status = -1;     // exit status, or 128 + signal
};

struct RunOptions {
  std::string directory;                           // the working directory
  std::map<std::string, std::string> environment;  // set on top of the test's own
  std::vector<std::string> unset;                  // removed from it
  rlim_t addressSpaceLimit = RLIM_INFINITY;
  rlim_t fileSizeLimit = RLIM_INFINITY;
  unsigned timeoutSeconds = 120;  // the run is killed (SIGALRM) when it takes longer
  int userId = -1;                // run as this user and group id (needs root)
  bool closedConsole = false;     // standard output is a pipe nobody reads
};

// The emulator that runs the program in a cross build (empty natively).
std::vector<std::string> emulatorCommand();

// Runs the quennix program built with these tests. With a userId, a copy of
// it runs, so that the build folder need not be open to other users.
RunResult runQuennix(const std::vector<std::string>& arguments, const RunOptions& options);

// The same in two steps, for runs side by side.
struct RunningQuennix {
  pid_t pid = -1;
  std::unique_ptr<TempDir> capture;  // its standard output and error
};
RunningQuennix startQuennix(const std::vector<std::string>& arguments, const RunOptions& options);
RunResult finishQuennix(RunningQuennix& running);

// The names in a directory, sorted.
std::vector<std::string> filesIn(const std::string& directory);

// The console lines a run prints, each with its CR LF.
std::string lines(const std::vector<std::string>& texts);

extern const std::string kBannerLine;

// True in builds under AddressSanitizer, whose shadow memory needs no limit
// on the address space.
bool underAddressSanitizer();

}  // namespace quennix::test
