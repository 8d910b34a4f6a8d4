// The version record of a Windows program file: the system's version
// functions read the program's version resource, which Explorer's
// Properties show too.
#include <windows.h>

#include <algorithm>

#include "version/version_record.h"

namespace dorvane::version {

const char* const kOwnProgramFile = "";

namespace {

// UTF-8 path as the system's wide path; the empty path is the running
// program's own file.
std::wstring WidePath(const std::string& path) {
  std::wstring wide;
  if (path.empty()) {
    wide.resize(MAX_PATH);
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, wide.data(), DWORD(wide.size()));
      if (n == 0) return {};
      if (n < wide.size()) {
        wide.resize(n);
        return wide;
      }
      wide.resize(wide.size() * 2);
    }
  }
  const int n = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
  if (n <= 0) return {};
  wide.resize(std::size_t(n));
  MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), n);
  return wide;
}

}  // namespace

std::size_t VersionInfoSize(const std::string& path) {
  const std::wstring file = WidePath(path);
  DWORD ignored = 0;
  return file.empty() ? 0 : std::size_t(GetFileVersionInfoSizeW(file.c_str(), &ignored));
}

std::vector<std::uint8_t> ReadVersionInfo(const std::string& path, std::size_t size) {
  const std::wstring file = WidePath(path);
  std::vector<std::uint8_t> block(size);
  if (file.empty() || size == 0 || !GetFileVersionInfoW(file.c_str(), 0, DWORD(size), block.data()))
    return {};
  return block;
}

std::u16string LookupVersionString(std::u16string_view key, const std::string& path) {
  const std::size_t size = VersionInfoSize(path);
  if (size == 0) return {};
  // The buffer lives for this lookup only.
  std::vector<std::uint8_t> block = ReadVersionInfo(path, size);
  if (block.empty()) return {};
  std::wstring table(kFallbackStringTable.begin(), kFallbackStringTable.end());
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
    const auto* words = static_cast<const WORD*>(value);
    const auto name = version_detail::TableName(words[0], words[1]);
    table.assign(name.begin(), name.end());
  }
  const std::wstring query = L"\\StringFileInfo\\" + table + L"\\" + std::wstring(key.begin(), key.end());
  if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || !value) return {};
  std::u16string text(static_cast<const char16_t*>(value), std::min<std::size_t>(length, kMaxVersionValue));
  text.resize(std::min(text.size(), text.find(u'\0')));
  return text;
}

}  // namespace dorvane::version
