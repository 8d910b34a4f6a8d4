// Reading the version record from a program file: the one place where the
// platforms differ. Linux reads the record's ELF section with plain file
// input; Windows asks the system's version functions for the program's
// version resource, which Explorer's Properties show too.
#include "version/version_record.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>

namespace dorvane::version {

#ifdef _WIN32

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

#else

namespace {

class File {
 public:
  explicit File(const std::string& path) {
    do fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd_ < 0 && errno == EINTR);
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = std::uint64_t(st.st_size);
  }
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool ok() const { return fd_ >= 0 && size_ > 0; }
  std::uint64_t size() const { return size_; }

  bool readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > size_ || out.size() > size_ - offset) return false;
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, off_t(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      done += std::size_t(n);
    }
    return true;
  }

  std::optional<FileSection> versionSection() const {
    if (!ok()) return std::nullopt;
    const auto read = [this](std::uint64_t offset, std::span<std::uint8_t> out) {
      return readAt(offset, out);
    };
    return FindElfSection(read, size_, kVersionSectionName);
  }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

}  // namespace

std::size_t VersionInfoSize(const std::string& path) {
  const File file(path);
  const auto section = file.versionSection();
  return section ? std::size_t(std::min<std::uint64_t>(section->size, kMaxVersionBlock)) : 0;
}

std::vector<std::uint8_t> ReadVersionInfo(const std::string& path, std::size_t size) {
  const File file(path);
  const auto section = file.versionSection();
  if (!section) return {};
  std::vector<std::uint8_t> block(
      std::size_t(std::min<std::uint64_t>({section->size, size, kMaxVersionBlock})));
  if (!file.readAt(section->offset, block)) return {};
  return block;
}

std::u16string LookupVersionString(std::u16string_view key, const std::string& path) {
  const std::size_t size = VersionInfoSize(path);
  if (size == 0) return {};
  // The buffer lives for this lookup only.
  const std::vector<std::uint8_t> block = ReadVersionInfo(path, size);
  if (block.empty()) return {};
  return FindVersionString(block, key);
}

#endif

}  // namespace dorvane::version
