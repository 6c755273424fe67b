// quennix: converts AIFF-C sound files into FDA sound files.
#include "driver/batch.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  quennix::Platform& platform = quennix::systemPlatform();
  return quennix::runQuennix(quennix::commandLineArguments(argc, argv), platform);
}
