#include "posix_program.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace quennix::test {

TempDir::TempDir() {
  char pattern[] = "/tmp/quennix-test-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

namespace {

std::string readAll(int fd) {
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return text;
}

}  // namespace

std::vector<std::string> emulatorCommand() {
  std::vector<std::string> words;
#ifdef QUENNIX_EMULATOR
  std::string all = QUENNIX_EMULATOR;
  for (std::size_t start = 0; start <= all.size();) {
    std::size_t tab = all.find('\t', start);
    if (tab == std::string::npos) tab = all.size();
    words.push_back(all.substr(start, tab - start));
    start = tab + 1;
  }
#endif
  return words;
}

namespace {

// The program as another user can start it: a copy in a folder everyone may
// enter, since the build folder may lie where only its owner can.
std::string programForOtherUsers(const TempDir& folder) {
  std::string copy = folder.file("quennix");
  std::filesystem::copy_file(QUENNIX_BINARY, copy);
  ::chmod(folder.path.c_str(), 0755);
  ::chmod(copy.c_str(), 0755);
  return copy;
}

[[noreturn]] void execQuennix(const std::vector<std::string>& arguments, const RunOptions& options,
                              const std::string& outPath, const std::string& errPath, const std::string& program) {
  int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int in = ::open("/dev/null", O_RDONLY);
  if (out < 0 || err < 0 || in < 0) ::_exit(126);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  if (options.closedConsole) {
    int ends[2];
    if (::pipe(ends) != 0) ::_exit(126);
    ::close(ends[0]);
    ::dup2(ends[1], 1);
  }
  if (!options.directory.empty() && ::chdir(options.directory.c_str()) != 0) ::_exit(126);
  for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);
  for (const std::string& name : options.unset) ::unsetenv(name.c_str());
  struct rlimit limit;
  limit.rlim_cur = limit.rlim_max = options.addressSpaceLimit;
  if (options.addressSpaceLimit != RLIM_INFINITY) ::setrlimit(RLIMIT_AS, &limit);
  limit.rlim_cur = limit.rlim_max = options.fileSizeLimit;
  if (options.fileSizeLimit != RLIM_INFINITY) ::setrlimit(RLIMIT_FSIZE, &limit);
  if (options.userId >= 0) {
    auto id = static_cast<uid_t>(options.userId);
    if (::setgroups(0, nullptr) != 0 || ::setresgid(id, id, id) != 0 || ::setresuid(id, id, id) != 0) ::_exit(126);
  }
  ::alarm(options.timeoutSeconds);  // survives the exec: a hanging run is killed
  std::vector<std::string> copies = emulatorCommand();
  copies.push_back(program);
  std::string first = copies.front();
  copies.insert(copies.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  ::execvp(first.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

RunningQuennix startQuennix(const std::vector<std::string>& arguments, const RunOptions& options) {
  // Standard output and error go to files, so that a large output cannot
  // block the child.
  RunningQuennix running;
  running.capture = std::make_unique<TempDir>();
  std::string program = QUENNIX_BINARY;
  if (options.userId >= 0) program = programForOtherUsers(*running.capture);
  std::string outPath = running.capture->file("out");
  std::string errPath = running.capture->file("err");
  running.pid = ::fork();
  if (running.pid < 0) throw std::runtime_error("fork failed");
  if (running.pid == 0) execQuennix(arguments, options, outPath, errPath, program);
  return running;
}

RunResult finishQuennix(RunningQuennix& running) {
  int status = 0;
  ::waitpid(running.pid, &status, 0);
  RunResult result;
  int outFd = ::open(running.capture->file("out").c_str(), O_RDONLY);
  int errFd = ::open(running.capture->file("err").c_str(), O_RDONLY);
  result.output = readAll(outFd);
  result.errors = readAll(errFd);
  ::close(outFd);
  ::close(errFd);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

RunResult runQuennix(const std::vector<std::string>& arguments, const RunOptions& options) {
  RunningQuennix running = startQuennix(arguments, options);
  return finishQuennix(running);
}

std::vector<std::string> filesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#else
  return false;
#endif
#else
  return false;
#endif
}

}  // namespace quennix::test
