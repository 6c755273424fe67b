#include "memory_platform.h"

#include <algorithm>
#include <cstring>

#include "platform/mask.h"

namespace quennix::test {

ReadResult MemoryByteSource::readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) {
  if (count != 0 && offset >= failsFrom_) return ReadResult{0, true};
  if (offset >= bytes_.size()) return ReadResult{};
  std::size_t available = std::min<std::uint64_t>(bytes_.size() - offset, count);
  std::memcpy(into, bytes_.data() + offset, available);
  return ReadResult{available, false};
}

bool MemoryByteSink::write(const std::uint8_t* data, std::size_t count) {
  std::size_t room = capacity_ - std::min(capacity_, bytes.size());
  bytes.insert(bytes.end(), data, data + std::min(room, count));
  return count <= room;
}

std::uint8_t* MemorySoundMemory::obtain(std::size_t size, std::size_t /*filled*/) {
  if (size > limit) return nullptr;
  ++outstanding;
  return new std::uint8_t[size]();
}

void MemorySoundMemory::release(std::uint8_t* block, std::size_t /*size*/) {
  --outstanding;
  delete[] block;
}

namespace {

class MemoryInput : public InputFile {
 public:
  explicit MemoryInput(const MemoryNode& node) : source_(node.bytes, node.failsReadsFrom), identity_(node.identity) {}
  std::uint64_t size() const override { return source_.size(); }
  ReadResult readAt(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    return source_.readAt(offset, into, count);
  }
  FileIdentity identity() const override { return identity_; }

 private:
  MemoryByteSource source_;
  FileIdentity identity_;
};

class MemoryOutput : public OutputFile {
 public:
  MemoryOutput(std::string temporary, std::string final, MemoryNode& node, std::size_t capacity)
      : temporaryName(std::move(temporary)), name(std::move(final)), node_(node), sink_(capacity) {}
  bool write(const std::uint8_t* bytes, std::size_t count) override {
    bool whole = sink_.write(bytes, count);
    node_.bytes = sink_.bytes;
    return whole;
  }
  FileIdentity identity() const override { return node_.identity; }
  std::string temporaryName;
  std::string name;

 private:
  MemoryNode& node_;
  MemoryByteSink sink_;
};

}  // namespace

MemoryNode& MemoryFileSystem::add(const std::string& path, MemoryNode::Kind kind, Bytes bytes) {
  remove(path);
  auto node = std::make_shared<MemoryNode>();
  node->kind = kind;
  node->bytes = std::move(bytes);
  node->identity = FileIdentity{1, nextIdentity_++};
  entries_.emplace_back(path, node);
  return *node;
}

MemoryNode& MemoryFileSystem::addFile(const std::string& path, Bytes bytes) {
  return add(path, MemoryNode::file, std::move(bytes));
}
MemoryNode& MemoryFileSystem::addDirectory(const std::string& path) { return add(path, MemoryNode::directory, {}); }
MemoryNode& MemoryFileSystem::addDevice(const std::string& path) { return add(path, MemoryNode::device, {}); }

void MemoryFileSystem::addLink(const std::string& path, const std::string& target) {
  for (const auto& [name, node] : entries_) {
    if (name == target) {
      entries_.emplace_back(path, node);
      return;
    }
  }
}

void MemoryFileSystem::remove(const std::string& path) {
  std::erase_if(entries_, [&](const auto& entry) { return entry.first == path; });
}

MemoryNode* MemoryFileSystem::find(const std::string& path) {
  for (const auto& [name, node] : entries_) {
    if (name == path) return node.get();
  }
  return nullptr;
}

std::vector<std::string> MemoryFileSystem::paths() const {
  std::vector<std::string> all;
  for (const auto& entry : entries_) all.push_back(entry.first);
  std::sort(all.begin(), all.end());
  return all;
}

std::vector<FoundFile> MemoryFileSystem::findFiles(std::string_view mask) {
  MaskParts parts = splitMask(mask, "/");
  std::vector<FoundFile> found;
  for (const auto& [path, node] : entries_) {
    MaskParts entry = splitMask(path, "/");
    if (entry.directory != parts.directory || node->kind == MemoryNode::directory) continue;
    bool matches =
        hasWildcards(parts.pattern) ? matchesPattern(parts.pattern, entry.pattern) : parts.pattern == entry.pattern;
    if (matches) found.push_back(FoundFile{std::string(parts.directory), std::string(entry.pattern)});
  }
  return found;
}

std::optional<FileIdentity> MemoryFileSystem::identityOf(const std::string& path) {
  MemoryNode* node = find(path);
  if (node == nullptr) return std::nullopt;
  return node->identity;
}

std::unique_ptr<InputFile> MemoryFileSystem::openInput(const std::string& path) {
  MemoryNode* node = find(path);
  if (node == nullptr || node->kind != MemoryNode::file) return nullptr;
  return std::make_unique<MemoryInput>(*node);
}

OutputNameCheck MemoryFileSystem::checkOutputName(const std::string& name, const InputFile& input) {
  MemoryNode* node = find(name);
  if (node == nullptr) return OutputNameCheck{};
  OutputNameCheck check{OutputNameState::free, node->identity};
  if (node->identity == input.identity()) {
    check.state = OutputNameState::input;
  } else if (node->kind == MemoryNode::directory || node->readOnly) {
    check.state = OutputNameState::blocked;
  }
  return check;
}

std::unique_ptr<OutputFile> MemoryFileSystem::startOutput(const std::string& name) {
  if (refusesOutputs) return nullptr;
  std::string temporary = ".tmp-" + std::to_string(++temporaries_);
  MemoryNode& node = addFile(temporary);
  return std::make_unique<MemoryOutput>(temporary, name, node, diskSpace);
}

FinishOutcome MemoryFileSystem::finishOutput(std::unique_ptr<OutputFile> output) {
  auto& written = static_cast<MemoryOutput&>(*output);
  if (refusesNames) {
    remove(written.temporaryName);
    return FinishOutcome::nameRefused;
  }
  std::shared_ptr<MemoryNode> node;
  for (const auto& entry : entries_) {
    if (entry.first == written.temporaryName) node = entry.second;
  }
  remove(written.temporaryName);
  remove(written.name);
  entries_.emplace_back(written.name, node);
  return FinishOutcome::named;
}

void MemoryFileSystem::discardOutput(std::unique_ptr<OutputFile> output) {
  remove(static_cast<MemoryOutput&>(*output).temporaryName);
}

LocalDateTime MemoryClock::currentLocalDateTime() {
  ++readings;
  LocalDateTime now = next;
  next.second += 2;
  return now;
}

std::string MemoryConsole::text() const {
  std::string all;
  for (const std::string& piece : writes) all += piece;
  return all;
}

}  // namespace quennix::test
