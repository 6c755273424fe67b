// Runs of the real program on POSIX, in temporary directories.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fixtures.h"

namespace quennix::test {

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

// True in builds under AddressSanitizer, whose shadow memory needs no limit
// on the address space.
bool underAddressSanitizer();

}  // namespace quennix::test
