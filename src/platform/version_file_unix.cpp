// The version record of an ELF program file: its own section, read with
// plain file input.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "version/version_record.h"

namespace dorvane::version {

const char* const kOwnProgramFile = "/proc/self/exe";

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

}  // namespace dorvane::version
