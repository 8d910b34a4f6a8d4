#include "forms/pictures.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterDorvanePictures() {
  Q_INIT_RESOURCE(dorvane);
}

namespace dorvane {

void InitPictures() {
  static const bool done = (RegisterDorvanePictures(), true);
  (void)done;
}

QIcon ProgramIcon() {
  InitPictures();
  QIcon icon;
  for (int size : {32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/dorvane/icons/dorvane-%1.png").arg(size), QSize(size, size));
  return icon;
}

QImage MarblePicture() {
  InitPictures();
  return QImage(QStringLiteral(":/dorvane/pictures/marble.png"));
}

QImage BulletPicture() {
  InitPictures();
  return QImage(QStringLiteral(":/dorvane/pictures/bullet.png"));
}

}  // namespace dorvane
