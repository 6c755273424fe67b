// The report with which memory exhaustion ends a run, on the console:
//   "Exception EOutOfMemory in module quennix at 0001A2B4." CR LF
//   "Out of memory." CR LF
//   CR LF
// The address is that of the program's code where the failure arose,
// counted from the start of the program's loaded image, as eight upper-case
// hexadecimal digits (its low 32 bits).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quennix {

std::string failureReport(std::string_view kindName, std::string_view moduleName, std::uint32_t codeAddress,
                          std::string_view message);

// The offset of a code address from the start of the image that holds it.
std::uint32_t imageOffsetOf(const void* codeAddress);

// The file name of the running program, after its last "/"; `fallback`
// (argv[0]) is used when the system cannot say.
std::string runningProgramName(const char* fallback);

}  // namespace quennix
