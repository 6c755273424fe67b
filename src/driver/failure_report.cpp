#include "driver/failure_report.h"

namespace quennix {

std::string failureReport(std::string_view kindName, std::string_view moduleName, std::uint32_t codeAddress,
                          std::string_view message) {
  constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string address(8, '0');
  for (std::size_t i = 0; i < address.size(); ++i) address[7 - i] = kHexDigits[(codeAddress >> (4 * i)) & 0xFu];
  std::string report = "Exception ";
  report.append(kindName).append(" in module ").append(moduleName).append(" at ").append(address).append(".\r\n");
  report.append(message);
  if (!message.empty() && message.back() != '.') report += '.';
  report += "\r\n\r\n";
  return report;
}

}  // namespace quennix
