#include "driver/entry_outcome.h"

#include <cstddef>
#include <iterator>

namespace quennix {
namespace {

// In the order of EntryOutcome.
constexpr std::string_view kEndings[] = {
    "Error open file.",
    "Unknown file format.",
    "Unsupported sample rate.",
    "Error create file.",
    "Error read file.",
    "Error write file.",
    "",
    "done",
};
static_assert(std::size(kEndings) == static_cast<std::size_t>(EntryOutcome::done) + 1);

}  // namespace

std::string_view consoleEnding(EntryOutcome outcome) { return kEndings[static_cast<std::size_t>(outcome)]; }

}  // namespace quennix
