// What the failure report says of where the program was when memory ran out.
#pragma once

#include <cstdint>
#include <string>

namespace quennix {

class FailureSite {
 public:
  virtual ~FailureSite() = default;

  // The running program's file name, without its folder ("quennix",
  // "quennix.exe").
  virtual std::string moduleName() = 0;

  // A code address as its distance from the start of the program's loaded
  // image (its low 32 bits).
  virtual std::uint32_t imageOffset(std::uintptr_t codeAddress) = 0;
};

}  // namespace quennix
