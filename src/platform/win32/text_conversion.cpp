#include <windows.h>

#include "platform/win32/win32_platform.h"

namespace quennix::win32 {

std::wstring wideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

namespace {

std::string narrowFromWide(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int length = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::string utf8FromWide(std::wstring_view text) { return narrowFromWide(CP_UTF8, text); }

std::string ansiFromWide(std::wstring_view text) { return narrowFromWide(CP_ACP, text); }

}  // namespace quennix::win32
