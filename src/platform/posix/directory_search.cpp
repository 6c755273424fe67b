#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/mask.h"
#include "platform/posix/posix_platform.h"

namespace quennix::posix {
namespace {

bool isDirectoryAt(int directoryFd, const char* name) {
  struct stat st;
  return ::fstatat(directoryFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> exactName(const std::string& directory, std::string_view name) {
  std::string path = directory + std::string(name);
  struct stat st;
  if (name.empty() || ::lstat(path.c_str(), &st) != 0) return {};
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
  return {std::string(name)};
}

}  // namespace

std::vector<std::string> findMatchingNames(const std::string& directory, std::string_view pattern) {
  if (!hasWildcards(pattern)) return exactName(directory, pattern);
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return {};
  std::vector<std::string> names;
  while (const struct dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !matchesPattern(pattern, name)) continue;
    if (entry->d_type == DT_DIR) continue;
    bool mayBeDirectory = entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN;
    if (mayBeDirectory && isDirectoryAt(::dirfd(dir), entry->d_name)) continue;
    names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quennix::posix
