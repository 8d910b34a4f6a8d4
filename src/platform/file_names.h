#pragma once
// What the file system of each platform says about a file being saved.
#include <QFileDevice>
#include <QString>

namespace dorvane::platform {

// The longest file name an existing folder takes, in bytes of the file
// system's encoding.
long MaxFileNameBytes(const QString& folder);

// 0, or the error met while bringing an open file's bytes to the disk: some
// file systems only find there that they have no room for them.
int SyncToDisk(const QFileDevice& file);

}  // namespace dorvane::platform
