// Everything the batch asks of the system, one interface per concern. The
// program runs on the system's own (platform/system.h); the tests run the
// batch on one in memory.
#pragma once

#include "platform/clock.h"
#include "platform/console_stream.h"
#include "platform/failure_site.h"
#include "platform/file_system.h"
#include "platform/locale_source.h"
#include "platform/login_name.h"
#include "platform/sound_memory.h"

namespace quennix {

struct Platform {
  FileSystem& fileSystem;
  Clock& clock;
  LocaleSource& locale;
  LoginNameSource& loginName;
  ConsoleStream& console;
  SoundMemory& soundMemory;
  FailureSite& failureSite;
};

}  // namespace quennix
