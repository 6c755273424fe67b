#include <windows.h>

#include "platform/win32/win32_platform.h"

// Names go between UTF-16 and UTF-8 here, not through the system's UTF-8
// code page: a name may hold a lone surrogate (NTFS allows it), which must
// come back as it was. Such a unit is written as the three bytes of its
// code point, so ASCII bytes still stand only for ASCII characters.
namespace quennix::win32 {
namespace {

bool isHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& out, unsigned point) {
  auto byte = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
  if (point < 0x80) {
    byte(point);
  } else if (point < 0x800) {
    byte(0xC0 | (point >> 6));
    byte(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    byte(0xE0 | (point >> 12));
    byte(0x80 | ((point >> 6) & 0x3F));
    byte(0x80 | (point & 0x3F));
  } else {
    byte(0xF0 | (point >> 18));
    byte(0x80 | ((point >> 12) & 0x3F));
    byte(0x80 | ((point >> 6) & 0x3F));
    byte(0x80 | (point & 0x3F));
  }
}

void appendUtf16(std::wstring& out, unsigned point) {
  if (point < 0x10000) {
    out.push_back(static_cast<wchar_t>(point));
  } else {
    point -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 | (point >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 | (point & 0x3FF)));
  }
}

}  // namespace

std::string utf8FromWide(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned unit = static_cast<std::uint16_t>(text[i]);
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(static_cast<std::uint16_t>(text[i + 1]))) {
      unsigned low = static_cast<std::uint16_t>(text[++i]);
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(out, unit);
  }
  return out;
}

std::wstring wideFromUtf8(std::string_view text) {
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead >= 0x80 && lead < 0xC0) length = 1;  // a stray continuation byte stands for itself
    if (i + length > text.size()) length = 1;
    unsigned point = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    bool whole = true;
    for (std::size_t k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      whole = whole && (next & 0xC0) == 0x80;
      point = (point << 6) | (next & 0x3F);
    }
    if (!whole) {
      length = 1;
      point = lead;
    }
    appendUtf16(out, point);
    i += length;
  }
  return out;
}

std::string ansiFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace quennix::win32
