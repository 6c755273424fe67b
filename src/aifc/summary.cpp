#include "aifc/summary.h"

#include "text/format_text.h"

namespace quennix {

Extended80 bitrateFigure(std::uint16_t leadWord, std::uint16_t channels) {
  // 86.1328125 = 44100 / 512 exactly: 0xAC44 * 2^48 * 2^(16389 - 16446).
  const Extended80 factor{false, 16389, 0xAC44000000000000u};
  Extended80 product = multiply(multiply(extendedFromUnsigned(leadWord), factor), extendedFromUnsigned(channels));
  return divide(product, extendedFromUnsigned(1000));
}

Extended80 sampleRateFigure(const Extended80& sampleRate) { return divide(sampleRate, extendedFromUnsigned(1000)); }

std::string summaryText(const SourceInfo& info, const LocaleSettings& locale) {
  return formatText("(%.1fkbps, %.1fkHz, %dch)...",
                    {bitrateFigure(info.soundHead.leadWord, info.common.channels),
                     sampleRateFigure(info.common.sampleRate), std::int32_t{info.common.channels}},
                    locale);
}

}  // namespace quennix
