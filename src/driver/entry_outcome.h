// How one entry of the batch ended, and the text that ends its console line.
#pragma once

#include <string_view>

namespace quennix {

enum class EntryOutcome {
  openFailed,       // "Error open file."
  unknownFormat,    // "Unknown file format."
  unsupportedRate,  // "Unsupported sample rate."
  createFailed,     // "Error create file."
  readFailed,       // "Error read file."
  writeFailed,      // "Error write file."
  outOfMemory,      // no ending: the failure report follows and the run stops
  done,             // "done"
};

// The ending of an entry's line, without the line end; empty for outOfMemory.
std::string_view consoleEnding(EntryOutcome outcome);

}  // namespace quennix
