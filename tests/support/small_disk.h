#pragma once
// A real small file system for the full-disk tests: a tmpfs mounted over a
// temporary folder for the test's life. Mounting needs Linux and root;
// elsewhere Problem() says why and the test skips.
#ifdef __linux__
#include <sys/mount.h>
#include <unistd.h>
#endif
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace dorvane::testsupport {

class SmallDisk {
 public:
  explicit SmallDisk(int kib) {
#ifdef __linux__
    if (::geteuid() != 0) {
      problem_ = QStringLiteral("mounting a tmpfs needs root");
    } else if (!dir_.isValid() ||
               ::mount("dorvane-test", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                       QStringLiteral("size=%1k").arg(kib).toLatin1().constData()) != 0) {
      problem_ = QStringLiteral("cannot mount a tmpfs: ") + QString::fromLocal8Bit(std::strerror(errno));
    } else {
      mounted_ = true;
    }
#else
    Q_UNUSED(kib);
    problem_ = QStringLiteral("no tmpfs to mount here");
#endif
  }
  ~SmallDisk() {
#ifdef __linux__
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
#endif
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  const QString& Problem() const {
    return problem_;
  }
  QString Path(const QString& name) const {
    return dir_.filePath(name);
  }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  // Empties the disk, puts `old` at `path` on it (unless `old` is empty)
  // and fills the disk up but for `room` bytes.
  bool Prepare(const QString& path, const QByteArray& old, qint64 room) {
    for (const QString& entry : Entries()) QFile::remove(Path(entry));
    if (!old.isEmpty()) {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size()) return false;
    }
    QFile fill(Path(QStringLiteral("plein")));
    if (!fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray page(4096, '\0');
    while (fill.write(page) == page.size()) {
    }
    return fill.resize(std::max<qint64>(fill.size() - room, 0));
  }

 private:
  QTemporaryDir dir_;
  QString problem_;
  bool mounted_ = false;
};

}  // namespace dorvane::testsupport
