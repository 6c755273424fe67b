// quennix: converts AIFF-C sound files into FDA sound files.
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "driver/batch.h"
#include "driver/console.h"
#include "driver/failure_report.h"
#include "platform/files.h"
#include "text/locale_settings.h"

int main(int argc, char** argv) {
  // A closed console pipe or a file size limit must not kill the run: the
  // failing write is reported where it matters and the run goes on.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  quennix::removeTemporaryOutputOnSignals();

  const quennix::LocaleSettings locale = quennix::loadLocaleSettings();
  quennix::Console console = quennix::consoleFor(STDOUT_FILENO);
  quennix::RunContext context{console, locale, quennix::runningProgramName(argc > 0 ? argv[0] : nullptr)};
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  int status = quennix::runQuennix(arguments, context);
  quennix::flush(console);
  return status;
}
