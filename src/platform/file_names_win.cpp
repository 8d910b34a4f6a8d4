#include "platform/file_names.h"

namespace dorvane::platform {

// NTFS and FAT take 255 characters: the name's bytes in the ANSI code page,
// one per character for Western names.
long MaxFileNameBytes(const QString&) {
  return 255;
}

// Unbuffered writes on Windows already said whether the bytes found room.
int SyncToDisk(const QFileDevice&) {
  return 0;
}

}  // namespace dorvane::platform
