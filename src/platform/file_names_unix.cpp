#include "platform/file_names.h"

#include <unistd.h>

#include <QFile>

#include <cerrno>

namespace dorvane::platform {

long MaxFileNameBytes(const QString& folder) {
  const long max = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
  return max > 0 ? max : 255;
}

int SyncToDisk(const QFileDevice& file) {
  int result;
  do {
    result = ::fsync(file.handle());
  } while (result != 0 && errno == EINTR);
  // A file system that cannot sync has not lost anything by it.
  if (result == 0 || errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return 0;
  return errno;
}

}  // namespace dorvane::platform
