// The report with which memory exhaustion ends a run, on the console:
//   "Exception EOutOfMemory in module quennix at 0001A2B4." CR LF
//   "Out of memory." CR LF
//   CR LF
// The address is where the program's code that detected the failure starts
// (the FDA writer when the sound block cannot be had, the batch when any
// other allocation fails), counted from the start of the program's loaded
// image, as eight upper-case hexadecimal digits. A message that is empty or
// already ends with "." gets no "." added.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quennix {

std::string failureReport(std::string_view kindName, std::string_view moduleName, std::uint32_t codeAddress,
                          std::string_view message);

}  // namespace quennix
