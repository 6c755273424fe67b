// The system the program runs on: implemented once per platform, in
// platform/posix/ and platform/win32/.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace quennix {

// The system's platform, made ready for the run on first use (on POSIX: a
// closed console pipe and a file size limit no longer end the process, and
// an interrupted run removes its temporary output).
Platform& systemPlatform();

// The command line's arguments after the program's name, as main received
// them on POSIX; on Windows the raw command line split by the program's own
// token rules (platform/command_line.h).
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace quennix
