// The summary of an input's stream figures that the console shows after its
// progress prefix, computed in Extended80 arithmetic:
//   bitrate figure      leadWord * 86.1328125 * channels / 1000 (exact
//                       products, one rounding; 86.1328125 = 44100 / 512)
//   sample-rate figure  sampleRate / 1000, rounded once
// and written as "(%.1fkbps, %.1fkHz, %dch)...":
//   leadWord 372, 2 channels, 44100 Hz -> "(64.1kbps, 44.1kHz, 2ch)..."
#pragma once

#include <cstdint>
#include <string>

#include "aifc/source_header.h"
#include "numeric/extended80.h"
#include "text/locale_settings.h"

namespace quennix {

Extended80 bitrateFigure(std::uint16_t leadWord, std::uint16_t channels);
Extended80 sampleRateFigure(const Extended80& sampleRate);

std::string summaryText(const SourceInfo& info, const LocaleSettings& locale);

}  // namespace quennix
